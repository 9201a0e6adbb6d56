// Statistics counted from the rows, and the purge of unused entries as one edit: whole, or taken
// back whole by recovery.
#include "catalogue/statistics.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "catalogue/journal.h"
#include "catalogue/recover.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

std::vector<std::string> names(const std::vector<StatsEntry>& entries) {
  std::vector<std::string> out;
  for (const StatsEntry& e : entries) out.push_back(e.name + "=" + std::to_string(e.albums));
  return out;
}

class StatisticsTest : public CatalogueTest {
 protected:
  // The shared albums, X0 a second time on the first, an album with no rows and a song no album
  // uses beside X3.
  void SetUp() override {
    CatalogueTest::SetUp();
    makesharedalbums();
    ASSERT_EQ(link(0, first_, artists_[0]), quill::Ok);
    empty_ = add(TitleTable, "Empty");
    lonely_ = add(SongTable, "Lonely");
  }
  int32_t empty_ = -1, lonely_ = -1;
};

TEST_F(StatisticsTest, CountsListsAndRanksFromTheRows) {
  CatalogueStats s;
  ASSERT_EQ(DB_Statistics(&s), quill::Ok);
  // Albums, artists, songs; artist rows, song rows.
  EXPECT_EQ(std::tuple(s.records[0], s.records[1], s.records[2], s.links[0], s.links[1]), std::tuple(3, 4, 5, 5, 5));
  // Without artists, without songs, unused artists and songs, the top artists: X0 is on two albums,
  // once twice; ties in name order.
  using Lists = std::vector<std::vector<std::string>>;
  EXPECT_EQ((Lists{names(s.withoutartists), names(s.withoutsongs), names(s.unused[0]),
                   names(s.unused[1]), names(s.topartists)}),
            (Lists{{"Empty=0"}, {"Empty=0"}, {"X3=0"}, {"Lonely=0"}, {"X0=2", "X1=1", "X2=1"}}));
}

TEST_F(StatisticsTest, TheTopTenAreTheArtistsOnTheMostAlbums) {
  // Eleven more artists on 1..11 albums each: of the two on two albums, X0 and Z1, the first in
  // name order is tenth.
  const std::vector<int32_t> albums = some(TitleTable, 11);
  for (int i = 0; i < 11; ++i)
    for (int a = 0, artist = add(ArtistTable, ("Z" + std::to_string(i)).c_str()); a <= i; ++a)
      ASSERT_EQ(link(0, albums[static_cast<size_t>(a)], artist), quill::Ok);
  CatalogueStats s;
  ASSERT_EQ(DB_Statistics(&s), quill::Ok);
  ASSERT_EQ(s.topartists.size(), kTopArtists);
  EXPECT_EQ(names({s.topartists.front(), s.topartists.back()}), (std::vector<std::string>{"Z10=11", "X0=2"}));
}

TEST_F(StatisticsTest, PurgeDeletesTheUnusedAsOneEdit) {
  // Cut short after the artist went: recovery brings it back.
  int deleted = 0;
  EXPECT_NE(withfailingwrites("attr002.db1", [&] { return DB_PurgeUnused(&deleted); }), quill::Ok);
  EXPECT_EQ(deleted, 1);
  DB_Close();
  ASSERT_TRUE(DB_HasUnfinishedEdit());
  ASSERT_EQ(DB_Recover(nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(DB_Open(), 0);
  EXPECT_TRUE(exists(ArtistTable, artists_[3]) && exists(SongTable, lonely_));

  ASSERT_EQ(DB_PurgeUnused(&deleted), quill::Ok);
  EXPECT_EQ(deleted, 2);
  EXPECT_FALSE(exists(ArtistTable, artists_[3]) || exists(SongTable, lonely_));
  EXPECT_FALSE(DB_HasUnfinishedEdit());
}

}  // namespace
}  // namespace tracklore::test
