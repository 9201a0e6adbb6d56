// Thousands of insertions and removals (many on equal keys) go to a B-tree and a sorted vector;
// after every batch the tree's structure, contents, searches, stepping and pages agree with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/keys.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using namespace test;
using Bytes = std::vector<uint8_t>;

struct Entry { Bytes key; int32_t rec; };

// Variable-length natural-order texts or fixed 'L' keys; the page size of the tree and of a second
// tree sharing the file; the file held exclusively or shared; batches of so many operations.
struct Config { const char* name; bool text; int pagesize, neighbour; bool exclusive; int batches, batch; };

constexpr int kMaxText = 23;

bool fatal() { return ::testing::Test::HasFatalFailure(); }

std::string shown(const Bytes& key, bool text) {
  if (!text) return std::to_string(get4(key.data()));
  std::string s(key.begin(), key.end());
  if (!s.empty() && s.back() == '\0') s.pop_back();
  return "\"" + s + "\"";
}

class Model {
 public:
  explicit Model(const Config& c) : cfg_(c), rng_(20240611u + static_cast<unsigned>(c.pagesize)) {
    fields_ = {c.text ? FieldDescr{'C', kMaxText + 1, "name"} : FieldDescr{'L', 4, "number"}};
    comps_ = {c.text ? Component{0, kMaxText + 1, CF_VAR | CF_COLLATE} : Component{0, 4, 0}};
    kd_ = KeyDescr{comps_.data(), 1, fields_.data(), 1};
    K_ = c.text ? kMaxText + 1 : 4;
  }

  Sharing sharing() const { return cfg_.exclusive ? Sharing::Exclusive : Sharing::Shared; }

  // Opens the store afresh, or makes it.
  void open(bool fresh) {
    tree_.reset();
    neighbour_.reset();
    if (fresh) {
      ASSERT_EQ(file_.create("model.idx", sharing()), 0);
      ASSERT_EQ(file_.setupwr(12, {{cfg_.pagesize, 8}, {cfg_.neighbour, 8}}), 0);
      const TreeInfo info{static_cast<int16_t>(K_), 4, static_cast<int16_t>(cfg_.text ? 0 : 1), 0};
      ASSERT_TRUE(Btree::writeinfo(&file_, 0, info) == 0 && Btree::writeinfo(&file_, 1, TreeInfo{4, 4, 1, 0}) == 0);
    } else {
      ASSERT_EQ(file_.close(), 0);
      ASSERT_TRUE(file_.open("model.idx", Access::ReadWrite, sharing()) == 0 && file_.setuprd() == 0);
    }
    tree_ = std::make_unique<Btree>(&file_, 0, compare, continues, &kd_);
    neighbour_ = std::make_unique<Btree>(&file_, 1, nullptr, nullptr, nullptr);
  }

  void run() {
    open(true);
    for (int b = 0; b < cfg_.batches; ++b) {
      for (int i = 0; i < cfg_.batch && !fatal(); ++i) step();
      if (fatal()) return;
      SCOPED_TRACE("after batch " + std::to_string(b) + " with " + std::to_string(model_.size()) +
                   " entries, height " + std::to_string(tree_->height()));
      check();
      if (b % 3 == 2 && !fatal()) { open(false); check(); }
      if (fatal()) return;
    }
    EXPECT_GT(maxheight_, cfg_.pagesize < 200 ? 3 : 1);
    // Shrink the tree to nothing and check the ends of removal.
    while (!model_.empty() && !fatal()) remove_one(model_[rng_() % model_.size()]);
    if (fatal()) return;
    EXPECT_EQ(std::make_pair(tree_->root(), static_cast<int>(tree_->height())), std::make_pair(-1, 0));
    check();
    open(false);
    check();
  }

 private:
  const Config& cfg_;
  std::mt19937 rng_;
  std::vector<FieldDescr> fields_;
  std::vector<Component> comps_;
  KeyDescr kd_;
  int K_;
  bt_pos stale_{0};  // where the last change left its position
  MultiFile file_;
  std::unique_ptr<Btree> tree_;
  std::unique_ptr<Btree> neighbour_;
  std::vector<Entry> model_;
  int neighbours_ = 0;
  int maxheight_ = 0;

  int cmp(CompareMode mode, const Bytes& a, const Bytes& b) const {
    return compare(mode, &kd_, a.data(), static_cast<int>(a.size()), b.data(),
                   static_cast<int>(b.size()));
  }
  int cmpentry(const Entry& a, const Entry& b) const {
    const int r = cmp(CompareMode::Stored, a.key, b.key);
    return r != 0 ? r : (a.rec > b.rec) - (a.rec < b.rec);  // record numbers are not negative
  }
  // Whether the model holds e; *at is where it stands or would go.
  bool holds(const Entry& e, size_t* at) const {
    const auto before = [this](const Entry& a, const Entry& b) { return cmpentry(a, b) < 0; };
    const auto found = std::lower_bound(model_.begin(), model_.end(), e, before);
    *at = static_cast<size_t>(found - model_.begin());
    return *at < model_.size() && cmpentry(model_[*at], e) == 0;
  }
  ErrorCode find(bt_pos* pos, const Entry& e) {
    return tree_->find(pos, e.key.data(), static_cast<int>(e.key.size()), be32(e.rec).data());
  }
  static Bytes keyat(const bt_pos& pos) { return Bytes(pos.key(), pos.key() + pos.keylen()); }

  std::string gentext() {
    static const char* const kFixed[] = {
        "Blue Moon", "blue moon", "BLUE MOON", "Blue Monday", "Bluebird", "\xC0gua", "agua",
        "Rock-n-Roll", "rock n roll", "Track 007", "Track 7", "Tracker", "Trace", "Abba", "ABBA",
        "Track 1 Live", "Track 12b", "Track"};
    std::string s;
    const unsigned r = rng_() % 10;
    if (r < 3)
      s = "Track " + std::to_string(1 + rng_() % 130);
    else if (r == 3)
      s = kFixed[rng_() % (sizeof kFixed / sizeof kFixed[0])];
    else {
      static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
      for (int words = 1 + static_cast<int>(rng_() % 3); words > 0; --words) {
        for (int n = 1 + static_cast<int>(rng_() % 7); n > 0; --n) s += letters[rng_() % 52];
        s += words > 1 ? " " : "";
      }
      if (rng_() % 8 == 0) s += " " + std::to_string(rng_() % 40);
    }
    return s.substr(0, kMaxText);
  }

  Bytes genkey() { return cfg_.text ? textkey(gentext()) : be32(static_cast<int32_t>(rng_() % 401) - 200); }

  void step() {
    if (rng_() % 16 == 0) {
      // The neighbour tree's pages interleave with ours in the file.
      const int32_t v = static_cast<int32_t>(rng_() % 100000);
      const ErrorCode rc = neighbour_->insert(nullptr, be32(v).data(), 4, be32(v).data());
      ASSERT_TRUE(rc == Ok || rc == DuplicateKey);
      if (rc == Ok) ++neighbours_;
      return;
    }
    if (model_.size() < 300 || rng_() % 100 < 55) {  // grow
      insert_one({!model_.empty() && rng_() % 2 == 0 ? model_[rng_() % model_.size()].key : genkey(),
                  static_cast<int32_t>(rng_() % 40)});
    } else if (rng_() % 10 < 7 && !model_.empty()) {
      remove_one(model_[rng_() % model_.size()]);
    } else {
      remove_one(Entry{genkey(), static_cast<int32_t>(rng_() % 40)});
    }
  }

  void insert_one(const Entry& e) {
    bt_pos pos(K_ + 4);
    size_t at = 0;
    const bool present = holds(e, &at);
    const ErrorCode rc =
        tree_->insert(&pos, e.key.data(), static_cast<int>(e.key.size()), be32(e.rec).data());
    ASSERT_EQ(rc, present ? DuplicateKey : Ok) << shown(e.key, cfg_.text) << " #" << e.rec;
    if (present) return;
    stale_ = pos;
    model_.insert(model_.begin() + static_cast<long>(at), e);
    expect_at(pos, at);
    maxheight_ = std::max(maxheight_, static_cast<int>(tree_->height()));
  }

  void remove_one(Entry e) {
    bt_pos pos(K_ + 4);
    // The position handed in may stand on the entry (sparing the search),
    // on another one, or where an earlier change left it.
    const unsigned from = rng_() % 4;
    if (from == 0) (void)find(&pos, e);
    if (from == 1 && !model_.empty()) (void)find(&pos, model_[rng_() % model_.size()]);
    if (from == 2) pos = stale_;
    ErrorCode out = GeneralError;  // until remove sets it
    size_t at = 0;
    const bool present = holds(e, &at);
    const ErrorCode rc = tree_->remove(&pos, e.key.data(), static_cast<int>(e.key.size()),
                                       be32(e.rec).data(), &out);
    ASSERT_EQ(rc, present ? Ok : NoCurrentRecord) << shown(e.key, cfg_.text) << " #" << e.rec;
    if (!present) return;
    stale_ = pos;
    model_.erase(model_.begin() + static_cast<long>(at));
    // The position goes on to the next entry, else the one before, else nowhere.
    ASSERT_EQ(out, model_.empty() ? NoCurrentRecord : at < model_.size() ? NextRecord : PrevRecord);
    ASSERT_EQ(pos.valid(), !model_.empty());
    if (!model_.empty()) expect_at(pos, std::min(at, model_.size() - 1));
  }

  void expect_at(const bt_pos& pos, size_t i) const {
    ASSERT_TRUE(pos.valid());
    EXPECT_TRUE(keyat(pos) == model_[i].key && pos.recno() == model_[i].rec)
        << shown(keyat(pos), cfg_.text) << " #" << pos.recno() << " for entry " << i;
  }

  void check() {
    check_structure();
    if (fatal()) return;
    check_accounting();
    check_stepping();
    check_seeks();
  }

  // The walk checks parent fields, leaves on one level, order and page counts; with keys of one
  // length every page but the root is also at least half full, as splits, merges and borrowing
  // must leave it (not keys of varying length). check_stepping checks each entry, and the count.
  void check_structure() {
    std::vector<std::string> problems;
    for (const test::PageView& v : test::pageviews(*tree_, &problems))
      EXPECT_TRUE(cfg_.text || v.level == 1 || v.halffull) << "page " << v.offset << " below half full";
    ASSERT_TRUE(problems.empty()) << problems.front();
  }

  // Every page of the file is in use by a tree or on its free list (each tree's walk checks its
  // free list, as it checks its pages against the slot's count).
  void check_accounting() {
    int64_t bytes = file_.pagebase();
    for (int t = 0; t < 2; ++t)
      bytes += static_cast<int64_t>(file_.slot(t).inuse + file_.slot(t).nfree) * file_.slot(t).pagesize;
    EXPECT_EQ(bytes, file_.length());
    WalkSummary s;
    std::vector<std::string> problems;
    EXPECT_EQ(neighbour_->walk(nullptr, &problems, &s), 0);
    EXPECT_EQ(s.entries, neighbours_);
  }

  void check_stepping() {
    bt_pos pos(K_ + 4);
    int moved = 0;
    if (model_.empty()) return;  // an emptied tree's ends: rlist_test
    const size_t size = model_.size();
    for (int way : {1, -1}) {  // from end to end, one by one, and one past
      ASSERT_EQ(way > 0 ? tree_->first(&pos) : tree_->last(&pos), Ok);
      for (size_t k = 0; k < size; ++k) {
        ASSERT_EQ(k > 0 ? tree_->skip(&pos, way, &moved) : Ok, Ok) << k;
        expect_at(pos, way > 0 ? k : size - 1 - k);
        if (::testing::Test::HasFailure()) return;
      }
      EXPECT_EQ(tree_->skip(&pos, way, &moved), TooFar);
      EXPECT_EQ(moved, 0);
      expect_at(pos, way > 0 ? size - 1 : 0);
    }

    // Long jumps clamp at the ends; a step bounded by leading bytes (none, at times) stops before
    // the first entry whose key does not begin with them, wherever the tree's order puts such keys.
    const long n = static_cast<long>(model_.size());
    for (int t = 0; t < 60; ++t) {
      const size_t from = rng_() % model_.size();
      const Bytes& source = rng_() % 4 == 0 ? model_[rng_() % model_.size()].key : model_[from].key;
      const Bytes lead(source.begin(), source.begin() + static_cast<long>(rng_() % (source.size() + 1)));
      const int count = static_cast<int>(rng_() % 80) - 40;
      long to = static_cast<long>(from);
      for (int k = 0; k < std::abs(count); ++k) {
        const long next = to + (count > 0 ? 1 : -1);
        if (next < 0 || next >= n) break;
        const Bytes& key = model_[static_cast<size_t>(next)].key;
        if (key.size() < lead.size() || !std::equal(lead.begin(), lead.end(), key.begin())) break;
        to = next;
      }
      ASSERT_EQ(find(&pos, model_[from]), Ok);
      EXPECT_EQ(tree_->skip(&pos, count, &moved, KeyLead{lead.data(), static_cast<int>(lead.size())}),
                to - static_cast<long>(from) == count ? Ok : TooFar);
      EXPECT_EQ(moved, to - static_cast<long>(from));
      expect_at(pos, static_cast<size_t>(to));
    }
    // Entries that are not there are not found.
    for (int t = 0; t < 20; ++t) {
      const Entry e{genkey(), static_cast<int32_t>(rng_() % 40)};
      size_t at = 0;
      EXPECT_EQ(find(&pos, e), holds(e, &at) ? Ok : NotFound);
    }
  }

  std::vector<Bytes> probes() {
    std::vector<Bytes> out;
    if (cfg_.text) {
      for (const char* s : {"Track 1", "Track 2", "Track 10", "Track 12", "Track 100", "Track",
                            "Blue Mo", "blue moon", "Tr", "Track 7", "Track 1 L", "agua", "Rock n"})
        out.push_back(textkey(s));
      for (int i = 0; i < 12 && !model_.empty(); ++i) {
        const Bytes& k = model_[rng_() % model_.size()].key;
        Bytes p(k.begin(), k.begin() + 1 + static_cast<long>(rng_() % (k.size() - 1)));
        if (p.back() != 0) p.push_back(0);
        out.insert(out.end(), {k, p});
      }
      for (int i = 0; i < 6; ++i) out.push_back(textkey(gentext()));
    } else {
      for (int i = 0; i < 30; ++i) out.push_back(be32(static_cast<int32_t>(rng_() % 421) - 210));
    }
    return out;
  }

  void check_seeks() {
    for (const Bytes& key : probes()) {
      SCOPED_TRACE("probe " + shown(key, cfg_.text));
      for (int mode = 0; mode < 3; ++mode) {
        // The comparator mode that each seek mode matches in.
        const CompareMode cm = mode == 0 ? CompareMode::Prefix : CompareMode::Whole;
        long firstmatch = -1, lastmatch = -1, firstafter = -1;
        for (size_t i = 0; i < model_.size(); ++i) {
          const int r = cmp(cm, key, model_[i].key);
          if (r == 0) lastmatch = static_cast<long>(i);
          if (r == 0 && firstmatch < 0) firstmatch = lastmatch;
          if (r < 0 && firstafter < 0) firstafter = static_cast<long>(i);
        }
        for (int which = 0; which < 3; ++which) {
          SCOPED_TRACE("mode " + std::to_string(mode) + " which " + std::to_string(which));
          bt_pos pos(K_ + 4);
          const ErrorCode rc =
              tree_->seek(&pos, key.data(), static_cast<int>(key.size()),
                          static_cast<SeekMode>(mode), static_cast<SeekWhich>(which));
          if (mode == 2 && firstmatch < 0) {  // at or after: the entry after the key, else the greatest
            EXPECT_EQ(rc, model_.empty() ? NotFound : firstafter >= 0 ? NextRecord : PrevRecord);
            if (!model_.empty()) expect_at(pos, firstafter >= 0 ? static_cast<size_t>(firstafter) : model_.size() - 1);
            continue;
          }
          if (firstmatch < 0) {
            EXPECT_EQ(std::make_pair(rc, pos.valid()), std::make_pair(NotFound, false));
            continue;
          }
          ASSERT_TRUE(rc == Ok && pos.valid()) << rc;
          EXPECT_EQ(cmp(cm, key, keyat(pos)), 0) << "landed on " << shown(keyat(pos), cfg_.text);
          // First and last are the first and last matches in key order, even for a prefix ending in
          // a number, whose matches do not lie together ("Track 1" begins "Track 12", yet "Track 2"
          // lies between); at or after takes the match met on the way down.
          if (mode == 2 || which == 2) continue;
          const size_t at = static_cast<size_t>(which == 0 ? firstmatch : lastmatch);
          expect_at(pos, at);
          // A list goes on from where the seek left it (type-ahead).
          const bool end = at + 1 == model_.size();
          EXPECT_EQ(tree_->skip(&pos, 1, nullptr), end ? TooFar : Ok);
          expect_at(pos, end ? at : at + 1);
        }
      }
      if (fatal()) return;
    }
  }
};

class BtreeModel : public ::testing::TestWithParam<Config> {};

TEST_P(BtreeModel, AgreesWithASortedModel) {
  TempDir dir;
  Model m(GetParam());
  m.run();
}

INSTANTIATE_TEST_SUITE_P(
    Trees, BtreeModel,
    ::testing::Values(Config{"FixedSmallPages", false, 58, 116, true, 12, 1000},
                      Config{"FixedPages1018", false, 1018, 58, true, 8, 1500},
                      Config{"TextSmallPages", true, 146, 58, true, 12, 800},
                      Config{"TextPages1024", true, 1024, 146, true, 8, 1000},
                      Config{"TextSmallPagesShared", true, 146, 292, false, 6, 600}),
    [](const ::testing::TestParamInfo<Config>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace quill
