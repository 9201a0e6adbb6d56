// The full names of albums, artists and songs.
//
// Each record of tables 0..2 has a stored name (storedform.h); where that
// stored name read as UTF-8 is not the name as given, the full name is kept
// in the database's name table (schema.h, NameTable), keyed by kind and
// code. Every name shown to a user is the full name; order and type-ahead
// use the stored one.
//
// A database without a name table (made before it existed, or by another
// program) reads as if no name had an entry: every full name is its stored
// name. The table is made when the database is next opened for writing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/kind.h"
#include "catalogue/results.h"

namespace quill {
class Rlist;
}

namespace tracklore {

// The full name of the record of kind 0..2 with this code, whose stored
// name is stored: its entry's name, else the stored name as UTF-8.
std::string DB_FullName(Kind kind, int32_t code, std::string_view stored);

// The full name of the record the cursor stands on (a cursor over table
// kind 0..2, or a Relation's attribute cursor).
std::string DB_CurrentFullName(quill::Rlist& cursor, Kind kind);

// Makes the name table hold what the record of kind and code needs for the
// full name full beside its stored name: an entry when they differ, none
// when they do not; nothing without a name table open. Ok or the failing
// code. Part of the edits of edits.h,
// which journal it; exposed for the repairs of verify and recovery.
ErrorCode DB_KeepFullName(Kind kind, int32_t code, std::string_view stored, std::string_view full);

// Removes the entry of a record that goes (nothing when it has none).
ErrorCode DB_DropFullName(Kind kind, int32_t code);

}  // namespace tracklore
