// Grouping a scan's files into albums, as a table of cases given without files: the messy
// collection's cases, one row each.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "catalogue/scan.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

struct Album {
  std::string name;
  std::vector<std::string> artists, songs;
  bool operator==(const Album&) const = default;
};

void PrintTo(const Album& a, std::ostream* out) {
  *out << a.name << " " << testing::PrintToString(a.artists) << " " << testing::PrintToString(a.songs);
}

std::vector<Album> group(const std::vector<TrackTags>& files, ScanNotes& notes) {
  TableSource source(files);
  std::vector<Album> out;
  groupalbums(source, notes, [&](ScannedAlbum& a) {
    out.push_back({a.name, a.artists, a.songs});
    return true;
  });
  return out;
}

TrackTags with(TrackTags tags, std::vector<std::string> artists, bool compilation = false) {
  tags.artists = std::move(artists);
  tags.compilation = compilation;
  return tags;
}

const std::string kHead = "Symphony No. 9 In D Minor, Op. 125 - Berliner Philharmoniker ";

struct Case {
  const char* what;
  std::vector<TrackTags> files;
  std::vector<Album> albums;  // in the order of their first files (copies are the report's)
};

TEST(ScanGrouping, TableOfCases) {
  const std::vector<Case> cases = {
      {"an album split over folders far apart is one album; a copy in a mix folder is linked once",
       {tagsof("m/A Mix", "06 - Karma Police.flac", "Karma Police", "OK Computer", "Radiohead", "", 6),
        tagsof("m/Incoming/Abbey Road part 2", "09.mp3", "Her Majesty", "Abbey Road", "The Beatles", "The Beatles", 17),
        tagsof("m/OK Computer", "01.flac", "Airbag", "OK Computer", "Radiohead", "", 1),
        tagsof("m/OK Computer", "06.flac", "Karma Police", "OK Computer", "Radiohead", "", 6),
        tagsof("m/The Beatles/Abbey Road", "01.mp3", "Come Together", "Abbey Road", "The Beatles", "The Beatles", 1)},
       {{"OK Computer", {"Radiohead"}, {"Airbag", "Karma Police"}},
        {"Abbey Road", {"The Beatles"}, {"Come Together", "Her Majesty"}}}},
      {"FLAC and MP3 rips side by side: each song once",
       {tagsof("m/X", "1.flac", "One", "X", "Band", "", 1), tagsof("m/X", "1.mp3", "one", "X", "Band", "", 1),
        tagsof("m/X", "2.flac", "Two", "X", "Band", "", 2), tagsof("m/X", "2.mp3", "Two", "X", "Band", "", 2)},
       {{"X", {"Band"}, {"One", "Two"}}}},
      {"a repeated title on another track is another song",
       {tagsof("m/R", "1.mp3", "Reprise", "R", "A", "", 1), tagsof("m/R", "2.mp3", "Reprise", "R", "A", "", 2)},
       {{"R", {"A"}, {"Reprise", "Reprise"}}}},
      {"disc folders of any spelling give the disc and their parent the album",
       {tagsof("m/Biograph/Disc Two", "01.mp3", "", "", "Dylan"),
        tagsof("m/Biograph/Disc One", "01.mp3", "", "", "Dylan"),
        tagsof("m/Springsteen/The River (Disc 2)", "01 - Roulette.mp3", "", "", "Bruce"),
        tagsof("m/Springsteen/The River (Disc 1)", "01 - The Ties That Bind.mp3", "", "", "Bruce"),
        tagsof("m/Live at Wembley/CD2", "01.mp3", "Encore", "", ""),
        tagsof("m/Live at Wembley/CD1", "01.mp3", "Opening", "", "")},
       {{"Biograph", {"Dylan"}, {"01", "01"}},
        {"The River", {"Bruce"}, {"The Ties That Bind", "Roulette"}},
        {"Live at Wembley", {}, {"Opening", "Encore"}}}},
      {"two rips a ripper tagged \"Unknown Album\" are named by their folders",
       {tagsof("m/Rip 1", "1.mp3", "Track 1", "Unknown Album", "Unknown Artist", "", 1),
        tagsof("m/Rip 2", "1.mp3", "Track 1", "unknown album (12/7/2026 4:31 PM)", "Unknown Artist", "", 1)},
       {{"Rip 1", {"Unknown Artist"}, {"Track 1"}}, {"Rip 2", {"Unknown Artist"}, {"Track 1"}}}},
      {"a tagged album without disc numbers takes them from its disc folders",
       {tagsof("m/Set/CD2", "01.flac", "Late", "Set", "Z", "", 1), tagsof("m/Set/CD1", "01.flac", "Early", "Set", "Z", "", 1)},
       {{"Set", {"Z"}, {"Early", "Late"}}}},
      {"the compilation flag makes one album of many artists across folders",
       {with(tagsof("m/Cafe/A", "1.mp3", "Sun", "Café del Mar", ""), {"Alpha"}, true),
        with(tagsof("m/Cafe/B", "2.mp3", "Sea", "Café del Mar", ""), {"Beta"}, true)},
       {{"Café del Mar", {"Various Artists", "Alpha", "Beta"}, {"Sun", "Sea"}}}},
      {"no album artist, no flag: one folder's album is one album whatever its artists",
       {tagsof("m/Pulp Fiction", "1.mp3", "Misirlou", "Pulp Fiction", "Dick Dale", "", 1),
        tagsof("m/Pulp Fiction", "2.mp3", "Jungle Boogie", "Pulp Fiction", "Kool & The Gang", "", 2)},
       {{"Pulp Fiction", {"Dick Dale", "Kool & The Gang"}, {"Misirlou", "Jungle Boogie"}}}},
      {"albums of one name by different album artists stay apart, in one folder or not",
       {tagsof("m/Best", "1.ogg", "A", "Best", "One", "One", 1),
        tagsof("m/Best", "2.ogg", "B", "Best", "Two", "Two", 2),
        tagsof("m/Two", "3.ogg", "C", "best", "Two", "TWO", 3)},
       {{"Best", {"One"}, {"A"}}, {"Best", {"Two"}, {"B", "C"}}}},
      {"without an album artist, albums of one name by different artists stay apart",
       {tagsof("m/One", "1.ogg", "A", "Greatest Hits", "One"), tagsof("m/Two", "1.ogg", "B", "Greatest Hits", "Two")},
       {{"Greatest Hits", {"One"}, {"A"}}, {"Greatest Hits", {"Two"}, {"B"}}}},
      {"letter case aside, album and artist are the same; the first spelling is kept",
       {tagsof("m/N1", "1.mp3", "Lithium", "Nevermind", "Nirvana", "Nirvana", 1),
        tagsof("m/N2", "2.mp3", "Polly", "NEVERMIND", "NIRVANA", "NIRVANA", 2)},
       {{"Nevermind", {"Nirvana"}, {"Lithium", "Polly"}}}},
      {"every value of a multi-valued artist tag, in order; one value stays one name",
       {with(tagsof("m/C", "1.mp3", "Duet", "C", "", "", 1), {"Alice", "Bob"}),
        with(tagsof("m/C", "2.mp3", "Solo", "C", "", "", 2), {"Alice feat. Bob"})},
       {{"C", {"Alice", "Bob", "Alice feat. Bob"}, {"Duet", "Solo"}}}},
      {"a file name or folder name that leaves nothing gives the stand-in",
       {tagsof("m/U", " _ .mp3", "", "U", "", "", 1), tagsof("m/\x01", "1.mp3", "x", "", "", "", 1)},
       {{"U", {}, {"Untitled"}}, {"Untitled", {}, {"x"}}}},
      {"names that differ only after the stored field's length are different albums and songs",
       {tagsof("m/K1", "1.flac", kHead + "Karajan 1962 Allegro", kHead + "Karajan 1962", "BP", "", 1),
        tagsof("m/K1", "2.flac", kHead + "Karajan 1962 Scherzo", kHead + "Karajan 1962", "BP", "", 2),
        tagsof("m/K2", "1.flac", kHead + "Karajan 1977 Allegro", kHead + "Karajan 1977", "BP", "", 1)},
       {{kHead + "Karajan 1962", {"BP"}, {kHead + "Karajan 1962 Allegro", kHead + "Karajan 1962 Scherzo"}},
        {kHead + "Karajan 1977", {"BP"}, {kHead + "Karajan 1977 Allegro"}}}},
  };
  for (const Case& c : cases) {
    ScanNotes notes;
    EXPECT_EQ(group(c.files, notes), c.albums) << c.what;
  }
}

// Each name stored otherwise is told once, with every place it was used; each copy is named with
// the file it copies.
TEST(ScanGrouping, TheReportNamesEachNameOnceAndEachCopy) {
  KeptNotes kept;
  ScanNotes& notes = kept.notes;
  // The copy in a mix folder is met first; the album's own folder keeps it.
  group({tagsof("m/0 Mix", "1.mp3", "Song", "Мумий", "Мумий Тролль", "", 1),
         tagsof("m/A", "1.mp3", "Song", "Мумий", "Мумий Тролль", "", 1),
         tagsof("m/A", "2.mp3", "Other", "Мумий", "Мумий Тролль", "", 2),
         tagsof("m/C", "1.mp3", "🎉", "Plain", "Band", "", 1),
         tagsof("m/Ωmega", "1.mp3", "Tagged", "Tagged", "Band", "", 1)},  // a folder name no album bears
        notes);
  EXPECT_EQ(kept.lines, (std::vector<std::string>{
                       "Album name \"Мумий\" stored as \"Mumij\" (transliterated), used in m/0 Mix; m/A",
                       "Artist name \"Мумий Тролль\" stored as \"Mumij Troll'\" (transliterated), used in m/0 Mix; m/A",
                       "Song name \"🎉\" stored as \"Untitled\" (transliterated, a stand-in), used in m/C/1.mp3",
                       "m/0 Mix/1.mp3: a copy of m/A/1.mp3 (disc 1, track 1, \"Song\"): linked once"}));
  EXPECT_EQ(std::tuple(notes.transliterated, notes.standins, notes.copies), std::tuple(3, 1, 1));
}

}  // namespace
}  // namespace tracklore::test
