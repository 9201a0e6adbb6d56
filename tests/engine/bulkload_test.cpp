#include "engine/bulkload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/btree.h"
#include "engine/datafile.h"
#include "engine/index.h"
#include "engine/page.h"
#include "engine/rlist.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using test::TempDir;

// Names with many repeats, numbers and shared beginnings, in random order.
std::vector<std::string> names(int n, uint32_t seed) {
  const char* words[] = {"Track", "Blue", "Moon", "Live", "Abbey", "Road", "Night", "Zoo"};
  std::mt19937 random(seed);
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) {
    std::string name = words[random() % 8];
    for (int w = static_cast<int>(random() % 3); w > 0; --w) name += std::string(" ") + words[random() % 8];
    if (random() % 3 == 0) name += " " + std::to_string(random() % 150);
    out.push_back(name);
  }
  return out;
}

// A table of names and numbers whose records are written without the index (the reindex then
// builds both trees).
void build(const std::string& base, const std::vector<std::string>& rows, int pagesize) {
  ASSERT_EQ(test::make_table(base, {{'C', 30, "Name"}, {'L', 4, "N"}},
                             {{{{0, 0, 0}}, "Name"}, {{{1, 0, 0}}, "N"}}, 0, pagesize),
            Ok);
  DataFile table;
  ASSERT_EQ(table.open(base.c_str(), {.noindex = true}), Ok);
  Rlist cursor(&table);
  for (size_t i = 0; i < rows.size(); ++i) {
    cursor.field(0).set(rows[i].c_str());
    cursor.field(1).set(static_cast<long>(i * 7919 % 1000));
    ASSERT_EQ(cursor.append(), Ok);
    ASSERT_EQ(i % 11 == 5 ? cursor.del() : Ok, Ok);  // deleted records get no keys
  }
}

// Every entry the sorter gives back: its key followed by its 4 data bytes.
std::vector<std::vector<uint8_t>> drain(EntrySorter& sorter) {
  std::vector<std::vector<uint8_t>> out;
  const uint8_t *key, *data;
  int keylen;
  while (sorter.next(&key, &keylen, &data)) {
    out.emplace_back(key, key + keylen);
    out.back().insert(out.back().end(), data, data + 4);
  }
  return out;
}

// Every page but the root is at least half full, as after a split, so that later removals
// find the sizes they expect; with variable-length keys it may fall short by one longest entry.
void expect_half_full(const char* base) {
  DataFile table;
  ASSERT_EQ(table.open(base, {.readonly = true}), Ok);
  for (int t = 0; t < table.header().ntags; ++t) {
    Btree& tree = table.index()->tree(t);
    const int slack = tree.info().fixed ? 0 : tree.keylen() + tree.datalen() + 2 + 4;
    const int area = tree.pagesize() - Page::kHeader;
    int thin = 0;
    std::vector<std::string> problems;
    (void)tree.walk(
        [&](const WalkStep& step) {
          if (step.parent != -1 && 2 * (step.page->used() - 4 + slack) + 4 < area) ++thin;
          return true;
        },
        &problems);
    EXPECT_EQ(thin, 0) << base << " tag " << t << " has pages below half full";
  }
}

// Names (pages of 128 and 1024 bytes), or numbers in pages of 58 bytes: many pages per level,
// and a last page that a plain fill would leave with a single entry. The integrity check walks
// each tree for its order (ties by record number) and matches it to the records; the trees go
// on taking insertions and removals.
TEST(BulkBuild, TreesOfEverySizeAreSoundHalfFullInOrderAndKeepWorking) {
  const std::vector<int> any = {0, 1, 2, 3, 7, 40, 41, 300, 3000}, small = {40, 41, 42, 43, 100, 1000};
  for (const auto& [pagesize, sizes] : {std::pair{128, any}, {1024, any}, {58, small}}) {
    for (int n : sizes) {
      SCOPED_TRACE(std::to_string(n) + " records in pages of " + std::to_string(pagesize));
      TempDir dir;
      if (pagesize != 58) {
        build("t", names(n, static_cast<uint32_t>(n + pagesize)), pagesize);
      } else {
        ASSERT_EQ(test::make_table("t", {{'L', 4, "N"}}, {{{{0, 0, 0}}, "N"}}, 0, 58), Ok);
        std::vector<std::vector<unsigned char>> rows;
        for (int i = 0; i < n; ++i) rows.push_back(test::be32(i * 37 % n)), rows.back().push_back(' ');  // status
        test::append_raw("t", rows);
      }
      // Beyond its memory budget the sort spills sorted runs to disk and merges them; the runs
      // are gone afterwards.
      setreindexbudget(pagesize == 1024 && n == 3000 ? 8192 : EntrySorter::kDefaultBudget);
      ASSERT_EQ(DataFile::reindex("t"), Ok);
      setreindexbudget(EntrySorter::kDefaultBudget);
      EXPECT_EQ(test::entries(), (std::set<std::string>{"t.db1", "t.idx"}));
      EXPECT_TRUE(test::sound("t"));
      expect_half_full("t");
      if (pagesize != 128 || n != 3000) continue;
      {
        DataFile table;
        ASSERT_EQ(table.open("t"), Ok);
        Rlist cursor(&table);
        ASSERT_EQ(cursor.select(0), 0);
        for (int i = 0; i < 500; ++i) {
          cursor.field(0).set(("Added " + std::to_string(i)).c_str());
          cursor.field(1).set(static_cast<long>(i));
          ASSERT_EQ(cursor.append(), Ok);
        }
        for (int i = 0; i < 1500; i += 3) ASSERT_TRUE(cursor.go(GoHow::Absolute, i) == Ok && cursor.del() == Ok) << i;
      }
      EXPECT_TRUE(test::sound("t"));
    }
  }
}

// The sorter orders by cut order strings, falling back on the comparison where they agree that
// far, or for every entry once a key has none: either way exactly as the comparison.
TEST(BulkBuild, OrderStringsSortAsTheNaturalComparison) {
  const std::vector<FieldDescr> fields = {{'C', 40, "Name"}};
  const std::vector<Component> comps = {{0, 40, CF_VAR | CF_COLLATE}};
  KeyDescr kd{comps.data(), 1, fields.data(), 1};
  const char* parts[] = {"abc", "ABD", "\xE0" "bc", "ab", "ab5", "ab 5", "ab10", "Abbey",
                         "abbey road", "-abc", "  zed", "zed", "z", "5ab", "abcdefghij",
                         "abcdefghi", "abcdefgh", "abcdefgh1", "Ab-c", "\xC9" "t\xE9", "ete",
                         "Greatest Hits of the Seventies 0", "Greatest hits of the seventies 00"};
  for (bool whole : {true, false}) {
    std::mt19937 random(11);
    EntrySorter sorter(compare, &kd, 4, 1u << 20);
    for (int i = 0; i < 3000; ++i) {
      std::string t = parts[random() % std::size(parts)];
      if (random() % 2) t += parts[random() % std::size(parts)];
      std::vector<uint8_t> key = test::textkey(t.substr(0, 38));
      if (!whole && i == 1500) key.push_back('x');  // a byte past the text: a key without an order string
      ASSERT_EQ(sorter.add(key.data(), static_cast<int>(key.size()), test::be32(i).data()), 0);
    }
    const auto before = [&kd](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
      const int c = compare(CompareMode::Stored, &kd, a.data(), static_cast<int>(a.size()) - 4, b.data(),
                            static_cast<int>(b.size()) - 4);
      return c < 0 || (c == 0 && std::memcmp(a.data() + a.size() - 4, b.data() + b.size() - 4, 4) < 0);
    };
    const std::vector<std::vector<uint8_t>> got = drain(sorter);
    EXPECT_EQ(got.size(), 3000u);
    EXPECT_TRUE(std::is_sorted(got.begin(), got.end(), before));  // the data numbers differ: strictly
  }
}

}  // namespace
}  // namespace quill
