// The characters of the Windows-1252 bytes that names are stored in.
//
// The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the C1 controls of the same number, as Windows itself
// reads them, so that every stored byte has a character and converts back
// to itself.
#pragma once

#include <cstdint>

namespace tracklore {

// The Unicode character of a stored byte.
char32_t cp1252char(uint8_t byte);

}  // namespace tracklore
