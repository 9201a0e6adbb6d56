#include "engine/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace quill {

namespace {

struct CodeName {
  ErrorCode code;
  const char* name;
};

// Searched in this order; the entry with a null name ends the table.
constexpr CodeName kNames[] = {
    {Ok, "0 (Ok)"},
    {NotFound, "NotFound"},
    {WriteFailed, "WriteFailed"},
    {DuplicateKey, "DuplicateKey"},
    {TooFar, "TooFar"},
    {NoCurrentRecord, "NoCurrentRecord"},
    {DataOpen, "DataOpen"},
    {DataCreate, "DataCreate"},
    {BadData, "BadData"},
    {BadParam, "BadParam"},
    {IndexOpen, "IndexOpen"},
    {IndexCreate, "IndexCreate"},
    {IndexOutOfDate, "IndexOutOfDate"},
    {BadIndex, "BadIndex"},
    {FileOpen, "FileOpen"},
    {FileCreate, "FileCreate"},
    {NextRecord, "NextRecord"},
    {PrevRecord, "PrevRecord"},
    {TryAgain, "TryAgain"},
    {DiskFull, "DiskFull (the disk is full)"},
    {GeneralError, "General error (-1)"},
    {Ok, nullptr},
};

constexpr int kMaxText = 1023;

}  // namespace

const char* errname(ErrorCode code) {
  for (const CodeName* entry = kNames; entry->name != nullptr; ++entry)
    if (entry->code == code) return entry->name;
  return "Unknown";
}

const char* report_title(ReportLevel level) {
  switch (level) {
    case ReportLevel::Warning: return "Warning";
    case ReportLevel::Fatal: return "Fatal error (aborting)";
    default: return "Information";
  }
}

int stderr_reporter(ReportLevel /*level*/, const char* title, const char* text) {
  std::fprintf(stderr, "%s: %s", title, text);
  // Messages usually end in a line break; keep the next one on its own line.
  size_t length = 0;
  while (text[length] != '\0') ++length;
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);
  return 1;
}

Reporter reporter = stderr_reporter;

int vreport(ReportLevel level, const char* format, va_list args) {
  char text[kMaxText + 1];
  std::vsnprintf(text, sizeof text, format, args);
  return reporter(level, report_title(level), text);
}

int report(ReportLevel level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int result = vreport(level, format, args);
  va_end(args);
  return result;
}

int warning(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int result = vreport(ReportLevel::Warning, format, args);
  va_end(args);
  return result;
}

int information(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int result = vreport(ReportLevel::Information, format, args);
  va_end(args);
  return result;
}

int lastwriteerrno = 0;
int64_t writefailures = 0;

bool diskwasfull() { return lastwriteerrno == ENOSPC || lastwriteerrno == EDQUOT; }

void fatal(const char* format, ...) {
  char text[kMaxText + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  const size_t length = std::strlen(text);
  if (length > 0 && text[length - 1] == '\n') text[length - 1] = '\0';
  if (diskwasfull())
    report(ReportLevel::Fatal,
           "%s\nThe disk is full: free some space, then recover the database.\n", text);
  else
    report(ReportLevel::Fatal, "%s", text);
  std::exit(-1);
}

void chkalloc(const void* pointer, const char* where) {
  if (pointer != nullptr) return;
  if (where != nullptr) fatal("Error allocating memory (%s)\n", where);
  fatal("Error allocating memory\n");
}

void install_alloc_check() {
  std::set_new_handler([] { fatal("Error allocating memory\n"); });
}

}  // namespace quill
