// The integrity check of a table: proves its index consistent with its
// records without trusting either, and never ends the process on damage.
//
// It checks the data file (length, status bytes, deleted count), then every
// tree: structure and order (Btree::walk), free lists and page counts, and
// that every live record's key is present exactly once per tag with its
// record number and nothing else is; finally the index's count and stamp.
//
// Two traces of an interrupted change are legal and reported as notes, not
// problems: records past the counted ones at the end of the data file (an
// append cut short before its counters; the next append overwrites them,
// a pack drops them) and bytes of the index file that belong to no page (a
// page allocation cut short; the next page goes after them, a reindex
// drops them). Neither is ever read as data.
#pragma once

#include <string>
#include <vector>

#include "engine/file.h"

namespace quill {

// Appends one line per problem found; 0 when there is none, else -1. Notes
// go to `notes` when given. Shared, the table is opened beside other
// openers and checked under its index and header locks (shared), so that
// no change of another opener lands in the middle of the check.
int checktable(const char* base, std::vector<std::string>* problems,
               std::vector<std::string>* notes = nullptr, Sharing sharing = Sharing::Exclusive);

}  // namespace quill
