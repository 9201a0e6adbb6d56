// Likely duplicates: names equal in the catalogue's order are grouped (case, accents, punctuation
// and blanks aside), names cut alike to their field are not, and each entry says what tells it
// apart.
#include "catalogue/duplicates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/schema.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

class DuplicatesTest : public CatalogueTest {};

// Each group's entries as name/uses/first artist (of an album).
std::vector<std::vector<std::string>> described(const std::vector<DuplicateGroup>& groups) {
  std::vector<std::vector<std::string>> out;
  for (const DuplicateGroup& g : groups) {
    out.emplace_back();
    for (const Duplicate& d : g) out.back().push_back(d.name + "/" + std::to_string(d.uses) + "/" + d.artist);
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

  using Groups = std::vector<std::vector<std::string>>;
  EXPECT_EQ(described(DB_FindDuplicates(Kind::Artist)),
            (Groups{{"Björk/2/", "bjork/0/"}, {"Sigur Rós/0/", "Sigur  Ros/0/"}}));
  // Albums are told apart by their first artist and counted by their songs.
  EXPECT_EQ(described(DB_FindDuplicates(Kind::Album)), (Groups{{"Post/1/Björk", "post/0/"}}));
  EXPECT_TRUE(DB_FindDuplicates(Kind::Song).empty());
}

}  // namespace
}  // namespace tracklore::test
