// Song names from file names and discs from folder names, as tables.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "catalogue/scanfilenames.h"

namespace tracklore::test {
namespace {

TEST(ScanFileNames, OnlyALeadingTrackNumberAndItsSeparatorGo) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"05 - 99 Luftballons.mp3", "99 Luftballons"}, {"06 - 7 Nation Army.flac", "7 Nation Army"},
      {"07 - 1979.mp3", "1979"},                     {"1979.mp3", "1979"},
      {"03_Song_Three.ogg", "Song Three"},           {"05. Intro.mp3", "Intro"},
      {"A1 Side One.flac", "Side One"},              {"b2-Closer.flac", "Closer"},
      {"12.mp3", "12"},                              {"Karma Police.mp3", "Karma Police"},
      {"2001 A Space Odyssey.mp3", "2001 A Space Odyssey"}, {"05 - .mp3", "05 - "},
  };
  for (const auto& [file, title] : cases) EXPECT_EQ(titlefromfilename(file), title) << file;
}

TEST(ScanFileNames, DiscFoldersAndTheAlbumTheyLeave) {
  struct Case { std::string name; int disc; std::string album; };
  const std::vector<Case> cases = {
      {"CD1", 1, ""},          {"cd 2", 2, ""},          {"Disc 2", 2, ""},
      {"disk_3", 3, ""},       {"Disc One", 1, ""},      {"DISC TWO", 2, ""},
      {"The River (Disc 2)", 2, "The River"},            {"Greatest [CD 1]", 1, "Greatest"},
      {"Live - CD2", 2, "Live"},                         {"CDs", 0, ""},
      {"Discography", 0, ""},  {"Abcd 2", 0, ""},        {"(Disc 2)", 0, ""},
      {"Disc 2000", 0, ""},
  };
  for (const Case& c : cases) {
    const DiscFolder got = discfolder(c.name);
    EXPECT_EQ(std::pair(got.disc, got.album), std::pair(c.disc, c.album)) << c.name;
  }
}

}  // namespace
}  // namespace tracklore::test
