#include "tools/cli/cp1252.h"

#include "tools/cli/echo.h"

#include <cstdio>

#include "catalogue/cp1252.h"

namespace tracklore::cli {

namespace {

// The byte of a character, -1 when it has none.
int byteof(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int b = 0x80; b < 0xA0; ++b)
    if (tracklore::cp1252char(static_cast<uint8_t>(b)) == c) return b;
  return -1;
}

}  // namespace

bool decodeutf8(std::string_view text, size_t* i, char32_t* c) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  uint8_t lead = byte(*i);
  int more;
  char32_t value;
  if (lead < 0x80) {
    more = 0;
    value = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    value = lead & 0x07;
  } else {
    return false;
  }
  if (*i + static_cast<size_t>(more) >= text.size()) return false;
  for (int k = 1; k <= more; ++k) {
    uint8_t next = byte(*i + static_cast<size_t>(k));
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  static constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
  if (value < kLeast[more] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
    return false;
  *i += static_cast<size_t>(more) + 1;
  *c = value;
  return true;
}

char32_t cp1252char(uint8_t byte) { return tracklore::cp1252char(byte); }

std::string utf8char(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string toutf8(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  for (char b : stored) out += utf8char(tracklore::cp1252char(static_cast<uint8_t>(b)));
  return out;
}

bool fromutf8(std::string_view text, std::string* stored, std::string* problem) {
  stored->clear();
  size_t i = 0;
  while (i < text.size()) {
    char32_t c;
    if (!decodeutf8(text, &i, &c)) {
      char where[64];
      std::snprintf(where, sizeof where, "is not valid UTF-8 (byte 0x%02X at offset %zu)",
                    static_cast<uint8_t>(text[i]), i);
      *problem = where;
      return false;
    }
    int b = byteof(c);
    if (b < 0) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
      *problem = quotedtext(utf8char(c)) + " (" + code + ") has no Windows-1252 form";
      return false;
    }
    *stored += static_cast<char>(b);
  }
  return true;
}

}  // namespace tracklore::cli
