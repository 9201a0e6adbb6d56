#include "catalogue/sparecursors.h"

#include <cstring>
#include <new>
#include <vector>

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"

namespace tracklore {

namespace {

// A list holds two cursors, and a screen shows a few lists at once.
constexpr size_t kMostSpares = 16;

struct Spare {
  int table;
  int tag;
  std::unique_ptr<quill::Rlist> cursor;
};

struct Spares {
  std::vector<Spare> kept;
  uint32_t generation = 0;
};

Spares& spares() {
  static Spares s;
  return s;
}

int setindex(const quill::DataFile& table) {
  for (int t = 0; t < kAllTables; ++t)
    if (&table == &DB_Table(t)) return t;
  return -1;
}

}  // namespace

SpareCursor::SpareCursor(quill::DataFile& table, int tag)
    : table_(setindex(table)), tag_(tag), generation_(spares().generation) {
  std::vector<Spare>& kept = spares().kept;
  for (size_t k = kept.size(); table_ >= 0 && k-- > 0;) {
    if (kept[k].table != table_ || kept[k].tag != tag_) continue;
    cursor_ = std::move(kept[k].cursor);
    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(k));
    return;
  }
  cursor_.reset(new (std::nothrow) quill::Rlist(&table));
  quill::chkalloc(cursor_.get(), "SpareCursor");
  (void)cursor_->select(tag);  // the caller's tag of the schema
}

SpareCursor::~SpareCursor() {
  Spares& s = spares();
  // A change still pending is saved as a cursor's destruction saves it; one
  // that cannot be saved must not reach the next user's record.
  if (table_ < 0 || generation_ != s.generation || !DB_Table(table_).isopen() ||
      s.kept.size() >= kMostSpares || cursor_->flush() != quill::Ok)
    return;
  (void)cursor_->gorecord(-1);  // stands nowhere, its tree position cleared
  std::memset(cursor_->buffer(), 0, static_cast<size_t>(cursor_->reclen()));
  s.kept.push_back({table_, tag_, std::move(cursor_)});
}

void DB_DropSpareCursors() {
  Spares& s = spares();
  s.kept.clear();
  ++s.generation;
}

uint32_t DB_TablesGeneration() { return spares().generation; }

}  // namespace tracklore
