#include "tools/cli/echo.h"

#include <cstdint>
#include <cstdio>

namespace tracklore::cli {

namespace {

// Decodes the character at text[*i] and moves *i past it; false (and *i
// unchanged) on a malformed sequence, which is then shown byte by byte.
bool decodeutf8(std::string_view text, size_t* i, char32_t* c) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t lead = byte(*i);
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
    const uint8_t next = byte(*i + static_cast<size_t>(k));
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

bool iscontrol(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

std::string escape(char32_t c) {
  switch (c) {
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: break;
  }
  char text[16];
  std::snprintf(text, sizeof text, c < 0x80 ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(c));
  return text;
}

// The text escaped, stopping after most characters; *cut says whether
// some were left.
std::string escapeupto(std::string_view utf8, LineBreaks breaks, size_t most, bool* cut) {
  std::string out;
  size_t i = 0;
  size_t characters = 0;
  while (i < utf8.size()) {
    if (characters++ == most) {
      *cut = true;
      return out;
    }
    char32_t c;
    const size_t start = i;
    if (!decodeutf8(utf8, &i, &c)) {
      char text[8];
      std::snprintf(text, sizeof text, "\\x%02X", static_cast<unsigned>(static_cast<uint8_t>(utf8[i])));
      out += text;
      ++i;
      continue;
    }
    if (iscontrol(c) && !(c == '\n' && breaks == LineBreaks::Keep))
      out += escape(c);
    else
      out.append(utf8.substr(start, i - start));
  }
  *cut = false;
  return out;
}

}  // namespace

std::string escaped(std::string_view utf8, LineBreaks breaks) {
  bool cut;
  return escapeupto(utf8, breaks, std::string_view::npos, &cut);
}

std::string quotedtext(std::string_view utf8) {
  bool cut;
  std::string out = "\"" + escapeupto(utf8, LineBreaks::Escape, kEchoedCharacters, &cut);
  if (!cut) return out + "\"";
  return out + "...\" (" + std::to_string(utf8.size()) + " bytes)";
}

}  // namespace tracklore::cli
