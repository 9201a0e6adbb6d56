#include "ui/recordplace.h"

#include <cstring>

#include "catalogue/relation.h"
#include "catalogue/schema.h"

namespace tracklore {

using quill::Ok;

bool standOnRecord(BrowseSource& source, Kind kind, int32_t code) {
  auto linked = [&] {
    return source.valid() && source.cursor().valid() &&
           source.cursor().field(F_Code).aslong() == code;
  };
  if (dynamic_cast<Relation*>(&source) != nullptr) {
    for (ErrorCode rc = source.first(); rc == Ok; rc = source.skip(1))
      if (linked()) return true;
    return false;
  }
  char stored[kNameBuffer];
  if (DB_GetName(stored, kindtable(kind), code) != Ok) return false;
  const auto* key = reinterpret_cast<const uint8_t*>(stored);
  if (source.seek(key, static_cast<int>(std::strlen(stored)), quill::SeekMode::Prefix,
                  quill::SeekWhich::First) != Ok)
    return false;
  // Names that sort equal to it come first among those it begins.
  while (!linked())
    if (source.skip(1) != Ok) return false;
  return true;
}

}  // namespace tracklore
