// A list of records by code: walks the codes in their order, passes over one gone, stops at the ends.
#include "catalogue/codelist.h"

#include <gtest/gtest.h>

#include <tuple>
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
  // Whether a step (its result given) succeeded, how far it moved and the code it stands on.
  using Landed = std::tuple<bool, int, int32_t>;
  auto landed = [&](quill::ErrorCode rc) {
    return Landed(rc == quill::Ok, list.moved(), list.cursor().field(F_Code).aslong());
  };
  EXPECT_EQ(landed(list.first()), Landed(true, 0, songs[3]));
  EXPECT_EQ(landed(list.skip(1)), Landed(true, 1, songs[0]));  // past the gone one
  EXPECT_EQ(list.before(), 2);
  EXPECT_EQ(landed(list.skip(3)), Landed(false, 1, songs[4]));
  EXPECT_EQ(landed(list.skip(-5)), Landed(false, -2, songs[3]));
  EXPECT_EQ(landed(list.seekrank(1)), Landed(true, 0, songs[0]));
  EXPECT_EQ(landed(list.last()), Landed(true, 0, songs[4]));

  CodeList gone(DB_Table(SongTable), {songs[1]});
  EXPECT_NE(gone.first(), quill::Ok);
  EXPECT_FALSE(gone.valid());
}

}  // namespace
}  // namespace tracklore::test
