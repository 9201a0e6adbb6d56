// A .db1 file of arbitrary bytes: opening and walking it gives codes or a
// fatal message, never an access outside a buffer.
#include <cstring>

#include "engine/datafile.h"
#include "engine/rlist.h"
#include "fuzz/fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::install_reporter();
  fuzzing::InWorkdir here;
  fuzzing::write_file("f.db1", data, size);
  try {
    quill::DataFile table;
    if (table.open("f", {.readonly = true, .noindex = true}) != quill::Ok) return 0;
    quill::Rlist cursor(&table);
    int visited = 0;
    for (quill::ErrorCode rc = cursor.first(); rc == quill::Ok && visited < 1000; rc = cursor.skip(1)) {
      for (int f = 0; f < cursor.nfields(); ++f) {
        quill::Field& field = cursor.field(f);
        if (field.type() == 'L' || field.type() == 'S' || field.type() == 'X') field.aslong();
      }
      ++visited;
    }
  } catch (const fuzzing::Fatal&) {
  }
  return 0;
}
