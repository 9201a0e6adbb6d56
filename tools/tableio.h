// What the quill commands share: naming fields and tags, turning field
// values into text and back, building search keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/datafile.h"
#include "engine/rlist.h"

namespace quilltool {

// A field or tag named by its name or its number; -1 when there is none.
int findfield(const quill::Header& h, const std::string& name);
int findtag(const quill::Header& h, const std::string& name);

// The field's value as text: strings as they are, numbers in decimal,
// raw bytes in hex.
std::string fieldtext(quill::Field& field);
// Sets the field from text by its type; false (with a message) when the
// text does not fit the type.
bool setfield(quill::Field& field, const std::string& text);
// "FIELD=VALUE" assignments onto the cursor's record; false with a message.
bool assign(quill::Rlist& cursor, const quill::Header& h, const std::vector<std::string>& pairs);

// One line: record number, then every field, tab-separated.
std::string recordline(quill::Rlist& cursor);

// The search key of a tag from one text per leading component; false with
// a message when a value does not fit its component's type.
bool searchkey(const quill::DataFile& table, int tag, const std::vector<std::string>& values,
               std::vector<uint8_t>* key);

// Escapes bytes that would break a line (tabs, line breaks, control bytes).
std::string printable(const std::string& text);

}  // namespace quilltool
