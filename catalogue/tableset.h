// The table set: the one open database of the process.
//
// Six DataFile objects in the order of schema.h, opened together and closed
// together (the name table only when it is there, see DB_Open), an open
// flag, and the stem of the main table's files (at most 127 characters,
// "maindb" until a main file is chosen). The objects live
// for the whole run; opening and closing only change their state. Every
// table is named relatively: the tables live in the current directory,
// which choosing a main file moves to the file's directory.
//
// DB_Open (mode, main file) -> 0, or -1 on cancel or failure.
//   MainFile::Ask: let the user choose the main file first (a chosen file
//   whose extension is not ".db1" in any letter case, or whose title does
//   not fit the name buffer, is refused without a message and changes
//   nothing); then opens title, artists, artists relation, songs, songs
//   relation in the mode given, then the name table: opened when its files
//   are there, made empty first when they are not and the mode is
//   writable and exclusive, else left closed (also, after a warning, when
//   it cannot be made). The first table that fails
//   is reported by DB_CheckResult, which closes them all; so is a table whose fields and
//   tags are not those of schema.h. An open database is closed first.
//   mode.shared holds the tables shared, beside other such openers;
//   otherwise they are held exclusively. A table another program holds is
//   waited for (openwait.h); a file this user may not write or read is
//   named at once.
//   Readers that may run beside others (the program read-only, the command
//   line's reading commands when the program has the database) open
//   kReadBeside: a writer, which holds the
//   tables exclusively, stays out while they are open, so no edit is ever
//   seen half made; the engine's shared mode reads counters and trees
//   afresh all the same.
// DB_Close () -> 0: closes every table; closing a closed one does nothing.
//   Whether the closes succeeded: DB_CloseResult.
// DB_CheckResult (result, table, operation) -> 0 when result is 0; else the
//   engine warning "Operation %s failed on Datafile \"%s\".\nReturn value:
//   %s." (for DiskFull "... \"%s\": the disk is full[: N MB more are
//   needed].", for a data file that is not there "... \"%s\": its file
//   %s.db1 is missing."), every table closed, -1. Every whole-database operation reports
//   its failures through it.
//
// Cursors (FullTable, Relation, Rlist) bound to these tables must be
// destroyed before the database is closed.
#pragma once

#include <string>

#include "catalogue/openwait.h"
#include "catalogue/results.h"
#include "engine/datafile.h"

namespace tracklore {

// Whether DB_Open opens the main file in force or lets the user choose one.
enum class MainFile { Current, Ask };

[[nodiscard]] int DB_Open(quill::OpenMode mode = {}, MainFile main = MainFile::Current);
constexpr quill::OpenMode kReadBeside{.readonly = true, .shared = true};
// The mode for a short read of the whole database (a command, a check):
// held alone, read-only, while nobody holds a table, so that the
// engine keeps what it read in memory; kReadBeside while someone does (the
// program opened read-only), so as to read beside it.
quill::OpenMode DB_ReadMode();
int DB_Close();
// The first failure of the last DB_Close's table closes (what a table held
// back could not be written: the database then needs DB_Recover), or Ok.
ErrorCode DB_CloseResult();
// After a DB_Close of tables that may have been written: 0, or -1 after the
// warning that the database closed needs recovery.
int DB_CheckClose();
int DB_CheckResult(ErrorCode result, const char* table, const char* operation);
// The result DB_CheckResult was last given since the last DB_Open, so that
// a caller told only -1 can name the cause (a full disk) in its message.
ErrorCode DB_CheckedResult();
// The data file ("attr002.db1") whose absence made the result DB_CheckResult
// was last given, or "" when that failure had another cause.
std::string DB_MissingTableFile();

// The code with which the last DB_Open failed to open a table (Ok after a
// success or a cancel), so that a caller can offer a remedy for it.
ErrorCode DB_OpenResult();
// Why the system refused that table's file: held by another program (and
// waited for first), or not allowed to this user (said at once).
Refusal DB_OpenRefusal();

// 1 after a successful DB_Open, 0 after DB_Close and at start.
int DB_IsOpen();
// True when the database is open for reading only.
bool DB_IsReadOnly();

// Table index 0..6 of the set. An optional table (5, 6) is closed in a database
// that has none (opened for reading, or shared).
quill::DataFile& DB_Table(int index);
// The name under which table index 0..6 is opened: the main table's stem
// for 0, the fixed names for the others.
const char* DB_TableName(int index);

// The stem of the main table's files.
const char* DB_MainName();
// Sets it; -1 (and nothing changed) when it does not fit 127 characters.
[[nodiscard]] int DB_SetMainName(const char* name);

}  // namespace tracklore
