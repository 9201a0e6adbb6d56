// CArticleDlg: one album and its contents, the ordered list of its artists
// or of its songs. The user renames the album, steps to the previous or next
// album of the list it was opened from, inserts, removes, renames and
// reorders entries, and follows an entry to the albums that use it (X-Ref).
// Leaving an album brings its completeness mark up to date.
#pragma once

#include <cstdint>
#include <memory>

#include <QDialog>

#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "engine/rlist.h"
#include "ui/platform.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tracklore {

class CRecListBox;
enum class ListAction;

class CArticleDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int {
    IdName = 1001, IdModify = 1043, IdPrevious = 1033, IdNext = 1002, IdContentBox = 1032,
    IdPrevContent = 1003, IdNextContent = 1004, IdList = 1009, IdInsert = 1031, IdRemove = 1029,
    IdRename = 1014, IdXref = 1028, IdUp = 1006, IdDown = 1005
  };

  // caller: the list the album was picked from (its current record is the
  // album); titlecursor stands on the album; initial: the list shown first.
  CArticleDlg(CRecListBox* caller, quill::Rlist& titlecursor, Rel initial, QWidget* parent);
  ~CArticleDlg() override;

  int resultAttr() const { return target_.attr; }
  int32_t resultCode() const { return target_.code; }
  int content() const;
  CRecListBox* list() const { return list_; }
  Relation* contentSource() const { return source_.get(); }

  void reject() override;

 private:
  CRecListBox* caller_;
  quill::Rlist& title_;
  bool readonly_;
  int32_t code_ = -1;
  std::unique_ptr<Relation> source_;
  XrefTarget target_;

  QLineEdit* name_;
  QPushButton* modify_;
  QPushButton* prev_;
  QPushButton* next_;
  QComboBox* contentbox_;
  QPushButton* prevcontent_;
  QPushButton* nextcontent_;
  CRecListBox* list_;
  QPushButton* insert_;
  QPushButton* remove_;
  QPushButton* rename_;
  QPushButton* xref_;
  QPushButton* up_;
  QPushButton* down_;
  QPushButton* close_;

  void createControls();
  void layOut();
  void connectControls();
  void fill(int initial);
  void showRecord(int which);
  void selectContent(int which);
  void updateButtons();
  void showCounts();
  bool leaveRecord();
  void onModify();
  void showMerged(int32_t keep);
  void onStep(int key);
  void onXref();
  void onInsert(const std::string& typed);
  void onRemove();
  void onRename();
  void onMove(bool up);
  // After an edit of the album's list: the list refilled landing on row, or
  // failed (with %1 for the engine's reason) said.
  void showEdit(ErrorCode rc, int row, const QString& failed);
  void onNotify(ListAction action, const std::string& text);
};

// Runs the detail of the list's current album, on which cursor stands; true
// when it ended with an X-Ref, whose target it hands back.
bool runArticle(CRecListBox* list, quill::Rlist& cursor, QWidget* parent, XrefTarget* target);

}  // namespace tracklore
