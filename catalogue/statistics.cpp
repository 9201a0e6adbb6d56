// Statistics of the open database, and the purge of unused entries.
#include "catalogue/statistics.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/edits.h"
#include "catalogue/fullnames.h"
#include "catalogue/journal.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "engine/bytes.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

using quill::Ok;

// What the rows of one relation say: how many there are, the albums that
// have any, and for each attribute the distinct albums it is on.
struct RowTally {
  int64_t rows = 0;
  std::unordered_set<int32_t> titles;
  std::unordered_map<int32_t, int32_t> albumsof;
};

// Walks the rows in "Attr" order, so one attribute's rows come together
// and its distinct albums are counted with a set of its own.
ErrorCode tally(int r, RowTally* t) {
  quill::Rlist rows(&DB_Table(rowtable(r)));
  if (ErrorCode rc = rows.select(T_Attr); rc != Ok) return rc;
  int32_t attr = -1;
  std::unordered_set<int32_t> albums;
  auto close = [&] {
    if (attr != -1) t->albumsof[attr] = static_cast<int32_t>(albums.size());
    albums.clear();
  };
  for (ErrorCode rc = rows.first(); rc == Ok; rc = rows.skip(1)) {
    const int32_t title = rows.field(F_Title).aslong();
    const int32_t a = rows.field(F_Attr).aslong();
    if (a != attr) {
      close();
      attr = a;
    }
    albums.insert(title);
    t->titles.insert(title);
    ++t->rows;
  }
  close();
  return Ok;
}

StatsEntry entryof(quill::Rlist& cursor, Kind kind) {
  return {cursor.field(F_Code).aslong(), DB_CurrentFullName(cursor, kind), 0};
}

}  // namespace

ErrorCode DB_Statistics(CatalogueStats* stats) {
  *stats = {};
  if (!DB_IsOpen()) return quill::GeneralError;
  RowTally tallies[kRelations];
  for (int r = 0; r < kRelations; ++r) {
    if (ErrorCode rc = tally(r, &tallies[r]); rc != Ok) return rc;
    stats->links[r] = tallies[r].rows;
  }
  for (const Kind kind : kKinds) {
    quill::Rlist cursor(&DB_Table(kindtable(kind)));
    if (ErrorCode rc = cursor.select(T_Name); rc != Ok) return rc;
    for (ErrorCode rc = cursor.first(); rc == Ok; rc = cursor.skip(1)) {
      ++stats->records[kindtable(kind)];
      const int32_t code = cursor.field(F_Code).aslong();
      if (kind == Kind::Album) {
        if (!tallies[0].titles.count(code)) stats->withoutartists.push_back(entryof(cursor, kind));
        if (!tallies[1].titles.count(code)) stats->withoutsongs.push_back(entryof(cursor, kind));
        continue;
      }
      const RowTally& t = tallies[relationof(kind)];
      const auto used = t.albumsof.find(code);
      if (used == t.albumsof.end()) {
        stats->unused[relationof(kind)].push_back(entryof(cursor, kind));
        continue;
      }
      if (kind != Kind::Artist) continue;
      // Kept sorted by albums, the first come in name order among equals.
      std::vector<StatsEntry>& top = stats->topartists;
      const auto later = std::upper_bound(
          top.begin(), top.end(), used->second,
          [](int32_t albums, const StatsEntry& e) { return albums > e.albums; });
      if (later == top.end() && top.size() >= kTopArtists) continue;
      StatsEntry e = entryof(cursor, kind);
      e.albums = used->second;
      top.insert(later, std::move(e));
      if (top.size() > kTopArtists) top.pop_back();
    }
  }
  return Ok;
}

std::string DB_StatisticsReport(const CatalogueStats& stats, size_t most) {
  std::string out = textf(DB_Tr("Catalogue", "Albums: %ld\nArtists: %ld\nSongs: %ld\n"),
                          long{stats.records[0]}, long{stats.records[1]}, long{stats.records[2]});
  out += textf(DB_Tr("Catalogue", "Links to artists: %lld\nLinks to songs: %lld\n"),
               static_cast<long long>(stats.links[0]), static_cast<long long>(stats.links[1]));
  auto list = [&](const char* heading, const std::vector<StatsEntry>& entries) {
    out += textf("%s: %zu\n", DB_Tr("Catalogue", heading), entries.size());
    for (size_t i = 0; i < entries.size() && i < most; ++i)
      out += textf("  #%ld\t%s\n", long{entries[i].code}, entries[i].name.c_str());
    if (entries.size() > most)
      out += textf(DB_Tr("Catalogue", "  ... and %zu more\n"), entries.size() - most);
  };
  list(QT_TRANSLATE_NOOP("Catalogue", "Albums without artists"), stats.withoutartists);
  list(QT_TRANSLATE_NOOP("Catalogue", "Albums without songs"), stats.withoutsongs);
  list(QT_TRANSLATE_NOOP("Catalogue", "Artists no album uses"), stats.unused[0]);
  list(QT_TRANSLATE_NOOP("Catalogue", "Songs no album uses"), stats.unused[1]);
  out += DB_Tr("Catalogue", "Artists on the most albums:\n");
  for (const StatsEntry& e : stats.topartists)
    out += textf("  %ld\t#%ld\t%s\n", long{e.albums}, long{e.code}, e.name.c_str());
  return out;
}

ErrorCode DB_PurgeUnused(int* deleted) {
  *deleted = 0;
  CatalogueStats stats;
  if (ErrorCode rc = DB_Statistics(&stats); rc != Ok) return rc;
  if (stats.unused[0].empty() && stats.unused[1].empty()) return Ok;
  if (DB_IsReadOnly()) return quill::WriteFailed;
  Intent intent("purge");
  for (const Kind kind : kAttributeKinds) {
    intent.counts(kindtable(kind));
    for (const StatsEntry& e : stats.unused[relationof(kind)]) intent.coded(kind, e.code);
  }
  if (ErrorCode rc = intent.begin(); rc != Ok) return rc;
  ErrorCode rc = Ok;
  for (const Kind kind : kAttributeKinds) {
    if (rc != Ok) break;
    quill::Rlist cursor(&DB_Table(kindtable(kind)));
    (void)cursor.select(T_Code);  // a tag of the schema
    for (const StatsEntry& e : stats.unused[relationof(kind)]) {
      uint8_t key[4];
      quill::put4(key, e.code);
      rc = cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
      // DB_DeleteAttribute checks the count and the rows again: nothing
      // used goes, and one whose count is wrong stays for verify to mend.
      if (rc == Ok) rc = DB_DeleteAttribute(cursor, kind);
      if (rc == StillReferenced) {
        rc = Ok;
        continue;
      }
      if (rc != Ok) break;
      ++*deleted;
    }
  }
  return intent.end(rc);
}

}  // namespace tracklore
