// Building an empty table of the schema (schema.h) from nothing: the
// creation of a database, and the name table added to one made without it.
#pragma once

#include "catalogue/results.h"

namespace tracklore {

// Makes (or empties) the table file base with the fields and tags of table
// index 0..6 of schema.h, each appended after the last. No index file is
// made: a reindex makes it. Ok or the first failing code.
ErrorCode buildtable(const char* base, int index);

}  // namespace tracklore
