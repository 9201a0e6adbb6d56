// Merging two records of one kind into one: an artist, song or album that
// was catalogued twice (typed once as "Bjork", scanned once as "Björk").
//
// DB_MergeRecords (kind, keep, other, outcome): every row that uses OTHER
// comes to use KEEP, and OTHER is deleted with its name-table entries.
//   Artists and songs (kind 1, 2): each row that links OTHER links KEEP at
//   the same position; KEEP's Ref_count counts them, an album whose first
//   artist was OTHER has KEEP as its Aux_attr. An album that uses both:
//     - artists: one artist credited twice on an album is a mistake, so the
//       album keeps one link, at the first of their positions, and the
//       later ones go (the rows after them move up);
//     - songs: an album's songs are its track list, which keeps its length:
//       both rows stay, and link KEEP.
//   Albums (kind 0): OTHER's artists and songs that KEEP lacks (as KEEP was
//   before) are appended to KEEP's lists in OTHER's order, the rest of
//   OTHER's rows go with OTHER; KEEP's completeness mark is brought up to
//   date. ListFull (nothing changed) when a list would pass kMaxSeq.
// outcome (may be null) says what moved: the rows relinked (artists, songs)
// or appended (albums), and the rows dropped as repeats.
//
// One edit under one intent (journal.h): a failure or a crash part way
// leaves the database as before once DB_Recover has run. Returns 0,
// BadParam (no such kind, or keep == other), NotFound (no record of the
// kind has one of the codes), NeedsRecovery, or the failing engine code.
// Like every journalled edit it can be undone (undo.h).
#pragma once

#include <cstdint>

#include "catalogue/kind.h"
#include "catalogue/results.h"

namespace tracklore {

struct MergeOutcome {
  int moved = 0;    // rows now linking KEEP, or appended to KEEP's lists
  int dropped = 0;  // rows that went as repeats of one of KEEP's
};

ErrorCode DB_MergeRecords(Kind kind, int32_t keep, int32_t other, MergeOutcome* outcome);

}  // namespace tracklore
