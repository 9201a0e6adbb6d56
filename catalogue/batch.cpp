// The durable points of a batch of catalogue changes.
#include "catalogue/batch.h"

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/index.h"

namespace tracklore {

namespace {

// The title table first and the relations last: a crash between two of the
// syncs then leaves albums without some of their rows (completed by the
// next scan) rather than rows of albums that are not there.
constexpr int kSyncOrder[kTables] = {TitleTable, ArtistTable, SongTable, ArtistRows, SongRows};

}  // namespace

CatalogueBatch::CatalogueBatch(BatchOptions options) : options_(options) {
  if (options_.perbatch < 1) options_.perbatch = 1;
  for (int t : kSyncOrder)
    if (DB_Table(t).isopen()) DB_Table(t).defersync(true);
  active_ = true;
  if (!marked()) failed_ = true;
}

CatalogueBatch::~CatalogueBatch() {
  if (active_) finish();
}

bool CatalogueBatch::marked() {
  for (int t : kSyncOrder) {
    quill::Index* index = DB_Table(t).isopen() ? DB_Table(t).index() : nullptr;
    if (index != nullptr && !index->writeback()) return false;
  }
  return true;
}

int CatalogueBatch::unitdone() {
  if (++units_ % options_.perbatch != 0) return failed_ ? -1 : 0;
  return durablepoint();
}

int CatalogueBatch::durablepoint() {
  if (!active_) return 0;
  int rc = failed_ ? -1 : 0;
  for (int t : kSyncOrder)
    if (DB_Table(t).isopen() && DB_Table(t).sync() != 0) rc = -1;
  // A sync inside write-back leaves each index file declaring itself up
  // to date; pages changed after it could reach the file (evicted) before
  // the next durable point, and a crash then would leave an index that
  // looks sound and is not. Entering write-back again marks it unfinished.
  for (int t : kSyncOrder) {
    quill::Index* index = DB_Table(t).isopen() ? DB_Table(t).index() : nullptr;
    if (index == nullptr) continue;
    if (index->setwriteback(false) != 0 || index->setwriteback(true) != 0) rc = -1;
  }
  ++points_;
  if (rc != 0) failed_ = true;
  return rc;
}

int CatalogueBatch::finish() {
  if (!active_) return 0;
  int rc = durablepoint();
  for (int t : kSyncOrder)
    if (DB_Table(t).isopen() && DB_Table(t).defersync(false) != 0) rc = -1;
  active_ = false;
  return rc;
}

}  // namespace tracklore
