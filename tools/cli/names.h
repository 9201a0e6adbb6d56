// Names as the command line takes them.
//
// A name on the command line or in an imported file is a full name
// (catalogue/storedform.h): UTF-8 in any script, kept and shown as given;
// the catalogue derives the stored Windows-1252 form from it. Only a name
// that is empty (or blanks only) and one longer than a full name holds are
// refused, so that what is kept is what was given, control characters
// aside (they become blanks).
#pragma once

#include <string>

#include "catalogue/kind.h"

namespace tracklore::cli {

// The full name of a given name of a kind (0 album, 1 artist, 2 song).
// False, with a message that names the name, when it is refused.
bool fullname(Kind kind, const std::string& given, std::string* full, std::string* message);

}  // namespace tracklore::cli
