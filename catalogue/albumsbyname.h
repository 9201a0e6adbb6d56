// The albums that use one artist or song, each once, in the order of their
// names (the browse list's order), for the found list. The rows of a
// relation are in the order they were linked, and an album that uses a
// song twice has two of them: the group is read once, each album's code
// kept once and the codes sorted by the title table's Name key (equal
// names by code).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "catalogue/codelist.h"

namespace tracklore {

// The albums of relation r (0 artists, 1 songs) that use the attribute's
// code, each once, in name order. The caller owns the result.
std::unique_ptr<CodeList> DB_AlbumsInNameOrder(int r, int32_t attr);

}  // namespace tracklore
