#include "engine/btree.h"

#include <gtest/gtest.h>

#include <cctype>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/bytes.h"
#include "engine/keys.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using test::read_all;
using test::TempDir;
using test::write_all;

using Bytes = std::vector<uint8_t>;

Bytes be32(int32_t v) {
  Bytes b(4);
  put4(b.data(), v);
  return b;
}

// A text as a stored key of a CF_VAR component and as a search key alike:
// the text and its NUL.
Bytes text(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

std::string str(const uint8_t* key, int len) {
  std::string s(reinterpret_cast<const char*>(key), static_cast<size_t>(len));
  if (!s.empty() && s.back() == '\0') s.pop_back();
  return s;
}

// An index-like store holding one tree in slot 0, plus what the tree needs
// to compare its keys.
struct Store {
  std::string path = "t.idx";
  MultiFile file;
  std::unique_ptr<Btree> tree;
  std::vector<FieldDescr> fields;
  std::vector<Component> comps;
  KeyDescr kd;
  Comparator cmp = nullptr;
  Continuation cont = nullptr;

  // Keys of 4 bytes compared as bytes.
  void create_fixed(int pagesize, bool exclusive = true) {
    make(pagesize, TreeInfo{4, 4, 1, 0}, exclusive);
  }
  // Texts of up to maxtext characters in natural order.
  void create_text(int pagesize, int maxtext, bool exclusive = true) {
    describe_text(maxtext);
    make(pagesize, TreeInfo{static_cast<int16_t>(maxtext + 1), 4, 0, 0}, exclusive);
  }
  void describe_text(int maxtext) {
    fields = {FieldDescr{'C', static_cast<int16_t>(maxtext + 1), "name"}};
    comps = {Component{0, static_cast<int16_t>(maxtext + 1), CF_VAR | CF_COLLATE}};
    kd = KeyDescr{comps.data(), 1, fields.data(), 1};
    cmp = compare;
    cont = continues;
  }
  void make(int pagesize, TreeInfo info, bool exclusive) {
    ASSERT_EQ(file.create(path.c_str(), exclusive ? 1 : 0), 0);
    ASSERT_EQ(file.setupwr(12, {{pagesize, 8}}), 0);
    ASSERT_EQ(Btree::writeinfo(&file, 0, info), 0);
    build();
  }
  void build() { tree = std::make_unique<Btree>(&file, 0, cmp, comps.empty() ? nullptr : cont, &kd); }
  void reopen(bool exclusive = true) {
    tree.reset();
    ASSERT_EQ(file.close(), 0);
    ASSERT_EQ(file.open(path.c_str(), 1, exclusive ? 1 : 0), 0);
    ASSERT_EQ(file.setuprd(), 0);
    build();
  }
  void close() {
    tree.reset();
    file.close();
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

  struct PageView {
    int32_t offset, parent;
    int level;
    std::vector<std::pair<Bytes, int32_t>> entries;
    std::vector<int32_t> children;
  };
  // Every page, root first, as the structure walk shows it.
  std::vector<PageView> pages() {
    std::vector<PageView> out;
    std::vector<std::string> problems;
    tree->walk(
        [&](const WalkStep& s) {
          PageView v{s.offset, s.page->parent(), s.level, {}, {}};
          for (int i = 0; i < s.page->count(); ++i)
            v.entries.push_back({Bytes(s.page->key(i), s.page->key(i) + s.page->keylen(i)),
                                 get4(s.page->data(i))});
          for (int i = 0; i <= s.page->count(); ++i) v.children.push_back(s.page->child(i));
          out.push_back(v);
          return true;
        },
        &problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    return out;
  }
  std::vector<int32_t> ints_in_order() {
    std::vector<int32_t> out;
    bt_pos pos(8);
    for (ErrorCode rc = tree->first(&pos); rc == Ok; rc = tree->skip(&pos, 1, nullptr)) {
      out.push_back(get4(pos.key()));
      if (out.size() > 100000) break;
    }
    return out;
  }
};

// ---------------------------------------------------------------- insertion

TEST(Btree, FirstInsertionCreatesARootOfHeightOne) {
  TempDir dir;
  Store s;
  s.create_fixed(58);
  EXPECT_EQ(s.tree->root(), -1);
  EXPECT_EQ(s.tree->height(), 0);
  bt_pos pos(8);
  ASSERT_EQ(s.put(be32(42), 7, &pos), Ok);
  const int32_t root = s.tree->root();
  ASSERT_NE(root, -1);
  EXPECT_EQ(s.tree->height(), 1);
  EXPECT_EQ(pos.page, root);
  EXPECT_EQ(pos.index, 0);
  EXPECT_EQ(get4(pos.key()), 42);
  EXPECT_EQ(pos.recno(), 7);
  s.close();

  // On file: one entry, parent -1, both children -1, the gap filled with FF,
  // height 1 in the area and the root in the slot.
  Bytes b = read_all("t.idx");
  ASSERT_EQ(b.size(), 52u + 58u);  // the reserve added height + 1 pages
  const uint8_t* p = b.data() + root;
  EXPECT_EQ(getles16(p), 1);
  EXPECT_EQ(getles32(p + 2), -1);
  EXPECT_EQ(get4(p + 6), 42);
  EXPECT_EQ(get4(p + 10), 7);
  for (int i = 14; i < 58 - 8; ++i) EXPECT_EQ(p[i], 0xFF) << i;
  EXPECT_EQ(getles32(p + 50), -1);
  EXPECT_EQ(getles32(p + 54), -1);
  EXPECT_EQ(getles32(b.data() + 16 + 4), root);
  EXPECT_EQ(getles16(b.data() + 42 + 6), 1);  // TreeInfo height
}

TEST(Btree, FullLeafSplitsAndTheRootSplitRaisesTheHeight) {
  TempDir dir;
  Store s;
  s.create_fixed(58);  // four entries of 8 bytes per page
  for (int k = 10; k <= 40; k += 10) ASSERT_EQ(s.put(be32(k), k), Ok);
  EXPECT_EQ(s.tree->height(), 1);
  bt_pos pos(8);
  ASSERT_EQ(s.put(be32(50), 50, &pos), Ok);
  EXPECT_EQ(s.tree->height(), 2);
  std::vector<Store::PageView> v = s.pages();
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0].offset, s.tree->root());
  ASSERT_EQ(v[0].entries.size(), 1u);
  EXPECT_EQ(get4(v[0].entries[0].first.data()), 30);  // the separator
  // The right page holds the upper entries and is at least half full.
  ASSERT_EQ(v[2].entries.size(), 2u);
  EXPECT_EQ(get4(v[2].entries[0].first.data()), 40);
  EXPECT_EQ(get4(v[2].entries[1].first.data()), 50);
  EXPECT_EQ(v[1].entries.size(), 2u);
  EXPECT_EQ(v[1].parent, v[0].offset);
  EXPECT_EQ(v[2].parent, v[0].offset);
  EXPECT_EQ(v[0].children[1], v[2].offset);
  // The position names the new entry in its page.
  EXPECT_EQ(pos.page, v[2].offset);
  EXPECT_EQ(pos.index, 1);

  for (int k = 60; k <= 200; k += 10) ASSERT_EQ(s.put(be32(k), k), Ok);
  EXPECT_EQ(s.tree->height(), 3);
  std::vector<int32_t> expect;
  for (int k = 10; k <= 200; k += 10) expect.push_back(k);
  EXPECT_EQ(s.ints_in_order(), expect);
  for (const Store::PageView& p : s.pages()) {
    if (p.level < 3) {
      for (int32_t c : p.children) EXPECT_NE(c, -1);
    } else {
      for (int32_t c : p.children) EXPECT_EQ(c, -1);
    }
  }
}

TEST(BtreeDeathTest, OverlongKeysAreFatalNamingTheMaximum) {
  TempDir dir;
  Store s;
  s.create_text(256, 9);  // K = 10
  const Bytes eleven = text("0123456789");
  EXPECT_EXIT(s.put(eleven, 1), testing::ExitedWithCode(255),
              "Btree::insert: key length exceeds maximum of 10");
  EXPECT_EXIT(s.seek(nullptr, eleven, SeekMode::Prefix, SeekWhich::First),
              testing::ExitedWithCode(255), "Btree::seek: key length exceeds maximum of 10");
  // Ten bytes are fine.
  EXPECT_EQ(s.put(text("012345678"), 1), Ok);
}

TEST(BtreeDeathTest, ATreeNeedsAnOpenFile) {
  MultiFile closed;
  EXPECT_EXIT(Btree(&closed, 0, nullptr, nullptr, nullptr), testing::ExitedWithCode(255),
              "Btree::Btree: medium has not been opened");
}

// ---------------------------------------------------------------- removal

TEST(Btree, RemovingTheOnlyEntryEmptiesTheTree) {
  TempDir dir;
  Store s;
  s.create_fixed(58);
  bt_pos pos(8);
  ASSERT_EQ(s.put(be32(1), 1, &pos), Ok);
  const int32_t root = s.tree->root();
  const SlotDescr before = s.file.slot(0);
  ErrorCode out = Ok;
  ASSERT_EQ(s.del(be32(1), 1, &pos, &out), Ok);
  EXPECT_EQ(out, NoCurrentRecord);
  EXPECT_FALSE(pos.valid());
  EXPECT_EQ(s.tree->root(), -1);
  EXPECT_EQ(s.tree->height(), 0);
  // The page went back to the free list (beside the pages the removal
  // reserved); every page of the file is accounted for.
  EXPECT_EQ(s.file.slot(0).freehead, root);
  EXPECT_EQ(s.file.slot(0).inuse, 0);
  EXPECT_EQ(before.inuse, 1);
  EXPECT_EQ(52 + 58 * s.file.slot(0).nfree, s.file.size());
  s.reopen();
  EXPECT_EQ(s.tree->root(), -1);
  EXPECT_EQ(s.tree->height(), 0);
  Bytes b = read_all("t.idx");
  for (int i = 0; i < 54; ++i) EXPECT_EQ(b[static_cast<size_t>(root + i)], 0) << i;
  EXPECT_EQ(s.tree->first(&pos), NoCurrentRecord);
}

TEST(Btree, UnderfullPageMergesWithItsSibling) {
  TempDir dir;
  Store s;
  s.create_fixed(58);
  for (int k = 10; k <= 50; k += 10) ASSERT_EQ(s.put(be32(k), k), Ok);
  // Root [30], leaves [10 20] [40 50]: removing 10 leaves [20], which fits
  // with the separator and its sibling in one page.
  ASSERT_EQ(s.tree->height(), 2);
  std::vector<Store::PageView> old = s.pages();
  ASSERT_EQ(old.size(), 3u);
  ASSERT_EQ(s.del(be32(10), 10), Ok);
  EXPECT_EQ(s.tree->height(), 1);
  std::vector<Store::PageView> v = s.pages();
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].parent, -1);
  EXPECT_EQ(v[0].entries.size(), 4u);
  EXPECT_EQ(s.ints_in_order(), (std::vector<int32_t>{20, 30, 40, 50}));
  // The left page remains; the right page and the old root are free.
  EXPECT_EQ(v[0].offset, old[1].offset);
  std::vector<int32_t> free;
  ASSERT_EQ(s.file.walkfree(0, &free, nullptr), 0);
  EXPECT_NE(std::find(free.begin(), free.end(), old[0].offset), free.end());
  EXPECT_NE(std::find(free.begin(), free.end(), old[2].offset), free.end());
  EXPECT_EQ(s.file.slot(0).inuse, 1);
}

TEST(Btree, UnderfullPageBorrowsThroughTheParentFromAFullSibling) {
  TempDir dir;
  Store s;
  s.create_fixed(58);
  // Root [30], leaves [10 20] [40 50 60 70]; removing 10 cannot merge.
  for (int k : {10, 20, 30, 40, 50, 60, 70}) ASSERT_EQ(s.put(be32(k), k), Ok);
  ASSERT_EQ(s.del(be32(10), 10), Ok);
  std::vector<Store::PageView> v = s.pages();
  ASSERT_EQ(v.size(), 3u);
  ASSERT_EQ(v[0].entries.size(), 1u);
  EXPECT_EQ(get4(v[0].entries[0].first.data()), 50);
  EXPECT_EQ(v[1].entries.size(), 3u);  // 20 30 40
  EXPECT_EQ(v[2].entries.size(), 2u);  // 60 70

  // The other way: the left sibling is full, the right page underflows.
  TempDir dir2;
  Store t;
  t.create_fixed(58);
  for (int k : {10, 20, 30, 40, 50, 11, 12}) ASSERT_EQ(t.put(be32(k), k), Ok);
  // Root [30], leaves [10 11 12 20] [40 50].
  ASSERT_EQ(t.del(be32(50), 50), Ok);
  v = t.pages();
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(get4(v[0].entries[0].first.data()), 12);
  EXPECT_EQ(v[1].entries.size(), 2u);  // 10 11
  EXPECT_EQ(v[2].entries.size(), 3u);  // 20 30 40
  EXPECT_EQ(t.ints_in_order(), (std::vector<int32_t>{10, 11, 12, 20, 30, 40}));
}

// ---------------------------------------------------------------- search

TEST(Btree, PrefixSeekWithANumberWalksAcrossTheNumbers) {
  for (int pagesize : {256, 146}) {
    TempDir dir;
    Store s;
    s.create_text(pagesize, 23);
    for (const char* n : {"Track 1", "Track 2", "Track 10", "Track 12", "Track 20", "Track 100",
                          "Track 3", "Tracker", "Track 21", "Trace", "Track 19"})
      ASSERT_EQ(s.put(text(n), 1), Ok);
    bt_pos pos(28);
    ASSERT_EQ(s.seek(&pos, text("Track 1"), SeekMode::Prefix, SeekWhich::First), Ok);
    EXPECT_EQ(str(pos.key(), pos.keylen()), "Track 1");
    ASSERT_EQ(s.seek(&pos, text("Track 1"), SeekMode::Prefix, SeekWhich::Last), Ok);
    EXPECT_EQ(str(pos.key(), pos.keylen()), "Track 100");
    ASSERT_EQ(s.seek(&pos, text("Track 2"), SeekMode::Prefix, SeekWhich::Last), Ok);
    EXPECT_EQ(str(pos.key(), pos.keylen()), "Track 21");
    ASSERT_EQ(s.seek(&pos, text("Track 2"), SeekMode::Prefix, SeekWhich::First), Ok);
    EXPECT_EQ(str(pos.key(), pos.keylen()), "Track 2");
    EXPECT_EQ(s.seek(&pos, text("Track 4"), SeekMode::Prefix, SeekWhich::First), NotFound);
    ASSERT_EQ(s.seek(&pos, text("Track 1"), SeekMode::Prefix, SeekWhich::Any), Ok);
    EXPECT_EQ(str(pos.key(), pos.keylen()).substr(0, 7), "Track 1");
  }
}

// A number can steer the prefix descent past its matches: "Track 92" lies
// before "Track 115" in the tree, yet compares after it as a prefix ("11...").
TEST(Btree, PrefixSeekFindsEveryNumberedName) {
  TempDir dir;
  Store s;
  s.create_text(146, 23);
  for (int n = 1; n <= 470; ++n) ASSERT_EQ(s.put(text("Track " + std::to_string(n)), n), Ok);
  bt_pos pos(28);
  for (int n = 1; n <= 470; ++n) {
    const std::string name = "Track " + std::to_string(n);
    for (SeekWhich which : {SeekWhich::First, SeekWhich::Last, SeekWhich::Any}) {
      ASSERT_EQ(s.seek(&pos, text(name), SeekMode::Prefix, which), Ok)
          << name << " which " << static_cast<int>(which);
      EXPECT_EQ(str(pos.key(), pos.keylen()).substr(0, name.size()), name)
          << static_cast<int>(which);
    }
  }
  ASSERT_EQ(s.seek(&pos, text("Track 92"), SeekMode::Prefix, SeekWhich::First), Ok);
  EXPECT_EQ(str(pos.key(), pos.keylen()), "Track 92");
  EXPECT_EQ(s.seek(&pos, text("Track 471"), SeekMode::Prefix, SeekWhich::First), NotFound);
}

// The same among words: every prefix that ends in a digit of a stored name
// finds a name that begins with it.
TEST(Btree, PrefixSeekFindsNumbersAmongWords) {
  TempDir dir;
  Store s;
  s.create_text(146, 23);
  const char* words[] = {"Young", "Third", "Tales", "Blood", "Edition", "Zoo"};
  std::vector<std::string> names;
  uint32_t random = 12345;
  for (int n = 0; n < 900; ++n) {
    random = random * 1103515245u + 12345u;
    std::string name = words[(random >> 8) % 6];
    if (n % 4 != 0) name += " " + std::to_string((random >> 12) % 400);
    else name += std::string(" ") + words[(random >> 16) % 6];
    names.push_back(name);
    ASSERT_EQ(s.put(text(name), n), Ok);
  }
  bt_pos pos(28);
  for (const std::string& name : names)
    for (size_t len = 1; len <= name.size(); ++len) {
      if (!std::isdigit(static_cast<unsigned char>(name[len - 1]))) continue;
      const std::string prefix = name.substr(0, len);
      ASSERT_EQ(s.seek(&pos, text(prefix), SeekMode::Prefix, SeekWhich::First), Ok) << prefix;
      EXPECT_EQ(str(pos.key(), pos.keylen()).substr(0, len), prefix);
    }
}

// Another process removes the entry under a position.
TEST(Btree, PositionOnARemovedEntryMovesToItsNeighbour) {
  TempDir dir;
  Store a;
  a.create_fixed(58, false);
  for (int k = 1; k <= 40; ++k) ASSERT_EQ(a.put(be32(k), k), Ok);
  Store b;
  ASSERT_EQ(b.file.open("t.idx", 1, 0), 0);
  ASSERT_EQ(b.file.setuprd(), 0);
  b.build();

  bt_pos pos(8);
  int moved = 5;
  ASSERT_EQ(a.tree->find(&pos, be32(20).data(), 4, be32(20).data()), 0);
  ASSERT_EQ(b.del(be32(20), 20), Ok);
  EXPECT_EQ(a.tree->skip(&pos, 1, &moved), NextRecord);
  EXPECT_EQ(moved, 0);
  EXPECT_EQ(get4(pos.key()), 21);

  ASSERT_EQ(a.tree->last(&pos), Ok);
  ASSERT_EQ(b.del(be32(40), 40), Ok);
  EXPECT_EQ(a.tree->skip(&pos, -1, &moved), PrevRecord);
  EXPECT_EQ(get4(pos.key()), 39);

  // The page under the position may be gone altogether.
  ASSERT_EQ(a.tree->find(&pos, be32(2).data(), 4, be32(2).data()), 0);
  for (int k = 1; k <= 12; ++k) ASSERT_EQ(b.del(be32(k), k), Ok);
  EXPECT_EQ(a.tree->skip(&pos, 1, &moved), NextRecord);
  EXPECT_EQ(get4(pos.key()), 13);
  // Still there, even if its page moved: the position stands.
  ASSERT_EQ(a.tree->find(&pos, be32(30).data(), 4, be32(30).data()), 0);
  for (int k = 13; k <= 25; ++k) {
    if (k == 20) continue;  // removed above
    ASSERT_EQ(b.del(be32(k), k), Ok);
  }
  EXPECT_EQ(a.tree->skip(&pos, 1, &moved), Ok);
  EXPECT_EQ(get4(pos.key()), 31);
  // And a tree emptied under it leaves no current record.
  for (int k = 26; k <= 39; ++k) ASSERT_EQ(b.del(be32(k), k), Ok);
  EXPECT_EQ(a.tree->skip(&pos, 1, &moved), NoCurrentRecord);
  EXPECT_FALSE(pos.valid());
}

TEST(Btree, SharedOpenersSeeEachOthersUpdates) {
  TempDir dir;
  Store a;
  a.create_fixed(58, false);
  Store b;
  ASSERT_EQ(b.file.open("t.idx", 1, 0), 0);
  ASSERT_EQ(b.file.setuprd(), 0);
  b.build();
  for (int k = 1; k <= 60; ++k) ASSERT_EQ((k % 2 ? a : b).put(be32(k), k), Ok);
  std::vector<int32_t> expect;
  for (int k = 1; k <= 60; ++k) expect.push_back(k);
  EXPECT_EQ(a.ints_in_order(), expect);
  EXPECT_EQ(b.ints_in_order(), expect);
  std::vector<std::string> problems;
  EXPECT_EQ(a.tree->walk(nullptr, &problems), 0) << (problems.empty() ? "" : problems.front());
}

TEST(Btree, ADescentReadsEachLevelOnce) {
  TempDir dir;
  {
    Store s;
    s.create_fixed(58);
    for (int k = 1; k <= 60; ++k) ASSERT_EQ(s.put(be32(k), k), Ok);
    ASSERT_EQ(s.tree->height(), 4);
  }
  // Shared: every operation reads its pages afresh, one per level.
  Store s;
  s.reopen(false);
  bt_pos pos(8);
  long long before = s.file.pagereads();
  ASSERT_EQ(s.seek(&pos, be32(1), SeekMode::Equal, SeekWhich::First), Ok);
  EXPECT_EQ(s.file.pagereads() - before, 4);
  before = s.file.pagereads();
  ASSERT_EQ(s.tree->skip(&pos, 1, nullptr), Ok);  // re-finding reads the leaf again
  EXPECT_EQ(s.file.pagereads() - before, 1);
  // Held exclusively, pages read once stay at hand.
  s.reopen(true);
  ASSERT_EQ(s.seek(&pos, be32(1), SeekMode::Equal, SeekWhich::First), Ok);
  before = s.file.pagereads();
  ASSERT_EQ(s.seek(&pos, be32(1), SeekMode::Equal, SeekWhich::First), Ok);
  ASSERT_EQ(s.seek(&pos, be32(2), SeekMode::AtOrAfter, SeekWhich::Last), Ok);
  ASSERT_EQ(s.tree->skip(&pos, 1, nullptr), Ok);
  EXPECT_EQ(s.file.pagereads(), before);
}

// ---------------------------------------------------------------- damaged files

// A tree of height 3 with fixed keys 1..60, closed; returns the file bytes
// and the pages as the walk saw them.
std::vector<Store::PageView> make_tree(Bytes* bytes) {
  Store s;
  s.create_fixed(58);
  for (int k = 1; k <= 60; ++k) EXPECT_EQ(s.put(be32(k), k), Ok);
  std::vector<Store::PageView> v = s.pages();
  s.close();
  *bytes = read_all("t.idx");
  return v;
}

void open_and_seek(int key) {
  Store s;
  s.reopen();
  bt_pos pos(8);
  s.seek(&pos, be32(key), SeekMode::Equal, SeekWhich::First);
  std::exit(0);
}

// One field of a page or of the tree's area set wrong at a time; each is
// fatal, naming the file and the place.
TEST(BtreeDeathTest, DamagedFieldsAreFatalNamingFileAndPlace) {
  TempDir dir;
  Bytes b;
  std::vector<Store::PageView> v = make_tree(&b);
  std::vector<const Store::PageView*> inner;
  for (const Store::PageView& p : v)
    if (p.level == 2) inner.push_back(&p);
  ASSERT_GE(inner.size(), 2u);
  const auto child0 = [](const Store::PageView& p) {
    return static_cast<size_t>(p.offset) + 6 + 52 - 4 * (p.entries.size() + 1);
  };
  const std::string root = std::to_string(v[0].offset), first = std::to_string(inner[0]->offset);
  ASSERT_EQ(getles32(&b[child0(v[0])]), v[0].children[0]);
  struct Damage {
    size_t at;
    int width;
    int32_t value;
    std::string message;
  };
  const std::string outside = "damaged page at offset " + root + " in 't.idx' \\(child 0 offset ";
  const Damage damages[] = {
      {static_cast<size_t>(v[0].offset), 2, 30000,
       "Page::load: damaged page at offset " + root + " in 't.idx' \\(entry count 30000"},
      {static_cast<size_t>(v[0].offset), 2, 0, "damaged page at offset " + root},
      {child0(v[0]), 4, static_cast<int32_t>(b.size()) + 58, outside + std::to_string(b.size() + 58)},
      {child0(v[0]), 4, v[0].children[0] + 1, outside + std::to_string(v[0].children[0] + 1)},
      {child0(v[0]), 4, 0, outside + "0"},
      {child0(v[0]), 4, 16, outside + "16"},
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
  for (const Damage& d : damages) {
    Bytes c = b;
    if (d.width == 2)
      putle16(&c[d.at], static_cast<uint16_t>(d.value));
    else
      putle32(&c[d.at], static_cast<uint32_t>(d.value));
    write_all("t.idx", c);
    EXPECT_EXIT(open_and_seek(1), testing::ExitedWithCode(255), d.message) << d.message;
  }
}

TEST(BtreeDeathTest, KeyLengthBeyondTheMaximumIsFatal) {
  TempDir dir;
  {
    Store s;
    s.create_text(146, 23);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(s.put(text("name " + std::to_string(i)), i), Ok);
  }
  Bytes b = read_all("t.idx");
  const int32_t root = getles32(&b[16 + 4]);
  putle16(&b[static_cast<size_t>(root + 6)], 200);  // entry 0's key length
  write_all("t.idx", b);
  EXPECT_EXIT(
      {
        Store s;
        s.describe_text(23);
        s.reopen();
        bt_pos pos(28);
        s.seek(&pos, text("name"), SeekMode::Prefix, SeekWhich::First);
        std::exit(0);
      },
      testing::ExitedWithCode(255),
      "damaged page at offset " + std::to_string(root) + " in 't.idx' \\(entry 0 has key length 200");
}

TEST(BtreeDeathTest, LeavesNamingEachOtherAsParentAreFatalInsteadOfEndless) {
  TempDir dir;
  Bytes b;
  std::vector<Store::PageView> v = make_tree(&b);
  std::vector<const Store::PageView*> leaves;
  for (const Store::PageView& p : v)
    if (p.children[0] == -1) leaves.push_back(&p);
  Bytes c = b;
  ASSERT_GE(leaves.size(), 2u);
  putle32(&c[static_cast<size_t>(leaves[0]->offset) + 2], static_cast<uint32_t>(leaves[1]->offset));
  putle32(&c[static_cast<size_t>(leaves[1]->offset) + 2], static_cast<uint32_t>(leaves[0]->offset));
  write_all("t.idx", c);
  EXPECT_EXIT(open_and_seek(1), testing::ExitedWithCode(255),
              "damaged tree 0 at offset " + std::to_string(leaves[0]->offset) + " in 't.idx'");
  // A position on the last entry of the first leaf steps on by climbing
  // through the parent field, which leads nowhere.
  const auto& lastentry = leaves[0]->entries.back();
  EXPECT_EXIT(
      {
        Store s;
        s.reopen();
        bt_pos pos(8);
        Bytes entry = lastentry.first;
        const Bytes data = be32(lastentry.second);
        entry.insert(entry.end(), data.begin(), data.end());
        pos.set(leaves[0]->offset, static_cast<int>(leaves[0]->entries.size()) - 1, entry.data(), 4, 4);
        s.tree->skip(&pos, 1, nullptr);
        std::exit(0);
      },
      testing::ExitedWithCode(255),
      "Btree::skip: damaged tree 0 at offset " + std::to_string(leaves[1]->offset) +
          " in 't.idx' \\(parent does not lead to its child");
}

TEST(BtreeDeathTest, FreeListLeadingIntoTheTreeIsFatal) {
  TempDir dir;
  Bytes b;
  std::vector<Store::PageView> v = make_tree(&b);
  // The free head's link leads to the root, a page in use.
  const int32_t head = getles32(&b[16 + 12]);
  ASSERT_NE(head, -1);
  putle32(&b[static_cast<size_t>(head + 54)], static_cast<uint32_t>(v[0].offset));
  write_all("t.idx", b);
  EXPECT_EXIT(
      {
        Store s;
        s.reopen();
        std::vector<std::string> problems;
        if (s.tree->walk(nullptr, &problems) == 0) std::exit(1);
        for (int k = 100; k < 200; ++k) s.put(be32(k), k);
        std::exit(0);
      },
      testing::ExitedWithCode(255), "damaged free list of slot 0 at offset [0-9]+ in 't.idx'");
}

TEST(Btree, WalkReportsDamageWithoutEndingTheProcess) {
  TempDir dir;
  Bytes b;
  std::vector<Store::PageView> v = make_tree(&b);
  const Store::PageView* leaf = &v.back();
  // Swap two keys of a leaf: out of order.
  const size_t at = static_cast<size_t>(leaf->offset) + 6;
  ASSERT_GE(leaf->entries.size(), 2u);
  std::swap_ranges(&b[at], &b[at + 8], &b[at + 8]);
  write_all("t.idx", b);
  Store s;
  s.reopen();
  std::vector<std::string> problems;
  EXPECT_EQ(s.tree->walk(nullptr, &problems), -1);
  ASSERT_FALSE(problems.empty());
  EXPECT_NE(problems.front().find("out of order"), std::string::npos) << problems.front();
}

}  // namespace
}  // namespace quill
