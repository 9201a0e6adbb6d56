#include "ui/codec.h"

#include <algorithm>
#include <cstring>

#include <QList>

#include "catalogue/cp1252.h"
#include "catalogue/fullnames.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/rbuf.h"
#include "engine/rlist.h"

namespace tracklore {

QString fromStored(std::string_view bytes) { return QString::fromStdString(DB_StoredToUtf8(bytes)); }

namespace {

// The stored byte of a character, 0 when Windows-1252 has none.
char storedbyte(char32_t c) {
  for (int b = 1; b < 256; ++b)
    if (cp1252char(static_cast<uint8_t>(b)) == c) return static_cast<char>(b);
  return 0;
}

}  // namespace

std::string toStoredLossy(const QString& text) {
  std::string bytes;
  for (const char32_t c : text.toUcs4()) {
    const char b = storedbyte(c);
    bytes.push_back(b == 0 ? '?' : b);
  }
  return bytes;
}

size_t typedChars(std::string_view utf8) {
  return static_cast<size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char b) { return (static_cast<uint8_t>(b) & 0xC0) != 0x80; }));
}

std::string nameForHost(int kind, const std::string& full) {
  std::string bytes;
  for (const char32_t c : QString::fromStdString(full).toUcs4()) {
    const char b = storedbyte(c);
    if (b == 0) return DB_StoredForm(kind, full).stored;
    bytes.push_back(b);
  }
  return bytes;
}

std::string fieldText(quill::Field& field) {
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(std::max(field.length(), 0))));
}

std::string shownName(quill::Rlist& cursor) {
  for (int kind = TitleTable; kind <= SongTable; ++kind)
    if (cursor.datafile() == &DB_Table(kind)) return DB_CurrentFullName(cursor, kind);
  return DB_StoredToUtf8(fieldText(cursor.field(F_Name)));
}

}  // namespace tracklore
