// Many journaled changes under one intent, the tables' syncs deferred to
// its end: the intent's before-images take all of them back together, so
// each change needs no forced write of its own.
#pragma once

#include "catalogue/results.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"

namespace tracklore {

class DeferredSync {
 public:
  // Begun after the intent's begin(): its entry is on disk first.
  DeferredSync() {
    for (int t = 0; t < kAllTables; ++t)
      if (DB_Table(t).isopen()) DB_Table(t).defersync(true);
  }
  // Forces every table to disk; Ok or WriteFailed. Before the intent ends.
  ErrorCode finish() {
    ErrorCode rc = quill::Ok;
    for (int t = 0; t < kAllTables; ++t)
      if (DB_Table(t).isopen() && DB_Table(t).defersync(false) != quill::Ok) rc = quill::WriteFailed;
    done_ = true;
    return rc;
  }
  ~DeferredSync() {
    if (!done_) finish();
  }
  DeferredSync(const DeferredSync&) = delete;
  DeferredSync& operator=(const DeferredSync&) = delete;

 private:
  bool done_ = false;
};

}  // namespace tracklore
