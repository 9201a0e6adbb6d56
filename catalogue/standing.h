// Whether a cursor handed in by the user interface stands where an edit
// needs it: checked before anything changes, so that a wrong cursor is
// refused instead of writing to the wrong record.
#pragma once

#include <cstdint>

#include "catalogue/schema.h"
#include "engine/rlist.h"

namespace tracklore {

// The cursor is bound to the table and stands on a live record.
inline bool standsin(quill::Rlist& cursor, const quill::DataFile& table) {
  return cursor.datafile() == &table && cursor.valid() && cursor.loaded() && !cursor.isdeleted();
}

// ... on the record whose Code is code.
inline bool standson(quill::Rlist& cursor, const quill::DataFile& table, int32_t code) {
  return standsin(cursor, table) && cursor.field(F_Code).aslong() == code;
}

}  // namespace tracklore
