#include "catalogue/findname.h"

#include <cstring>

#include "catalogue/fullnames.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/rlist.h"

namespace tracklore {

NameFinder::NameFinder() = default;
NameFinder::~NameFinder() = default;

std::vector<NamedRecord> NameFinder::sortingequal(Kind kind, const std::string& stored) {
  std::vector<NamedRecord> found;
  const int table = kindtable(kind);
  if (stored.empty() || stored.size() >= static_cast<size_t>(kNameLength[table])) return found;
  // A search key's text ends with its terminator.
  std::string key = stored;
  key += '\0';
  const auto* bytes = reinterpret_cast<const uint8_t*>(key.data());
  const int length = static_cast<int>(key.size());
  if (!cursors_[table]) cursors_[table].emplace(DB_Table(table), T_Name);
  quill::Rlist& cursor = **cursors_[table];
  if (cursor.selected() != T_Name) return found;
  if (cursor.seek(bytes, length, quill::SeekMode::Equal, quill::SeekWhich::Last) != quill::Ok)
    return found;
  const int32_t last = cursor.recno();
  if (cursor.seek(bytes, length, quill::SeekMode::Equal, quill::SeekWhich::First) != quill::Ok)
    return found;
  for (;;) {
    const quill::Field& name = cursor.field(F_Name);
    const char* data = reinterpret_cast<const char*>(name.data());
    found.push_back({cursor.field(F_Code).aslong(),
                     std::string(data, strnlen(data, static_cast<size_t>(name.length())))});
    if (cursor.recno() == last || cursor.skip(1) != quill::Ok) break;
  }
  return found;
}

std::vector<int32_t> NameFinder::exact(Kind kind, const std::string& stored) {
  std::vector<int32_t> codes;
  for (const NamedRecord& r : sortingequal(kind, stored))
    if (r.name == stored) codes.push_back(r.code);
  return codes;
}

std::vector<int32_t> NameFinder::same(Kind kind, std::string_view full) {
  std::vector<int32_t> codes;
  for (const NamedRecord& r : sortingequal(kind, DB_StoredForm(kind, full).stored))
    if (DB_SameName(DB_FullName(kind, r.code, r.name), full)) codes.push_back(r.code);
  return codes;
}

std::vector<NamedRecord> DB_FindSortingEqual(Kind kind, const std::string& stored) {
  return NameFinder().sortingequal(kind, stored);
}

std::vector<int32_t> DB_FindExactName(Kind kind, const std::string& stored) {
  return NameFinder().exact(kind, stored);
}

std::vector<int32_t> DB_FindSameName(Kind kind, std::string_view full) {
  return NameFinder().same(kind, full);
}

}  // namespace tracklore
