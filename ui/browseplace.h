// Where the user left the browse window: the kind it showed and the entry
// selected, kept in the user's settings with the database they belong to,
// so that the next start opens the same database on the same view.
#pragma once

#include <cstdint>

#include "catalogue/kind.h"

namespace tracklore {

struct BrowsePlace {
  Kind kind = Kind::Album;
  int32_t code = -1;   // the selected entry's Code; -1 for none
};

// The place kept for the open database (the current directory's, under its
// main name); albums and no entry for any other database.
BrowsePlace rememberedBrowsePlace();
void rememberBrowsePlace(const BrowsePlace& place);

}  // namespace tracklore
