// Positions by order without counting: the estimate of the records before the cursor's and
// the seek to such a rank, over trees of several levels filled unevenly by random appends,
// and over reindexed trees, whose last pages are nearly empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "engine/datafile.h"
#include "engine/rlist.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using test::TempDir;

constexpr int kNum = 0, kByNum = 0;

struct Tree { int records; bool reindexed; };

class RankTest : public ::testing::TestWithParam<Tree> {};

TEST_P(RankTest, EstimatesRiseAlongTheOrderAndStayNearTheTruth) {
  const auto [n, reindexed] = GetParam();
  // A table of n records numbered 0..n-1, appended in random order, whose tag orders them by
  // number: a record's number is its true rank.
  TempDir dir;
  ASSERT_EQ(test::make_table("t", {{'L', 4, "Num"}}, {{{{kNum, 0, 0}}, "ByNum"}}, 0, 256), Ok);
  ASSERT_EQ(DataFile::reindex("t"), Ok);
  DataFile table;
  ASSERT_EQ(table.open("t", {.noindex = reindexed}), Ok);
  (void)table.defersync(true);
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(static_cast<unsigned>(n)));
  for (Rlist w(&table); int v : order) {
    w.field(kNum).set(static_cast<long>(v));
    ASSERT_EQ(w.append(), Ok);
  }
  if (reindexed) {
    ASSERT_EQ(table.close(), Ok);
    ASSERT_EQ(DataFile::reindex("t"), Ok);
    ASSERT_EQ(table.open("t"), Ok);
  }
  Rlist r(&table);
  (void)r.select(kByNum);
  if (n == 0) {  // no record has a rank, nor anything to stand on
    EXPECT_EQ(r.before(), -1);
    EXPECT_EQ(r.seekrank(0), NoCurrentRecord);
    EXPECT_FALSE(r.valid());
    return;
  }
  // Uneven pages put an estimate off by a few records; the ends are exact.
  const int slack = n / 100 + 1;
  int32_t previous = -1;
  int worst = 0;
  for (ErrorCode rc = r.first(); rc == Ok; rc = r.skip(1)) {
    const int truth = static_cast<int>(r.field(kNum).aslong());
    const int32_t at = r.before();
    ASSERT_GE(at, previous) << "at record " << truth;
    worst = std::max(worst, std::abs(at - truth));
    ASSERT_TRUE(at == truth || (truth != 0 && truth != n - 1)) << at << " at the end " << truth;
    previous = at;
  }
  EXPECT_LE(worst, slack);
  // The ends are exact again, and a rank past the end stands on the last.
  for (int want : {n - 1, 1, n / 3, n / 2, n - 2, 0, n + 50}) {
    ASSERT_EQ(r.seekrank(want), Ok);
    const int truth = std::min(want, n - 1), got = static_cast<int>(r.field(kNum).aslong());
    EXPECT_LE(std::abs(got - truth), truth == 0 || truth == n - 1 ? 0 : slack) << want;
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, RankTest,
                         ::testing::Values(Tree{0, false}, Tree{1, false}, Tree{2, false}, Tree{40, false},
                                           Tree{3000, false}, Tree{3000, true}, Tree{30000, true}),
                         [](const ::testing::TestParamInfo<Tree>& tree) {
                           return std::to_string(tree.param.records) +
                                  (tree.param.reindexed ? "Reindexed" : "Appended");
                         });

}  // namespace
}  // namespace quill
