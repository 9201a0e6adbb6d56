#include "ui/statsdlg.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/host.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
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
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(purge_);
  buttons->addStretch(1);
  buttons->addWidget(close_);
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
  report_->setPlainText(QString::fromStdString(
      rc == quill::Ok ? DB_StatisticsReport(stats_, kShownEntries)
                      : textf("The statistics failed; returned %s.", DB_FailureText(rc).c_str())));
  const bool unused = rc == quill::Ok && !(stats_.unused[0].empty() && stats_.unused[1].empty());
  purge_->setEnabled(unused && !DB_IsReadOnly());
  purge_->setToolTip(DB_IsReadOnly()
                         ? tr("The database is open read-only.")
                         : tr("Deletes the artists and songs that no album uses, as one edit. "
                              "Edit > Undo takes it back."));
}

void CStatsDlg::purge() {
  const std::string question =
      textf("Delete %zu artists and %zu songs that no album uses?\nEdit > Undo takes it back.",
            stats_.unused[0].size(), stats_.unused[1].size());
  if (tracklore::ask(question, "Confirm purge", Buttons::OKCancel, Icon::Question,
                     DefaultButton::Refuse) != Answer::OK)
    return;
  int deleted = 0;
  ErrorCode rc;
  {
    WaitCursor wait;
    rc = DB_PurgeUnused(&deleted);
  }
  if (rc != quill::Ok)
    tracklore::ask(textf("Purge failed; returned %s.", DB_FailureText(rc).c_str()), "Failure",
                   Buttons::OK, Icon::Exclamation);
  fill();
}

void CStatsDlg::reject() { done(IDCANCEL); }

}  // namespace tracklore
