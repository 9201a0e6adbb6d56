#include "catalogue/optionaltable.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue/buildtable.h"
#include "catalogue/schema.h"
#include "engine/datafile.h"
#include "engine/file.h"

namespace tracklore {

const char* buildingname(int index) { return index == NameTable ? "fullnew" : "scannew"; }

bool DB_OptionalTableThere(int index) {
  std::error_code error;
  return std::filesystem::exists(std::string(fixedname(index)) + ".db1", error);
}

ErrorCode DB_AddOptionalTable(int index) {
  const std::string from(buildingname(index)), to(fixedname(index));
  ErrorCode rc = buildtable(from.c_str(), index);
  if (rc == quill::Ok) rc = quill::DataFile::reindex(from.c_str());
  // The data file last: its name says the table is whole.
  for (const char* extension : {".idx", ".db1"})
    if (rc == quill::Ok &&
        quill::File::renamefile((from + extension).c_str(), (to + extension).c_str()) != 0)
      rc = quill::WriteFailed;
  // A file left behind is a stray temporary file, which verify removes.
  if (rc != quill::Ok)
    for (const char* extension : {".idx", ".db1"})
      (void)quill::File::removefile((from + extension).c_str());
  return rc;
}

}  // namespace tracklore
