// The program in the user's language: its own translations and Qt's, chosen
// by the system locale (LANG, LC_MESSAGES, LC_ALL), and the catalogue's
// messages translated through the same catalogue. A language without a
// translation leaves the program English.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace tracklore {

// Where the program's .qm files are looked for: beside the program (the
// build tree), then under share/tracklore (an installation).
QStringList translationFolders();

// Loads tracklore_<language>.qm from the first of folders that has it and
// Qt's own qtbase translation, installs both in the application and makes
// the catalogue's messages go through them. Returns whether the program's
// own translation was found.
bool installTranslations(const QLocale& locale = QLocale::system(),
                         const QStringList& folders = translationFolders());

}  // namespace tracklore
