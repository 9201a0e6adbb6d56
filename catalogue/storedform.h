// Full names and the stored names derived from them.
//
// A full name is what the files, the user or a CSV gave: UTF-8, any script,
// up to kFullNameChars characters. The five tables hold a stored form of it
// in their Name fields: Windows-1252, one blank between words, every word
// capitalised, cut to the kind's field. Every stored name is made by
// DB_StoredForm, so that the same full name always gives the same stored
// bytes wherever it came from (a scan, an import, a typed name).
//
// Transliteration: a character Windows-1252 holds is kept as it is; a run of
// other characters goes through ICU's Latin transliteration and then to
// base letters ("Ước gì" -> "Uoc gi", "Мумий Тролль" -> "Mumij Troll'",
// "Μάνος" -> "Manos", kana and Hangul to their romanisations); what has no
// Latin form (emoji, symbols) is dropped. A stored form that comes out empty
// for a name that is not blank is the stand-in "Untitled".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/kind.h"

namespace tracklore {

// The stored form of a name with nothing storable in it.
inline constexpr const char* kStandIn = "Untitled";

// The longest full name, in characters (code points).
constexpr size_t kFullNameChars = 255;

// What DB_FullForm did to a given text.
struct FullForm {
  std::string text;  // valid UTF-8, trimmed, controls made blanks
  bool cut = false;  // longer than kFullNameChars: cut to it
};

// A given name as the catalogue keeps it in full: malformed UTF-8 bytes
// become U+FFFD, control characters blanks, blanks at either end go, and it
// is cut to kFullNameChars characters. Inner blanks and letter case are
// kept as given.
FullForm DB_FullForm(std::string_view given);

struct StoredForm {
  std::string stored;           // Windows-1252, at most the kind's field less one
  bool transliterated = false;  // a character had to be replaced or dropped
  bool cut = false;             // longer than the field: cut to it
  bool standin = false;         // nothing storable was left: "Untitled"
};

// The stored form of a full name of kind 0..2 (album, artist, song). Empty
// only for a name that is empty or blanks only.
StoredForm DB_StoredForm(Kind kind, std::string_view full);

// Typed text as it is sought in a Name tag (type-ahead, --prefix): the same
// transliteration and blanks as a stored form, capitalised, not cut and
// with no stand-in, so that "мум", "mum" and "Mum" seek alike.
std::string DB_SeekForm(std::string_view typed);

// Whether two full names are the same name: equal ignoring letter case only
// (full Unicode case folding: "NIRVANA" is "Nirvana", "Beyoncé" is not
// "Beyonce").
bool DB_SameName(std::string_view a, std::string_view b);

// Stored bytes (up to their first NUL) as UTF-8. The five bytes that
// Windows-1252 leaves undefined stand for the C1 controls of that number.
std::string DB_StoredToUtf8(std::string_view stored);

// Whether the full name needs an entry of its own beside the stored one:
// the stored bytes read as UTF-8 are not the full name.
inline bool DB_NeedsFullName(std::string_view stored, std::string_view full) {
  return DB_StoredToUtf8(stored) != full;
}

}  // namespace tracklore
