#include "ui/recoveryoffer.h"

#include <QMessageBox>
#include <QStringList>

#include "catalogue/results.h"
#include "catalogue/tableset.h"
#include "ui/codec.h"
#include "ui/dialogparts.h"
#include "ui/platform.h"

namespace tracklore {

bool askRecovery(QWidget* parent, RecoveryReason reason, const std::string& details) {
  const QString why =
      reason == RecoveryReason::UnfinishedEdit
          ? QMessageBox::tr("The last change to this database was interrupted before it was "
                            "finished.")
          : QMessageBox::tr("The index files of this database are out of date or damaged (after "
                            "an interrupted change, or a pack without reindex).");
  const QString text =
      why + QMessageBox::tr("\nRecover it now?\n\nRecovery undoes an unfinished change, rebuilds "
                            "the index files and verifies the database.");
  QMessageBox box(QMessageBox::Question, QMessageBox::tr("Recover database"), text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setObjectName(kRecoveryOfferName);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  box.setDetailedText(QString::fromStdString(details));
  runModal(box);
  return box.clickedButton() == box.button(QMessageBox::Yes);
}

void showRecoveryOutcome(QWidget* parent, int result, const std::vector<std::string>& log,
                         const std::string& advice) {
  QStringList lines;
  for (const std::string& line : log) lines << QString::fromStdString(line);
  QString text = result == 0    ? QMessageBox::tr("The database was recovered.")
                 : result == -2 ? QMessageBox::tr("The database is whole again, but an "
                                                  "interrupted change could not be undone.")
                                : QMessageBox::tr("Recovery failed: the database could not be "
                                                  "made whole.");
  // Why is the last thing recovery wrote; what to do follows it.
  if (result != 0 && !lines.isEmpty()) text += QLatin1Char('\n') + lines.back();
  if (result != 0 && !advice.empty()) text += QStringLiteral("\n\n") + QString::fromStdString(advice);
  QMessageBox box(result == 0 ? QMessageBox::Information : QMessageBox::Warning,
                  QMessageBox::tr("Recovery"), text, QMessageBox::Ok, parent);
  box.setObjectName(kRecoveryOutcomeName);
  giveOkMnemonic(box.button(QMessageBox::Ok));
  box.setDetailedText(lines.join(QLatin1Char('\n')));
  runModal(box);
}

bool reportFailedClose() {
  const ErrorCode rc = DB_CloseResult();
  if (rc == quill::Ok) return false;
  // The records are on disk; only the indexes are behind them, which the
  // recovery offered at the next open rebuilds.
  ask("The database could not be closed cleanly: " + DB_FailureText(rc) +
          ".\nWhat it still held was not written, so it needs recovery: " +
          (rc == quill::DiskFull ? "make room on the disk, then open" : "open") +
          " the database again and recover it when asked.",
      "Failure", Buttons::OK, Icon::Exclamation);
  return true;
}

}  // namespace tracklore
