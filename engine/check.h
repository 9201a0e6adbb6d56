// The integrity check of a table: proves its index consistent with its
// records without trusting either, and never ends the process on damage.
//
// It checks the data file (length, status bytes, deleted count), then every
// tree: structure and order (Btree::walk), free lists and page counts, and
// that every live record's key is present exactly once per tag with its
// record number and nothing else is; finally the index's count and stamp.
#pragma once

#include <string>
#include <vector>

namespace quill {

// Appends one line per problem found; 0 when there is none, else -1.
int checktable(const char* base, std::vector<std::string>* problems);

}  // namespace quill
