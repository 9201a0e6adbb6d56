// A list of records by code: walks the codes in their order, passes over one gone, stops at the ends.
#include "catalogue/codelist.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

class CodeListTest : public CatalogueTest {};

TEST_F(CodeListTest, WalksTheCodesPassingOverGoneRecordsAndStopsAtTheEnds) {
  const std::vector<int32_t> songs = some(SongTable, 5);
  ASSERT_EQ(DB_DeleteAttribute(*at(SongTable, songs[1]), Kind::Song), quill::Ok);
  CodeList list(DB_Table(SongTable), {songs[3], songs[1], songs[0], songs[4]});
  auto current = [&] { return list.cursor().field(F_Code).aslong(); };
  // How far the last skip moved, and the code it stands on.
  auto landed = [&] { return std::pair(list.moved(), current()); };

  ASSERT_EQ(list.first(), quill::Ok);
  EXPECT_EQ(current(), songs[3]);
  EXPECT_EQ(list.skip(1), quill::Ok);  // past the gone one
  EXPECT_EQ(current(), songs[0]);
  EXPECT_EQ(list.before(), 2);
  EXPECT_NE(list.skip(3), quill::Ok);
  EXPECT_EQ(landed(), std::pair(1, songs[4]));
  EXPECT_NE(list.skip(-5), quill::Ok);
  EXPECT_EQ(landed(), std::pair(-2, songs[3]));
  ASSERT_EQ(list.seekrank(1), quill::Ok);
  EXPECT_EQ(current(), songs[0]);
  ASSERT_EQ(list.last(), quill::Ok);
  EXPECT_EQ(current(), songs[4]);

  CodeList gone(DB_Table(SongTable), {songs[1]});
  EXPECT_NE(gone.first(), quill::Ok);
  EXPECT_FALSE(gone.valid());
}

}  // namespace
}  // namespace tracklore::test
