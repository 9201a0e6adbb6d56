// Batch mode: many catalogue changes in a row (a scan, an import) with one
// durable point per batch instead of a forced write per engine change, and
// one journal intent per batch.
//
// While a CatalogueBatch lives, the tables of the open database (the name
// table too when it is open) defer their syncs and hold their index pages
// in memory (the engine's deferred sync and write-back). On disk meanwhile
// each index file says it is out of date, and records appended since the
// last durable point stay invisible (the data files' counters are written
// at the durable point).
//
// Each batch writes its intent to the journal (journal.h) before its first
// change: the record counts of the open tables. The intent is marked done
// only after the batch's durable point; the next batch then begins its own.
// So a process that ends between two durable points (a crash, kill -9,
// power loss) leaves an unfinished intent, and DB_Recover takes back
// exactly the unfinished batch: every album of every finished batch stays
// whole, and a second scan adds the rest. (Undo of a whole scan or import
// is another matter: wholestep.h images what it writes over.) Batches
// need no before-images:
// their other changes to existing records are reference counts and first
// artists, which the verification ending every recovery recomputes.
//
// The caller says when a unit of work (an album) is whole with unitdone();
// every `perbatch` units a durable point forces the records to disk. Their
// counters are written then but forced only by the next durable point: the
// next batch's intent, once on disk, holds them too, and until then a
// crash takes this batch back (the durable point had not returned). The
// indexes stay in memory and marked unfinished on disk until the end: a
// crash has them rebuilt from the records, so writing them at every
// durable point would only write most of each index again. finish() ends
// the last batch: with Ok it makes it durable and marks it done; with the
// code of a failed unit it still writes everything out but leaves the
// intent for recovery, which takes the batch back (a unit that failed
// half-way is not left half made).
// The tables must be open for writing and held exclusively; the batch must
// end (finish() or destruction) before they are closed.
#pragma once

#include <cstdint>
#include <memory>

#include "catalogue/results.h"
#include "catalogue/schema.h"

namespace tracklore {

class Intent;

struct BatchOptions {
  int perbatch = 1000;             // units between durable points
  const char* operation = "scan";  // the journal's name for it ("scan", "import")
};

class CatalogueBatch {
 public:
  explicit CatalogueBatch(BatchOptions options = {});
  ~CatalogueBatch();
  CatalogueBatch(const CatalogueBatch&) = delete;
  CatalogueBatch& operator=(const CatalogueBatch&) = delete;

  // Ok, or the failure of the durable point that it made, or of the batch's
  // beginning (NeedsRecovery when an interrupted edit is still unfinished,
  // WriteFailed when an index could not be marked unfinished or the intent
  // not written): then the caller must stop.
  ErrorCode unitdone();
  // The records forced to disk, the intent marked done, the next batch's
  // intent begun. Ok or the failure.
  ErrorCode durablepoint();
  // Ends the batch (see above); the tables are back to forcing every change.
  // Returns result, or the batch's own failure when result is Ok.
  ErrorCode finish(ErrorCode result = quill::Ok);

  // The durable points reached: a unit whose unitdone() raised it is on
  // disk even when the call failed (in the next batch's beginning).
  int durablepoints() const { return points_; }
  // Ok, or why the batch could not begin or go on; nothing should be
  // changed then.
  ErrorCode error() const { return error_; }
  bool ok() const { return error_ == quill::Ok; }

 private:
  BatchOptions options_;
  int units_ = 0;
  int points_ = 0;
  bool active_ = false;
  ErrorCode error_ = quill::Ok;
  std::unique_ptr<Intent> intent_;
  int32_t started_[kAllTables] = {};  // each table's records when the batch began
  // Every open index is in write-back, so marked unfinished on disk.
  bool marked();
  ErrorCode beginintent();
  // Forces the records to disk, table by table (DataFile::syncbatch).
  ErrorCode synctables();
  void fail(ErrorCode rc) {
    if (error_ == quill::Ok) error_ = rc;
  }
};

}  // namespace tracklore
