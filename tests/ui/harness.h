// What the user-interface tests share: a Host and modal dialogs answered by
// scripts, real databases in temporary directories, and the fixtures.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/host.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/file.h"
#include "ui/articledlg.h"
#include "ui/founddlg.h"
#include "ui/maindlg.h"
#include "ui/namedlg.h"
#include "ui/platform.h"
#include "ui/reclistbox.h"
#include "ui/shelldlg.h"

namespace uitest {

using tracklore::Answer;
using tracklore::Buttons;
using tracklore::DefaultButton;
using tracklore::Icon;

struct Asked {
  std::string text, title;
  Buttons buttons;
  Icon icon;
  DefaultButton preset;
};

class ScriptedHost : public tracklore::Host {
 public:
  std::deque<Answer> answers;
  std::deque<std::string> files, folders;  // "" cancels the dialog
  std::vector<Asked> asked;
  std::vector<std::string> foldertitles, folderstarts;  // each chooser's title and start
  int unexpected = 0;
  int waitdepth = 0;
  int drains = 0;

  Answer message(const char* text, const char* title, Buttons buttons, Icon icon) override;
  Answer question(const char* text, const char* title, Buttons buttons, Icon icon,
                  DefaultButton preset) override;
  bool openfile(const tracklore::FileRequest& request, std::string* path) override;
  bool savefile(const tracklore::FileRequest& request, std::string* path) override;
  bool choosefolder(const tracklore::FolderRequest& request, std::string* path) override;
  void waitcursor(bool on) override { waitdepth += on ? 1 : -1; }
  void drain() override { ++drains; }
  // Forgets the questions asked so far; the next ones get these answers.
  void askanew(std::initializer_list<Answer> next) {
    asked.clear();
    answers = next;
  }

  std::vector<std::string> titles() const;
  std::vector<std::string> texts() const;
};

// Installed for the whole test program by init(), with settings in a
// temporary place.
ScriptedHost& host();
std::vector<std::string>& reports();
int& beeps();
using Script = std::function<int(QDialog&)>;
std::deque<Script>& scripts();

void init();
// Forgets every answer, script, report, beep and setting.
void reset();
// After a test: no box or dialog came unanswered, every script ran and
// every wait cursor was put back.
void checkClean();

// A fresh, empty database open for writing in a temporary directory, which
// becomes the current directory.
class TempDatabase {
 public:
  TempDatabase();
  ~TempDatabase();
  QString path() const { return dir_.path(); }

  int32_t add(int kind, const char* name);  // the new record's Code
  // Links an attribute at the end of an album's relation r.
  void link(int32_t album, int r, int32_t attr);
  std::string name(int kind, int32_t code);
  std::string text(int kind, int32_t code, int field);
  long number(int kind, int32_t code, int field);
  // The codes of an album's relation r, in Seq order.
  std::vector<int32_t> contents(int32_t album, int r);

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// The small catalogue the dialog tests start from, in a fresh database:
//   Abbey Road   The Beatles                 Come Together, Something
//   Let It Be    Billy Preston, The Beatles  Get Back, Come Together
//   Songs Only   -                           Come Together, Octopus's Garden
// and the artist Orphan on no album. No album is marked complete yet.
struct Catalogue {
  TempDatabase db;
  int32_t abbey, letitbe, songsonly;
  int32_t beatles, preston, orphan;
  int32_t together, something, getback, octopus;
  Catalogue();
};

// A dialog's control by its id; a missing control ends the test program.
template <class W>
W* child(QWidget* dialog, int id) {
  W* w = dialog->findChild<W*>(tracklore::ctlid(id));
  if (w == nullptr) qFatal("no control %d", id);
  return w;
}

inline QPushButton* button(QWidget* dialog, int id) { return child<QPushButton>(dialog, id); }

// Types text that QTest's key clicks cannot (characters past Latin-1).
void typeText(QWidget* widget, const QString& text);

// The texts of the rows of a list, one row ("" past the ends) and the
// selected row.
std::vector<std::string> rows(const tracklore::CRecListBox& list);
QString row(const tracklore::CRecListBox& list, int index);
QString selected(const tracklore::CRecListBox& list);

// A modal script that notes the dialog's title, then ends it by the button
// of that id (IDCANCEL: closes it unpressed).
Script noteTitle(QStringList* titles, int id = tracklore::IDCANCEL);

// The database closed and opened again for reading only, beside others.
void reopenReadOnly();

// The harness installed once, forgotten before each test and checked clean
// after it.
class DialogTest : public QObject {
  Q_OBJECT

 protected:
  virtual void setUp() {}
  virtual void tearDown() {}

 private slots:
  void initTestCase() { uitest::init(); }
  void init() {
    uitest::reset();
    setUp();
  }
  void cleanup() {
    uitest::checkClean();
    tearDown();
  }
};

// Each test starts from the Catalogue; a test program that keeps
// dialogs drops them in its tearDown before the catalogue goes.
class CatalogueTest : public DialogTest {
  Q_OBJECT

 protected:
  std::unique_ptr<Catalogue> c_;
  void setUp() override { c_ = std::make_unique<Catalogue>(); }
  void tearDown() override { c_.reset(); }
};

}  // namespace uitest

using uitest::button;
using uitest::child;
using uitest::host;
using uitest::row;
using Strings = std::vector<std::string>;
