// The kept names' patches against a plain list: random names taken out and put in across blocks of
// a few names each, which split and empty.
#include "catalogue/searchindex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace tracklore::test {
namespace {

// Record numbers are the codes; the model is the codes in order.
TEST(SearchIndexTest, PatchesKeepTheOrderAPlainListKeeps) {
  std::mt19937 rng(7);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  const char* const words[] = {" red", " green", " blue", " redder"};
  std::vector<std::string> folded;  // by code
  auto fresh = [&] {
    folded.emplace_back();
    for (size_t w = 0, count = 1 + pick(3); w < count; ++w) folded.back() += words[pick(4)];
    return static_cast<int32_t>(folded.size() - 1);
  };
  SearchIndex index(4);
  std::vector<int32_t> model;
  for (int i = 0; i < 30; ++i) {
    model.push_back(fresh());
    index.add(model.back(), model.back(), folded.back());
  }
  for (int round = 0; round < 400; ++round) {
    std::set<uint32_t> dropped;
    for (size_t k = pick(4); k > 0 && !model.empty(); --k)
      dropped.insert(static_cast<uint32_t>(pick(model.size())));
    std::vector<SearchIndex::Placed> placed;
    for (size_t k = pick(round % 50 == 0 ? 40 : 4); k > 0; --k) {
      const int32_t code = fresh();
      placed.push_back({static_cast<uint32_t>(pick(model.size() + 1)),
                        static_cast<uint32_t>(pick(3)), code, code, folded.back()});
    }
    std::vector<SearchIndex::Placed> ordered = placed;
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
      return a.follows != b.follows ? a.follows < b.follows : a.rank < b.rank;
    });
    std::vector<int32_t> after;
    auto p = ordered.begin();
    for (uint32_t slot = 0; slot <= model.size(); ++slot) {
      for (; p != ordered.end() && p->follows == slot; ++p) after.push_back(p->code);
      if (slot < model.size() && !dropped.count(slot)) after.push_back(model[slot]);
    }
    model = after;
    index.patch(std::vector<uint32_t>(dropped.begin(), dropped.end()), placed);

    const std::string sought = words[pick(4)];
    std::vector<int32_t> want;
    for (int32_t code : model)
      if (folded[static_cast<size_t>(code)].find(sought) != std::string::npos) want.push_back(code);
    ASSERT_EQ(index.find({sought.substr(1)}), want) << "round " << round;
    // Every record's slot, none for those taken out.
    std::vector<int32_t> every(folded.size());
    std::iota(every.begin(), every.end(), 0);
    std::vector<uint32_t> slots(folded.size(), SearchIndex::kNoSlot);
    for (size_t i = 0; i < model.size(); ++i) slots[static_cast<size_t>(model[i])] = static_cast<uint32_t>(i);
    ASSERT_EQ(index.slotsof(every), slots) << "round " << round;
  }
}

}  // namespace
}  // namespace tracklore::test
