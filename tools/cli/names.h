// Names as the user types them and as the tables hold them.
//
// A typed name is UTF-8. The catalogue stores it in Windows-1252 with every
// word capitalised (it capitalises as it stores and as it seeks), cut to its
// kind's Name field. The command line refuses a name that would not come
// back as typed: one that has no Windows-1252 form, holds a control
// character, is empty or is longer than the field holds.
#pragma once

#include <string>

namespace tracklore::cli {

// The stored form of a typed name of a kind (0 album, 1 artist, 2 song):
// converted and capitalised. False, with a message that names the name,
// when it cannot be stored.
bool storedform(int kind, const std::string& typed, std::string* stored, std::string* message);

// As the catalogue stores and seeks a name: blanks trimmed and folded,
// every word capitalised.
std::string capitalised(std::string stored);

// A stored name for a message: UTF-8 within double quotes, made safe to
// show (echo.h).
std::string inquotes(const std::string& stored);

}  // namespace tracklore::cli
