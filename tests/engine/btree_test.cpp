#include "engine/btree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/bytes.h"
#include "engine/keys.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using namespace test;
using BtreeTest = InTempDir;
using BtreeDeathTest = InTempDir;

using Bytes = std::vector<uint8_t>;

// The store "t.idx" holding one tree in slot 0: 4-byte keys compared as bytes, or texts of up
// to maxtext characters in natural order.
struct Store {
  MultiFile file;
  std::unique_ptr<Btree> tree;
  std::vector<FieldDescr> fields;
  std::vector<Component> comps;
  KeyDescr kd;

  explicit Store(int maxtext = 0) {
    if (maxtext == 0) return;
    fields = {FieldDescr{'C', static_cast<int16_t>(maxtext + 1), "name"}};
    comps = {Component{0, static_cast<int16_t>(maxtext + 1), CF_VAR | CF_COLLATE}};
    kd = KeyDescr{comps.data(), 1, fields.data(), 1};
  }
  void create(int pagesize, bool exclusive = true) {
    const int16_t keylen = comps.empty() ? 4 : comps[0].length;
    ASSERT_EQ(file.create("t.idx", exclusive ? Sharing::Exclusive : Sharing::Shared), 0);
    ASSERT_EQ(file.setupwr(12, {{pagesize, 8}}), 0);
    ASSERT_EQ(Btree::writeinfo(&file, 0, TreeInfo{keylen, 4, static_cast<int16_t>(comps.empty()), 0}), 0);
    build();
  }
  void build() {
    tree = comps.empty() ? std::make_unique<Btree>(&file, 0, nullptr, nullptr, &kd)
                         : std::make_unique<Btree>(&file, 0, compare, continues, &kd);
  }
  void reopen(bool exclusive = true) {
    close();
    ASSERT_EQ(file.open("t.idx", Access::ReadWrite, exclusive ? Sharing::Exclusive : Sharing::Shared), 0);
    ASSERT_EQ(file.setuprd(), 0);
    build();
  }
  void close() {
    tree.reset();
    (void)file.close();
  }

  ErrorCode put(const Bytes& key, int32_t recno, bt_pos* pos = nullptr) {
    return tree->insert(pos, key.data(), static_cast<int>(key.size()), be32(recno).data());
  }
  ErrorCode del(const Bytes& key, int32_t recno, bt_pos* pos = nullptr, ErrorCode* out = nullptr) {
    return tree->remove(pos, key.data(), static_cast<int>(key.size()), be32(recno).data(), out);
  }
  ErrorCode seek(bt_pos* pos, const Bytes& key, SeekMode mode, SeekWhich which) {
    return tree->seek(pos, key.data(), static_cast<int>(key.size()), mode, which);
  }
  ErrorCode find(bt_pos* pos, int32_t k) { return tree->find(pos, be32(k).data(), 4, be32(k).data()); }
};

// For a death test: reopens the store (texts of up to maxtext characters, or fixed keys), runs
// body on it with a position, and ends the process.
void reopened(int maxtext, const std::function<void(Store&, bt_pos&)>& body) {
  Store s(maxtext);
  s.reopen();
  bt_pos pos(maxtext == 0 ? 8 : maxtext + 5);
  body(s, pos);
  std::exit(0);
}

TEST_F(BtreeTest, FirstInsertionCreatesARootOfHeightOne) {
  Store s;
  s.create(58);
  ASSERT_EQ(s.put(be32(42), 7), Ok);
  s.close();
  // The store's head (slot 0's root at 20, the tree's area at 42 with height
  // 1), then the page: one entry, parent -1, the gap filled with FF, both
  // children -1. The reserve added height + 1 pages, all in use.
  EXPECT_EQ(hex(read_all("t.idx")),
            "01000c000000000000000000000000003a0008003400000001000000ffffffff00000000"
            "2a000000454204000400010001004542"
            "0100" "ffffffff" "0000002a" "00000007" + std::string(72, 'f') + "ffffffff" "ffffffff");
}

// Keys beyond the tree's maximum are fatal, whether offered or read from a damaged page; so is a
// tree on a closed file.
TEST_F(BtreeDeathTest, OverlongKeysOrAClosedFileAreFatal) {
  Store s(9);  // K = 10
  s.create(256);
  const Bytes eleven = textkey("0123456789");
  EXPECT_EXIT((void)s.put(eleven, 1), testing::ExitedWithCode(255),
              "Btree::insert: key length exceeds maximum of 10");
  EXPECT_EXIT((void)s.seek(nullptr, eleven, SeekMode::Prefix, SeekWhich::First),
              testing::ExitedWithCode(255), "Btree::seek: key length exceeds maximum of 10");
  // Ten bytes are fine.
  EXPECT_EQ(s.put(textkey("012345678"), 1), Ok);
  MultiFile closed;
  EXPECT_EXIT(Btree(&closed, 0, nullptr, nullptr, nullptr), testing::ExitedWithCode(255),
              "Btree::Btree: medium has not been opened");
  s.close();
  Bytes b = read_all("t.idx");
  const int32_t root = getles32(&b[16 + 4]);
  putle16(&b[static_cast<size_t>(root + 6)], 200);  // entry 0's key length
  write_all("t.idx", b);
  EXPECT_EXIT(reopened(9, [](Store& d, bt_pos& pos) {
                (void)d.seek(&pos, textkey("0"), SeekMode::Prefix, SeekWhich::First);
              }),
              testing::ExitedWithCode(255),
      "damaged page at offset " + std::to_string(root) + " in 't.idx' \\(entry 0 has key length 200");
}

// Another process removes the entry under a position: a step lands on a neighbour, or on the next
// entry when its own is still there though its page moved, or nowhere in a tree emptied under it.
TEST_F(BtreeTest, PositionOnARemovedEntryMovesToItsNeighbour) {
  Store a;
  a.create(58, false);
  for (int k = 1; k <= 40; ++k) ASSERT_EQ(a.put(be32(k), k), Ok);
  Store b;
  b.reopen(false);
  // a stands on `at` (0: where it was) while b removes keys from..to (20 and 40 only once; 1..12
  // takes the page under the position altogether); the key a's step lands on (0: none).
  struct Step { int at, from, to, way; ErrorCode rc; int key; };
  const Step steps[] = {{20, 20, 20, 1, NextRecord, 21}, {40, 40, 40, -1, PrevRecord, 39},
                        {2, 1, 12, 1, NextRecord, 13},   {30, 13, 25, 1, Ok, 31},
                        {0, 26, 39, 1, NoCurrentRecord, 0}};
  bt_pos pos(8);
  for (const auto& [at, from, to, way, rc, key] : steps) {
    ASSERT_EQ(at > 0 ? a.find(&pos, at) : Ok, Ok);
    for (int k = from; k <= to; ++k)
      EXPECT_EQ(k == from || (k != 20 && k != 40) ? b.del(be32(k), k) : Ok, Ok) << k;
    int moved = 5;
    EXPECT_EQ(a.tree->skip(&pos, way, &moved), rc) << from;
    EXPECT_EQ(std::make_pair(pos.valid() ? get4(pos.key()) : 0, moved),
              std::make_pair(key, rc == Ok ? way : 0))
        << from;
  }
}

// A closed tree of height 4 with fixed keys 1..60: its file's bytes, its pages as walked.
std::vector<PageView> make_tree(Bytes* bytes) {
  Store s;
  s.create(58);
  for (int k = 1; k <= 60; ++k) EXPECT_EQ(s.put(be32(k), k), Ok);
  std::vector<std::string> problems;
  std::vector<PageView> v = test::pageviews(*s.tree, &problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  s.close();
  *bytes = read_all("t.idx");
  return v;
}

TEST_F(BtreeTest, ADescentReadsEachLevelOnce) {
  Bytes b;
  make_tree(&b);
  // Shared: every operation reads its pages afresh, one per level.
  Store s;
  s.reopen(false);
  bt_pos pos(8);
  const auto seek1 = [&] { return s.seek(&pos, be32(1), SeekMode::Equal, SeekWhich::First); };
  const auto reads = [&](const std::function<ErrorCode()>& op) {
    const long long before = s.file.pagereads();
    EXPECT_EQ(op(), Ok);
    return s.file.pagereads() - before;
  };
  EXPECT_EQ(reads(seek1), 4);
  EXPECT_EQ(reads([&] { return s.tree->skip(&pos, 1, nullptr); }), 1);  // re-finding the leaf
  // Held exclusively, pages read once stay at hand.
  s.reopen(true);
  ASSERT_EQ(seek1(), Ok);
  EXPECT_EQ(reads(seek1), 0);
  EXPECT_EQ(reads([&] { return s.seek(&pos, be32(2), SeekMode::AtOrAfter, SeekWhich::Last); }), 0);
  EXPECT_EQ(reads([&] { return s.tree->skip(&pos, 1, nullptr); }), 0);
}

// ---------------------------------------------------------------- damaged files

// The pages of a level (1 the root), or the leaves (level 0), in walk order.
std::vector<const PageView*> onlevel(const std::vector<PageView>& v, int level) {
  std::vector<const PageView*> out;
  for (const PageView& p : v)
    if (level == 0 ? p.children[0] == -1 : p.level == level) out.push_back(&p);
  return out;
}

// One field of a page or of the tree's area set wrong at a time: fatal, naming file and place.
TEST_F(BtreeDeathTest, DamagedFieldsAreFatalNamingFileAndPlace) {
  Bytes b;
  std::vector<PageView> v = make_tree(&b);
  const std::vector<const PageView*> inner = onlevel(v, 2);
  ASSERT_GE(inner.size(), 2u);
  const auto child0 = [](const PageView& p) {
    return static_cast<size_t>(p.offset) + 6 + 52 - 4 * (p.entries.size() + 1);
  };
  const std::string root = std::to_string(v[0].offset), first = std::to_string(inner[0]->offset);
  ASSERT_EQ(getles32(&b[child0(v[0])]), v[0].children[0]);
  const std::string outside = "damaged page at offset " + root + " in 't.idx' \\(child 0 offset ";
  struct Damage { size_t at; int width; int32_t value; std::string message; };
  const Damage damages[] = {
      {static_cast<size_t>(v[0].offset), 2, 30000,
       "Page::load: damaged page at offset " + root + " in 't.idx' \\(entry count 30000"},
      {static_cast<size_t>(v[0].offset), 2, 0, "damaged page at offset " + root},
      // Which offsets lie outside the page area, multifile_test tells; one of them here.
      {child0(v[0]), 4, static_cast<int32_t>(b.size()) + 58, outside + std::to_string(b.size() + 58)},
      // Loops: the first inner page leads back up to the root, or across to
      // its sibling, whose parent field denies it.
      {child0(*inner[0]), 4, v[0].offset,
       "Page::load: damaged page at offset " + first + " in 't.idx' \\(child 0 offset " + root +
           " is the page's parent"},
      {child0(*inner[0]), 4, inner[1]->offset,
       "Btree::seek: damaged tree 0 at offset " + std::to_string(inner[1]->offset) +
           " in 't.idx' \\(parent field " + root + ", reached from " + first},
      // The tree's height in its area.
      {42 + 6, 2, 5, "damaged tree 0 at offset [0-9]+ in 't.idx' \\(leaf above the tree's last level"},
      {42 + 6, 2, 0, "damaged tree 0 in 't.idx' \\(root and height disagree"},
  };
  const auto seek1 = [](Store& s, bt_pos& pos) {
    (void)s.seek(&pos, be32(1), SeekMode::Equal, SeekWhich::First);
  };
  for (const auto& [at, width, value, message] : damages) {
    Bytes c = b;
    width == 2 ? putle16(&c[at], static_cast<uint16_t>(value)) : putle32(&c[at], static_cast<uint32_t>(value));
    write_all("t.idx", c);
    EXPECT_EXIT(reopened(0, seek1), testing::ExitedWithCode(255), message) << message;
  }
}

// A position on the last entry of the first leaf steps on by climbing through its parent field,
// which leads to a page that is not its parent: fatal instead of endless. (On the way down a
// wrong parent field is met as in DamagedFieldsAreFatalNamingFileAndPlace.)
TEST_F(BtreeDeathTest, AParentFieldLeadingElsewhereIsFatalOnTheWayUp) {
  Bytes b;
  std::vector<PageView> v = make_tree(&b);
  const std::vector<const PageView*> leaves = onlevel(v, 0);
  ASSERT_GE(leaves.size(), 2u);
  putle32(&b[static_cast<size_t>(leaves[0]->offset) + 2], static_cast<uint32_t>(leaves[1]->offset));
  write_all("t.idx", b);
  const auto& lastentry = leaves[0]->entries.back();
  EXPECT_EXIT(reopened(0, [&](Store& s, bt_pos& pos) {
                Bytes entry = lastentry.first;
                const Bytes data = be32(lastentry.second);
                entry.insert(entry.end(), data.begin(), data.end());
                pos.set(leaves[0]->offset, static_cast<int>(leaves[0]->entries.size()) - 1,
                        entry.data(), 4, 4);
                (void)s.tree->skip(&pos, 1, nullptr);
              }),
              testing::ExitedWithCode(255),
      "Btree::skip: damaged tree 0 at offset " + std::to_string(leaves[1]->offset) +
          " in 't.idx' \\(parent does not lead to its child");
}

// Keys out of order and a free list leading into the tree are reported by the walk, which goes
// on; the free list is fatal once a page is taken from it.
TEST_F(BtreeDeathTest, KeysOutOfOrderAndAFreeListIntoTheTreeAreReportedByTheWalk) {
  Bytes b;
  std::vector<PageView> v = make_tree(&b);
  // Two keys of the first leaf swapped; the free head's link leads to the root, a page in use.
  const PageView& leaf = *onlevel(v, 0).at(0);
  ASSERT_GE(leaf.entries.size(), 2u);
  const size_t at = static_cast<size_t>(leaf.offset) + 6;
  std::swap_ranges(&b[at], &b[at + 8], &b[at + 8]);
  const int32_t head = getles32(&b[16 + 12]);
  ASSERT_NE(head, -1);
  putle32(&b[static_cast<size_t>(head + 54)], static_cast<uint32_t>(v[0].offset));
  write_all("t.idx", b);
  {
    Store s;
    s.reopen();
    std::vector<std::string> problems;
    EXPECT_EQ(s.tree->walk(nullptr, &problems), -1);
    EXPECT_THAT(problems, testing::ElementsAre(testing::HasSubstr("out of order"),
                                               testing::HasSubstr("is not blank")));
  }
  EXPECT_EXIT(reopened(0, [](Store& s, bt_pos&) {
                for (int k = 100; k < 200; ++k) ASSERT_EQ(s.put(be32(k), k), Ok);
              }),
              testing::ExitedWithCode(255),
              "damaged free list of slot 0 at offset [0-9]+ in 't.idx'");
}

}  // namespace
}  // namespace quill
