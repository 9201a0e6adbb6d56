// Full names: the entries of the name table, read and kept beside the
// stored names.
#include "catalogue/fullnames.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "catalogue/nametable.h"
#include "catalogue/schema.h"
#include "catalogue/sparecursors.h"
#include "catalogue/utf8.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

using quill::Ok;

// Kind and code: the part of the key that all entries of one name share.
constexpr int kLeadLength = 6;

void putlead(uint8_t* key, Kind kind, int32_t code) {
  quill::put2(key, kindtable(kind));
  quill::put4(key + 2, code);
}

bool hasentries() {
  quill::DataFile& table = DB_Table(NameTable);
  return table.isopen() && table.nlive() > 0;
}

std::string textof(quill::Rlist& cursor) {
  const quill::Field& field = cursor.field(F_Text);
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(field.length())));
}

// The full name cut into entries' texts, each ending between characters.
std::vector<std::string> parts(std::string_view full) {
  std::vector<std::string> out;
  while (!full.empty()) {
    size_t n = std::min<size_t>(full.size(), kNamePartBytes);
    // The next part must not begin inside a character.
    while (n > 0 && utf8continues(full, n)) --n;
    if (n == 0) n = std::min<size_t>(full.size(), kNamePartBytes);
    out.emplace_back(full.substr(0, n));
    full.remove_prefix(n);
  }
  return out;
}

// Makes the entries have (record numbers, in part order) hold the parts
// want: those that exist are rewritten where they differ, those past the
// new end deleted, and the rest appended. Stops at the first failure.
ErrorCode rewriteparts(quill::Rlist& cursor, Kind kind, int32_t code,
                       const std::vector<int32_t>& have, const std::vector<std::string>& want) {
  for (size_t i = 0; i < have.size(); ++i) {
    ErrorCode rc = cursor.gorecord(have[i]);
    if (rc != Ok) return rc;
    if (i >= want.size()) {
      rc = cursor.del();
    } else if (cursor.field(F_Part).asint() != static_cast<int>(i) || textof(cursor) != want[i]) {
      cursor.field(F_Part).set(static_cast<int>(i));
      cursor.field(F_Text).set(want[i].c_str());
      rc = cursor.flush();
    }
    if (rc != Ok) return rc;
  }
  for (size_t i = have.size(); i < want.size(); ++i) {
    cursor.field(F_Kind).set(kindtable(kind));
    cursor.field(F_NameCode).set(static_cast<long>(code));
    cursor.field(F_Part).set(static_cast<int>(i));
    cursor.field(F_Text).set(want[i].c_str());
    if (ErrorCode rc = cursor.append(); rc != Ok) return rc;
  }
  return Ok;
}

}  // namespace

std::string DB_FullName(Kind kind, int32_t code, std::string_view stored) {
  // Most databases hold few entries, and lists ask for every row they show.
  if (!hasentries()) return DB_StoredToUtf8(stored);
  SpareCursor spare(DB_Table(NameTable), T_KindCodePart);
  quill::Rlist& cursor = *spare;
  uint8_t lead[kLeadLength];
  putlead(lead, kind, code);
  std::string full;
  int part = 0;
  const quill::KeyLead bound{lead, kLeadLength};
  for (ErrorCode rc =
           cursor.seek(lead, kLeadLength, quill::SeekMode::Prefix, quill::SeekWhich::First);
       rc == Ok; rc = cursor.skip(1, bound)) {
    // A part missing or repeated: verify removes the entry; until then the
    // stored name is what can be shown.
    if (cursor.field(F_Part).asint() != part++) return DB_StoredToUtf8(stored);
    full += textof(cursor);
  }
  return full.empty() ? DB_StoredToUtf8(stored) : full;
}

std::string DB_CurrentFullName(quill::Rlist& cursor, Kind kind) {
  const quill::Field& field = cursor.field(F_Name);
  const char* data = reinterpret_cast<const char*>(field.data());
  const std::string_view stored(data, strnlen(data, static_cast<size_t>(field.length())));
  return DB_FullName(kind, cursor.field(F_Code).aslong(), stored);
}

ErrorCode DB_KeepFullName(Kind kind, int32_t code, std::string_view stored, std::string_view full) {
  quill::DataFile& table = DB_Table(NameTable);
  // Without the table (read-only or shared, made without it) the stored
  // name is all there is.
  if (!table.isopen()) return Ok;
  const std::vector<std::string> want =
      DB_NeedsFullName(stored, full) ? parts(full) : std::vector<std::string>();
  std::vector<int32_t> have;
  ErrorCode rc = DB_NameEntries(kind, code, &have);
  if (rc != Ok) return rc;
  SpareCursor spare(table, T_KindCodePart);
  quill::Rlist& cursor = *spare;
  rc = rewriteparts(cursor, kind, code, have, want);
  // A failed write leaves the cursor unset: its half-changed record is not
  // to be written later.
  if (rc != Ok) cursor.unset();
  return rc;
}

ErrorCode DB_DropFullName(Kind kind, int32_t code) {
  std::vector<int32_t> have;
  ErrorCode rc = DB_NameEntries(kind, code, &have);
  if (rc != Ok || have.empty()) return rc;
  SpareCursor spare(DB_Table(NameTable), T_KindCodePart);
  quill::Rlist& cursor = *spare;
  for (size_t i = 0; rc == Ok && i < have.size(); ++i) {
    rc = cursor.gorecord(have[i]);
    if (rc == Ok) rc = cursor.del();
  }
  return rc;
}

}  // namespace tracklore
