#include "catalogue/utf8.h"

namespace tracklore {

char32_t utf8next(std::string_view text, size_t* at, bool* malformed) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const auto bad = [&] {
    ++*at;
    if (malformed != nullptr) *malformed = true;
    return kReplacementChar;
  };
  const unsigned char lead = byte(*at);
  const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                  : (lead & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0 || text.size() - *at < static_cast<size_t>(extra) + 1) return bad();
  char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char next = byte(*at + static_cast<size_t>(k));
    if ((next & 0xC0) != 0x80) return bad();
    value = (value << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are malformed too.
  static constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
  if (value < kLeast[extra] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
    return bad();
  *at += static_cast<size_t>(extra) + 1;
  return value;
}

void utf8append(std::string* out, char32_t c) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool utf8wellformed(std::string_view text) {
  bool malformed = false;
  for (size_t at = 0; at < text.size() && !malformed;) utf8next(text, &at, &malformed);
  return !malformed;
}

size_t utf8chars(std::string_view text) {
  size_t chars = 0;
  for (size_t at = 0; at < text.size(); ++at) chars += !utf8continues(text, at);
  return chars;
}

}  // namespace tracklore
