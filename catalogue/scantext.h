// Names read from files' tags, made into names the catalogue can store.
//
// Tags are Unicode (UTF-8 here); the tables hold Windows-1252 with every
// word capitalised, cut to the kind's Name field. A character that
// Windows-1252 lacks is replaced by its base letter where it has one
// ("Ł" -> "L", "ō" -> "o", a combining accent is dropped); a name that still
// holds a character that cannot be stored (Japanese, emoji) is refused
// whole, so that no name is stored with holes in it. Control characters
// become blanks and blanks at either end go.
#pragma once

#include <string>
#include <string_view>

namespace tracklore {

enum class NameFate { Kept, Transliterated, Unstorable };

struct StoredName {
  std::string stored;     // Windows-1252, capitalised, at most the field's length
  NameFate fate = NameFate::Kept;
  bool cut = false;       // longer than the field: cut to it
};

// The stored form of a tag's text for kind 0..2 (album, artist, song).
// stored is empty for an empty (or blank) text.
StoredName storablename(int kind, std::string_view utf8);

// Stored bytes as UTF-8, for reports.
std::string utf8fromstored(std::string_view stored);

// The Windows-1252 byte of a character, or -1 when it has none.
int cp1252byte(char32_t c);

}  // namespace tracklore
