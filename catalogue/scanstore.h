// Putting scanned albums into the open catalogue, safe to repeat.
//
// An artist or song is reused when one of exactly that stored name exists
// (the lowest code when several do), otherwise created. An album is the
// same album as a stored one of the same name whose first artist is the
// scanned first artist, or that has no artist yet and whose songs begin the
// scanned ones (as an interrupted scan leaves it). Then:
//   Unchanged  both lists are already the scanned ones: nothing is written;
//   Completed  each stored list is a proper beginning of the scanned one
//              (an interrupted scan): the rest is appended;
//   LeftAlone  the lists differ otherwise (the user edited the album):
//              nothing is written, the caller reports it;
//   Added      no such album: a new one is made with both lists.
// Nothing is ever removed, reordered or renamed. Every change goes through
// the DB_ edits, so references, sequences and counts stay consistent; a
// failing step returns its code and leaves what was done, as the edits do.
// A dry run decides the same outcome and writes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/findname.h"
#include "catalogue/results.h"
#include "catalogue/scan.h"

namespace tracklore {

enum class AlbumOutcome { Added, Completed, Unchanged, LeftAlone };

struct CatalogueTally {
  int outcomes[4] = {0, 0, 0, 0};  // by AlbumOutcome
  int created[3] = {0, 0, 0};      // artists and songs made (index = kind)
  int outcome(AlbumOutcome o) const { return outcomes[static_cast<int>(o)]; }
};

enum class WriteMode { Write, DryRun };

// Catalogues one album; 0 or the failing edit's code. names finds the
// records by name (one for a whole scan).
ErrorCode DB_StoreScannedAlbum(const ScannedAlbum& album, WriteMode mode, NameFinder& names,
                               CatalogueTally* tally, AlbumOutcome* outcome);

}  // namespace tracklore
