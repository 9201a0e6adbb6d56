// Names as the word search compares them.
//
// The search is blind to letter case and accents as the catalogue's order
// is (engine/keys.h: a letter compares as its base letter in lower case),
// and goes one step further for the letters that order has no base for:
// "æ" reads "ae", "ß" "ss", "œ" "oe", "þ" "th", "ð" "d", "š" "s", "ž" "z",
// so that "Mæx" and "Maex" are found alike. Every other character that is
// neither letter nor digit separates words. Text in other scripts reaches
// the fold through the transliteration that stored names and type-ahead
// use (storedform.h), so "тролль" finds "Мумий Тролль".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tracklore {

// Appends the words of Windows-1252 text to out, folded (lower-case ASCII
// letters and digits), each with one blank before it: "The Wall" gives
// " the wall". Appends nothing for text without a letter or digit.
void DB_FoldWords(std::string_view cp1252, std::string* out);

// The folded words of text as the user typed it (UTF-8, any script).
std::vector<std::string> DB_SearchWords(std::string_view typed);

}  // namespace tracklore
