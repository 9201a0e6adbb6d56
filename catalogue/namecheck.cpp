#include "catalogue/namecheck.h"

#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/text.h"

namespace tracklore {

namespace {

// Whether the bytes are well-formed UTF-8: no stray continuation byte, no
// overlong form, surrogate or code point past U+10FFFF.
bool wellformed(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<uint8_t>(s[i]);
    size_t n;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<uint8_t>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

}  // namespace

std::string DB_NameEntriesProblem(const NameEntries& entries,
                                  const std::optional<std::string>& stored) {
  if (entries.kind < TitleTable || entries.kind > SongTable)
    return textf("it names kind %d, which is not an album, an artist or a song", entries.kind);
  if (!stored) return "its record is gone";
  for (size_t i = 0; i < entries.parts.size(); ++i) {
    const int part = entries.parts[i];
    if (part == static_cast<int>(i)) continue;
    if (part < static_cast<int>(i)) return textf("part %d is there twice", part);
    return textf("part %zu is missing", i);
  }
  // Parts are cut between characters: each is well-formed on its own.
  std::string full;
  for (const std::string& text : entries.texts) {
    if (text.empty() || !wellformed(text)) return "a part is empty or not well-formed UTF-8";
    full += text;
  }
  size_t characters = 0;
  for (char c : full) characters += (static_cast<uint8_t>(c) & 0xC0) != 0x80;
  if (characters > kFullNameChars) return textf("it is longer than %zu characters", kFullNameChars);
  if (!DB_NeedsFullName(*stored, full)) return "it is the stored name itself";
  if (DB_StoredForm(entries.kind, full).stored != *stored)
    return "the stored name is no longer made from it";
  return "";
}

}  // namespace tracklore
