// CDuplicatesDlg: Tools > Find duplicates. The albums, artists or songs
// whose names are alike but for case, accents, punctuation and blanks
// (catalogue/duplicates.h), group by group with what tells them apart; the
// entry selected in a group is the one the rest of its group merges into.
#pragma once

#include <QDialog>

#include "catalogue/kind.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace tracklore {

class CDuplicatesDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdKindBox = 1070, IdGroups = 1071, IdCount = 1072, IdMergeGroup = 1073 };

  // kind: the kind shown first, 0..2.
  CDuplicatesDlg(QWidget* parent, Kind kind);

  QTreeWidget* groups() const { return groups_; }

 private:
  Kind kind_;
  QComboBox* kindbox_;
  QTreeWidget* groups_;
  QLabel* count_;
  QPushButton* merge_;
  QPushButton* close_;

  void fill();
  void updateButtons();
  void onMerge();
};

}  // namespace tracklore
