#include "tools/cli/names.h"

#include <cstdio>

#include "catalogue/names.h"
#include "catalogue/schema.h"
#include "tools/cli/cp1252.h"
#include "tools/cli/echo.h"

namespace tracklore::cli {

namespace {

// Control characters would break the one-line listings, and the tables'
// natural order reads them as punctuation.
bool iscontrol(uint8_t b) {
  char32_t c = cp1252char(b);
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::string kindname(int kind) { return std::string("the ") + KindNames[kind][SingularForm] + " name"; }

}  // namespace

bool storedform(int kind, const std::string& typed, std::string* stored, std::string* message) {
  std::string problem;
  if (!fromutf8(typed, stored, &problem)) {
    *message = "cannot store " + kindname(kind) + " " + quotedtext(typed) + ": " + problem;
    return false;
  }
  for (char b : *stored) {
    if (iscontrol(static_cast<uint8_t>(b))) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp1252char(static_cast<uint8_t>(b))));
      *message = "cannot store " + kindname(kind) + " " + quotedtext(typed) +
                 ": it holds the control character " + code;
      return false;
    }
  }
  const size_t most = static_cast<size_t>(kNameLength[kind] - 1);
  // The catalogue reads no more than a typed name's length: a longer one
  // is too long whatever its blanks.
  const std::string formed = stored->size() > kTypedName ? *stored : capitalised(*stored);
  if (formed.empty()) {
    *message = kindname(kind) + " is empty";
    return false;
  }
  if (formed.size() > most) {
    *message = "cannot store " + kindname(kind) + " " + quotedtext(typed) + ": it has " +
               std::to_string(formed.size()) + " characters, at most " + std::to_string(most) + " fit";
    return false;
  }
  *stored = formed;
  return true;
}

std::string capitalised(std::string stored) { return DB_NameForm(stored.c_str()); }

std::string inquotes(const std::string& stored) { return quotedtext(toutf8(stored)); }

}  // namespace tracklore::cli
