// Rescans as a table of cases: the folder changed as folders are, the catalogue edited as users do,
// given through the tag source with a file clock of its own (no file is made); then the dry run.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "catalogue/browse.h"
#include "catalogue/edits.h"
#include "catalogue/findname.h"
#include "catalogue/fullnames.h"
#include "catalogue/maintenance.h"
#include "catalogue/scanrun.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

using quill::Ok;
using Albums = std::map<std::string, std::vector<std::string>>;  // album -> songs

std::vector<std::string> artistsof(const std::string& album) {
  return linkednames(0, DB_FindSameName(Kind::Album, album).at(0));
}

Albums albums() {
  Albums out;
  FullTable titles(DB_Table(TitleTable));
  (void)titles.select(T_Name);
  for (ErrorCode rc = titles.first(); rc == Ok; rc = titles.skip(1))
    out[DB_CurrentFullName(titles.cursor(), Kind::Album)] = linkednames(1, titles.cursor().field(F_Code).aslong());
  return out;
}

// A file of the library at time t of the file clock.
TrackTags file(const std::string& folder, const std::string& name, const std::string& title,
               const std::string& album, const std::string& artist, int track, int t = 0) {
  TrackTags tags = tagsof("m/" + folder, name, title, album, artist, "", track);
  tags.stat = {4096, 1700000000 + t, 250};
  return tags;
}

TrackTags nirvana(const char* name, const char* title, int track, int t = 0) {
  return file("Nevermind", name, title, "Nevermind", "Nirvana", track, t);
}
TrackTags miles(const char* name, const char* title, const char* artist, int track, int t = 0) {
  return file("Kind of Blue", name, title, "Kind of Blue", artist, track, t);
}

const std::vector<TrackTags> kLibrary = {
    nirvana("1.mp3", "Smells Like Teen Spirit", 1), nirvana("2.mp3", "In Bloom", 2),
    nirvana("3.mp3", "Come as You Are", 3), miles("1.flac", "So What", "Miles Davis", 1),
    miles("2.flac", "Freddie Freeloader", "Miles Davis", 2)};

const Albums::value_type kBlue = {"Kind of Blue", {"So What", "Freddie Freeloader"}};
const Albums kCatalogued = {
    kBlue, {"Nevermind", {"Smells Like Teen Spirit", "In Bloom", "Come as You Are"}}};

// The library with file i replaced (or taken out when given no tags).
std::vector<TrackTags> changed(std::initializer_list<std::pair<size_t, std::optional<TrackTags>>> changes,
                               std::vector<TrackTags> extra = {}) {
  std::vector<TrackTags> out;
  for (size_t i = 0; i < kLibrary.size(); ++i) {
    std::optional<TrackTags> f = kLibrary[i];
    for (const auto& [at, with] : changes)
      if (at == i) f = with;
    if (f) out.push_back(*f);
  }
  out.insert(out.end(), extra.begin(), extra.end());
  return out;
}

const ScanRunOptions kM{.folders = {"m"}};

using RescanTest = CatalogueTest;

// Each case changes one album or both, each in its own way.
struct Case {
  const char* what;
  std::function<void()> edit;             // the user's edits after the first scan
  std::vector<TrackTags> after;           // the folder at the rescan
  Albums albums;                          // the catalogue after it
  int opened;                             // files the rescan opened
  int songs;                              // songs left in the catalogue
  std::vector<std::string> said = {};     // lines of the report hold these
  Albums artists = {};                    // the artists of these albums after it
  int artistcount = 2;                    // artists left in the catalogue
  int again = 0;                          // files a second rescan opens
  int leftalone = 0;                      // albums the rescan left alone
  std::vector<std::string> preferfiles = {};
  std::vector<std::string> folders = {"m"};
};

TEST_F(RescanTest, TableOfCases) {
  const auto edited = [this] {
    // The user takes the third song off Nevermind.
    const int32_t album = DB_FindExactName(Kind::Album, "Nevermind").at(0);
    ASSERT_EQ(unlink(1, album, 2, PurgeMode::Keep), Ok);
  };
  const auto rename = [this](int kind, const char* from, const char* to) {
    const int32_t code = DB_FindExactName(kindoftable(kind), from).at(0);
    ASSERT_EQ(DB_RenameRecord(*at(kind, code), kindoftable(kind), to, true), Ok);
  };
  const auto davis = [&] { rename(ArtistTable, "Miles Davis", "Davis, Miles"); };
  const auto retitled = [&] { rename(TitleTable, "Nevermind", "Nevermind (1991)"); };
  const std::vector<Case> cases = {
      {"a title retagged, and every track's artist: the songs and artists follow, the old purged",
       nullptr,
       changed({{1, nirvana("2.mp3", "Lithium", 2, 1)},
                {3, miles("1.flac", "So What", "Miles Davis Sextet", 1, 1)},
                {4, miles("2.flac", "Freddie Freeloader", "Miles Davis Sextet", 2, 1)}}),
       {kBlue, {"Nevermind", {"Smells Like Teen Spirit", "Lithium", "Come as You Are"}}}, 3, 5,
       {"songs removed: \"In Bloom\"; songs added: \"Lithium\"",
        "artists removed: \"Miles Davis\"; artists added: \"Miles Davis Sextet\""},
       {{"Kind of Blue", {"Miles Davis Sextet"}}}},
      {"track numbers retagged: the songs reordered; a song renamed here, its file touched: kept",
       [&] { rename(SongTable, "So What", "So What (take 3)"); },
       changed({{0, nirvana("1.mp3", "Smells Like Teen Spirit", 3, 1)},
                {2, nirvana("3.mp3", "Come as You Are", 1, 1)},
                {3, miles("1.flac", "So What", "Miles Davis", 1, 1)}}),
       {{"Kind of Blue", {"So What (take 3)", "Freddie Freeloader"}},
        {"Nevermind", {"Come as You Are", "In Bloom", "Smells Like Teen Spirit"}}},
       3, 5, {"songs in another order"}},
      {"a file deleted: its song goes, purged; an artist renamed here, files touched, added: kept",
       davis,
       changed({{1, std::nullopt}, {4, miles("2.flac", "Freddie Freeloader", "Miles Davis", 2, 1)}},
               {miles("3.flac", "Blue in Green", "Miles Davis", 3)}),
       {{"Kind of Blue", {"So What", "Freddie Freeloader", "Blue in Green"}},
        {"Nevermind", {"Smells Like Teen Spirit", "Come as You Are"}}},
       2, 5, {"songs removed: \"In Bloom\""}, {{"Kind of Blue", {"Davis, Miles"}}}},
      {"unchanged files are not opened; a file retagged into another album moves there; one moved "
       "and renamed, its tags kept, changes nothing", nullptr,
       changed({{1, file("Nevermind", "2.mp3", "In Bloom", "Kind of Blue", "Miles Davis", 3, 1)},
                {2, file("Elsewhere", "03 - Come.mp3", "Come as You Are", "Nevermind", "Nirvana", 3)}}),
       {{"Kind of Blue", {"So What", "Freddie Freeloader", "In Bloom"}},
        {"Nevermind", {"Smells Like Teen Spirit", "Come as You Are"}}},
       2, 5},
      {"an album renamed here: its new file leads to it, the name stays and the files' is told; an "
       "artist renamed here, its album's files all moved: it stays",
       [&] {
         retitled();
         davis();
       },
       changed({{3, file("Moved", "1.flac", "So What", "Kind of Blue", "Miles Davis", 1)},
                {4, file("Moved", "2.flac", "Freddie Freeloader", "Kind of Blue", "Miles Davis", 2)}},
               {nirvana("4.mp3", "Breed", 4)}),
       {kBlue,
        {"Nevermind (1991)", {"Smells Like Teen Spirit", "In Bloom", "Come as You Are", "Breed"}}},
       3, 6,
       {"its files name it \"Nevermind\"; tracklore-cli scan --prefer-files \"Nevermind (1991)\""},
       {{"Kind of Blue", {"Davis, Miles"}}}},
      {"the same with --prefer-files: the files' name is taken; an album's files all gone: it goes",
       retitled, changed({{3, std::nullopt}, {4, std::nullopt}}),
       {{"Nevermind", {"Smells Like Teen Spirit", "In Bloom", "Come as You Are"}}}, 0, 3,
       {"takes its files' name \"Nevermind\"", "none of its files is left"}, {}, 1, 0, 0,
       {"Nevermind (1991)"}},
      {"albums edited here, songs or artists: left alone, the report says what differs and how",
       [&] {
         edited();
         const int32_t album = DB_FindSameName(Kind::Album, "Kind of Blue").at(0);
         ASSERT_EQ(link(0, album, add(ArtistTable, "Bill Evans")), Ok);
       },
       changed({{0, nirvana("1.mp3", "Spirit", 1, 1)},
                {4, miles("2.flac", "Freddie Freeloader", "John Coltrane", 2, 1)}}),
       {kBlue, {"Nevermind", {"Smells Like Teen Spirit", "In Bloom"}}}, 2, 5,
       {"album \"Nevermind\" (m/Nevermind) left alone: edited in the catalogue since it was "
        "scanned; its files differ: songs only in the catalogue: \"Smells Like Teen Spirit\"; songs "
        "only in the files: \"Spirit\", \"Come as You Are\"; tracklore-cli scan --prefer-files "
        "\"Nevermind\" takes the files' version",
        "artists only in the catalogue: \"Bill Evans\"; artists only in the files: \"John Coltrane\""},
       {{"Kind of Blue", {"Miles Davis", "Bill Evans"}}}, 3, 2, 2},
      {"the same with --prefer-files: the files win; a remembered folder missing: it is said",
       edited, changed({{0, nirvana("1.mp3", "Spirit", 1, 1)}, {3, std::nullopt}, {4, std::nullopt}}),
       {kBlue, {"Nevermind", {"Spirit", "In Bloom", "Come as You Are"}}}, 1, 5,
       {"m/Kind of Blue/: missing or holds no audio file"}, {}, 2, 0, 0, {"Nevermind"},
       {"m/Nevermind", "m/Kind of Blue"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recreate();
    ScanRunOptions options{.folders = c.folders};
    scan(kLibrary, options);
    ASSERT_EQ(albums(), kCatalogued);
    if (c.edit) c.edit();
    std::vector<std::string> lines;
    int opened = -1;
    options.preferfiles = c.preferfiles;
    const ScanSummary summary = scan(c.after, options, &lines, &opened);
    EXPECT_EQ(albums(), c.albums);
    EXPECT_EQ(std::tuple(summary.tally.outcome(AlbumOutcome::LeftAlone), opened,
                         DB_Table(SongTable).nlive(), DB_Table(ArtistTable).nlive()),
              std::tuple(c.leftalone, c.opened, c.songs, c.artistcount));
    for (const auto& [album, names] : c.artists) EXPECT_EQ(artistsof(album), names) << album;
    std::string report;
    for (const std::string& line : lines) report += line + "\n";
    for (const std::string& said : c.said) EXPECT_NE(report.find(said), std::string::npos) << report;
    // A second rescan of the same folder opens nothing and changes nothing.
    options.preferfiles.clear();
    scan(c.after, options, nullptr, &opened);
    EXPECT_EQ(albums(), c.albums);
    // An edited album's changed file is read again, to tell the difference again.
    EXPECT_EQ(opened, c.again);
    DB_Close();
    EXPECT_EQ(DB_Verify(nullptr, nullptr), 0);
    ASSERT_EQ(DB_Open(), 0);
  }
}

// A retagged track of an album of many artists and no album artist tag stays in its album: read
// alone, its artist would name another.
TEST_F(RescanTest, ARetaggedTrackOfAnAlbumWithoutAlbumArtistStaysInIt) {
  const std::vector<TrackTags> hits = {file("Hits", "1.mp3", "One", "Hits", "Ann", 1),
                                       file("Hits", "2.mp3", "Two", "Hits", "Bob", 2),
                                       file("Hits", "3.mp3", "Three", "Hits", "Cy", 3)};
  scan(hits, kM);
  std::vector<TrackTags> retagged = hits;
  retagged[1] = file("Hits", "2.mp3", "Two (edit)", "Hits", "Bob", 2, 1);
  const ScanSummary summary = scan(retagged, kM);
  const std::string text = DB_ScanSummaryText(summary, ScanNotes(), WriteMode::Write);
  EXPECT_NE(text.find("1 audio file read, "), std::string::npos) << text;
  EXPECT_NE(text.find("rescan: 2 files unchanged"), std::string::npos) << text;
  EXPECT_EQ(albums(), (Albums{{"Hits", {"One", "Two (edit)", "Three"}}}));
}

// An album typed in is no scan's: a scan neither completes nor follows it.
TEST_F(RescanTest, AnAlbumTypedInIsNeverTouched) {
  ASSERT_EQ(link(0, album_with(1, {add(SongTable, "Smells Like Teen Spirit")}, "Nevermind"), add(ArtistTable, "Nirvana")), Ok);
  EXPECT_EQ(scan(kLibrary, kM).tally.outcome(AlbumOutcome::LeftAlone), 1);
  EXPECT_EQ(albums(), (Albums{kBlue, {"Nevermind", {"Smells Like Teen Spirit"}}}));
  scan(changed({{0, std::nullopt}}), kM);
  EXPECT_EQ(albums()["Nevermind"], std::vector<std::string>{"Smells Like Teen Spirit"});
}

// The dry run tells exactly what the rescan then does, and writes nothing; a name it would make is
// counted once, however many albums use it.
TEST_F(RescanTest, ADryRunTellsWhatTheRescanDoes) {
  scan(kLibrary, kM);
  const std::vector<TrackTags> after =
      changed({{0, file("Nevermind", "1.mp3", "Spirit", "Nevermind", "Nirvana", 1, 1)},
               {1, file("Nevermind", "2.mp3", "In Bloom", "Kind of Blue", "Miles Davis", 3, 1)},
               {3, std::nullopt},
               {4, std::nullopt}},
              {file("New", "1.ogg", "Polly", "Bleach", "Nirvana", 1), file("Mix", "1.ogg", "Polly", "Bleach", "Nirvana", 1),
               file("Sub", "1.ogg", "Touch Me", "Superfuzz", "Mudhoney", 1),
               file("Pop", "1.ogg", "Touch Me", "Every Good Boy", "Mudhoney", 1)});
  std::vector<std::string> planned, done;
  const ScanSummary dry = scan(after, {.mode = WriteMode::DryRun, .folders = {"m"}}, &planned);
  EXPECT_EQ(albums(), kCatalogued);
  const ScanSummary real = scan(after, kM, &done);
  EXPECT_EQ(DB_ScanSummaryText(dry, ScanNotes(), WriteMode::Write), DB_ScanSummaryText(real, ScanNotes(), WriteMode::Write));
  ASSERT_EQ(planned.size(), done.size());
  for (size_t i = 0; i < done.size(); ++i) {
    std::string p = planned[i];
    if (const size_t would = p.find(" would "); would != std::string::npos) p.replace(would, 7, " ");
    EXPECT_EQ(p.find("would"), std::string::npos);
  }
  EXPECT_EQ(real.tally.created[ArtistTable], 1);
}

}  // namespace
}  // namespace tracklore::test
