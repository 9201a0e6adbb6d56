#include "catalogue/nametable.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue/buildtable.h"
#include "catalogue/schema.h"
#include "engine/datafile.h"
#include "engine/file.h"

namespace tracklore {

bool DB_NameTableThere() {
  std::error_code error;
  return std::filesystem::exists(std::string(fixedname(NameTable)) + ".db1", error);
}

ErrorCode DB_AddNameTable() {
  ErrorCode rc = buildtable(kNewNameTable, NameTable);
  if (rc == quill::Ok) rc = quill::DataFile::reindex(kNewNameTable);
  if (rc != quill::Ok) return rc;
  const std::string from(kNewNameTable), to(fixedname(NameTable));
  // The data file last: its name says the table is whole.
  for (const char* extension : {".idx", ".db1"})
    if (quill::File::renamefile((from + extension).c_str(), (to + extension).c_str()) != 0)
      return quill::WriteFailed;
  return quill::Ok;
}

}  // namespace tracklore
