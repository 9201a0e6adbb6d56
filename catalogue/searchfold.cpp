// The search's fold of Windows-1252 text into words.
#include "catalogue/searchfold.h"

#include <array>

#include "catalogue/storedform.h"
#include "engine/keys.h"

namespace tracklore {

namespace {

// What one byte becomes: up to two folded characters, or nothing for a
// separator.
struct Folded {
  char text[3] = {};
};

std::array<Folded, 256> maketable() {
  std::array<Folded, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const auto byte = static_cast<uint8_t>(c);
    if (quill::chr_isletter(byte))
      table[c].text[0] = static_cast<char>(quill::chr_lower(quill::chr_base(byte)));
    else if (quill::chr_isdigit(byte))
      table[c].text[0] = static_cast<char>(byte);
  }
  // The letters of Windows-1252 that the catalogue's order has no base for.
  struct Spelled {
    uint8_t upper, lower;
    const char* as;
  };
  constexpr Spelled spelled[] = {
      {0xC6, 0xE6, "ae"}, {0x8C, 0x9C, "oe"}, {0xDE, 0xFE, "th"}, {0xD0, 0xF0, "d"},
      {0x8A, 0x9A, "s"},  {0x8E, 0x9E, "z"},  {0x9F, 0xFF, "y"},  {0xDF, 0xDF, "ss"},
      {0x83, 0x83, "f"},
  };
  for (const Spelled& s : spelled) {
    for (uint8_t c : {s.upper, s.lower}) {
      table[c].text[0] = s.as[0];
      table[c].text[1] = s.as[1];
    }
  }
  return table;
}

const std::array<Folded, 256>& foldtable() {
  static const std::array<Folded, 256> table = maketable();
  return table;
}

}  // namespace

void DB_FoldWords(std::string_view cp1252, std::string* out) {
  const std::array<Folded, 256>& table = foldtable();
  bool inword = false;
  for (char ch : cp1252) {
    const Folded& f = table[static_cast<uint8_t>(ch)];
    if (f.text[0] == 0) {
      inword = false;
      continue;
    }
    if (!inword) out->push_back(' ');
    inword = true;
    out->append(f.text);
  }
}

std::vector<std::string> DB_SearchWords(std::string_view typed) {
  std::string folded;
  DB_FoldWords(DB_SeekForm(typed), &folded);
  std::vector<std::string> words;
  for (size_t at = 0; at < folded.size();) {
    const size_t start = at + 1;  // past the blank before the word
    size_t end = folded.find(' ', start);
    if (end == std::string::npos) end = folded.size();
    words.push_back(folded.substr(start, end - start));
    at = end;
  }
  return words;
}

}  // namespace tracklore
