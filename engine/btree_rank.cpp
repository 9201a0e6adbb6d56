// Where an entry stands in the tree's order, estimated from the path down
// to it. Pages keep no counts of the entries below them, so every subtree of
// a page is taken to hold an equal share of the entries under the page: the
// estimate costs one climb, whatever the size of the tree. The first entry
// is always 0, and entries of one leaf are exactly one apart.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/btree.h"

namespace quill {

namespace {

// How a page with `count` entries lays out the `under` ranks of its
// subtree: child j starts at j * step, entry j stands at j * step + share
// (after its left subtree), and nothing reaches past `under`, so that
// estimates never run backwards across a page boundary. A page holding
// more entries than its estimate packs them closer than one apart.
struct Layout {
  double share = 0;  // ranks of each child's subtree
  double step = 1;   // from one child's start to the next

  Layout(double under, int count) {
    if (count <= 0) return;
    if (under >= count) {
      share = (under - count) / (count + 1);
      step = share + 1;
    } else {
      step = under / count;
    }
  }
};

}  // namespace

double Btree::rank(bt_pos* pos, double total) {
  beginop("Btree::rank");
  int i = -1;
  if (refind(pos, &i) == RefNone) return -1;
  // The child taken at each level on the way down, from the leaf up.
  struct Turn {
    int child;
    int count;
  };
  std::vector<Turn> turns;
  climb([&](int child) {
    turns.push_back({child, pb_.count()});
    return -1;
  });
  double under = total;
  double before = 0;
  for (auto turn = turns.rbegin(); turn != turns.rend(); ++turn) {
    const Layout layout(under, turn->count);
    before += turn->child * layout.step;
    under = layout.share;
  }
  const Layout layout(under, pa_.count());
  return before + i * layout.step + (pa_.leaf() ? 0 : layout.share);
}

// From the root of a non-empty tree down: each page in pa_ with the layout
// of the ranks under it; `choose` names the child to go on to, or -1 to
// stop on that page.
template <class Choose>
void Btree::rankdown(double total, const Choose& choose) {
  int32_t at = slot().root;
  double under = total;
  int32_t from = -1;
  for (int level = 1;; ++level) {
    if (level > info_.height) broken(at, "descent deeper than the tree's height");
    loadchild(pa_, at, from);
    const Layout layout(under, pa_.count());
    const int child = choose(layout);
    if (child < 0) return;
    under = layout.share;
    from = at;
    at = pa_.child(child);
  }
}

double Btree::lastrank(double total) {
  beginop("Btree::lastrank");
  if (slot().root == -1) return -1;
  double before = 0;
  rankdown(total, [&](const Layout& layout) {
    const int n = pa_.count();
    if (pa_.leaf()) {
      before += (n - 1) * layout.step;
      return -1;
    }
    before += n * layout.step;
    return n;
  });
  return before;
}

ErrorCode Btree::seekrank(bt_pos* pos, double rank, double total) {
  beginop("Btree::seekrank");
  if (slot().root == -1) return NoCurrentRecord;
  rankdown(total, [&](const Layout& layout) {
    const int n = pa_.count();
    if (pa_.leaf()) {
      const double i = layout.step > 0 ? std::round(rank / layout.step) : 0;
      setpos(pos, pa_, static_cast<int>(std::clamp(i, 0.0, n - 1.0)));
      return -1;
    }
    const double j = layout.step > 0 ? std::floor(rank / layout.step) : 0;
    const int child = static_cast<int>(std::clamp(j, 0.0, static_cast<double>(n)));
    rank -= child * layout.step;
    if (child < n && rank >= layout.share) {
      setpos(pos, pa_, child);
      return -1;
    }
    return child;
  });
  return Ok;
}

}  // namespace quill
