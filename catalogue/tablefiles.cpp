#include "catalogue/tablefiles.h"

#include <filesystem>
#include <system_error>

#include "engine/file.h"

namespace tracklore {

std::string unwritablefile(const char* table, HeldFile held) {
  for (const char* extension : {".db1", ".idx"}) {
    const std::string path = std::string(table) + extension;
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) continue;
    // What root may do matters, not the mode bits: opening is the test.
    quill::File file;
    const quill::Sharing sharing =
        held == HeldFile::Unwritable ? quill::Sharing::Exclusive : quill::Sharing::Shared;
    if (file.open(path.c_str(), quill::Access::ReadWrite, sharing) == 0) continue;
    if (held == HeldFile::Unwritable) return path;
    // Not even a shared reader gets in while another program holds the file
    // exclusively; a file that only refuses writers is read-only.
    quill::File reader;
    if (reader.open(path.c_str(), quill::Access::ReadOnly, quill::Sharing::Shared) == 0)
      return path;
  }
  return "";
}

std::string linkedfile(const char* table) {
  for (const char* extension : {".db1", ".idx"}) {
    const std::string path = std::string(table) + extension;
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) return path;
  }
  return "";
}

}  // namespace tracklore
