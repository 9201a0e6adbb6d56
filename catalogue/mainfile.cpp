#include "catalogue/mainfile.h"

#include <strings.h>

#include <filesystem>
#include <system_error>

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/translate.h"
#include "engine/errors.h"

namespace tracklore {

namespace {

bool fitsmainname(const std::string& stem) { return stem.size() < static_cast<size_t>(kMainNameSize); }

int refusemainname(const std::string& stem) {
  quill::warning(DB_Tr("Catalogue", "The main file name \"%s\" is longer than the %d characters a "
                                    "database's main file name can have: rename its files, or choose "
                                    "a shorter name."),
                 stem.c_str(), kMainNameSize - 1);
  return -1;
}

}  // namespace

ChosenFile splitchosen(const std::string& path) {
  ChosenFile chosen;
  std::string::size_type slash = path.find_last_of('/');
  std::string name = path;
  if (slash != std::string::npos) {
    // "/x.db1" lies in the root directory, not in "".
    chosen.directory = slash == 0 ? "/" : path.substr(0, slash);
    name = path.substr(slash + 1);
  }
  std::string::size_type dot = name.find_last_of('.');
  if (dot == std::string::npos) {
    chosen.title = name;
  } else {
    chosen.title = name.substr(0, dot);
    chosen.extension = name.substr(dot + 1);
  }
  return chosen;
}

FileRequest mainfilerequest(const char* title, const char* filter, const char* defext) {
  FileRequest request;
  request.title = title;
  request.filter = filter;
  request.defext = defext;
  request.proposed = "maindb.db1";
  return request;
}

int takemainfile(const std::string& path, ExtensionCase match) {
  ChosenFile chosen = splitchosen(path);
  std::string extension = "." + chosen.extension;
  bool same = match == ExtensionCase::Any ? strcasecmp(extension.c_str(), ".db1") == 0
                                          : extension == ".db1";
  if (!same) return -1;
  if (chosen.title.empty()) return -1;
  // Refused before the directory changes, so that a refusal changes nothing.
  if (!fitsmainname(chosen.title)) return refusemainname(chosen.title);
  if (!chosen.directory.empty()) {
    std::error_code error;
    std::filesystem::current_path(chosen.directory, error);
    if (error) return -1;
  }
  return takemainname(chosen.title);
}

int takemainname(const std::string& stem) {
  if (!fitsmainname(stem)) return refusemainname(stem);
  return DB_SetMainName(stem.c_str());
}

}  // namespace tracklore
