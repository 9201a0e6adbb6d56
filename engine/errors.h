// Result codes and the reporting channel of the storage engine.
//
// Every engine operation returns an ErrorCode (0 = Ok); lower layers return
// 0 or -1. Messages to the user go through one replaceable reporter with
// three levels: warning (work goes on), fatal (the process ends with status
// -1) and information. The default reporter writes the title and the text to
// stderr; a windowed program installs its own (a message box) at start.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace quill {

using ErrorCode = int32_t;

enum : ErrorCode {
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
  TryAgain = 0x1100,
};

// The display name of a code ("0 (Ok)", "NotFound", ...), "Unknown" for any
// value not in the table.
const char* errname(ErrorCode code);

enum ReportLevel { ReportWarning = 1, ReportFatal = 2, ReportInformation = 3 };

// The title shown with a message of the given level.
const char* report_title(int level);

// A reporter shows one formatted message and returns what the user pressed.
using Reporter = int (*)(int level, const char* title, const char* text);

// The reporter in force; replace it once, before the engine is used.
extern Reporter reporter;

// Writes "title: text" to stderr; the initial reporter.
int stderr_reporter(int level, const char* title, const char* text);

// Formats by printf rules (cut at 1,023 characters) and hands the text to the
// reporter; returns its result.
int report(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
int vreport(int level, const char* format, va_list args);

int warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
int information(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reports at the fatal level, then ends the process with exit status -1.
[[noreturn]] void fatal(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Fatal "Error allocating memory (where)" when pointer is null.
void chkalloc(const void* pointer, const char* where);

// Makes a failing operator new end the process through fatal(), so that every
// allocation of the engine is checked. Programs call it once at start.
void install_alloc_check();

}  // namespace quill
