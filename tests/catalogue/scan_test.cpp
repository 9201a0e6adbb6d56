// Grouping files' tags into albums, as a table of cases given without files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/scan.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

struct Album {
  std::string name;
  std::vector<std::string> artists;
  std::vector<std::string> songs;
  bool operator==(const Album&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Album& a) {
  out << a.name << " [";
  for (const auto& s : a.artists) out << s << ";";
  out << "] [";
  for (const auto& s : a.songs) out << s << ";";
  return out << "]";
}

struct Case {
  const char* what;
  std::vector<TrackTags> files;
  std::vector<Album> albums;  // in the order they are handed on
  int cut = 0, transliterated = 0, leftout = 0;
};

std::vector<Album> group(const std::vector<TrackTags>& files, ScanNotes& notes) {
  TableSource source(files);
  std::vector<Album> out;
  groupalbums(source, notes, [&](ScannedAlbum& a) {
    out.push_back({a.name, a.artists, a.songs});
    return true;
  });
  return out;
}

const std::string kLong(70, 'x');

TEST(ScanGrouping, TableOfCases) {
  const std::vector<Case> cases = {
      {"two discs in sub-folders, n/total numbers read as n, album artist first",
       {tagsof("m/Abbey/CD2", "01.mp3", "side b one", "abbey", "guest", "the band", 1, 2),
        tagsof("m/Abbey/CD2", "02.mp3", "side b two", "abbey", "the band", "the band", 2, 2),
        tagsof("m/Abbey/CD1", "02.mp3", "second", "abbey", "the band", "the band", 2, 1),
        tagsof("m/Abbey/CD1", "01.mp3", "first", "abbey", "the band", "the band", 1, 1)},
       {{"Abbey", {"The Band", "Guest"}, {"First", "Second", "Side B One", "Side B Two"}}}},
      {"a compilation stays one album; each artist once, in song order",
       {tagsof("m/Hits", "1.ogg", "a", "hits", "zed", "Various Artists", 1),
        tagsof("m/Hits", "2.ogg", "b", "hits", "amy", "Various Artists", 2),
        tagsof("m/Hits", "3.ogg", "c", "hits", "zed", "Various Artists", 3)},
       {{"Hits", {"Various Artists", "Zed", "Amy"}, {"A", "B", "C"}}}},
      {"without an album artist, the artist tells same-named albums apart",
       {tagsof("m/Mix", "1.ogg", "a", "greatest", "one"), tagsof("m/Mix", "2.ogg", "b", "greatest", "two")},
       {{"Greatest", {"One"}, {"A"}}, {"Greatest", {"Two"}, {"B"}}}},
      {"unnumbered tracks after the numbered ones of their disc, then by file name",
       {tagsof("m/A", "z.flac", "zz", "al", "ar", "", 0, 1), tagsof("m/A", "b.flac", "bb", "al", "ar", "", 0, 1),
        tagsof("m/A", "a.flac", "two", "al", "ar", "", 2, 1), tagsof("m/A", "x.flac", "d2", "al", "ar", "", 1, 2),
        tagsof("m/A", "w.flac", "one", "al", "ar", "", 1, 0)},
       {{"Al", {"Ar"}, {"One", "Two", "Bb", "Zz", "D2"}}}},
      {"a repeated title is linked twice",
       {tagsof("m/R", "1.mp3", "reprise", "r", "a", "", 1), tagsof("m/R", "2.mp3", "reprise", "r", "a", "", 2)},
       {{"R", {"A"}, {"Reprise", "Reprise"}}}},
      {"no album tag: the folder names the album, the file name the song",
       {tagsof("m/Live Tapes", "03 - intro_take.mp3", "", "", "band"),
        tagsof("m/Live Tapes", "04.mp3", "", "", ""), tagsof("m/Other", "x.mp3", "", "", "")},
       {{"Live Tapes", {"Band"}, {"Intro_take", "04"}}, {"Other", {}, {"X"}}}},
      {"names stored in Windows-1252: transliterated, or left out, or the album skipped",
       {tagsof("m/P", "1.mp3", "Łódź ōtaku", "Żywiec", "Zoë", "Zoë"),
        tagsof("m/P", "2.mp3", "日本", "Żywiec", "Zoë", "Zoë"),
        tagsof("m/P", "3.mp3", "fine", "Żywiec", "🎸", "Zoë"),
        tagsof("m/Q", "1.mp3", "song", "東京", "x")},
       {{"Zywiec", {"Zo\xEB"}, {"L\xF3" "dz Otaku", "Fine"}}},
       0, 2, 3},
      {"overlong names cut to their fields",
       {tagsof("m/L", "1.mp3", kLong, kLong, kLong)},
       {{"X" + std::string(54, 'x'), {"X" + std::string(49, 'x')}, {"X" + std::string(59, 'x')}}},
       3, 0, 0},
  };
  for (const Case& c : cases) {
    ScanNotes notes;
    std::vector<Album> got = group(c.files, notes);
    EXPECT_EQ(got, c.albums) << c.what;
    EXPECT_EQ(notes.cutnames, c.cut) << c.what;
    EXPECT_EQ(notes.transliterated, c.transliterated) << c.what;
    EXPECT_EQ(notes.leftout, c.leftout) << c.what;
  }
}

// Memory stays bounded: an album goes as soon as the walk has left its
// home folder (a disc folder's parent), not at the end of the walk.
TEST(ScanGrouping, AlbumsAreHandedOnWhenTheWalkLeavesTheirFolder) {
  TableSource source({tagsof("m/A/CD1", "1.mp3", "a1", "a", "x", "", 1, 1),
                      tagsof("m/A/CD2", "1.mp3", "a2", "a", "x", "", 1, 2),
                      tagsof("m/B", "1.mp3", "b1", "b", "x", "", 1),
                      tagsof("m/C", "1.mp3", "c1", "c", "x", "", 1)});
  std::vector<size_t> handedat;
  ScanNotes notes;
  groupalbums(source, notes, [&](ScannedAlbum& a) {
    handedat.push_back(source.handed());
    EXPECT_EQ(a.songs.size(), 1u + (a.name == "A"));
    return true;
  });
  EXPECT_EQ(handedat, (std::vector<size_t>{3, 4, 4}));
}

}  // namespace
}  // namespace tracklore::test
