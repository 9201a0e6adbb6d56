// Likely duplicates: albums, artists or songs whose names compare equal in
// the catalogue's order (the "Name" tag: letter case, accents, punctuation
// and blanks aside, numbers by value), such as "Bjork" and "Björk" or
// "Sigur Rós" and "sigur ros". Names cut to their field compare in full, so that
// long names that only begin alike are not taken for one.
//
// DB_FindDuplicates (kind 0..2): the groups of two or more records, in name
// order, each with what tells them apart and what a merge (merge.h) would
// move. A database without its index has no order to compare by: no groups.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/kind.h"

namespace tracklore {

struct Duplicate {
  int32_t code = -1;
  std::string name;    // the full name
  int32_t uses = 0;    // artists, songs: the rows that link it; albums: their songs
  std::string artist;  // albums: the first artist's full name, "" for none
};
using DuplicateGroup = std::vector<Duplicate>;

std::vector<DuplicateGroup> DB_FindDuplicates(Kind kind);

}  // namespace tracklore
