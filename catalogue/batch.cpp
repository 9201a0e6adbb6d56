// The durable points and intents of a batch of catalogue changes.
#include "catalogue/batch.h"

#include "catalogue/journal.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/index.h"

namespace tracklore {

namespace {

// The title table first and the relations last: a crash between two of the
// syncs then leaves albums without some of their rows (completed by the
// next scan) rather than rows of albums that are not there. Full names
// follow the records they name; the files a scan catalogued come last, as
// they name albums, songs and positions. A table not open is passed over.
constexpr int kSyncOrder[kAllTables] = {TitleTable, ArtistTable, SongTable,    NameTable,
                                        ArtistRows, SongRows,    ScanFileTable};

}  // namespace

CatalogueBatch::CatalogueBatch(BatchOptions options) : options_(options) {
  if (options_.perbatch < 1) options_.perbatch = 1;
  // The intent is on disk before anything else changes.
  fail(beginintent());
  if (!ok()) return;
  for (int t : kSyncOrder)
    if (DB_Table(t).isopen() && DB_Table(t).defersync(true) != 0)
      fail(quill::writeresult(quill::WriteFailed));
  active_ = true;
  if (!marked()) fail(quill::WriteFailed);
}

// Nobody to tell here: what a batch left unfinished is kept for recovery.
CatalogueBatch::~CatalogueBatch() {
  if (active_) (void)finish(quill::WriteFailed);
  intent_.reset();
}

ErrorCode CatalogueBatch::beginintent() {
  // The intent that ended is gone before the next one begins: intents nest,
  // and one begun inside another would write nothing.
  intent_.reset();
  intent_ = std::make_unique<Intent>(options_.operation, Intent::Syncs::ByCaller);
  for (int t = 0; t < kAllTables; ++t) {
    started_[t] = DB_Table(t).isopen() ? DB_Table(t).nrecs() : 0;
    if (DB_Table(t).isopen()) intent_->counts(t);
  }
  return intent_->begin();
}

bool CatalogueBatch::marked() {
  for (int t : kSyncOrder) {
    quill::Index* index = DB_Table(t).isopen() ? DB_Table(t).index() : nullptr;
    if (index != nullptr && !index->writeback()) return false;
  }
  return true;
}

ErrorCode CatalogueBatch::unitdone() {
  if (!ok()) return error_;
  if (++units_ % options_.perbatch != 0) return quill::Ok;
  return durablepoint();
}

ErrorCode CatalogueBatch::synctables() {
  ErrorCode rc = quill::Ok;
  for (int t : kSyncOrder) {
    // Artists and songs older than the batch change only in their
    // reference counts, which recovery recomputes.
    const int32_t derived = t == ArtistTable || t == SongTable ? started_[t] : 0;
    if (!DB_Table(t).isopen()) continue;
    const ErrorCode synced = DB_Table(t).syncbatch(derived);
    if (synced != quill::Ok && rc == quill::Ok) rc = synced;
  }
  return rc;
}

ErrorCode CatalogueBatch::durablepoint() {
  if (!active_ || !ok()) return error_;
  ErrorCode rc = synctables();
  // Done only once everything it declared is on disk.
  if (rc == quill::Ok) rc = intent_->end(quill::Ok);
  if (rc != quill::Ok) {
    fail(rc);
    return rc;
  }
  // Reached, whatever becomes of the next batch's beginning.
  ++points_;
  if (ok()) fail(beginintent());
  return error_;
}

ErrorCode CatalogueBatch::finish(ErrorCode result) {
  if (!active_) {
    intent_.reset();
    return result != quill::Ok ? result : error_;
  }
  active_ = false;
  // Ending the deferral is the last durable point, table by table in order.
  ErrorCode rc = quill::Ok;
  for (int t : kSyncOrder) {
    if (!DB_Table(t).isopen()) continue;
    const ErrorCode ended = DB_Table(t).defersync(false);
    if (ended != quill::Ok && rc == quill::Ok) rc = ended;
  }
  if (result != quill::Ok || !ok() || rc != quill::Ok) {
    // Left for recovery when the batch changed anything; the failure
    // reported is the batch's own.
    (void)intent_->end(quill::WriteFailed);
    intent_.reset();
    fail(rc);
    return result != quill::Ok ? result : error_;
  }
  rc = intent_->end(quill::Ok);
  intent_.reset();
  if (rc == quill::Ok) ++points_;
  fail(rc);
  return error_;
}

}  // namespace tracklore
