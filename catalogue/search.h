// Finding albums, artists and songs by the words of their full names.
//
// DB_Search (text, kinds, results) -> Ok, or EmptySearch when the text
//   holds no letter or digit to search for. Finds every record of the
//   kinds asked for whose full name holds each word of the text at the
//   start of one of its words, blind to case and accents, in any script
//   (searchfold.h); each kind's finds in name order, albums with their
//   first artist.
// DB_SearchCodes (words, kind, codes) -> Ok with the codes of such records
//   of one kind for words already folded (DB_SearchWords), in name order,
//   without their names: what a caller needs that shows a window of the
//   finds at a time. EmptySearch for no words, GeneralError with no
//   database open.
//
// The folded names of each kind are read from the open tables at the first
// search and kept (searchindex.h), then kept up to date record by record:
// the records this process changes are read again at the next search
// (searchwatch.h), in a few milliseconds at a million names. A change it
// was not told of (another process, a pack, a reindex, a recovery, another
// database opened) shows in the tables' counters and change stamps and
// makes it read the kind in full again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/kind.h"
#include "catalogue/results.h"

namespace tracklore {

enum : unsigned { SearchAlbums = 1u << 0, SearchArtists = 1u << 1, SearchSongs = 1u << 2 };
constexpr unsigned kSearchAll = SearchAlbums | SearchArtists | SearchSongs;

struct SearchHit {
  int32_t code = -1;
  std::string name;         // full name, UTF-8
  std::string firstartist;  // albums: the first artist's full name, "" for none
};

struct SearchResults {
  std::vector<SearchHit> found[3];  // by kind: albums, artists, songs
  size_t total() const { return found[0].size() + found[1].size() + found[2].size(); }
};

ErrorCode DB_Search(std::string_view text, unsigned kinds, SearchResults* results);
ErrorCode DB_SearchCodes(const std::vector<std::string>& words, Kind kind,
                         std::vector<int32_t>* codes);

// The memory the kept names take, in bytes (for the benchmark's report).
size_t DB_SearchMemory();

}  // namespace tracklore
