// Where the program starts, and the database it remembers between runs.
//
// A folder named on the command line is opened; without one the current
// directory is opened when it holds a database, else the database used last
// (remembered in the user's settings); when there is none of these the
// program opens the current directory and proposes a new database in a
// folder of its own under the user's music folder (or data folder).
#pragma once

#include <QString>
#include <QStringList>

namespace tracklore {

struct StartFolder {
  QString open;      // the folder whose database is opened at start
  QString mainname;  // the main table's stem there; empty for the usual one
  QString create;    // where a new database is proposed if that open finds none
};

// arguments: the positional arguments of the command line (the first one,
// if any, is the database folder).
StartFolder chooseStartFolder(const QStringList& arguments);

// The user's music folder: the XDG music directory, or "Music" in the home
// folder when that is unset or is the home folder itself. It may not exist
// yet.
QString musicFolder();

// The folder proposed for a first database: "Tracklore" in the music folder.
QString defaultDatabaseFolder();

// Where a new database is proposed after none was found in folder: there,
// unless it is the home folder, the root or a hidden folder, where its
// files would be lost among others or out of sight; then the default.
QString proposedDatabaseFolder(const QString& folder);

// The main table's stem of the database in a folder the user chose: the
// usual one when its file is there or no other main file is; the only
// other candidate when there is just one; else empty (the user picks).
QString mainNameIn(const QString& folder);

// Whether a folder holds a database with the main table's stem.
bool holdsDatabase(const QString& folder, const QString& mainname);

// The database opened last: its folder and main stem.
void rememberDatabase(const QString& folder, const QString& mainname);
QString rememberedFolder();
QString rememberedMainName();

// Whether the database is opened read-only: the user's last choice,
// read-only until one is made.
bool rememberedReadOnly();
void rememberReadOnly(bool readonly);

}  // namespace tracklore
