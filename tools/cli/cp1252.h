// Text between UTF-8 (the terminal, files) and Windows-1252 (the bytes that
// the tables hold).
//
// One 256-entry table gives the character of every byte. The five bytes
// that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for
// the C1 controls of the same number, as Windows itself reads them, so that
// every stored byte has a character and converts back to itself. Nothing
// here depends on the locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tracklore::cli {

// The Unicode character of a Windows-1252 byte.
char32_t cp1252char(uint8_t byte);

// The stored bytes as UTF-8.
std::string toutf8(std::string_view stored);

// UTF-8 to Windows-1252. False when the text is not valid UTF-8 or holds a
// character that has no byte; problem then says which ("\"Ж\" (U+0416)
// has no Windows-1252 form").
bool fromutf8(std::string_view text, std::string* stored, std::string* problem);

// Decodes the character at text[*i] and moves *i past it; false (and *i
// unchanged) on a malformed sequence.
bool decodeutf8(std::string_view text, size_t* i, char32_t* c);

// One character as UTF-8.
std::string utf8char(char32_t c);

}  // namespace tracklore::cli
