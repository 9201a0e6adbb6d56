// CNameDlg: edits the name of one artist or song, and steps through the
// list it was opened from. Changes are written at once.
#pragma once

#include <QDialog>

#include "engine/rlist.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tracklore {

class CRecListBox;

class CNameDlg : public QDialog {
  Q_OBJECT

 public:
  // list: the opener's list, whose current record is the one edited through
  // cursor; kind 1 artist, 2 song.
  CNameDlg(CRecListBox* list, quill::Rlist& cursor, int kind, QWidget* parent);

  void reject() override;

 private:
  CRecListBox* list_;
  quill::Rlist& cursor_;
  int kind_;
  QLabel* prompt_;
  QLineEdit* edit_;
  QPushButton* prev_;
  QPushButton* next_;
  QPushButton* modify_;
  QPushButton* close_;

  void load();
  void onModify();
  bool leavecheck();
  void step(int key);
};

// Reads a name typed by the user into stored bytes (at most 128
// characters). A character that cannot be stored is refused with a message;
// false then, and nothing is to be written.
bool typedName(const QString& text, std::string* out);

}  // namespace tracklore
