// Cursors on the tables of the set, kept for reuse.
//
// Lists come and go by the thousand (one for every album or song shown, two
// cursors each), and binding a cursor to its table and tag allocates a
// dozen buffers. SpareCursor hands out a kept cursor of the same table and
// tag when there is one, standing nowhere with a zeroed buffer as a new one
// would, and keeps it again when it goes. The spares go when the tables
// close or open; a cursor taken before that is destroyed when it goes. A
// table outside the set gets a cursor of its own.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/datafile.h"
#include "engine/noncopyable.h"
#include "engine/rlist.h"

namespace tracklore {

class SpareCursor : quill::NonCopyable {
 public:
  SpareCursor(quill::DataFile& table, int tag);
  ~SpareCursor();

  quill::Rlist& operator*() { return *cursor_; }

 private:
  std::unique_ptr<quill::Rlist> cursor_;
  int table_ = -1;  // in the set, else -1
  int tag_;
  uint32_t generation_;
};

// Destroys every spare; called as the tables close or open.
void DB_DropSpareCursors();
// Raised with every DB_DropSpareCursors: what a caller read from the tables
// before it changed may belong to another database, or predate a recovery.
uint32_t DB_TablesGeneration();

}  // namespace tracklore
