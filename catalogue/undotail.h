// The records a whole scan or import appended, kept aside while its step
// of the undo history (history.h) is undone.
//
// The step images only the records the scan wrote over: the hundreds of
// thousands it may append stay in the tables. Undoing it copies them, table
// by table, into a file beside the history (DB_TailName), synced before
// the tables change, and then cuts them off; redo writes them back past
// the counted records before the counts are put back. The file goes when
// the step is done again, or when a new edit drops it from the history.
//
// A kept tail's file (little-endian):
//   offset  width  field
//    0      4      magic "TLT1"
//    4      4      the table's creation time
//    8      4      the first record's number
//   12      4      the number of records
//   16      4      the record length
//   20      4      CRC-32 of the records
//   24      ...    the records, whole, status bytes included
// Everything in it is checked against the step before it is written back.
#pragma once

#include <cstddef>
#include <string>

#include "catalogue/schema.h"

namespace tracklore {

struct HistoryStep;

// The file of table t's records appended by the step at this place of the
// history.
std::string DB_TailName(size_t place, int table);

// Copies the records the step appended from the open tables: 0, or -1 when
// a file could not be written (none is then left).
int DB_KeepTail(const HistoryStep& step, size_t place);
// The step's records are kept, whole and as it appended them.
bool DB_TailKept(const HistoryStep& step, size_t place);
// Writes them back past the counted records of the closed tables: 0, or
// -1 with the reason in *why. Each table written is marked in touched.
int DB_PutTailBack(const HistoryStep& step, size_t place, bool touched[kAllTables],
                   std::string* why);
// Removes the step's kept records, if any.
void DB_DropTail(size_t place);

}  // namespace tracklore
