#include "ui/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "catalogue/schema.h"

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

QString musicFolder() {
  const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  // A music folder that is only the home folder is no music folder.
  if (music.isEmpty() || QDir(music) == QDir::home())
    return QDir::home().filePath(QStringLiteral("Music"));
  return music;
}

QString defaultDatabaseFolder() {
  return QDir(musicFolder()).filePath(QStringLiteral("Tracklore"));
}

QString proposedDatabaseFolder(const QString& folder) {
  const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
  const bool hidden = clean.contains(QStringLiteral("/."));
  if (QDir(clean) == QDir::home() || QDir(clean).isRoot() || hidden) return defaultDatabaseFolder();
  return clean;
}

QString mainNameIn(const QString& folder) {
  if (holdsDatabase(folder, {})) return kUsualMain;
  QStringList candidates;
  const QStringList files =
      QDir(folder).entryList({QStringLiteral("*.db1")}, QDir::Files, QDir::Name);
  for (const QString& file : files) {
    const QString stem = QFileInfo(file).completeBaseName();
    bool fixed = false;
    for (int index = 1; index < kAllTables; ++index)
      fixed = fixed || stem == QLatin1String(fixedname(index));
    if (!fixed) candidates << stem;
  }
  if (candidates.isEmpty()) return kUsualMain;
  return candidates.size() == 1 ? candidates.front() : QString();
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
