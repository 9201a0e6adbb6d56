// Where an entry stands in the tree's order, estimated on the way down from
// the root. Pages keep no counts of the entries below them. Taking every
// subtree of a page to hold an equal share misplaces whole subtrees where
// pages are filled unevenly (after a reindex the last pages of each level
// are part full: at 100,000 names the root's last subtree holds little more
// than half of what the others do, and the estimates were 10% off). So each
// page on the way down reads its children, and their children too where
// they are few (the root's), and shares its ranks out by what they hold,
// every subtree below those taken as equal. That costs a page's fan-out in
// page reads per level, whatever the size of the tree, and makes the sizes
// exact on the level above the leaves. The first entry is always 0, and
// entries of one leaf are exactly one apart.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "engine/btree.h"

namespace quill {

namespace {

// How a page with `count` entries lays out the `under` ranks of its
// subtree: child j's subtree takes size[j] ranks, then entry j takes
// `entry` ranks, so that nothing reaches past `under` and estimates never
// run backwards across a page boundary. A page holding more entries than
// its estimate packs them closer than one apart.
struct Layout {
  std::vector<double> size;  // empty on a leaf
  double entry = 1;

  double start(int child) const {
    const auto end = size.begin() + std::min<ptrdiff_t>(child, std::ssize(size));
    return std::accumulate(size.begin(), end, 0.0) + child * entry;
  }
  double at(int i) const { return start(i) + (size.empty() ? 0 : size[static_cast<size_t>(i)]); }
};

// The room left to the children goes to them by what they hold: the
// entries read on the pages below them, and subtrees not read, all of the
// size that makes the children's shares add up to the room.
Layout share(double under, int count, const std::vector<Btree::ChildLoad>& children) {
  Layout layout;
  if (count <= 0) return layout;
  layout.entry = under >= count ? 1 : under / count;
  if (children.empty()) return layout;
  const double room = under - count * layout.entry;
  double entries = 0;
  double subtrees = 0;
  for (const Btree::ChildLoad& c : children) {
    entries += c.entries;
    subtrees += c.subtrees;
  }
  const double each = subtrees > 0 ? std::max(0.0, (room - entries) / subtrees) : 0;
  layout.size.reserve(children.size());
  double weights = 0;
  for (const Btree::ChildLoad& c : children) {
    layout.size.push_back(c.entries + c.subtrees * each);
    weights += layout.size.back();
  }
  for (double& s : layout.size)
    s = weights > 0 ? s * room / weights : room / static_cast<double>(children.size());
  return layout;
}

}  // namespace

// The children of the page in pa_ (read through pb_), and their children
// too (through pc_) when there are few enough of them: a page with few
// children, the root above all, would otherwise share out large subtrees
// by their fan-out alone.
void Btree::childloads(std::vector<ChildLoad>* loads) {
  loads->clear();
  if (pa_.leaf()) return;
  int grandchildren = 0;
  for (int j = 0; j <= pa_.count(); ++j) {
    loadchild(pb_, pa_.child(j), pa_.address());
    const bool leaf = pb_.leaf();
    loads->push_back({static_cast<double>(pb_.count()), leaf ? 0.0 : pb_.count() + 1.0});
    if (!leaf) grandchildren += pb_.count() + 1;
  }
  if (grandchildren == 0 || grandchildren > kRankReads) return;
  for (int j = 0; j <= pa_.count(); ++j) {
    loadchild(pb_, pa_.child(j), pa_.address());
    ChildLoad& load = (*loads)[static_cast<size_t>(j)];
    load.subtrees = 0;
    for (int k = 0; k <= pb_.count(); ++k) {
      loadchild(pc_, pb_.child(k), pb_.address());
      load.entries += pc_.count();
      if (!pc_.leaf()) load.subtrees += pc_.count() + 1;
    }
  }
}

// From the root of a non-empty tree down: each page in pa_ with the layout
// of the ranks under it and where its ranks begin; `choose` names the child
// to go on to, or -1 to stop on that page.
template <class Choose>
void Btree::rankdown(double total, const Choose& choose) {
  int32_t at = slot().root;
  double under = total;
  double before = 0;
  int32_t from = -1;
  std::vector<ChildLoad> loads;
  for (int level = 1;; ++level) {
    if (level > info_.height) broken(at, "descent deeper than the tree's height");
    loadchild(pa_, at, from);
    childloads(&loads);
    // The children were read into pb_; pa_ still holds the page.
    const Layout layout = share(under, pa_.count(), loads);
    const int child = choose(layout, before);
    if (child < 0) return;
    before += layout.start(child);
    under = layout.size[static_cast<size_t>(child)];
    from = at;
    at = pa_.child(child);
  }
}

double Btree::rank(bt_pos* pos, double total) {
  beginop("Btree::rank");
  int i = -1;
  if (refind(pos, &i) == RefNone) return -1;
  // The child taken at each level on the way down, from the leaf up.
  std::vector<int> turns;
  climb([&](int child) {
    turns.push_back(child);
    return -1;
  });
  double rank = -1;
  auto turn = turns.rbegin();
  rankdown(total, [&](const Layout& layout, double before) {
    if (turn != turns.rend()) return *turn++;
    rank = before + layout.at(i);
    return -1;
  });
  return rank;
}

double Btree::lastrank(double total) {
  beginop("Btree::lastrank");
  if (slot().root == -1) return -1;
  double rank = -1;
  rankdown(total, [&](const Layout& layout, double before) {
    const int n = pa_.count();
    if (pa_.leaf()) {
      rank = before + layout.at(n - 1);
      return -1;
    }
    return n;
  });
  return rank;
}

ErrorCode Btree::seekrank(bt_pos* pos, double rank, double total) {
  beginop("Btree::seekrank");
  if (slot().root == -1) return NoCurrentRecord;
  rankdown(total, [&](const Layout& layout, double before) {
    const double within = rank - before;
    const int n = pa_.count();
    if (pa_.leaf()) {
      const double i = layout.entry > 0 ? std::round(within / layout.entry) : 0;
      setpos(pos, pa_, static_cast<int>(std::clamp(i, 0.0, n - 1.0)));
      return -1;
    }
    for (int j = 0; j < n; ++j) {
      if (within < layout.at(j)) return j;
      if (within < layout.at(j) + layout.entry) {
        setpos(pos, pa_, j);
        return -1;
      }
    }
    return n;
  });
  return Ok;
}

}  // namespace quill
