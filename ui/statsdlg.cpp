#include "ui/statsdlg.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/host.h"
#include "catalogue/tableset.h"
#include "ui/dialogparts.h"
#include "ui/geometry.h"
#include "ui/help.h"

namespace tracklore {

CStatsDlg::CStatsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CStatsDlg"));
  setWindowTitle(tr("Statistics"));
  addHelpKey(this, QStringLiteral("statistics"));
  report_ = withid(new QPlainTextEdit, IdReport);
  report_->setReadOnly(true);
  nameForReaders(report_, tr("Statistics"), tr("Counts of the catalogue's entries and links"));
  report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  report_->setMinimumSize(report_->fontMetrics().averageCharWidth() * 60,
                          report_->fontMetrics().height() * 24);
  purge_ = withid(new QPushButton(tr("&Delete unused")), IdPurge);
  purge_->setAutoDefault(false);
  close_ = withid(new QPushButton(tr("&Close")), IDCANCEL);
  close_->setDefault(true);
  QVBoxLayout* buttons = actionAndClose(purge_, close_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(besideButtons(report_, buttons));
  keepGeometry(this);
  connect(purge_, &QPushButton::clicked, this, &CStatsDlg::purge);
  connect(close_, &QPushButton::clicked, this, &CStatsDlg::reject);
  fill();
}

void CStatsDlg::fill() {
  // The statistics walk every row.
  WaitCursor wait;
  const ErrorCode rc = DB_Statistics(&stats_);
  report_->setPlainText(rc == quill::Ok
                            ? QString::fromStdString(DB_StatisticsReport(stats_, kShownEntries))
                            : tr("The statistics failed; returned %1.")
                                  .arg(QString::fromStdString(DB_FailureText(rc))));
  const bool unused = rc == quill::Ok && !(stats_.unused[0].empty() && stats_.unused[1].empty());
  purge_->setEnabled(unused && !DB_IsReadOnly());
  purge_->setToolTip(DB_IsReadOnly()
                         ? tr("The database is open read-only.")
                         : tr("Deletes the artists and songs that no album uses, as one edit. "
                              "Edit > Undo takes it back."));
}

void CStatsDlg::purge() {
  const QString question =
      tr("Delete %1 artists and %2 songs that no album uses?\nEdit > Undo takes it back.")
          .arg(stats_.unused[0].size())
          .arg(stats_.unused[1].size());
  if (tracklore::ask(question, tr("Confirm purge"), Buttons::OKCancel, Icon::Question,
                     DefaultButton::Refuse) != Answer::OK)
    return;
  int deleted = 0;
  ErrorCode rc;
  {
    WaitCursor wait;
    rc = DB_PurgeUnused(&deleted);
  }
  if (rc != quill::Ok)
    tracklore::ask(tr("Purge failed; returned %1.").arg(QString::fromStdString(DB_FailureText(rc))),
                   tr("Failure"), Buttons::OK, Icon::Exclamation);
  fill();
}

void CStatsDlg::reject() { done(IDCANCEL); }

}  // namespace tracklore
