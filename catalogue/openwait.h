// Opening a table that another program holds: wait a little before giving up.
//
// Every table is held exclusively while a program uses it, so a second
// program's open is refused for as long as the first one's command runs,
// usually a moment. An OpenWait spans the opening of the whole database (or
// a whole maintenance pass): each refused open of a file that exists is
// tried again for up to a few seconds, with one status line through the
// host after the first second; then it counts as busy (another program is
// using the database), which the caller says plainly instead of reporting
// damage.
#pragma once

#include <functional>

#include "catalogue/results.h"
#include "engine/datafile.h"

namespace tracklore {

class OpenWait {
 public:
  // DataFile::open, tried again while the table is held by another.
  ErrorCode open(quill::DataFile& table, const char* name, quill::OpenMode mode);
  // A maintenance step on a closed table (pack, reindex), tried again while
  // another program holds the table.
  ErrorCode run(const char* name, const std::function<ErrorCode()>& step);
  // The last open or step gave up because the table stayed held.
  bool busy() const { return busy_; }

 private:
  bool told_ = false;
  bool busy_ = false;
};

// The warning for a database that stayed held; returns -1.
int DB_ReportBusy(const char* table);

}  // namespace tracklore
