// Opening a table that another program holds: wait a little before giving up.
//
// A program that changes the database holds every table exclusively; one
// that only reads holds them shared, beside other readers. So an open is
// refused for as long as another program's command runs, usually a moment,
// or for as long as a program that reads keeps the database open, when
// this one wants to change it. An OpenWait spans the opening of the whole
// database (or a whole maintenance pass): each open refused because
// another opener holds the file is tried again for up to a few seconds,
// with one status line through the host after the first second; then it
// counts as busy (another program is using the database), which the caller
// says plainly instead of reporting damage. An open the system does not
// allow (permissions, a read-only file system) is not waited for: no wait
// changes that, and the caller says which file cannot be written or read.
#pragma once

#include <functional>
#include <string>

#include "catalogue/results.h"
#include "engine/datafile.h"

namespace tracklore {

// Why the system refused the last open of a table's file: another opener
// holds it, or this access to it is not allowed.
enum class Refusal { None, Held, NotAllowed };

class OpenWait {
 public:
  // DataFile::open, tried again while the table is held by another.
  ErrorCode open(quill::DataFile& table, const char* name, quill::OpenMode mode);
  // A maintenance step on a closed table (pack, reindex), tried again while
  // another program holds the table.
  ErrorCode run(const std::function<ErrorCode()>& step);
  // The last open or step gave up because the table stayed held.
  bool busy() const { return busy_; }
  // Why the last open or step failed, when a file's open was refused.
  Refusal refusal() const { return refusal_; }

 private:
  bool told_ = false;
  bool busy_ = false;
  Refusal refusal_ = Refusal::None;
};

// The warning for a database that stayed held, which says whether the
// holders only read it; returns -1.
int DB_ReportBusy(const char* table);
// The warning for a table whose file (.db1 after DataOpen, .idx after
// IndexOpen) this open was not allowed: the file cannot be written, or
// cannot even be read. Returns -1.
int DB_ReportNotAllowed(const char* table, ErrorCode result);
// Its text, "The file maindb.db1 cannot be written (Permission denied)";
// "" when the open that failed with result was not refused for access.
std::string DB_NotAllowedText(const char* table, ErrorCode result);

}  // namespace tracklore
