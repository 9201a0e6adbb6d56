// Temporary names and the exchange of a rebuilt file with the table's own.
#include "engine/maintain.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>
#include <utility>

#include "engine/file.h"

namespace quill {

namespace {

// Raised after every name handed out, by every caller in the process.
uint16_t g_counter = 0;

// A full turn of the counter; if every name of it is taken, so are all the
// names of this second, and looking further only spins.
constexpr int kNameAttempts = 0x10000;
// O_EXCL losing a race against another process right after the name was
// found free is rare; a few retries are plenty.
constexpr int kCreateAttempts = 64;

RenameFault& rename_fault() {
  static RenameFault hook;
  return hook;
}

void formatname(char* buffer, unsigned n, std::time_t t) {
  std::snprintf(buffer, 16, "tmp%x%x%c%c", n & 0xF0u, n & 0x0Fu,
                static_cast<char>('a' + (t / 26) % 26), static_cast<char>('a' + t % 26));
}

// Anything under the name counts, dangling links and unreadable entries
// included: such a name cannot be claimed safely.
bool taken(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

bool nametaken(const char* name) {
  std::string base = name;
  return taken(base) || taken(base + ".db1") || taken(base + ".idx");
}

int renamefile(const std::string& from, const std::string& to) {
  if (rename_fault() && rename_fault()(from.c_str(), to.c_str())) {
    errno = EIO;
    return -1;
  }
  return File::renamefile(from.c_str(), to.c_str());
}

}  // namespace

void set_rename_fault(RenameFault hook) { rename_fault() = std::move(hook); }

char* tmpname(char* buffer) {
  if (buffer == nullptr) return nullptr;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    unsigned n = g_counter++;
    formatname(buffer, n, std::time(nullptr));
    if (!nametaken(buffer)) return buffer;
  }
  buffer[0] = '\0';
  return nullptr;
}

bool tmpcreate(char* buffer, const char* extension) {
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    if (tmpname(buffer) == nullptr) return false;
    std::string path = std::string(buffer) + extension;
    if (File::createnew(path.c_str()) == 0) return true;
    if (errno != EEXIST && errno != EINTR) break;
  }
  if (buffer != nullptr) buffer[0] = '\0';
  return false;
}

// rename() replaces the target in one step, so the table's name never stands
// empty: it names the previous file until the new one has taken its place,
// and a failed rename leaves the previous file where it was. The previous
// contents go only when the new file is in place, and no spare copy has to be
// put back after a failure.
bool swapfiles(const char* newbase, const char* oldbase, TableFile which) {
  std::string newname = std::string(newbase) + extensionof(which);
  std::string oldname = std::string(oldbase) + extensionof(which);
  if (renamefile(newname, oldname) != 0) return false;
  // The exchange lives in the directory: without this a crash soon after
  // could bring the previous name back. Best effort; the rename is done.
  (void)File::syncdir(oldname.c_str());
  return true;
}

const char* extensionof(TableFile which) { return which == TableFile::Data ? ".db1" : ".idx"; }

}  // namespace quill
