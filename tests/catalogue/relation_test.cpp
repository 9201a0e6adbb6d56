// Walking an album's attributes and an attribute's albums, and the small queries by code.
#include "catalogue/relation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "catalogue/maintenance.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

class RelationTest : public CatalogueTest {
 protected:
  static std::string name(BrowseSource& list) { return reinterpret_cast<const char*>(list.cursor().field(F_Name).data()); }
  // Whether a step (its result given) succeeded, how far it moved and the name it stands on.
  static std::tuple<bool, int, std::string> landed(BrowseSource& list, quill::ErrorCode rc) {
    return {rc == quill::Ok, list.moved(), name(list)};
  }
  static std::vector<std::string> walk(BrowseSource& list) {
    std::vector<std::string> names;
    for (quill::ErrorCode rc = list.first(); rc == quill::Ok; rc = list.skip(1))
      names.push_back(name(list));
    return names;
  }
};

using Landed = std::tuple<bool, int, std::string>;

TEST_F(RelationTest, SkipAndPositionsStayInsideTheGroupEvenAtTheEnds) {
  std::vector<int32_t> songs;
  for (const char* s : {"One", "Two", "Three", "Four"}) songs.push_back(add(SongTable, s));
  // Albums on either side, so that the group has neighbours in the tree.
  album_with(1, {songs[3]}, "Before");
  const int32_t album = album_with(1, {songs[0], songs[1], songs[2]});
  const int32_t empty = add(TitleTable, "Empty"), after = album_with(1, {songs[3], songs[0]}, "After");

  auto list = DB_GetArticleAttributes(1, album);
  ASSERT_EQ(list->first(), quill::Ok);
  EXPECT_EQ(landed(*list, list->skip(5)), Landed(false, 2, "Three"));
  ASSERT_EQ(list->first(), quill::Ok);
  EXPECT_EQ(landed(*list, list->skip(-1)), Landed(false, 0, "One"));
  EXPECT_EQ(landed(*list, list->last()), Landed(true, 0, "Three"));
  EXPECT_EQ(landed(*list, list->skip(-2)), Landed(true, -2, "One"));
  // The row's own record number, not the song's.
  EXPECT_EQ(list->recno(), 1);

  // Positions count within the group.
  EXPECT_EQ(list->span(), 3);
  ASSERT_EQ(list->last(), quill::Ok);
  EXPECT_EQ(list->before(), 2);
  const auto rank = [&](int n) {
    EXPECT_EQ(list->seekrank(n), quill::Ok);
    return std::pair(name(*list), list->before());
  };
  EXPECT_EQ(rank(1), std::pair(std::string("Two"), 1));
  EXPECT_EQ(rank(-4), std::pair(std::string("One"), 0));
  EXPECT_EQ(rank(40), std::pair(std::string("Three"), 2));
  EXPECT_EQ(DB_GetArticleAttributes(1, 999)->span(), -1);

  // The group at the end of the tree stops there too.
  auto last = DB_GetArticleAttributes(1, after);
  ASSERT_EQ(last->last(), quill::Ok);
  EXPECT_EQ(landed(*last, last->skip(1)), Landed(false, 0, "One"));
  // A change left pending is saved as the list goes; a list after it, on the cursors it left, shows
  // nothing of it.
  last->cursor().field(F_Name).set("Uno");
  last.reset();

  // An empty group, with another after it, has no item.
  auto none = DB_GetArticleAttributes(1, empty);
  EXPECT_EQ(name(*none), "");
  char saved[kNameBuffer];
  ASSERT_EQ(DB_GetName(saved, SongTable, songs[0]), quill::Ok);
  EXPECT_STREQ(saved, "Uno");
  EXPECT_NE(none->first(), quill::Ok);
  EXPECT_NE(none->last(), quill::Ok);
  EXPECT_FALSE(none->valid());
  EXPECT_EQ(landed(*none, none->skip(1)), Landed(false, 0, ""));
  EXPECT_EQ(none->recno(), -1);
}

TEST_F(RelationTest, ListsByAttributeAndOverADanglingRow) {
  const int32_t x = add(TitleTable, "First Album"), y = add(TitleTable, "Second Album"),
                z = add(TitleTable, "Third Album");
  const int32_t artist = add(ArtistTable, "Shared"), lone = add(ArtistTable, "Lone");
  for (const auto& [album, attr] : {std::pair(x, artist), std::pair(y, lone), std::pair(z, artist)})
    ASSERT_EQ(link(0, album, attr), quill::Ok);
  EXPECT_EQ(walk(*DB_GetArticlesFromAttribute(0, artist)),
            (std::vector<std::string>{"First Album", "Third Album"}));
  EXPECT_NE(DB_GetArticlesFromAttribute(1, artist)->first(), quill::Ok);

  // A dangling row reads as empty values and is still walked.
  auto songs = DB_GetArticleAttributes(1, dangling(1).album);
  ASSERT_EQ(songs->first(), quill::Ok);
  quill::Rlist& gone = songs->cursor();
  EXPECT_EQ(std::tuple(songs->valid(), gone.recno(), gone.field(F_Code).aslong(),
                       gone.field(F_RefCount).aslong(), name(*songs)),
            std::tuple(true, -1, -1, -1, std::string(60, '?')));
  EXPECT_EQ(landed(*songs, songs->skip(1)), Landed(true, 1, "Kept"));
}

// A pack moves records down the file under their codes, by more and more towards its end: the lists
// must still find every one, in both directions.
TEST_F(RelationTest, ListsFindTheirRecordsAfterAPackMovedThem) {
  const std::vector<int32_t> albums = some(TitleTable, 5), songs = some(SongTable, 60);
  std::vector<std::vector<std::string>> songsof(albums.size());
  std::map<int32_t, std::vector<std::string>> albumsof;
  for (size_t a = 0; a < albums.size(); ++a)
    for (size_t k = 0; k < 8; ++k) {
      size_t s = (a * 11 + k * 13) % songs.size();
      if (s % 3 == 0) ++s;  // every third song stays unused
      ASSERT_EQ(link(1, albums[a], songs[s]), quill::Ok);
      songsof[a].push_back("Item " + std::to_string(s));
      albumsof[songs[s]].push_back("Item " + std::to_string(a));
    }
  for (size_t s = 0; s < songs.size(); s += 3) ASSERT_EQ(at(SongTable, songs[s])->del(), quill::Ok);
  DB_Close();
  ASSERT_EQ(DB_Pack(nullptr, nullptr), 0);
  ASSERT_EQ(DB_Reindex(nullptr, nullptr), 0);
  ASSERT_EQ(DB_Open(), 0);
  for (size_t a = 0; a < albums.size(); ++a)
    EXPECT_EQ(walk(*DB_GetArticleAttributes(1, albums[a])), songsof[a]) << a;
  for (const auto& [song, names] : albumsof)
    EXPECT_EQ(walk(*DB_GetArticlesFromAttribute(1, song)), names) << song;
}

TEST_F(RelationTest, NamesAreFoundAndRelationsCountedByCode) {
  const int32_t album = add(TitleTable, "An Album");
  const int32_t song = add(SongTable, std::string(70, 's').c_str());
  const auto nameof = [](int table, int32_t code) {
    char buffer[kNameBuffer];
    const quill::ErrorCode rc = DB_GetName(buffer, table, code);
    return std::pair(rc, std::string(buffer));
  };
  EXPECT_EQ(nameof(TitleTable, album), std::pair(quill::Ok, std::string("An Album")));
  EXPECT_EQ(nameof(SongTable, song), std::pair(quill::Ok, "S" + std::string(59, 's')));
  EXPECT_EQ(nameof(ArtistTable, album), std::pair(quill::NotFound, std::string("<not found>")));
  ASSERT_EQ(at(TitleTable, album)->del(), quill::Ok);
  EXPECT_EQ(nameof(TitleTable, album).second, "<not found>");

  // Relations are counted, not rows.
  EXPECT_EQ(DB_CountRelations(album_with(0, {})), 0);
  const int32_t other = album_with(0, some(ArtistTable, 2), "Other");
  EXPECT_EQ(DB_CountRelations(other), 1);
  ASSERT_EQ(link(1, other, add(SongTable, "Song")), quill::Ok);
  EXPECT_EQ(DB_CountRelations(other), 2);
  EXPECT_EQ(DB_CountRelations(other + 100), 0);
}

}  // namespace
}  // namespace tracklore::test
