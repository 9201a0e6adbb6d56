// Capitalisation of names as the user types them.
#include <cstring>

#include "engine/chartable.h"

namespace quill {

namespace {

inline bool is_opening(char c) {
  return c == '"' || c == '\'' || c == '`' || c == '(' || c == '[' || c == '{' || c == '<';
}

inline bool is_delimiter(char c) {
  return c != '\0' && std::strchr(" /-.,+*~", c) != nullptr;
}

inline char upcase(char c) {
  return static_cast<char>(chartable::kTable.upper[static_cast<uint8_t>(c)]);
}

}  // namespace

char* capitalize(char* text, int allwords) {
  char* p = text;
  while (*p != '\0' && is_opening(*p)) ++p;
  if (*p == '\0') return text;
  *p = upcase(*p);
  if (!allwords) return text;
  for (;;) {
    while (*p != '\0' && !is_delimiter(*p)) ++p;
    if (*p == '\0') break;
    while (is_delimiter(*p)) ++p;
    while (*p != '\0' && is_opening(*p)) ++p;
    if (*p == '\0') break;
    *p = upcase(*p);
  }
  return text;
}

}  // namespace quill
