// Putting scanned albums into the open catalogue, safe to repeat.
//
// An artist or song is reused when the catalogue holds one of the same full
// name, letter case aside (NameFinder::same; the lowest code when several
// do), otherwise created. An album is the same album as a stored one whose
// full name and first artist are the same names, or that has no artist yet
// and whose songs begin the scanned ones (as an interrupted scan leaves it).
// Lists compare name by name, letter case aside. Then:
//   Unchanged  both lists are already the scanned ones: nothing is written;
//   Completed  each stored list is a proper beginning of the scanned one
//              (an interrupted scan): the rest is appended;
//   LeftAlone  the lists differ otherwise (the user edited the album):
//              nothing is written, and the difference is told;
//   Added      no such album: a new one is made with both lists.
// Only albums that were in the catalogue before the scan are found: an
// album made or met earlier in the same scan is never found again, so two
// albums of the scan that share name and first artist are two albums.
// Nothing is ever removed, reordered or renamed. Where the scans remember
// which albums they made (scanfiles.h), an album none made (typed in,
// imported) is never completed either: it is left alone when it differs. Every change goes through
// the DB_ edits; a failing step returns its code and leaves what was done,
// as the edits do. A dry run decides the same outcomes and counts the same
// names to create, remembering what it would have made, and writes nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/findname.h"
#include "catalogue/results.h"
#include "catalogue/scan.h"
#include "engine/noncopyable.h"

namespace quill {
class Rlist;
}

namespace tracklore {

enum class AlbumOutcome { Added, Completed, Unchanged, LeftAlone };

struct CatalogueTally {
  int outcomes[4] = {0, 0, 0, 0};  // by AlbumOutcome
  int created[3] = {0, 0, 0};      // artists and songs made (index = kind)
  int songs = 0;                   // songs of the albums handed in, copies not counted
  int outcome(AlbumOutcome o) const { return outcomes[static_cast<int>(o)]; }
  int albums() const { return outcomes[0] + outcomes[1] + outcomes[2] + outcomes[3]; }
};

enum class WriteMode { Write, DryRun };

// One scan's cataloguing; must be destroyed before the database is closed.
class ScanStore : quill::NonCopyable {
 public:
  explicit ScanStore(WriteMode mode) : mode_(mode) {}
  // Tells which stored albums may be completed (all when never given).
  void setcompletable(std::function<bool(int32_t album)> completable) { completable_ = std::move(completable); }

  // Catalogues one album; 0 or the failing edit's code. For an album left
  // alone, difference says how the catalogue's differs.
  ErrorCode store(const ScannedAlbum& album, CatalogueTally* tally, AlbumOutcome* outcome,
                  std::string* difference);
  // The code of the album the last store() found or made (-1 for one a dry
  // run would make).
  int32_t lastalbum() const { return lastalbum_; }

 private:
  struct Stored;
  WriteMode mode_;
  NameFinder names_;
  // Artists and songs met in this scan by folded full name: their codes,
  // kPlanned for those a dry run would make.
  std::unordered_map<std::string, int32_t> known_[3];
  std::unordered_set<int32_t> claimed_;  // albums made or met in this scan
  int32_t lastalbum_ = -1;
  std::function<bool(int32_t)> completable_;

  bool findalbum(const ScannedAlbum& album, Stored* found);
  ErrorCode attribute(Kind kind, const std::string& name, CatalogueTally* tally, int32_t* code);
  ErrorCode append(int r, int32_t album, const std::vector<std::string>& names, size_t from,
                   quill::Rlist* titles, CatalogueTally* tally);
};

}  // namespace tracklore
