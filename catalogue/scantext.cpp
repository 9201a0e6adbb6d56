// Windows-1252 and the transliteration of the Latin letters it lacks.
#include "catalogue/scantext.h"

#include <cstdint>

#include "catalogue/schema.h"
#include "engine/keys.h"

namespace tracklore {

namespace {

// The characters that Windows-1252 puts at 0x80..0x9F (0 where it has none).
constexpr char32_t kHighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Base letters of U+0100..U+017F (Latin Extended-A), one per character.
constexpr char kExtendedA[] =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "IiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";

// A stand-in of the character, or 0 when there is none. Combining accents
// (U+0300..U+036F) have the empty stand-in: -1.
int transliterate(char32_t c) {
  if (c >= 0x0100 && c <= 0x017F) return static_cast<unsigned char>(kExtendedA[c - 0x0100]);
  if (c >= 0x0300 && c <= 0x036F) return -1;
  switch (c) {
    case 0x2010: case 0x2011: case 0x2012: case 0x2212: return '-';
    case 0x2032: case 0x02BC: return '\'';
    case 0x2033: return '"';
    default: return 0;
  }
}

// The next character of UTF-8 text; false at a malformed sequence.
bool decode(std::string_view text, size_t* at, char32_t* c) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(*at);
  const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                  : (lead & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0 || text.size() - *at < static_cast<size_t>(extra) + 1) return false;
  char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char next = byte(*at + static_cast<size_t>(k));
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  *at += static_cast<size_t>(extra) + 1;
  *c = value;
  return true;
}

}  // namespace

int cp1252byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i)
    if (kHighBlock[i] == c && c != 0) return 0x80 + i;
  return -1;
}

std::string utf8fromstored(std::string_view stored) {
  std::string out;
  for (const char byte : stored) {
    const auto b = static_cast<unsigned char>(byte);
    char32_t c = b >= 0x80 && b < 0xA0 && kHighBlock[b - 0x80] != 0 ? kHighBlock[b - 0x80] : b;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

StoredName storablename(int kind, std::string_view utf8) {
  StoredName out;
  std::string bytes;
  for (size_t at = 0; at < utf8.size();) {
    char32_t c;
    if (!decode(utf8, &at, &c)) {
      out.fate = NameFate::Unstorable;
      return out;
    }
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) c = ' ';
    int b = cp1252byte(c);
    if (b < 0) {
      b = transliterate(c);
      if (b == 0) {
        out.fate = NameFate::Unstorable;
        return out;
      }
      out.fate = NameFate::Transliterated;
      if (b < 0) continue;
    }
    bytes += static_cast<char>(b);
  }
  const size_t begin = bytes.find_first_not_of(' ');
  if (begin == std::string::npos) return out;
  bytes = bytes.substr(begin, bytes.find_last_not_of(' ') - begin + 1);
  const size_t room = static_cast<size_t>(kNameLength[kind] - 1);
  if (bytes.size() > room) {
    bytes.resize(room);
    // A cut that ends on a blank would store a name the user cannot see end.
    while (!bytes.empty() && bytes.back() == ' ') bytes.pop_back();
    out.cut = true;
  }
  quill::capitalize(bytes.data(), 1);
  out.stored = bytes;
  return out;
}

}  // namespace tracklore
