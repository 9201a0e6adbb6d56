// CFoundDlg: the albums that contain one artist or one song, each once and
// in name order, the target of an X-ref. From it an album opens in its detail dialog, whose own X-Ref
// hands the next target back to the caller; runFoundLists follows that
// chain.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>

#include "catalogue/albumsbyname.h"
#include "ui/platform.h"

class QLabel;
class QPushButton;

namespace tracklore {

class CRecListBox;

class CFoundDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdLabel = 1023, IdList = 1035, IdView = 1036 };

  // attr: 0 artist, 1 song; code: the artist's or song's Code.
  CFoundDlg(int attr, int32_t code, QWidget* parent);
  ~CFoundDlg() override;

  int resultAttr() const { return target_.attr; }
  int32_t resultCode() const { return target_.code; }
  CRecListBox* list() const { return list_; }

  void reject() override;

  // The row of an album in every list of albums: its name, its
  // completeness mark when it is incomplete, its first artist ("--" for
  // none) and its number of songs.
  static std::string albumRow(quill::Rlist& album);
  // The same without the count: the album window's title.
  static std::string albumTitle(quill::Rlist& album);

 private:
  int attr_;
  int32_t code_;
  std::unique_ptr<CodeList> source_;
  XrefTarget target_;
  QLabel* label_;
  CRecListBox* list_;
  QPushButton* view_;
  QPushButton* close_;

  void createControls();
  void layOut();
  void connectControls();
  void fill();
  void onView(bool button);
};

// The found list of target, beside the window that asked for it (which
// stays open and keeps its place), then the next one for as long as an
// album's X-Ref hands one on.
void runFoundLists(QWidget* beside, XrefTarget target);

}  // namespace tracklore
