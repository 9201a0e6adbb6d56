#include "catalogue/tablefiles.h"

#include <filesystem>
#include <system_error>

#include "engine/file.h"

namespace tracklore {

std::string unwritablefile(const char* table) {
  for (const char* extension : {".db1", ".idx"}) {
    const std::string path = std::string(table) + extension;
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) continue;
    // What root may do matters, not the mode bits: opening is the test.
    quill::File file;
    if (file.open(path.c_str(), 1, 1) != 0) return path;
  }
  return "";
}

}  // namespace tracklore
