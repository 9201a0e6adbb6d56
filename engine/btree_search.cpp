#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/btree.h"

namespace quill {

namespace {

// An empty tree leaves no position behind: the entry it stood on (emptied
// by another cursor) is gone.
ErrorCode emptied(bt_pos* pos) {
  if (pos != nullptr) pos->clear();
  return NoCurrentRecord;
}

}  // namespace

int Btree::Probe::run(const Page& page, bool* found) const {
  if (kind == Exact) return page.exact(key, keylen, data, found);
  return page.firstnotsmaller(mode, key, keylen, found, matches);
}

// Loads a child and makes sure it names the page that led to it; a page
// reached through a pointer that its own parent field denies is damage
// (or a loop), and following it could run forever.
void Btree::loadchild(Page& page, int32_t child, int32_t from) {
  page.load(child);
  if (page.parent() != from) {
    char what[96];
    std::snprintf(what, sizeof what, "parent field %d, reached from %d", page.parent(), from);
    broken(child, what);
  }
}

// From the root down to the page where the probe is found or to a leaf.
// The page ends up in `page`; an empty tree clears it and gives -1.
int Btree::descend(Page& page, const Probe& probe, bool* found) {
  int32_t at = slot().root;
  *found = false;
  if (at == -1) {
    page.clear();
    return -1;
  }
  const int height = info_.height;
  int32_t from = -1;
  for (int level = 1;; ++level) {
    // Inner pages are kept; the page the descent ends on is handed over in
    // `page`.
    Page& here = level < height ? innerpage(at) : page;
    landed_ = level;
    loadchild(here, at, from);
    // All leaves lie on the last level; anything else is a damaged tree,
    // and a chain of children longer than the height may be a loop.
    if (here.leaf() != (level == height))
      broken(at, here.leaf() ? "leaf above the tree's last level"
                             : "inner page on the tree's last level");
    const int i = probe.run(here, found);
    const int32_t c = *found ? -1 : here.child(i);
    if (c == -1) {
      if (&here != &page) page.swap(here);
      return i;
    }
    from = at;
    at = c;
  }
}

Page& Btree::innerpage(int32_t offset) {
  if (inner_.empty()) {
    inner_.resize(kInnerPages);
    innerready_.assign(kInnerPages, false);
  }
  const size_t k = static_cast<size_t>(offset / std::max(pagesize_, 1)) % kInnerPages;
  if (!innerready_[k]) {
    inner_[k].init(file_, treeno_, pagesize_, std::max<int>(built_.keylen, 0),
                   std::max<int>(built_.datalen, 0), built_.fixed != 0, cmp_, kd_);
    innerready_[k] = true;
  }
  return inner_[k];
}

// From start always to child 0 (or the last child) down to a leaf, loading
// at most maxsteps pages; returns the number of pages loaded.
int Btree::down(Page& page, int32_t start, int32_t from, bool lastchild, int maxsteps) {
  for (int steps = 1;; ++steps) {
    if (steps > maxsteps) broken(start, "descent deeper than the tree's height");
    loadchild(page, start, from);
    const int32_t c = page.child(lastchild ? page.count() : 0);
    if (c == -1) return steps;
    from = start;
    start = c;
  }
}

// After an unsuccessful descent that ended at index i of the leaf in here_:
// the first entry after the sought one (*next) or, when none follows, the
// greatest entry of the tree. The entry is left in here_; returns its index.
int Btree::settle(const Probe& probe, int i, bool* next) {
  if (i < here_.count()) {
    *next = true;
    return i;
  }
  const int j = climb([&](int) {
    bool found = false;
    const int at = probe.run(near_, &found);
    return at < near_.count() ? at : -1;
  });
  *next = j >= 0;
  return *next ? j : i - 1;  // past the root: the leaf in here_ holds the greatest entry
}

bool Btree::stepnext(int* i) {
  const int32_t c = here_.child(*i + 1);
  if (c != -1) {
    down(here_, c, here_.address(), false, info_.height);
    *i = 0;
    return true;
  }
  if (*i < here_.count() - 1) {
    ++*i;
    return true;
  }
  const int j = climb([&](int child) { return child < near_.count() ? child : -1; });
  if (j < 0) return false;
  *i = j;
  return true;
}

bool Btree::stepprev(int* i) {
  const int32_t c = here_.child(*i);
  if (c != -1) {
    down(here_, c, here_.address(), true, info_.height);
    *i = here_.count() - 1;
    return true;
  }
  if (*i > 0) {
    --*i;
    return true;
  }
  const int j = climb([](int child) { return child - 1; });
  if (j < 0) return false;
  *i = j;
  return true;
}

// Entries equal to the search key may lie in the subtrees on either side of
// the one the descent met; first and last follow them down.
void Btree::choose(bt_pos* pos, int i, CompareMode mode, SeekWhich which, const uint8_t* key, int klen,
                   PrefixMatches matches) {
  setpos(pos, here_, i);
  if (which != SeekWhich::First && which != SeekWhich::Last) return;
  const int height = info_.height;
  bool found = false;
  int32_t c;
  if (which == SeekWhich::First) {
    c = here_.child(i);
  } else {
    const int j = here_.lastnotgreater(mode, key, klen, &found, matches);
    if (found) setpos(pos, here_, j);
    c = found ? here_.child(j + 1) : here_.child(0);
  }
  int32_t from = here_.address();
  for (int steps = 0, level = landed_ + 1; c != -1; ++steps, ++level) {
    if (steps >= height) broken(c, "descent deeper than the tree's height");
    Page& here = level < height ? innerpage(c) : near_;
    loadchild(here, c, from);
    from = c;
    if (which == SeekWhich::First) {
      const int j = here.firstnotsmaller(mode, key, klen, &found, matches);
      if (found) setpos(pos, here, j);
      c = here.child(j);
    } else {
      const int j = here.lastnotgreater(mode, key, klen, &found, matches);
      if (found) setpos(pos, here, j);
      c = found ? here.child(j + 1) : here.child(0);
    }
  }
  // The next move re-finds the position in here_ first: hand it the leaf.
  if (pos != nullptr && pos->page == near_.address() && pos->page != -1) here_.swap(near_);
}

// Only the tree's natural comparator is known to keep a prefix's matches
// together; any other is scanned.
PrefixMatches Btree::prefixmatches(const uint8_t* key, int klen) const {
  return natural(cmp_) && prefixtogether(kd_, key, klen) ? PrefixMatches::Together
                                                           : PrefixMatches::Scattered;
}

ErrorCode Btree::seek(bt_pos* pos, const uint8_t* key, int keylen, SeekMode mode, SeekWhich which) {
  if (keylen > info_.keylen) fatal("Btree::seek: key length exceeds maximum of %d\n", info_.keylen);
  if (keylen < 0) fatal("Btree::seek: negative key length %d\n", keylen);
  beginop("Btree::seek");
  if (slot().root == -1) return NotFound;
  // The key may be the position's own copy, which setting the position
  // overwrites.
  uint8_t* k = work_.data();
  std::memmove(k, key, static_cast<size_t>(keylen));

  bool found = false;
  if (mode == SeekMode::Equal) {
    const int i = descend(here_, Probe{Probe::FirstNotSmaller, CompareMode::Whole, k, keylen, nullptr}, &found);
    if (!found) return NotFound;
    choose(pos, i, CompareMode::Whole, which, k, keylen);
    return Ok;
  }
  if (mode == SeekMode::AtOrAfter) {
    const Probe probe{Probe::FirstNotSmaller, CompareMode::Whole, k, keylen, nullptr};
    int i = descend(here_, probe, &found);
    if (found) {
      setpos(pos, here_, i);
      return Ok;
    }
    bool next = false;
    i = settle(probe, i, &next);
    setpos(pos, here_, i);
    return next ? NextRecord : PrevRecord;
  }
  return mode == SeekMode::Prefix ? seekprefix(pos, k, keylen, which) : Ok;
}

// Prefix: numbers make "begins with" disagree with the tree's order (12
// begins with 1, yet 2 lies between them), so the descent may land beside
// the matches; walking while the entries continue the number recovers them.
ErrorCode Btree::seekprefix(bt_pos* pos, const uint8_t* k, int keylen, SeekWhich which) {
  bool found = false;
  // Decided once per seek: whether the pages may be bisected for this key.
  const PrefixMatches matches = prefixmatches(k, keylen);
  int i = descend(here_, Probe{Probe::FirstNotSmaller, CompareMode::Prefix, k, keylen, nullptr, matches}, &found);
  if (found) {
    if (cont_(kd_, k, keylen, here_.key(i), here_.keylen(i)) == 0) {
      choose(pos, i, CompareMode::Prefix, which, k, keylen, matches);
      return Ok;
    }
    setpos(pos, here_, i);
    if (which == SeekWhich::First || which == SeekWhich::Last)
      walkprefix(pos, &i, k, keylen, which == SeekWhich::Last ? Step::Forward : Step::Back,
                 Until::NumberEnds);
    return Ok;
  }
  // Past the leaf's end, its last entry is the one before the sought key.
  const bool past = i >= here_.count();
  if (past) i = here_.count() - 1;
  const int32_t landing = here_.address();
  const int landed = i;
  if (walkprefix(pos, &i, k, keylen, Step::Forward,
                 which == SeekWhich::Last ? Until::NumberEnds : Until::FirstMatch))
    return Ok;
  // The prefix comparison may also have steered the descent past its
  // matches: "Track 92" lies before "Track 115" in the tree, yet compares
  // after it ("11..."). Walk back from the landing place as far as the
  // entries continue the number; the nearest match found is the last one,
  // the farthest the first. The landing entry itself sorts after the key,
  // unless the descent ran past the leaf's end.
  here_.load(landing);
  i = past ? landed + 1 : landed;
  return walkprefix(pos, &i, k, keylen, Step::Back,
                    which == SeekWhich::First ? Until::NumberEnds : Until::FirstMatch)
             ? Ok
             : NotFound;
}

// Steps from entry *i of here_ (forward or back) over the entries that
// continue the key's number, standing pos on each match; stops at the
// first match when asked. Returns whether any matched.
bool Btree::walkprefix(bt_pos* pos, int* i, const uint8_t* k, int klen, Step step, Until until) {
  bool matched = false;
  // Every entry takes at least a byte of one of the tree's pages: a walk
  // longer than that goes round a loop that only damage can make.
  int64_t budget = (static_cast<int64_t>(slot().inuse) + 1) * pagesize_;
  while (step == Step::Forward ? stepnext(i) : stepprev(i)) {
    if (--budget < 0) broken(here_.address(), "the walk along the tree's entries goes round a loop");
    if (cont_(kd_, k, klen, here_.key(*i), here_.keylen(*i)) == 0) break;
    if (cmp_(CompareMode::Prefix, kd_, k, klen, here_.key(*i), here_.keylen(*i)) == 0) {
      setpos(pos, here_, *i);
      matched = true;
      if (until == Until::FirstMatch) break;
    }
  }
  return matched;
}

ErrorCode Btree::find(bt_pos* pos, const uint8_t* key, int keylen, const uint8_t* data) {
  if (info_.fixed != 0) {
    keylen = info_.keylen;
  } else if (keylen < 0 || keylen > info_.keylen) {
    return NotFound;
  }
  beginop("Btree::find");
  bool found = false;
  const int i = descendexact(key, keylen, data, &found);
  if (!found) return NotFound;
  setpos(pos, here_, i);
  return Ok;
}

ErrorCode Btree::first(bt_pos* pos) { return edge(pos, false, "Btree::first"); }

ErrorCode Btree::last(bt_pos* pos) { return edge(pos, true, "Btree::last"); }

ErrorCode Btree::edge(bt_pos* pos, bool last, const char* op) {
  beginop(op);
  const int32_t r = slot().root;
  if (r == -1) return emptied(pos);
  if (down(here_, r, -1, last, info_.height) != info_.height)
    broken(here_.address(), "leaf above the tree's last level");
  setpos(pos, here_, last ? here_.count() - 1 : 0);
  return Ok;
}

// The key and data are copied first: they may be a position's own copy,
// which setting the position overwrites.
int Btree::descendexact(const uint8_t* key, int keylen, const uint8_t* data, bool* found) {
  std::memmove(work_.data(), key, static_cast<size_t>(keylen));
  std::memmove(work_.data() + keylen, data, static_cast<size_t>(info_.datalen));
  return descend(here_, Probe{Probe::Exact, CompareMode::Stored, work_.data(), keylen, work_.data() + keylen}, found);
}

// The entry under a stored position, or where it would be now.
Btree::Refound Btree::refind(bt_pos* pos, int* i) {
  if (pos == nullptr || pos->page == -1) return RefNone;
  const int d = info_.datalen;
  const int kl = pos->keylen();
  if (pos->dlen != d || kl < 0 || kl > info_.keylen) {
    pos->clear();  // not a position of this tree
    return RefNone;
  }
  const uint8_t* stored = pos->key();
  const int idx = pos->index;
  // The page may have been freed or reused since; a page that does not load
  // cleanly simply does not hold the entry any more.
  // The same bytes are the same key; only keys that differ in bytes need
  // the comparator's verdict.
  if (here_.tryload(pos->page, nullptr) == 0 && idx >= 0 && idx < here_.count() &&
      here_.keylen(idx) == kl &&
      std::memcmp(stored + kl, here_.data(idx), static_cast<size_t>(d)) == 0) {
    *i = idx;
    if (std::memcmp(stored, here_.key(idx), static_cast<size_t>(kl)) == 0) return RefHere;
    if (cmp_(CompareMode::Stored, kd_, stored, kl, here_.key(idx), kl) == 0) return RefExact;
  }
  uint8_t* k = work_.data();
  std::memcpy(k, stored, static_cast<size_t>(kl + d));
  if (slot().root == -1) {
    pos->clear();
    return RefNone;
  }
  const Probe probe{Probe::Exact, CompareMode::Stored, k, kl, k + kl};
  bool found = false;
  const int j = descend(here_, probe, &found);
  if (found) {
    *i = j;
    return RefExact;
  }
  bool next = false;
  *i = settle(probe, j, &next);
  return next ? RefNext : RefLast;
}

ErrorCode Btree::skip(bt_pos* pos, int count, int* moved, KeyLead lead) {
  beginop("Btree::skip");
  if (moved != nullptr) *moved = 0;
  int i = -1;
  switch (refind(pos, &i)) {
    case RefNone:
      return NoCurrentRecord;
    case RefNext:
      setpos(pos, here_, i);
      return NextRecord;
    case RefLast:
      setpos(pos, here_, i);
      return PrevRecord;
    case RefExact:
      setpos(pos, here_, i);
      break;
    case RefHere:
      break;  // the position holds the entry's bytes already
  }
  if (count == 0) return Ok;
  const long long want = count > 0 ? static_cast<long long>(count) : -static_cast<long long>(count);
  long long steps = 0;
  const auto step = [&] { return count > 0 ? stepnext(&i) : stepprev(&i); };
  if (lead.length == 0) {
    while (steps < want && step()) ++steps;
    setpos(pos, here_, i);
  } else {
    // The step may have left the page of the last entry that leads, so the
    // position takes each such entry as it is passed.
    while (steps < want && step() && here_.keylen(i) >= lead.length &&
           std::memcmp(here_.key(i), lead.bytes, static_cast<size_t>(lead.length)) == 0) {
      ++steps;
      setpos(pos, here_, i);
    }
  }
  if (moved != nullptr) *moved = static_cast<int>(count > 0 ? steps : -steps);
  return steps < want ? TooFar : Ok;
}

const uint8_t* Btree::nextdata(const bt_pos& pos) const {
  if (pos.page == -1 || pos.page != here_.address() || pos.index < 0 ||
      pos.index + 1 >= here_.count())
    return nullptr;
  return here_.data(pos.index + 1);
}

}  // namespace quill
