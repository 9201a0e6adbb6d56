// Full names: until the name table is read, every full name is the stored one.
#include "catalogue/fullnames.h"

#include <cstring>

#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "engine/rlist.h"

namespace tracklore {

std::string DB_FullName(int, int32_t, std::string_view stored) { return DB_StoredToUtf8(stored); }

std::string DB_CurrentFullName(quill::Rlist& cursor, int kind) {
  const quill::Field& field = cursor.field(F_Name);
  const char* data = reinterpret_cast<const char*>(field.data());
  const std::string_view stored(data, strnlen(data, static_cast<size_t>(field.length())));
  return DB_FullName(kind, cursor.field(F_Code).aslong(), stored);
}

ErrorCode DB_KeepFullName(int, int32_t, std::string_view, std::string_view) { return quill::Ok; }

ErrorCode DB_DropFullName(int, int32_t) { return quill::Ok; }

}  // namespace tracklore
