// Whole-database operations: create, pack, reindex, verify and repair.
//
// Each runs while no database is open, opens and closes the tables itself
// and leaves the database closed. Failures are shown (DB_CheckResult, or
// DB_Open's own report) before -1 is returned.
//
// Progress: callback (context, percent 0..100) is called as the pass goes
// on, one percentage for the whole database. Context, when given, points to
// a record whose first member is a const char*: before each table the
// operation stores there the address of its progress line (valid until the
// next line or the end of the program), for example
// "Packing table 3 of 7: album artists", and calls the callback with the
// percentage so far, so that every table's line is shown, empty ones too.
// Both may be null.
//
// DB_Create () -> 0 when a new empty database was made in the directory the
//   user chose (save dialog; the chosen file's title, which must fit the
//   name buffer and must not be one of the fixed table names, becomes the
//   main table's name and its directory the current directory; the
//   extension must be exactly ".db1"); -1 when cancelled, refused, declined
//   at the question about an existing database, or when a step failed; else
//   the non-zero result of the final reindex. Before it empties the first
//   table it makes sure that every table can be made (existing files open
//   for writing, the directory takes new files) and otherwise changes
//   nothing; a step that fails all the same is followed by a warning that
//   names the tables already replaced and those left as they were.
// DB_CreateIn (folder) -> the same without asking where: the database is
//   made in that existing folder, which becomes the current directory,
//   under the usual main name ("maindb"); -1 when it cannot be entered.
// DB_Pack -> 0 or -1: rewrites the tables (the name table too when there is
//   one) without deleted records; the index files are then out of date
//   until a reindex.
// DB_Reindex -> 0 or -1: rebuilds the index files from the records.
//   Both first remove the temporary files that earlier passes left behind
//   (DB_RemoveStrayFiles), and refuse to start, changing nothing, when a
//   file of the tables cannot be opened for writing: what they write
//   replaces the tables' files, which must not happen to read-only ones.
// DB_RemoveStrayFiles ([removed]) -> how many temporary files of the current
//   directory ("tmp%x%x%c%c" with ".db1", ".idx" or nothing) it removed,
//   their names appended to removed when given; -1 when the directory
//   cannot be read. Only those that no process holds go, so never one of a
//   pass at work elsewhere, and never a table of the database.
// DB_Verify (callback, context[, access, summary]) -> 0 when the database was
//   opened and walked, whatever was found; -1 when it could not be opened;
//   -2 when a table's index was found out of step with its records: the
//   run stopped there after saying so (reindex, then verify again). Checks
//   the relation rows' references and sequence numbers, the attributes'
//   codes and reference counts and the albums' codes and first artists,
//   and the name table's entries when it is there (an entry whose record
//   is gone, that the record's name does not need or no longer comes from,
//   or whose parts are broken is offered for removal); every correction
//   is asked (Yes/No) and written at once; duplicate codes are only
//   reported. A correction that fails is reported ("Correction
//   failed on Datafile ...") and counted, and no later check builds on the
//   table it failed on: the walks that read it end there. ReadOnly access
//   opens the tables for reading only (they may be read-only files), so
//   every correction accepted fails. The summary, when given, counts what
//   was found. Before any walk every table's index is proved against its
//   records (the engine's integrity check); a damaged one is a problem
//   whose correction is a reindex of the database, and declined it ends
//   the run with -2. IndexCheck::Proved leaves that out for a caller that
//   has just checked or rebuilt every index (recovery). The corrections
//   accepted are written as one batch (batch.h), made durable table by
//   table at the end; when that fails none of them counts as corrected.
//   Tables that cannot be closed cleanly at the end are said to need
//   recovery, and the result is -1.
#pragma once

#include <string>
#include <vector>

namespace tracklore {

using ProgressCallback = void (*)(void* context, int percent);

enum class VerifyAccess { Repair, ReadOnly };
enum class IndexCheck { First, Proved };

struct VerifySummary {
  int found = 0;          // problems shown, duplicate codes included
  int corrected = 0;      // of them, put right
  int failed = 0;         // corrections accepted that could not be written
  int uncorrectable = 0;  // duplicate codes: never corrected
  int unchecked = 0;      // tables whose checks ended early after a failure
};

[[nodiscard]] int DB_Create();
[[nodiscard]] int DB_CreateIn(const std::string& folder);
[[nodiscard]] int DB_Pack(ProgressCallback callback, void* context);
[[nodiscard]] int DB_Reindex(ProgressCallback callback, void* context);
int DB_RemoveStrayFiles(std::vector<std::string>* removed = nullptr);
[[nodiscard]] int DB_Verify(ProgressCallback callback, void* context, VerifyAccess access,
              VerifySummary* summary, IndexCheck indexes = IndexCheck::First);
// With repairs and no summary, as the shell runs it.
[[nodiscard]] int DB_Verify(ProgressCallback callback, void* context);

// The message for a whole-database pass that returned -1, "Pack failed. ...":
// a full disk by name (with what a rebuild lacks when it measured it), a
// missing table file by name, a database left needing recovery as such,
// otherwise the hint that another program may hold a file. pass is marked
// QT_TRANSLATE_NOOP("Catalogue", ...) where it is written.
std::string DB_PassFailureText(const char* pass);

}  // namespace tracklore
