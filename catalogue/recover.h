// Recovery in one step: brings a database that a crash interrupted back to
// a whole, consistent state.
//
// DB_Recover (callback, context, log) runs while no database is open (an
// open one is closed first) and leaves it closed; like an open, it first
// waits a few seconds for a program that still holds the database (one just
// killed lets go a moment later). In this order it:
//  1. undoes an unfinished edit of the journal (journal.h): puts back the
//     records' bytes and the tables' counts it recorded, so that the edit
//     is absent (an entry of an earlier database of the same name is set
//     aside);
//  2. makes every table's deleted count agree with its records;
//  3. reindexes every table that step 1 or 2 changed or whose index fails
//     the engine's integrity check; marks the journal entry done; then drops
//     records past the counted end (an append that never finished, or one
//     step 1 took back) by packing the table, and reindexes it again;
//  4. removes the database's temporary files that no process holds;
//  5. verifies the database, answering Yes to every correction it offers
//     (written as one batch, see maintenance.h);
//  6. runs the integrity check of every table again.
// Each thing done is appended to log as one line ("undid an unfinished
// move", "reindexed attr001"; verification's corrections counted by kind,
// "verification: 59,127 reference counts corrected"). Result 0 when the
// catalogue is whole: every step succeeded, verification left nothing
// uncorrected and every table passes the integrity check; -1 otherwise,
// with the reason in log. -2 when it is whole but a change had been cut
// short with no journal entry to undo it (the journal lost or damaged, an
// index marked unfinished or ahead of its data file): that change stays as
// far as it got, made consistent, and the last line of log says so. On
// -1 and -2, advice (when given) receives what the user should do next.
//
// Progress as for the whole-database operations (maintenance.h), given to
// the reindexing and the verification.
//
// The program offers it when an open fails for a reason it can mend
// (DB_NeedsRecovery) and shows the log afterwards.
#pragma once

#include <string>
#include <vector>

#include "catalogue/journal.h"
#include "catalogue/maintenance.h"

namespace tracklore {

[[nodiscard]] int DB_Recover(ProgressCallback callback, void* context, std::vector<std::string>* log,
               std::string* advice = nullptr);

// True when the database of the current directory holds an unfinished
// edit, or a table whose index is missing, out of date or damaged: what
// DB_Recover mends and an open refuses.
bool DB_NeedsRecovery();

// Writes the entry's records and table counts into the closed tables of
// the current directory, each written table's index then reading as out
// of date (touched marks them): 0, or -1 with the reason in log.
// *restored counts the records written.
[[nodiscard]] int DB_PutBack(const IntentEntry& entry, bool touched[kAllTables], std::vector<std::string>* log,
               int* restored);

}  // namespace tracklore
