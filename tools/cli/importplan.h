// Creating the albums of an import plan (albumcsv.h) in the open database.
//
// Every album is made with its lists through the catalogue's edits; an
// artist or song is reused when one bears its full name, letter case aside
// (NameFinder::same: "NIRVANA" is "Nirvana", "Beyonce" is not "Beyoncé"),
// whether it was there before or made earlier in the import; otherwise it
// is created. The first failing step stops the import; what was made
// before it stays.
#pragma once

#include "catalogue/results.h"
#include "tools/cli/albumcsv.h"

namespace tracklore::cli {

struct ImportTally {
  int albums = 0;
  int links[3] = {0, 0, 0};
  int created[3] = {0, 0, 0};
  int similar[3] = {0, 0, 0};  // reused under a name that differs in letter case
};

// Where an import stopped: the album, the step that failed and its code.
struct ImportStop {
  const PlannedAlbum* album = nullptr;
  const char* step = "";
  ErrorCode rc = quill::Ok;
  int kept = 0;  // the albums of the finished batches, which recovery keeps
};

// 0, or the failing step's code with *stop filled in.
ErrorCode importplan(const Plan& plan, ImportTally* tally, ImportStop* stop);

}  // namespace tracklore::cli
