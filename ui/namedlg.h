// CNameDlg: edits the name of one artist or song, and steps through the
// list it was opened from. Changes are written at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QDialog>

#include "catalogue/kind.h"
#include "catalogue/results.h"
#include "engine/rlist.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tracklore {

class CRecListBox;

class CNameDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdPrompt = 1039, IdEdit = 1038, IdPrevious = 1033, IdNext = 1002, IdModify = 1043 };

  // list: the opener's list, whose current record is the one edited through
  // cursor; kind 1 artist, 2 song.
  CNameDlg(CRecListBox* list, quill::Rlist& cursor, Kind kind, QWidget* parent);

  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CRecListBox* list_;
  quill::Rlist& cursor_;
  Kind kind_;
  bool readonly_ = false;
  bool caretatend_ = false;  // the next focus puts the caret at the end
  QLabel* prompt_;
  QLineEdit* edit_;
  QPushButton* prev_;
  QPushButton* next_;
  QPushButton* modify_;
  QPushButton* close_;

  void createControls();
  void layOut();
  void connectControls();
  void load();
  void onModify();
  void showMerged(int32_t keep);
  bool leavecheck();
  void step(int key);
};

// Reads a name typed by the user for a record of the kind into its full
// name (UTF-8, any character). A name of blanks only, or one longer than a
// full name holds, is refused with a message that says so; false then, and
// nothing is to be written.
bool typedName(const QString& text, Kind kind, std::string* out);

// Shows why storing a name failed: a name of blanks only in words, any
// other code through format ("... failed; %1.", given DB_ReturnedText), a
// text marked QT_TRANSLATE_NOOP("Name", ...) and translated here.
void nameFailure(ErrorCode rc, const char* format);

// Renames the cursor's record to text (read by typedName) and shows its
// full name in the edit, the caret where it was; the list (if any) follows
// the record. A failure is shown through format; false then.
bool storeName(quill::Rlist& cursor, Kind kind, std::string text, QLineEdit* edit,
               CRecListBox* list, const char* format);

// Before leaving a record whose name was edited: asks whether to save it
// (save does) and says whether to leave, false when the user cancels.
bool saveBeforeLeaving(const QLineEdit& edit, const std::function<void()>& save);

}  // namespace tracklore
