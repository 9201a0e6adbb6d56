// The windows' side of names: they are shown in full (UTF-8,
// catalogue/fullnames.h), as are the catalogue's messages and the Host's
// texts; only the Name fields hold stored bytes (Windows-1252), which the
// catalogue's storedform.h converts.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace quill {
class Field;
class Rlist;
}

namespace tracklore {

// How many characters UTF-8 text holds.
size_t typedChars(std::string_view utf8);

// A text field as stored: up to its first NUL, never past its length.
std::string fieldText(quill::Field& field);

// The full name of the record a cursor stands on (a cursor over an album,
// artist or song table, or a Relation's cursor over one), UTF-8; the
// stored name as UTF-8 for a cursor over another table.
std::string shownName(quill::Rlist& cursor);

}  // namespace tracklore
