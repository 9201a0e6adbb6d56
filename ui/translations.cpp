#include "ui/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <map>
#include <mutex>
#include <string>

#include "catalogue/translate.h"

namespace tracklore {

namespace {

// The catalogue keeps the pointers it is given for the rest of the run; a
// map's entries never move.
const char* catalogueText(const char* context, const char* text) {
  static std::mutex guard;
  static std::map<std::string, std::string> translated;
  const std::lock_guard<std::mutex> lock(guard);
  std::string key = std::string(context) + '\x04' + text;
  auto found = translated.find(key);
  if (found == translated.end())
    found =
        translated.emplace(std::move(key), QCoreApplication::translate(context, text).toStdString())
            .first;
  return found->second.c_str();
}

}  // namespace

QStringList translationFolders() {
  const QDir programDir(QCoreApplication::applicationDirPath());
  return {programDir.filePath(QStringLiteral("translations")),
          programDir.filePath(QStringLiteral("../share/tracklore/translations"))};
}

bool installTranslations(const QLocale& locale, const QStringList& folders) {
  // Owned by the application for the rest of the run.
  auto* qt = new QTranslator(QCoreApplication::instance());
  if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qt);
  auto* own = new QTranslator(QCoreApplication::instance());
  for (const QString& folder : folders) {
    if (!own->load(locale, QStringLiteral("tracklore"), QStringLiteral("_"), folder)) continue;
    QCoreApplication::installTranslator(own);
    DB_SetTranslator(catalogueText);
    return true;
  }
  return false;
}

}  // namespace tracklore
