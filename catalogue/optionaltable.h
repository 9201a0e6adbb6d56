// The optional tables' files (the name table, the scan's file table):
// whether a database has them, and giving them to one made without them.
//
// A table is added whole or not at all: it is built under a name of its
// own (buildingname), indexed, and then renamed into place, index first,
// so that the data file's name appears only once the table is complete. A
// crash before that leaves only files under the building name, which the
// next attempt replaces.
#pragma once

#include "catalogue/results.h"

namespace tracklore {

// The stem under which optional table 5 or 6 is built before it is renamed.
const char* buildingname(int index);

// Whether the current directory holds the data file of optional table 5 or 6.
bool DB_OptionalTableThere(int index);

// Builds an empty optional table and renames it into place, in the current
// directory. The caller holds the five tables exclusively, so that no
// other program adds it at the same time. Ok or the failing code.
ErrorCode DB_AddOptionalTable(int index);

}  // namespace tracklore
