// Opening a table that another program holds: wait a little before giving up.
//
// Every table is held exclusively while a program uses it, so a second
// program's open is refused for as long as the first one's command runs,
// usually a moment. An OpenWait spans the opening of the whole database:
// each refused open whose file exists is tried again for up to a few
// seconds in all, with a status line through the host after the first
// second; then the open counts as busy (another program is using the
// database), which the caller says plainly instead of reporting damage.
#pragma once

#include <chrono>

#include "catalogue/results.h"
#include "engine/datafile.h"

namespace tracklore {

class OpenWait {
 public:
  OpenWait();
  // DataFile::open, tried again while the table is held by another.
  ErrorCode open(quill::DataFile& table, const char* name, int readonly, int shared,
                 int noindex);
  // The last open gave up because the table stayed held.
  bool busy() const { return busy_; }

 private:
  std::chrono::steady_clock::time_point start_;
  bool told_ = false;
  bool busy_ = false;
};

// The warning for a database that stayed held; returns -1.
int DB_ReportBusy(const char* table);

}  // namespace tracklore
