// Result codes and the reporting channel of the storage engine.
//
// The error model: every operation above the file layer returns an
// ErrorCode, Ok (0) on success and a named code otherwise; the compiler
// warns where one is dropped. Only File, the wrapper of the system calls,
// returns 0 or -1 (errno says why); fileresult() turns that into the code
// the caller names for a failure, GeneralError where it names none.
// Messages to the user go
// through one replaceable reporter with three levels: warning (work goes
// on), fatal (the process ends with status -1) and information. The default
// reporter writes the title and the text to stderr; a windowed program
// installs its own (a message box) at start.
//
// The process ends (fatal) only where going on could write damage into a
// file or no result could say what went wrong; nowhere else:
//   errors.cpp chkalloc, install_alloc_check: memory ran out (every
//     allocation of the engine, named by the allocating operation).
//   btree.cpp Btree::Btree: no open index file, or no tree of that number
//     (a programming error).
//   btree.cpp Btree::beginop: the tree's descriptor cannot be read again
//     (shared index) or describes no usable tree (Btree::damaged).
//   btree.cpp Btree::broken (from btree.cpp, btree_search.cpp,
//     btree_rank.cpp, btree.h climb): the structure met during an operation
//     is damaged (a loop, a wrong parent, a leaf off the tree's height).
//   btree.cpp Btree::insert, btree_search.cpp Btree::seek: a key longer than
//     the tree's keys or of negative length (a programming error).
//   btree.cpp Btree::rebalance: the new root's parent field cannot be
//     written, the tree would be left half changed.
//   page.cpp Page::load: a damaged or unreadable page.
//   page.cpp Page::save, dispose, link: a page of a tree change cannot be
//     written; the change cannot be undone half way.
//   page.cpp Page::insert: no room for an entry (the callers split first).
//   multifile.cpp MultiFile::use_free_page and its free-list walk: the free
//     list of a slot is damaged or empty where it may not be.
//   datafile.cpp DataFile::init_finfo_tinfo: a tag descriptor names no
//     fields, a field that does not exist, or keys longer than a page holds.
//   rlist.cpp Rlist::seek: seeking without a selected tag.
// Callers that must not end (checks, catalogue) test first: Btree::damaged,
// Rlist::selected, and the structure walks that collect problems instead.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace quill {

// The numbers are part of the interface: messages print them and other
// programs' files store them.
enum [[nodiscard]] ErrorCode : int32_t {
  Ok = 0,
  NotFound = 127,
  WriteFailed = 126,
  DuplicateKey = 124,
  TooFar = 22,
  NoCurrentRecord = 23,
  DataOpen = 64,
  DataCreate = 65,
  BadData = 66,
  BadParam = 67,
  IndexOpen = 68,
  IndexCreate = 69,
  IndexOutOfDate = 71,
  BadIndex = 70,
  FileOpen = 72,
  FileCreate = 73,
  NextRecord = 24,
  PrevRecord = 25,
  TryAgain = 0x1100,  // a lock that cannot be had
  // A write failed for lack of space on the disk (ENOSPC, EDQUOT): the same
  // outcome as WriteFailed, told apart so that the user learns what to do.
  DiskFull = 0x1101,
  GeneralError = -1,  // a failure of the file layer, passed up unchanged
};

// A File result (0 or -1) as a code: Ok, or `failure` when the call failed.
constexpr ErrorCode fileresult(int result, ErrorCode failure = GeneralError) {
  return result == 0 ? Ok : failure;
}

// The display name of a code ("0 (Ok)", "NotFound", ...), "Unknown" for any
// value not in the table.
const char* errname(ErrorCode code);

enum class ReportLevel { Warning = 1, Fatal = 2, Information = 3 };

// The title shown with a message of the given level.
const char* report_title(ReportLevel level);

// A reporter shows one formatted message and returns what the user pressed.
using Reporter = int (*)(ReportLevel level, const char* title, const char* text);

// The reporter in force; replace it once, before the engine is used.
extern Reporter reporter;

// Writes "title: text" to stderr; the initial reporter.
int stderr_reporter(ReportLevel level, const char* title, const char* text);

// Formats by printf rules (cut at 1,023 characters) and hands the text to the
// reporter; returns its result.
int report(ReportLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));
int vreport(ReportLevel level, const char* format, va_list args);

int warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
int information(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reports at the fatal level, then ends the process with exit status -1.
// After a write that failed for lack of space the message says so: a page
// that cannot be written is then why the process ends, and freeing space
// before recovery is what the user must do.
[[noreturn]] void fatal(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The errno of the write or sync that failed last (File keeps it; 0 before
// the first), and whether it was for lack of space (ENOSPC, EDQUOT).
extern int lastwriteerrno;
extern int64_t writefailures;  // how many have failed in this process
bool diskwasfull();

// Fatal "Error allocating memory (where)" when pointer is null.
void chkalloc(const void* pointer, const char* where);

// Makes a failing operator new end the process through fatal(), so that every
// allocation of the engine is checked. Programs call it once at start.
void install_alloc_check();

}  // namespace quill
