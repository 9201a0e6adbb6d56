// Names are stored as Windows-1252 bytes; the windows show Unicode.
//
// The conversion is done by table here rather than by the toolkit's codecs,
// which do not all know this code page. Five bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) are unassigned in Windows-1252; they are shown as the C1 control of
// the same value, so that a stored byte always survives a round trip.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace quill {
class Field;
}

namespace tracklore {

// Stored bytes (up to the first NUL) to Unicode.
QString fromStored(std::string_view bytes);
inline QString fromStored(const char* bytes) {
  return fromStored(std::string_view(bytes ? bytes : ""));
}

// Unicode to stored bytes. False when a character has no Windows-1252 byte
// (or is NUL); *bad then holds its index in the text and *out is unchanged.
bool toStored(const QString& text, std::string* out, int* bad = nullptr);

// One character to its byte; 0 when it has none.
unsigned char storedByte(char32_t ch);

// Unicode to stored bytes for display-only texts (paths in messages): any
// character without a byte becomes '?'.
std::string toStoredLossy(const QString& text);

// A text field as stored: up to its first NUL, never past its length.
std::string fieldText(quill::Field& field);

}  // namespace tracklore
