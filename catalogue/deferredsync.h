// The tables of one journaled edit with their syncs deferred to its end:
// the intent's before-images and counts take back whatever part of the
// edit a crash leaves, so no single change needs a forced write of its
// own. An edit then costs a few syncs per table it declared, however many
// rows it renumbers.
#pragma once

#include <cstdint>

#include "catalogue/results.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"

namespace tracklore {

class DeferredSync {
 public:
  DeferredSync() = default;
  // Nobody to tell here: an owner that must know finishes first.
  ~DeferredSync() { (void)finish(); }
  DeferredSync(const DeferredSync&) = delete;
  DeferredSync& operator=(const DeferredSync&) = delete;

  // Defers the syncs of the open tables in `tables` (bit t for table t).
  // After the intent's entry is on disk. Ok, or the failure of marking an
  // index unfinished (the caller then changes nothing).
  ErrorCode begin(uint32_t tables) {
    ErrorCode rc = quill::Ok;
    for (int t = 0; t < kAllTables; ++t) {
      if ((tables >> t & 1) == 0 || !DB_Table(t).isopen()) continue;
      tables_ |= 1u << t;
      const ErrorCode on = DB_Table(t).defersync(true);
      if (on != quill::Ok && rc == quill::Ok) rc = on;
    }
    return rc;
  }
  // Forces every deferred table to disk: Ok, or the first failure. Before
  // the intent is marked done.
  ErrorCode finish() {
    ErrorCode rc = quill::Ok;
    for (int t = 0; t < kAllTables; ++t) {
      if ((tables_ >> t & 1) == 0) continue;
      const ErrorCode off = DB_Table(t).defersync(false);
      if (off != quill::Ok && rc == quill::Ok) rc = off;
    }
    tables_ = 0;
    return rc;
  }

 private:
  uint32_t tables_ = 0;
};

}  // namespace tracklore
