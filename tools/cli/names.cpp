#include "tools/cli/names.h"

#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "tools/cli/echo.h"

namespace tracklore::cli {

namespace {

std::string kindname(Kind kind) { return std::string("the ") + kindword(kind, SingularForm) + " name"; }

}  // namespace

bool fullname(Kind kind, const std::string& given, std::string* full, std::string* message) {
  FullForm form = DB_FullForm(given);
  if (form.text.empty()) {
    *message = kindname(kind) + " is empty";
    return false;
  }
  // Cutting it would keep another name than the one given.
  if (form.cut) {
    *message = "cannot keep " + kindname(kind) + " " + quotedtext(given) + ": it is longer than " +
               std::to_string(kFullNameChars) + " characters";
    return false;
  }
  *full = std::move(form.text);
  return true;
}

}  // namespace tracklore::cli
