// Putting a list's source on one record by its code, for the lists that
// must show a record an edit chose (the one kept by a merge, the one that
// bears a typed name exactly).
#pragma once

#include <cstdint>

#include "catalogue/browse.h"
#include "catalogue/kind.h"

namespace tracklore {

// Stands source on the record of kind 0..2 with the code: in a table in
// name order it is sought among the records of its stored name; in an
// album's or a record's relation it is the first row that links it. False,
// with the source standing anywhere, when it is not there.
bool standOnRecord(BrowseSource& source, Kind kind, int32_t code);

}  // namespace tracklore
