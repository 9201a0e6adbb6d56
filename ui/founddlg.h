// CFoundDlg: the albums that contain one artist or one song, the target of
// an X-ref. From it an album opens in its detail dialog, whose own X-Ref
// hands the next target back to the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>

#include "catalogue/relation.h"

class QLabel;
class QPushButton;

namespace tracklore {

class CRecListBox;

class CFoundDlg : public QDialog {
  Q_OBJECT

 public:
  // attr: 0 artist, 1 song; code: the artist's or song's Code.
  CFoundDlg(int attr, int32_t code, QWidget* parent);
  ~CFoundDlg() override;

  int resultAttr() const { return resultattr_; }
  int32_t resultCode() const { return resultcode_; }
  CRecListBox* list() const { return list_; }

  void reject() override;

  // The row of an album: its name, its completeness mark when it is
  // incomplete, and its main artist ("--" for none).
  static std::string albumRow(quill::Rlist& album);

 private:
  int attr_;
  int32_t code_;
  std::unique_ptr<Relation> source_;
  int resultattr_ = -1;
  int32_t resultcode_ = -1;
  QLabel* label_;
  CRecListBox* list_;
  QPushButton* view_;
  QPushButton* close_;

  void onView(bool button);
};

}  // namespace tracklore
