// The kept names' patches against a plain list: random names taken out and
// put in across blocks of a few names each, which split and empty.
#include "catalogue/searchindex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <utility>
#include <string>
#include <vector>

namespace tracklore::test {
namespace {

struct Name {
  int32_t code;
  int32_t recno;
  std::string folded;
};

TEST(SearchIndexTest, PatchesKeepTheOrderAPlainListKeeps) {
  std::mt19937 rng(7);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  const char* const words[] = {" red", " green", " blue", " redder", " bluer"};
  int32_t next = 0;
  auto fresh = [&] {
    Name n{next, next, ""};
    ++next;
    for (size_t w = 0, count = 1 + pick(3); w < count; ++w) n.folded += words[pick(5)];
    return n;
  };
  SearchIndex index(4);
  std::vector<Name> model;
  for (int i = 0; i < 30; ++i) {
    model.push_back(fresh());
    index.add(model.back().code, model.back().recno, model.back().folded);
  }
  for (int round = 0; round < 400; ++round) {
    // Some slots out, some names in: after a slot, ranked among their kind.
    std::set<uint32_t> dropped;
    for (size_t k = pick(4); k > 0 && !model.empty(); --k)
      dropped.insert(static_cast<uint32_t>(pick(model.size())));
    std::vector<SearchIndex::Placed> placed;
    for (size_t k = pick(round % 50 == 0 ? 40 : 4); k > 0; --k) {
      const Name n = fresh();
      placed.push_back({static_cast<uint32_t>(pick(model.size() + 1)),
                        static_cast<uint32_t>(pick(3)), n.code, n.recno, n.folded});
    }
    std::vector<SearchIndex::Placed> ordered = placed;
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
      return a.follows != b.follows ? a.follows < b.follows : a.rank < b.rank;
    });
    std::vector<Name> after;
    auto p = ordered.begin();
    for (uint32_t slot = 0; slot <= model.size(); ++slot) {
      for (; p != ordered.end() && p->follows == slot; ++p) after.push_back({p->code, p->recno, p->folded});
      if (slot < model.size() && !dropped.count(slot)) after.push_back(model[slot]);
    }
    model = after;
    index.patch(std::vector<uint32_t>(dropped.begin(), dropped.end()), placed);

    ASSERT_EQ(index.size(), model.size()) << "round " << round;
    const std::vector<std::string> sought = {words[pick(5)] + 1, words[pick(5)] + 1};
    std::vector<int32_t> want;
    for (const Name& n : model)
      if (n.folded.find(" " + sought[0]) != std::string::npos &&
          n.folded.find(" " + sought[1]) != std::string::npos)
        want.push_back(n.code);
    ASSERT_EQ(index.find(sought), want) << "round " << round;
    // Every record's slot, and one record without a name.
    std::vector<std::pair<int32_t, uint32_t>> byrecno;
    for (size_t i = 0; i < model.size(); ++i) byrecno.emplace_back(model[i].recno, i);
    std::sort(byrecno.begin(), byrecno.end());
    std::vector<int32_t> sorted;
    std::vector<uint32_t> wantslots;
    for (const auto& [recno, slot] : byrecno) {
      sorted.push_back(recno);
      wantslots.push_back(slot);
    }
    sorted.push_back(next + 5);
    wantslots.push_back(SearchIndex::kNoSlot);
    ASSERT_EQ(index.slotsof(sorted), wantslots) << "round " << round;
  }
}

}  // namespace
}  // namespace tracklore::test
