#include "ui/codec.h"

#include <algorithm>
#include <cstring>


#include "catalogue/fullnames.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "catalogue/utf8.h"
#include "engine/rbuf.h"
#include "engine/rlist.h"

namespace tracklore {

size_t typedChars(std::string_view utf8) {
  return utf8chars(utf8);
}

std::string fieldText(quill::Field& field) {
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(std::max(field.length(), 0))));
}

std::string shownName(quill::Rlist& cursor) {
  for (const Kind kind : kKinds)
    if (cursor.datafile() == &DB_Table(kindtable(kind))) return DB_CurrentFullName(cursor, kind);
  return DB_StoredToUtf8(fieldText(cursor.field(F_Name)));
}

}  // namespace tracklore
