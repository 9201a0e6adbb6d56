#include "ui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "ui/platform.h"
#include "catalogue/text.h"
#include "ui/codec.h"

namespace tracklore {

QString helpPagePath() {
  const QDir programDir(QCoreApplication::applicationDirPath());
  const QString candidates[] = {
      programDir.filePath(QStringLiteral("index.htm")),
      programDir.filePath(QStringLiteral("../share/tracklore/index.htm")),
      QDir::current().filePath(QStringLiteral("index.htm")),
  };
  for (const QString& page : candidates)
    if (QFileInfo::exists(page)) return QFileInfo(page).canonicalFilePath();
  return QString();
}

void showHelp(const QString& anchor) {
  const QString page = helpPagePath();
  if (!page.isEmpty()) {
    QUrl url = QUrl::fromLocalFile(page);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (QDesktopServices::openUrl(url)) return;
  }
  tracklore::ask(page.isEmpty()
                     ? std::string("The help page could not be found.\nIt is the file index.htm, "
                                   "installed under share/tracklore.")
                     : textf("The help page could not be shown.\nIt is the file %s",
                             toStoredLossy(QDir::toNativeSeparators(page)).c_str()),
                 "Help", Buttons::OK, Icon::Information);
}

}  // namespace tracklore
