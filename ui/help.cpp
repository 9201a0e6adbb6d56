#include "ui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QUrl>
#include <QWidget>

#include "ui/codec.h"
#include "ui/platform.h"

namespace tracklore {

namespace {

std::function<bool(const QUrl&)>& opener() {
  static std::function<bool(const QUrl&)> hook;
  return hook;
}

bool open(const QUrl& url) {
  if (opener()) return opener()(url);
  return QDesktopServices::openUrl(url);
}

}  // namespace

void setHelpOpener(std::function<bool(const QUrl&)> hook) { opener() = std::move(hook); }

void addHelpKey(QWidget* window, const QString& anchor) {
  auto* key = new QShortcut(QKeySequence::HelpContents, window);
  QObject::connect(key, &QShortcut::activated, window, [anchor] { showHelp(anchor); });
}

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
    if (open(url)) return;
  }
  tracklore::ask(
      page.isEmpty()
          ? QCoreApplication::translate("Help",
                                        "The help page could not be found.\nIt is the "
                                        "file index.htm, installed under share/tracklore.")
          : QCoreApplication::translate("Help",
                                        "The help page could not be shown.\nIt is the "
                                        "file %1")
                .arg(QDir::toNativeSeparators(page)),
      QCoreApplication::translate("Help", "Help"), Buttons::OK, Icon::Information);
}

}  // namespace tracklore
