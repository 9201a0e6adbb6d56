// The program's side of merging (catalogue/merge.h): the questions asked
// before two records become one, and the merge on consent. Nothing of a
// merge can be undone yet, and the questions say so.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/kind.h"

namespace tracklore {

// Asks whether to merge the others into KEEP (records of kind 0..2),
// naming them with what a merge moves, and merges them one by one on OK;
// true when all were merged. A failure is shown and ends the run.
bool confirmMerge(Kind kind, int32_t keep, const std::vector<int32_t>& others);

enum class RenameChoice { Rename, Merged, Cancelled };

// Before the record of kind and code takes the full name full: when
// another record of the kind bears it (letter case aside), offers to merge
// the renamed one into that one instead (*keep). Artists and songs are not
// made a second of one name: declining leaves both as they were. An album
// may share its name with another artist's: No renames. Rename when no
// other bears the name.
RenameChoice offerMergeOnRename(Kind kind, int32_t code, const std::string& full, int32_t* keep);

}  // namespace tracklore
