// Batch mode: many catalogue changes in a row with one durable point per
// batch instead of a forced write per engine change.
//
// While a CatalogueBatch lives, the five tables of the open database defer
// their syncs and hold their index pages in memory (the engine's deferred
// sync and write-back). On disk meanwhile each index file says it is out of
// date, and records appended since the last durable point stay invisible
// (the data files' counters are written at the durable point). So a process
// that ends between two durable points (a crash, kill -9, power loss)
// leaves, after the indexes are rebuilt (DB_Reindex) and the counts
// corrected (DB_Verify), every album of every finished batch whole; what
// the unfinished batch had begun is gone or is the beginning of an album,
// which a second scan completes.
//
// The caller says when a unit of work (an album) is whole with unitdone();
// every `perbatch` units, and at finish(), durablepoint() writes everything
// out and forces it to disk. That one function is where a batch's intent is
// to be recorded before the batch begins, once there is a journal for it.
// The tables must be open for writing and held exclusively; the batch must
// end (finish() or destruction) before they are closed.
#pragma once

namespace tracklore {

struct BatchOptions {
  int perbatch = 1000;  // units between durable points
};

class CatalogueBatch {
 public:
  explicit CatalogueBatch(BatchOptions options = {});
  ~CatalogueBatch();
  CatalogueBatch(const CatalogueBatch&) = delete;
  CatalogueBatch& operator=(const CatalogueBatch&) = delete;

  // 0, or -1 when the durable point that it made failed, or when the batch
  // could not begin (an index file could not be marked unfinished): then
  // the caller must stop, since a crash could no longer be told apart.
  int unitdone();
  // Everything written and forced to disk; then the batch goes on. 0 or -1.
  int durablepoint();
  // The last durable point; the tables are back to forcing every change.
  int finish();

  int durablepoints() const { return points_; }
  // False when the batch could not begin; nothing should be changed then.
  bool ok() const { return !failed_; }

 private:
  BatchOptions options_;
  int units_ = 0;
  int points_ = 0;
  bool active_ = false;
  bool failed_ = false;
  // Every open index is in write-back, so marked unfinished on disk.
  bool marked();
};

}  // namespace tracklore
