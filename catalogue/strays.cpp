// Temporary files left behind by an interrupted pack, reindex or structure
// change: named by tmpname, "tmp" with two or three hexadecimal digits and
// two letters, bare or with ".db1" or ".idx".
#include <cstdio>
#include <filesystem>
#include <regex>
#include <system_error>

#include "catalogue/recover.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/file.h"

namespace tracklore {

namespace {

bool istable(const std::string& stem) {
  for (int t = 0; t < kTables; ++t)
    if (stem == DB_TableName(t)) return true;
  return false;
}

}  // namespace

int DB_RemoveStrayFiles(std::vector<std::string>* removed) {
  static const std::regex temporary("tmp[0-9a-f]{2,3}[a-z]{2}(\\.db1|\\.idx)?");
  std::error_code error;
  std::filesystem::directory_iterator it(".", error);
  if (error) return -1;
  std::vector<std::string> names;
  for (const std::filesystem::directory_entry& entry : it) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(error) || !std::regex_match(name, temporary)) continue;
    // A main table may itself carry such a name.
    if (istable(entry.path().stem().string())) continue;
    names.push_back(name);
  }
  for (const std::string& name : names) {
    // A file that some process holds is a pass still at work.
    quill::File file;
    if (file.open(name.c_str(), 0, 1) != 0) continue;
    file.close();
    if (std::remove(name.c_str()) == 0 && removed != nullptr) removed->push_back(name);
  }
  return 0;
}

}  // namespace tracklore
