#include "ui/geometry.h"

#include <QDialog>
#include <QSettings>

namespace tracklore {

namespace {

QString key(const QDialog* dialog) {
  return QStringLiteral("geometry/") + dialog->objectName();
}

}  // namespace

void keepGeometry(QDialog* dialog) {
  const QByteArray saved = QSettings().value(key(dialog)).toByteArray();
  if (!saved.isEmpty()) dialog->restoreGeometry(saved);
  QObject::connect(dialog, &QDialog::finished, dialog,
                   [dialog] { QSettings().setValue(key(dialog), dialog->saveGeometry()); });
}

}  // namespace tracklore
