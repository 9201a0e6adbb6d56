// Names as the user types them and as the tables hold them.
//
// DB_NameForm (typed) -> the form in which a typed name is stored and
//   sought: at most 128 characters are read; blanks (spaces and tabs) at
//   either end go, every inner run of them becomes one space, and every
//   word is capitalised. A name of blanks only comes back empty, which the
//   edits refuse with EmptyName like an empty one.
#pragma once

#include <cstddef>
#include <string>

namespace tracklore {

// The longest name a user can type.
constexpr size_t kTypedName = 128;

std::string DB_NameForm(const char* typed);

}  // namespace tracklore
