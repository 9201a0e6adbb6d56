// The windows' side of the two encodings: names are shown in full (UTF-8,
// catalogue/fullnames.h); the catalogue's messages, the Host's texts and
// the Name fields are stored bytes (Windows-1252), converted by the
// catalogue's storedform.h.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace quill {
class Field;
class Rlist;
}

namespace tracklore {

// Stored bytes (up to the first NUL) to Unicode.
QString fromStored(std::string_view bytes);
inline QString fromStored(const char* bytes) {
  return fromStored(std::string_view(bytes ? bytes : ""));
}

// Unicode to stored bytes for the Host's texts that name no record (paths
// in messages): any character without a byte becomes '?'.
std::string toStoredLossy(const QString& text);

// How many characters UTF-8 text holds.
size_t typedChars(std::string_view utf8);

// A full name as a Host's text (stored bytes) shows it: exactly, when
// Windows-1252 holds every character of it, else its stored form.
std::string nameForHost(int kind, const std::string& full);

// A text field as stored: up to its first NUL, never past its length.
std::string fieldText(quill::Field& field);

// The full name of the record a cursor stands on (a cursor over an album,
// artist or song table, or a Relation's cursor over one), UTF-8; the
// stored name as UTF-8 for a cursor over another table.
std::string shownName(quill::Rlist& cursor);

}  // namespace tracklore
