// CMainDlg: browsing one kind of catalogue item (albums, artists, songs),
// finding one by typing the start of its name, and acting on it.
//
// Browse mode (from the main window): view or modify an item, list the
// albums that use an artist or song (X-ref, in a found list beside this
// dialog, which keeps its place), create, delete and merge items.
// A name typed that an item bears (letter case aside) selects that item,
// and Insert never makes a second of it.
// Pick mode (from an album's detail): choose an artist or song to put into
// the album, optionally creating it first.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>

#include "catalogue/browse.h"
#include "catalogue/kind.h"
#include "ui/platform.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tracklore {

class CRecListBox;
enum class ListAction;

class CMainDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name; a pick button's id is the
  // result it ends the dialog with.
  enum : int {
    IdKindBox = 1010, IdPrevKind = 1006, IdNextKind = 1005, IdAppends = 1053, IdNewItem = 1023,
    IdSearchView = 1022, IdList = 1017, IdView = 1034, IdXref = 1012, IdAppend = ResultAppend,
    IdInsert = ResultInsert, IdCreate = 1007, IdDelete = 1029, IdMerge = 1060
  };
  // The object name of the line that says why a typed character was not taken.
  static constexpr QLatin1String kNoticeName{"notice"};
  // ... and of the line that names the entry a Merge will merge away.
  static constexpr QLatin1String kMergeNoteName{"mergenote"};

  // first: pick mode only, what the user already typed in the caller
  // (UTF-8, empty for nothing); the picker opens searching for it.
  CMainDlg(QWidget* parent, Kind kind, bool pick, std::string first = {});
  ~CMainDlg() override;

  // What the caller reads back: the kind shown last, and the choice.
  Kind kind() const { return kind_; }
  int resultAttr() const { return target_.attr; }
  int32_t resultCode() const { return target_.code; }
  bool newItem() const { return newitem_; }

  CRecListBox* list() const { return list_; }

  // Whether Enter on a new name creates it and ends the picker at once; one
  // setting for the whole run, shared by every picker.
  static bool enterAppends();
  static void setEnterAppends(bool on);

  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Kind kind_;
  bool pick_;
  std::string first_;
  std::unique_ptr<BrowseSource> source_;
  int mismatch_ = -1;
  bool newitem_ = false;
  XrefTarget target_;

  QComboBox* kindbox_;
  QPushButton* prevkind_;
  QPushButton* nextkind_;
  QCheckBox* appends_;
  QLabel* newlabel_;
  QLabel* searchview_;
  QLabel* notice_;  // why a typed character was not taken
  CRecListBox* list_;
  QPushButton* view_;
  QPushButton* xref_;
  QPushButton* append_;
  QPushButton* insert_;
  QPushButton* create_;
  QPushButton* delete_;
  QPushButton* merge_;
  QPushButton* close_;
  QLabel* mergenote_;
  int32_t mergefrom_ = -1;  // the entry chosen first for a merge, -1 none

  void createControls();
  void layOut();
  void connectControls();
  void setMode();
  void populate();
  void keepPlace();
  void update(ListAction action, const std::string& text);
  void explainRefusal(const QString& typed);
  void onNotify(ListAction action, const std::string& text);
  void onEnter();
  void setkind(Kind kind);
  bool readonly() const;
  void onXref();
  void followXrefs(XrefTarget target);
  void showTitle();
  void onView();
  void onSelect(int result);
  void selectExact(const std::string& typed);
  void onCreate(bool explicitly);
  bool reuse(const std::string& full, bool explicitly, bool* createanyway);
  void onDelete();
  void onMerge();
  void setMergeFrom(int32_t code);
};

}  // namespace tracklore
