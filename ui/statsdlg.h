// CStatsDlg: what the open database holds (catalogue/statistics.h), and the
// purge of the artists and songs that no album uses.
#pragma once

#include <QDialog>

#include "catalogue/statistics.h"
#include "ui/platform.h"

class QPlainTextEdit;
class QPushButton;

namespace tracklore {

class CStatsDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids, each control's object name.
  enum : int { IdReport = 1070, IdPurge = 1071 };
  // The most entries of each list that the report shows.
  static constexpr size_t kShownEntries = 100;

  explicit CStatsDlg(QWidget* parent);

  // Deletes the unused artists and songs after asking.
  void purge();

  void reject() override;

 private:
  CatalogueStats stats_;
  QPlainTextEdit* report_;
  QPushButton* purge_;
  QPushButton* close_;

  void fill();
};

}  // namespace tracklore
