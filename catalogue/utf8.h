// UTF-8, the form every full name and typed text comes in: reading it one
// character at a time without ever reading past the text, writing it, and
// counting and cutting it between characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tracklore {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// The character at text[*at], moving *at past it. A malformed sequence
// (stray continuation byte, overlong form, surrogate, past U+10FFFF, cut
// short) reads as kReplacementChar, moves on by one byte and sets
// *malformed when given.
char32_t utf8next(std::string_view text, size_t* at, bool* malformed = nullptr);

void utf8append(std::string* out, char32_t c);

// Whether every sequence of the text is a well-formed character.
bool utf8wellformed(std::string_view text);

// The number of characters: every byte that does not continue one.
size_t utf8chars(std::string_view text);

// Whether text[at] continues a character begun before it.
inline bool utf8continues(std::string_view text, size_t at) {
  return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

}  // namespace tracklore
