// Cataloguing scanned albums: repeating a scan, completing an interrupted one, cancelling, who is
// who, and a scan stopped by a failing write brought back by recovery and a second scan.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "catalogue/browse.h"
#include "catalogue/recover.h"
#include "catalogue/scanrun.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/file.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

using quill::Ok;

// Albums as names: name -> artists and songs, for comparing catalogues whose codes differ.
using Lists = std::pair<std::vector<std::string>, std::vector<std::string>>;
using Dump = std::multimap<std::string, Lists>;

Dump dump() {
  Dump out;
  FullTable albums(DB_Table(TitleTable));
  (void)albums.select(T_Name);
  for (ErrorCode rc = albums.first(); rc == Ok; rc = albums.skip(1)) {
    const int32_t code = albums.cursor().field(F_Code).aslong();
    out.insert({reinterpret_cast<const char*>(albums.cursor().field(F_Name).data()),
                {linkednames(0, code), linkednames(1, code)}});
  }
  return out;
}

// A library of albums in folders of their own, sharing artists and songs.
std::vector<TrackTags> library(int albums, int songs) {
  std::vector<TrackTags> files;
  for (int a = 0; a < albums; ++a)
    for (int s = 1; s <= songs; ++s)
      files.push_back(tagsof("m/" + std::to_string(a), std::to_string(s) + ".flac",
                             "song " + std::to_string((a * 7 + s) % 23), "album " + std::to_string(a),
                             "artist " + std::to_string((a + s) % 5), "band " + std::to_string(a % 3), s));
  return files;
}

class ScanStoreTest : public CatalogueTest {};

TEST_F(ScanStoreTest, RepeatingChangesNothingCompletingAddsOnlyTheRest) {
  const int32_t band = add(ArtistTable, "Band 0");
  std::vector<TrackTags> files = library(6, 4);
  // An interrupted scan: the first album has only its first two songs.
  std::vector<TrackTags> partial(files.begin(), files.begin() + 2);
  ASSERT_EQ(scan(partial).tally.outcome(AlbumOutcome::Added), 1);

  // The album the first scan made follows its files.
  ScanSummary first = scan(files);
  EXPECT_EQ(std::pair(first.tally.outcome(AlbumOutcome::Added), first.follow.changed),
            std::pair(5, 1));
  EXPECT_EQ(DB_FindExactName(Kind::Artist, "Band 0"), std::vector<int32_t>{band}) << "reused, not made again";
  const Dump once = dump();
  ASSERT_EQ(once.size(), 6u);
  EXPECT_EQ(once.find("Album 0")->second.second.size(), 4u);

  const int32_t stamp = DB_Table(SongRows).stamp();
  ScanSummary again = scan(files);
  EXPECT_EQ(std::tuple(again.changed(), again.tally.outcome(AlbumOutcome::Unchanged),
                       DB_Table(SongRows).stamp()),
            std::tuple(false, 6, stamp));
  EXPECT_EQ(dump(), once);
}

// Cancel while files are read catalogues nothing (the albums are not known yet); once albums are
// catalogued it stops after the album in hand, and what is done stays whole.
TEST_F(ScanStoreTest, CancelStopsAfterTheAlbumInHand) {
  ScanRunOptions options{.progress = [](const ScanCounts& c) { return c.filesread < 5; }};
  EXPECT_TRUE(scan(library(4, 3), options).cancelled);
  EXPECT_TRUE(dump().empty());
  options.progress = [](const ScanCounts& c) { return c.albums < 2; };
  EXPECT_TRUE(scan(library(4, 3), options).cancelled);
  const Dump done = dump();
  ASSERT_EQ(done.size(), 2u);
  for (const auto& [name, lists] : done) EXPECT_EQ(lists.second.size(), 3u) << name;
}

// Who is who (letter case aside the same artist is the test above's): an accent makes another
// artist; two albums of one scan that share name and first artist stay two, found again each by the
// next scan.
TEST_F(ScanStoreTest, IdentityOfArtistsAndAlbums) {
  const std::vector<TrackTags> files = {
      tagsof("m/a", "1.mp3", "Halo", "I Am", "Beyoncé", "", 1),
      tagsof("m/b", "1.mp3", "Crazy", "Dangerously", "Beyonce", "", 1),
      tagsof("m/d", "1.mp3", "Intro", "Hits", "One", "", 1),
      tagsof("m/d", "2.mp3", "Duet", "Hits", "Two", "", 2),
      tagsof("m/e", "1.mp3", "Solo", "Hits", "One", "", 1)};
  const ScanSummary first = scan(files);
  EXPECT_EQ(first.tally.outcome(AlbumOutcome::Added), 4);
  EXPECT_EQ(first.tally.created[ArtistTable], 4);  // Beyoncé, Beyonce, One, Two
  const ScanSummary again = scan(files);
  EXPECT_EQ(std::pair(again.tally.outcome(AlbumOutcome::Unchanged), again.changed()),
            std::pair(4, false));
  // Titles that differ only past the stored field are two songs.
  const std::string head(60, 'b');
  const ScanSummary cut = scan({tagsof("m/f", "1.flac", head + " Allegro", "Brandenburg", "Bach", "", 1),
                                tagsof("m/f", "2.flac", head + " Adagio", "Brandenburg", "Bach", "", 2)});
  EXPECT_EQ(cut.tally.created[SongTable], 2);
}

// A write that fails part way through a scan in batches stops it: the scan names the album it
// stopped at and counts as added only the albums of its finished batches, which recovery keeps
// whole; a second scan then gives the catalogue of an uninterrupted one. (A cut at every point of a
// scan is the power-cut sweeps'.)
TEST_F(ScanStoreTest, AScanStoppedByAFailingWriteKeepsItsFinishedBatches) {
  reports_expected_ = true;
  const std::vector<TrackTags> files = library(24, 5);
  const ScanRunOptions inbatches{.batch = {.perbatch = 4}};
  int writes = 0, failat = 0;  // the album table's writes; none fails at 0
  quill::File::set_write_fault([&](const quill::File& f, int32_t, int32_t) {
    return f.name().find("maindb.db1") != std::string::npos && ++writes == failat;
  });
  scan(files, inbatches);
  const Dump whole = dump();
  // Each write of a batch in the middle in turn: an album's, or the one ending the batch.
  const int total = writes, batch = total / 6;
  for (int at = total / 2; at < total / 2 + batch; ++at) {
    SCOPED_TRACE(at);
    recreate();
    writes = 0;
    failat = at;
    TableSource source(files);
    ScanNotes notes;
    ScanSummary summary;
    EXPECT_NE(DB_ScanMusic(source, notes, inbatches, &summary), 0);
    failat = 0;
    EXPECT_FALSE(summary.failedalbum.empty());
    const int kept = summary.tally.outcome(AlbumOutcome::Added);
    EXPECT_TRUE(kept > 0 && kept % 4 == 0) << kept;
    DB_Close();
    ASSERT_EQ(DB_Recover(nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(DB_Open(), 0);
    const Dump recovered = dump();
    EXPECT_EQ(recovered.size(), static_cast<size_t>(kept));
    for (const auto& [name, lists] : recovered) {
      const auto in = whole.find(name);
      ASSERT_NE(in, whole.end()) << name;  // never read past the end
      EXPECT_EQ(lists, in->second) << name;
    }
    scan(files, inbatches);
    EXPECT_EQ(dump(), whole);
  }
  quill::File::set_write_fault({});
}

}  // namespace
}  // namespace tracklore::test
