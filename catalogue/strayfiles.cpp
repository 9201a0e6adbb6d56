// Temporary files that a pack, reindex or structure change left behind when
// it was stopped before the exchange.
#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue/maintenance.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/file.h"

namespace tracklore {

namespace {

bool hexdigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool letter(char c) { return c >= 'a' && c <= 'z'; }

// The engine's temporary names: "tmp", the counter's high nibble times 16
// and its low nibble in lower-case hexadecimal ("0" or "10".."f0", then one
// digit), two letters from the clock; then ".db1", ".idx" or nothing.
bool temporaryname(std::string name) {
  for (const char* extension : {".db1", ".idx"})
    if (name.ends_with(extension)) name.resize(name.size() - 4);
  if (!name.starts_with("tmp")) return false;
  const std::string rest = name.substr(3);
  size_t high;
  if (rest.size() == 4 && rest[0] == '0')
    high = 1;
  else if (rest.size() == 5 && hexdigit(rest[0]) && rest[0] != '0' && rest[1] == '0')
    high = 2;
  else
    return false;
  return hexdigit(rest[high]) && letter(rest[high + 1]) && letter(rest[high + 2]);
}

// A table of the database may itself carry such a name.
bool istable(const std::filesystem::path& path) {
  for (int t = 0; t < kAllTables; ++t)
    if (path.stem() == DB_TableName(t)) return true;
  return false;
}

}  // namespace

int DB_RemoveStrayFiles(std::vector<std::string>* removed) {
  int count = 0;
  std::error_code error;
  std::filesystem::directory_iterator it(".", error);
  if (error) return -1;
  for (const std::filesystem::directory_entry& entry : it) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(error) || !temporaryname(name) || istable(entry.path())) continue;
    // A pass at work in another process holds its file exclusively; what
    // nobody holds is left over. It goes while held here, so that nobody
    // takes it up in between.
    quill::File file;
    if (file.open(name.c_str(), quill::Access::ReadOnly, quill::Sharing::Exclusive) != 0)
      continue;
    if (quill::File::removefile(name.c_str()) == 0) {
      ++count;
      if (removed != nullptr) removed->push_back(name);
    }
    (void)file.close();  // opened only to learn that nobody holds it
  }
  return count;
}

}  // namespace tracklore
