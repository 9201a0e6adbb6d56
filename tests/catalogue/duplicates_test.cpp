// Likely duplicates: names equal in the catalogue's order are grouped
// (case, accents, punctuation and blanks aside), names cut alike to their
// field are not, and each entry says what tells it apart.
#include "catalogue/duplicates.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "catalogue/schema.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

class DuplicatesTest : public CatalogueTest {};

std::vector<std::vector<std::string>> names(const std::vector<DuplicateGroup>& groups) {
  std::vector<std::vector<std::string>> out;
  for (const DuplicateGroup& g : groups) {
    out.emplace_back();
    for (const Duplicate& d : g) out.back().push_back(d.name);
  }
  return out;
}

TEST_F(DuplicatesTest, NamesEqualInTheCataloguesOrderFormGroupsWithTheirUses) {
  const int32_t bjork = add(ArtistTable, "Björk");
  // The last two alike in their first 50 characters, the artist field's length, only.
  const std::string stem(50, 'a');
  for (const std::string& name : std::vector<std::string>{"bjork", "Sigur Rós", "Sigur  Ros ", "Nirvana", stem + " one", stem + " two"})
    add(ArtistTable, name.c_str());
  const int32_t album = album_with(0, {bjork, bjork}, "Post");
  ASSERT_EQ(link(1, album, add(SongTable, "Hyperballad")), quill::Ok);
  add(TitleTable, "post");

  const std::vector<DuplicateGroup> artists = DB_FindDuplicates(Kind::Artist);
  EXPECT_EQ(names(artists), (std::vector<std::vector<std::string>>{{"Björk", "bjork"},
                                                                   {"Sigur Rós", "Sigur  Ros"}}));
  ASSERT_EQ(artists.size(), 2u);
  EXPECT_EQ(std::pair(artists[0][0].uses, artists[0][1].uses), std::pair(2, 0));
  // Albums are told apart by their first artist and counted by their songs.
  const std::vector<DuplicateGroup> albums = DB_FindDuplicates(Kind::Album);
  ASSERT_EQ(albums.size(), 1u);
  ASSERT_EQ(albums[0].size(), 2u);
  EXPECT_EQ(std::tuple(albums[0][0].artist, albums[0][0].uses, albums[0][1].artist), std::tuple("Björk", 1, ""));
  EXPECT_TRUE(DB_FindDuplicates(Kind::Song).empty());
}

}  // namespace
}  // namespace tracklore::test
