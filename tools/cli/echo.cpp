#include "tools/cli/echo.h"

#include <cstdint>
#include <cstdio>

#include "catalogue/utf8.h"

namespace tracklore::cli {

namespace {

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
    const size_t start = i;
    bool malformed = false;
    const char32_t c = utf8next(utf8, &i, &malformed);
    if (malformed) {
      // Shown byte by byte, so that what the file holds can be seen.
      char text[8];
      std::snprintf(text, sizeof text, "\\x%02X", static_cast<unsigned>(static_cast<uint8_t>(utf8[start])));
      out += text;
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
