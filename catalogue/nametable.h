// The name table's files (whether a database has them, giving them to one
// made without them) and the lookup of its entries that the journal and
// the full names share.
//
// The table is added whole or not at all, as optionaltable.h says.
#pragma once

#include <cstdint>
#include <vector>

#include "catalogue/kind.h"
#include "catalogue/results.h"

namespace tracklore {

// The stem under which the name table is built before it is renamed.
constexpr const char* kNewNameTable = "fullnew";

// Whether the current directory holds the name table's data file.
bool DB_NameTableThere();

// Builds an empty name table and renames it into place, in the current
// directory. The caller holds the five tables exclusively, so that no
// other program adds it at the same time. Ok or the failing code.
ErrorCode DB_AddNameTable();

// The record numbers of the open name table's entries for the record of
// kind 0..2 with this code, in part order (none without the table). Ok or
// the failing code.
ErrorCode DB_NameEntries(Kind kind, int32_t code, std::vector<int32_t>* recnos);

}  // namespace tracklore
