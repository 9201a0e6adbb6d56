// Choosing the main file of a database, shared by opening and creation.
//
// The user's choice is taken only when its extension is ".db1" (in any
// letter case, or exactly, as the caller asks) and its title - the file name
// without extension - is not empty and fits the main name buffer. Then the
// title becomes the main table's name and the file's directory the current
// directory. A refused choice changes nothing and shows nothing, but for a
// title too long to keep, which is told: nothing else would show the user
// why the file they chose does not open.
#pragma once

#include <string>

#include "catalogue/host.h"

namespace tracklore {

enum class ExtensionCase { Any, Exact };

// Splits a chosen path into its directory ("" when none), title and
// extension (without the dot; "" when the name has none).
struct ChosenFile {
  std::string directory;
  std::string title;
  std::string extension;
};
ChosenFile splitchosen(const std::string& path);

// What opening and creation ask the host for: a main file, proposing
// "maindb.db1".
FileRequest mainfilerequest(const char* title, const char* filter, const char* defext);

// Makes stem the main table's name: 0, or -1 (nothing changed) after a
// warning that it is longer than a main name can be.
int takemainname(const std::string& stem);

// 0 when the choice was taken, -1 when refused (nothing changed) or when its
// directory cannot be entered.
int takemainfile(const std::string& path, ExtensionCase match);

}  // namespace tracklore
