// Cataloguing scanned albums: repeating a scan, completing an interrupted
// one, leaving edited albums alone, and a scan cut short by a failing write
// brought back by recovery and a second scan.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "catalogue/browse.h"
#include "catalogue/edits.h"
#include "catalogue/maintenance.h"
#include "catalogue/recover.h"
#include "catalogue/relation.h"
#include "catalogue/scanrun.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/file.h"
#include "engine/index.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

using quill::Ok;

// Albums as names: name -> artists and songs, for comparing catalogues
// whose codes differ.
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

  ScanSummary first = scan(files);
  EXPECT_EQ(first.tally.outcome(AlbumOutcome::Added), 5);
  EXPECT_EQ(first.follow.changed, 1) << "the album the first scan made follows its files";
  EXPECT_EQ(DB_FindExactName(Kind::Artist, "Band 0"), std::vector<int32_t>{band}) << "reused, not made again";
  const Dump once = dump();
  ASSERT_EQ(once.size(), 6u);
  EXPECT_EQ(once.find("Album 0")->second.second.size(), 4u);

  const int32_t stamp = DB_Table(SongRows).stamp();
  ScanSummary again = scan(files);
  EXPECT_FALSE(again.changed());
  EXPECT_EQ(again.tally.outcome(AlbumOutcome::Unchanged), 6);
  EXPECT_EQ(DB_Table(SongRows).stamp(), stamp);
  EXPECT_EQ(dump(), once);
}

TEST_F(ScanStoreTest, AnEditedAlbumIsLeftAloneAndTheReportSaysWhatDiffers) {
  std::vector<TrackTags> files = library(2, 3);
  scan(files);
  // The user renames the album's second song and takes its third off:
  // the scan must undo neither.
  const int32_t album = DB_FindExactName(Kind::Album, "Album 0").at(0);
  std::unique_ptr<Relation> songs = DB_GetArticleAttributes(1, album);
  ASSERT_EQ(songs->first(), Ok);
  ASSERT_EQ(songs->skip(1), Ok);
  ASSERT_EQ(DB_RenameRecord(songs->cursor(), Kind::Song, "My Title", true), Ok);
  ASSERT_EQ(songs->skip(1), Ok);
  quill::Rlist titles(&DB_Table(TitleTable));
  ASSERT_EQ(DB_RemoveLink(*songs, titles, PurgeMode::Keep), Ok);
  songs.reset();
  const Dump edited = dump();

  std::vector<std::string> lines;
  const ScanSummary summary = scan(files, {}, &lines);
  EXPECT_EQ(summary.tally.outcome(AlbumOutcome::LeftAlone), 1);
  EXPECT_EQ(dump(), edited);
  EXPECT_EQ(lines, std::vector<std::string>{
                       "album \"album 0\" (m/0) left alone: edited in the catalogue since it was scanned; "
                       "its files differ: songs only in the files: \"song 3\"; tracklore-cli scan "
                       "--prefer-files \"album 0\" takes the files' version"});
}

// Cancel while files are read catalogues nothing (the albums are not known
// yet); once albums are catalogued it stops after the album in hand, and
// what is done stays whole.
TEST_F(ScanStoreTest, CancelStopsAfterTheAlbumInHand) {
  ScanRunOptions reading;
  reading.progress = [](const ScanCounts& counts) { return counts.filesread < 5; };
  EXPECT_TRUE(scan(library(4, 3), reading).cancelled);
  EXPECT_TRUE(dump().empty());

  ScanRunOptions cataloguing;
  cataloguing.progress = [](const ScanCounts& counts) { return counts.albums < 2; };
  EXPECT_TRUE(scan(library(4, 3), cataloguing).cancelled);
  const Dump done = dump();
  ASSERT_EQ(done.size(), 2u);
  for (const auto& [name, lists] : done) EXPECT_EQ(lists.second.size(), 3u) << name;
}

// Who is who: letter case aside the same artist, an accent another one; two
// albums of one scan that share name and first artist stay two, found again
// each by the next scan.
TEST_F(ScanStoreTest, IdentityOfArtistsAndAlbums) {
  add(ArtistTable, "Nirvana");
  const std::vector<TrackTags> files = {
      tagsof("m/a", "1.mp3", "Halo", "I Am", "Beyoncé", "", 1),
      tagsof("m/b", "1.mp3", "Crazy", "Dangerously", "Beyonce", "", 1),
      tagsof("m/c", "1.mp3", "Lithium", "Nevermind", "NIRVANA", "", 1),
      tagsof("m/d", "1.mp3", "Intro", "Hits", "One", "", 1),
      tagsof("m/d", "2.mp3", "Duet", "Hits", "Two", "", 2),
      tagsof("m/e", "1.mp3", "Solo", "Hits", "One", "", 1)};
  const ScanSummary first = scan(files);
  EXPECT_EQ(first.tally.outcome(AlbumOutcome::Added), 5);
  EXPECT_EQ(first.tally.created[ArtistTable], 4);  // Beyoncé, Beyonce, One, Two
  EXPECT_EQ(DB_FindExactName(Kind::Artist, "Nirvana").size(), 1u);
  const ScanSummary again = scan(files);
  EXPECT_EQ(again.tally.outcome(AlbumOutcome::Unchanged), 5);
  EXPECT_FALSE(again.changed());
  // Titles that differ only past the stored field are two songs.
  const std::string head(60, 'b');
  const ScanSummary cut = scan({tagsof("m/f", "1.flac", head + " Allegro", "Brandenburg", "Bach", "", 1),
                                tagsof("m/f", "2.flac", head + " Adagio", "Brandenburg", "Bach", "", 2)});
  EXPECT_EQ(cut.tally.created[SongTable], 2);
}

// A write fails at a random point of a scan in batches; the process ends
// there (the engine makes a failed page write fatal) or the scan stops.
// Recovery must then give back every album of every finished batch whole,
// and a second scan the catalogue of an uninterrupted scan.
TEST_F(ScanStoreTest, AnInterruptedScanIsBroughtBackByRecoveryAndASecondScan) {
  reports_expected_ = true;
  const std::vector<TrackTags> files = library(24, 5);
  const ScanRunOptions inbatches{.batch = {.perbatch = 4}};
  const int perbatch = inbatches.batch.perbatch;
  int writes = 0;
  quill::File::set_write_fault([&](const quill::File&, int32_t, int32_t) { return ++writes < 0; });
  scan(files, inbatches);
  quill::File::set_write_fault({});
  const Dump whole = dump();
  const int total = writes;
  ASSERT_GT(total, 50);

  std::mt19937 random(20261207);
  for (int trial = 0; trial < 8; ++trial) {
    recreate(false);
    const int failat = std::uniform_int_distribution<int>(1, total)(random);
    int done[2];
    ASSERT_EQ(pipe(done), 0);
    const pid_t pid = fork();
    if (pid == 0) {
      close(done[0]);
      if (DB_Open() != 0) _exit(4);
      // Few cached index pages: changed pages are written back early.
      for (int t = 0; t < kTables; ++t) DB_Table(t).index()->setcachepages(4);
      int n = 0;
      quill::File::set_write_fault([&](const quill::File&, int32_t, int32_t) { return ++n == failat; });
      TableSource source(files);
      ScanNotes notes;
      ScanRunOptions options = inbatches;
      // After every perbatch-th album a durable point has been made.
      options.progress = [&](const ScanCounts& counts) {
        static int told = 0;
        if (counts.albums % perbatch == 0 && counts.albums != told && n < failat) {
          told = counts.albums;
          (void)!write(done[1], &told, sizeof told);
        }
        return true;
      };
      ScanSummary summary;
      if (DB_ScanMusic(source, notes, options, &summary) == 0) _exit(0);
      // A failed scan counts as added only what recovery keeps (sent as a
      // negative number), and names the album it stopped at.
      const int kept = -1 - summary.tally.outcome(AlbumOutcome::Added);
      (void)!write(done[1], &kept, sizeof kept);
      _exit(summary.failedalbum.empty() ? 2 : 1);
    }
    close(done[1]);
    int durable = 0, said = -1, value;
    while (read(done[0], &value, sizeof value) == sizeof value) (value < 0 ? said : durable) = value;
    close(done[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 4);
    const std::string where = "write " + std::to_string(failat) + " of " + std::to_string(total);
    EXPECT_NE(WEXITSTATUS(status), 0) << where << ": a failed write ended in success";
    EXPECT_NE(WEXITSTATUS(status), 2) << where << ": the failed scan names no album";

    std::vector<std::string> log;
    ASSERT_EQ(DB_Recover(nullptr, nullptr, &log), 0) << where << ": " << log.back();
    ASSERT_EQ(DB_Open(), 0) << where;
    const Dump recovered = dump();
    if (said < 0) {
      EXPECT_EQ(recovered.size(), static_cast<size_t>(-1 - said)) << where << ": albums said added";
    }
    for (int a = 0; a < durable; ++a) {
      auto it = whole.find("Album " + std::to_string(a));
      auto got = recovered.find(it->first);
      ASSERT_NE(got, recovered.end()) << where << ": " << it->first << " of a finished batch";
      EXPECT_EQ(got->second, it->second) << where << ": " << it->first;
    }
    scan(files, inbatches);
    EXPECT_EQ(dump(), whole) << where;
  }
}

}  // namespace
}  // namespace tracklore::test
