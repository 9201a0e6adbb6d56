// What the catalogue holds, counted, and the entries nothing uses.
//
// DB_Statistics (stats) -> Ok or the first failing engine code. Counts the
//   live albums, artists and songs and the rows of both relations; lists
//   the albums without artist rows and those without song rows, the
//   artists and songs that no row uses, and the ten artists on the most
//   albums (an artist twice on one album counts that album once; ties in
//   name order). Everything is counted from the rows themselves, not from
//   the reference counts or first artists that the rows imply.
// DB_PurgeUnused (deleted) -> Ok or the first failing code: deletes every
//   artist and song that no row uses, with their full names, as one edit
//   of the intent journal (journal.h): a crash part way is undone whole by
//   recovery. *deleted counts what went; one whose reference count says
//   it is used stays (verify mends the count). Undo takes it back (undo.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/results.h"

namespace tracklore {

struct StatsEntry {
  int32_t code = -1;
  std::string name;    // full name, UTF-8
  int32_t albums = 0;  // top artists: the albums they are on
};

struct CatalogueStats {
  int32_t records[3] = {};  // live albums, artists, songs
  int64_t links[2] = {};    // rows: album -> artist, album -> song
  std::vector<StatsEntry> withoutartists;  // albums, in name order
  std::vector<StatsEntry> withoutsongs;
  std::vector<StatsEntry> unused[2];       // artists, songs no album uses, in name order
  std::vector<StatsEntry> topartists;      // at most kTopArtists, most albums first
};

constexpr size_t kTopArtists = 10;

ErrorCode DB_Statistics(CatalogueStats* stats);
// The statistics as the program and the command line show them, one fact a
// line, each list after its count with at most `most` entries ("#code\tname")
// and then how many more there are.
std::string DB_StatisticsReport(const CatalogueStats& stats, size_t most);
ErrorCode DB_PurgeUnused(int* deleted);

}  // namespace tracklore
