#include "ui/browseplace.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>

#include "catalogue/tableset.h"

namespace tracklore {

namespace {

const QString kDatabaseKey = QStringLiteral("browse/database");
const QString kKindKey = QStringLiteral("browse/kind");
const QString kCodeKey = QStringLiteral("browse/code");

// A code means nothing in another database.
QString openDatabase() {
  return QDir(QDir::currentPath()).filePath(QFile::decodeName(DB_MainName()));
}

}  // namespace

BrowsePlace rememberedBrowsePlace() {
  QSettings settings;
  if (settings.value(kDatabaseKey).toString() != openDatabase()) return {};
  BrowsePlace place;
  // Kept as its table's number.
  const int table = settings.value(kKindKey, 0).toInt();
  const Kind kind = kindoftable(table);
  place.kind = validkind(kind) ? kind : Kind::Album;
  place.code = settings.value(kCodeKey, -1).toInt();
  return place;
}

void rememberBrowsePlace(const BrowsePlace& place) {
  QSettings settings;
  settings.setValue(kDatabaseKey, openDatabase());
  settings.setValue(kKindKey, kindtable(place.kind));
  settings.setValue(kCodeKey, place.code);
}

}  // namespace tracklore
