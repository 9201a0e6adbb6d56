#include "ui/recoveryoffer.h"

#include <QMessageBox>
#include <QStringList>

#include "ui/codec.h"
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

void showRecoveryOutcome(QWidget* parent, bool recovered, const std::vector<std::string>& log) {
  QStringList lines;
  for (const std::string& line : log) lines << QString::fromStdString(line);
  QString text = recovered ? QMessageBox::tr("The database was recovered.")
                           : QMessageBox::tr("The database could not be recovered.");
  // A failure's reason is the last thing recovery wrote.
  if (!recovered && !lines.isEmpty()) text += QLatin1Char('\n') + lines.back();
  QMessageBox box(recovered ? QMessageBox::Information : QMessageBox::Warning,
                  QMessageBox::tr("Recovery"), text, QMessageBox::Ok, parent);
  box.setObjectName(kRecoveryOutcomeName);
  box.setDetailedText(lines.join(QLatin1Char('\n')));
  runModal(box);
}

}  // namespace tracklore
