// The durable points of a batch of catalogue changes.
#include "catalogue/batch.h"

#include "catalogue/schema.h"
#include "catalogue/tableset.h"

namespace tracklore {

namespace {

// The title table first and the relations last: a crash between two of the
// syncs then leaves albums without some of their rows (completed by the
// next scan) rather than rows of albums that are not there.
constexpr int kSyncOrder[kTables] = {TitleTable, ArtistTable, SongTable, ArtistRows, SongRows};

}  // namespace

CatalogueBatch::CatalogueBatch(BatchOptions options) : options_(options) {
  if (options_.perbatch < 1) options_.perbatch = 1;
  defer(true);
  active_ = true;
}

CatalogueBatch::~CatalogueBatch() {
  if (active_) finish();
}

void CatalogueBatch::defer(bool on) {
  for (int t : kSyncOrder)
    if (DB_Table(t).isopen()) DB_Table(t).defersync(on);
}

int CatalogueBatch::unitdone() {
  if (++units_ % options_.perbatch != 0) return 0;
  return durablepoint();
}

int CatalogueBatch::durablepoint() {
  if (!active_) return 0;
  // Leaving write-back and entering it again, rather than syncing inside
  // it: a sync in write-back mode leaves the index declaring itself up to
  // date while pages changed later may still reach the file before the
  // next durable point. Entering marks the index unfinished again.
  defer(false);
  int rc = 0;
  for (int t : kSyncOrder)
    if (DB_Table(t).isopen() && DB_Table(t).sync() != 0) rc = -1;
  ++points_;
  defer(true);
  return rc;
}

int CatalogueBatch::finish() {
  if (!active_) return 0;
  int rc = durablepoint();
  defer(false);
  active_ = false;
  return rc;
}

}  // namespace tracklore
