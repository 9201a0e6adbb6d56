#include "catalogue/names.h"

#include <cstring>

#include "engine/keys.h"

namespace tracklore {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string DB_NameForm(const char* typed) {
  const size_t length = strnlen(typed, kTypedName);
  std::string text;
  text.reserve(length);
  // Two names that differ only in blanks would look the same in every list
  // and sort apart: one space between words, none around them.
  bool gap = false;
  for (size_t i = 0; i < length; ++i) {
    if (blank(typed[i])) {
      gap = !text.empty();
      continue;
    }
    if (gap) text += ' ';
    gap = false;
    text += typed[i];
  }
  quill::capitalize(text.data(), 1);
  return text;
}

}  // namespace tracklore
