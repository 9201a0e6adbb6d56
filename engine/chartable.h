// The character table of stored names (Windows-1252, Western European):
// each byte's base letter, cases and class. Built at compile time so that
// every lookup in the comparator is a plain array index.
#pragma once

#include <array>
#include <cstdint>

namespace quill {

namespace chartable {

enum CharClass : uint8_t { kIgnorable = 0, kLetter = 1, kDigit = 2 };

struct CharTable {
  std::array<uint8_t, 256> base{};
  std::array<uint8_t, 256> lower{};
  std::array<uint8_t, 256> upper{};
  // Lower case of the base letter: what natural order compares.
  std::array<int8_t, 256> fold{};
  std::array<uint8_t, 256> cls{};
};

constexpr CharTable make_table() {
  CharTable t;
  for (int c = 0; c < 256; ++c) {
    t.base[c] = t.lower[c] = t.upper[c] = static_cast<uint8_t>(c);
  }
  // Control characters other than tab, line feed, carriage return and the
  // end-of-file mark read as a dot, so that stray bytes separate words.
  for (int c = 0x01; c <= 0x1F; ++c) {
    if (c == 0x09 || c == 0x0A || c == 0x0D || c == 0x1A) continue;
    t.base[c] = t.lower[c] = t.upper[c] = '.';
  }
  for (int c = 'A'; c <= 'Z'; ++c) {
    t.lower[c] = static_cast<uint8_t>(c + 0x20);
    t.upper[c + 0x20] = static_cast<uint8_t>(c);
  }
  // Accented capitals C0..DD and their small forms E0..FD (always 0x20
  // apart); C6 (AE), D0 (ETH), D7 (multiplication sign) and DE (THORN) have no
  // plain-letter base and stay outside.
  struct Range { int first, last; char base; };
  constexpr Range accented[] = {
      {0xC0, 0xC5, 'A'}, {0xC7, 0xC7, 'C'}, {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'},
      {0xD1, 0xD1, 'N'}, {0xD2, 0xD6, 'O'}, {0xD8, 0xD8, 'O'}, {0xD9, 0xDC, 'U'},
      {0xDD, 0xDD, 'Y'},
  };
  for (const Range& r : accented) {
    for (int c = r.first; c <= r.last; ++c) {
      t.base[c] = static_cast<uint8_t>(r.base);
      t.lower[c] = static_cast<uint8_t>(c + 0x20);
      t.base[c + 0x20] = static_cast<uint8_t>(r.base + 0x20);
      t.upper[c + 0x20] = static_cast<uint8_t>(c);
    }
  }
  for (int c = 0; c < 256; ++c) {
    const uint8_t b = t.base[c];
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
      t.cls[c] = kLetter;
    } else if (c >= '0' && c <= '9') {
      t.cls[c] = kDigit;
    } else {
      t.cls[c] = kIgnorable;
    }
    t.fold[c] = static_cast<int8_t>(t.lower[b]);
  }
  return t;
}

inline constexpr CharTable kTable = make_table();

inline bool isdig(uint8_t c) { return kTable.cls[c] == kDigit; }
inline bool isign(uint8_t c) { return kTable.cls[c] == kIgnorable; }
// Letters as natural order compares them: case and accent aside.
inline int charcmp(uint8_t ca, uint8_t cb) { return kTable.fold[ca] - kTable.fold[cb]; }

}  // namespace chartable

inline uint8_t chr_base(uint8_t c) { return chartable::kTable.base[c]; }  // accent gone, case kept
inline uint8_t chr_lower(uint8_t c) { return chartable::kTable.lower[c]; }
inline uint8_t chr_upper(uint8_t c) { return chartable::kTable.upper[c]; }
inline bool chr_isletter(uint8_t c) { return chartable::kTable.cls[c] == chartable::kLetter; }
inline bool chr_isdigit(uint8_t c) { return chartable::kTable.cls[c] == chartable::kDigit; }
// Neither letter nor digit.
inline bool chr_isignorable(uint8_t c) { return chartable::kTable.cls[c] == chartable::kIgnorable; }

// Capitalises the first letter of the text, or of every word; in place.
char* capitalize(char* text, int allwords);

}  // namespace quill
