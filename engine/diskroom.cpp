#include "engine/diskroom.h"

#include <sys/stat.h>

#include <string>

#include "engine/errors.h"
#include "engine/file.h"

namespace quill {

namespace {

int64_t g_lacking = 0;
// The write failures counted when it was measured: a later one is a new
// failure, whose shortfall nobody measured.
int64_t g_failuresthen = 0;

int64_t filesize(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

std::string directoryof(const std::string& base) {
  const std::string::size_type slash = base.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : base.substr(0, slash);
}

}  // namespace

int64_t roomlacking(const char* base) {
  const std::string stem = base;
  const int64_t needed = 2 * (filesize(stem + ".db1") + filesize(stem + ".idx"));
  const int64_t free = File::freespace(directoryof(stem).c_str());
  g_lacking = free >= 0 && free < needed ? needed - free : 0;
  g_failuresthen = writefailures;
  return g_lacking;
}

int64_t lastroomlacking() { return writefailures == g_failuresthen ? g_lacking : 0; }

}  // namespace quill
