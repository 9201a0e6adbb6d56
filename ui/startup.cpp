#include "ui/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tracklore {

namespace {

const QString kUsualMain = QStringLiteral("maindb");
const QString kFolderKey = QStringLiteral("database/folder");
const QString kMainKey = QStringLiteral("database/main");
const QString kReadOnlyKey = QStringLiteral("database/readonly");

}  // namespace

bool holdsDatabase(const QString& folder, const QString& mainname) {
  const QString stem = mainname.isEmpty() ? kUsualMain : mainname;
  return QFileInfo(QDir(folder).filePath(stem + QStringLiteral(".db1"))).isFile();
}

QString defaultDatabaseFolder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  // A music folder that is only the home directory is no music folder.
  if (base.isEmpty() || !QFileInfo(base).isDir() || QDir(base) == QDir::home())
    base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return QDir(base).filePath(QStringLiteral("Tracklore"));
}

void rememberDatabase(const QString& folder, const QString& mainname) {
  QSettings settings;
  settings.setValue(kFolderKey, QDir(folder).absolutePath());
  settings.setValue(kMainKey, mainname);
}

QString rememberedFolder() { return QSettings().value(kFolderKey).toString(); }

QString rememberedMainName() { return QSettings().value(kMainKey).toString(); }

bool rememberedReadOnly() { return QSettings().value(kReadOnlyKey, true).toBool(); }

void rememberReadOnly(bool readonly) { QSettings().setValue(kReadOnlyKey, readonly); }

StartFolder chooseStartFolder(const QStringList& arguments) {
  StartFolder start;
  const QString current = QDir::currentPath();
  if (!arguments.isEmpty()) {
    start.open = QDir::cleanPath(QDir(current).absoluteFilePath(arguments.front()));
    start.create = start.open;
    return start;
  }
  if (holdsDatabase(current, {})) {
    start.open = current;
    start.create = current;
    return start;
  }
  const QString last = rememberedFolder();
  const QString lastmain = rememberedMainName();
  if (!last.isEmpty() && holdsDatabase(last, lastmain)) {
    start.open = last;
    start.mainname = lastmain == kUsualMain ? QString() : lastmain;
    start.create = last;
    return start;
  }
  start.open = current;
  start.create = defaultDatabaseFolder();
  return start;
}

}  // namespace tracklore
