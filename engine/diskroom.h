// Room on the disk for rebuilding a table (pack, reindex).
//
// A rebuild writes its new file beside the old one, which goes only at the
// exchange: it needs about the table's size again while both exist. Asking
// for twice the table's size (data and index files) leaves the file system
// a margin, and a rebuild that would run out of room half-way is refused
// before it writes anything, saying how much more it needs.
#pragma once

#include <cstdint>

namespace quill {

// Bytes that the file system holding table `base` lacks for a rebuild of
// it: twice its files' size less the free space; 0 when there is room or
// the free space cannot be known.
int64_t roomlacking(const char* base);

// What the last refused rebuild lacked, in bytes: 0 after one with room,
// and once a write has failed since (that failure's shortfall is unknown).
int64_t lastroomlacking();

}  // namespace quill
