#include "engine/page.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "engine/btree.h"
#include "engine/errors.h"

namespace quill {

namespace {

// Bisects the sorted entries 0..n-1 for the first one that the sought
// entry does not exceed (compare(i) <= 0); found says whether it is equal.
template <class Compare>
int firstnotabove(int n, bool* found, const Compare& compare) {
  int lo = 0, hi = n, rhi = 1;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const int r = compare(mid);
    if (r <= 0) {
      hi = mid;
      rhi = r;
    } else {
      lo = mid + 1;
    }
  }
  *found = lo < n && rhi == 0;
  return lo;
}

}  // namespace

int keybytecompare(CompareMode /*mode*/, const KeyDescr* /*kd*/, const uint8_t* a, int la, const uint8_t* b,
                   int lb) {
  const int n = la < lb ? la : lb;
  const int r = n > 0 ? std::memcmp(a, b, static_cast<size_t>(n)) : 0;
  if (r != 0) return r;
  return la - lb;
}

void Page::init(const Btree& tree) {
  const TreeInfo& ti = tree.info();
  init(tree.file(), tree.treeno(), tree.pagesize(), ti.keylen, ti.datalen, ti.fixed != 0,
       tree.comparator(), tree.keydescr());
}

void Page::init(MultiFile* file, int treeno, int pagesize, int keylen, int datalen, bool fixed,
                Comparator cmp, const KeyDescr* kd) {
  file_ = file;
  treeno_ = treeno;
  P_ = pagesize;
  K_ = keylen;
  D_ = datalen;
  cmp_ = cmp != nullptr ? cmp : keybytecompare;
  kd_ = kd;
  fixed_ = fixed;
  O_ = D_ + (fixed_ ? 0 : 2);
  S_ = K_ + D_;
  A_ = P_ - kHeader;
  img_.assign(static_cast<size_t>(P_ > kHeader ? P_ : kHeader + 4), 0);
  chkalloc(img_.data(), "Page::init");
  off_.assign(static_cast<size_t>(A_ > 0 ? A_ / 4 + 2 : 2), 0);
  chkalloc(off_.data(), "Page::init");
  clear();
}

void Page::clear() {
  token_ = 0;
  n_ = 0;
  parent_ = -1;
  addr_ = -1;
  E_ = 0;
  off_[0] = 0;
  setchild(0, -1);
}

int32_t Page::child(int i) const { return getles32(area() + childpos(i)); }

void Page::setchild(int i, int32_t c) { putle32(area() + childpos(i), static_cast<uint32_t>(c)); }

void Page::reoffset(int from) {
  if (fixed_) {
    E_ = n_ * S_;
    return;
  }
  int o = off_[from];
  for (int i = from; i < n_; ++i) {
    off_[i] = o;
    o += getles16at(o) + O_;
  }
  off_[n_] = o;
  E_ = o;
}

// Checks a page image read from the file before anything in it is trusted:
// every length and pointer must stay inside the page and the page area.
const char* Page::parse(const uint8_t* image, int32_t offset) {
  static char problem[160];
  const int n = getles16(image);
  const int32_t parent = getles32(image + 2);
  const uint8_t* a = image + kHeader;
  if (n < 1) {
    std::snprintf(problem, sizeof problem, "entry count %d", n);
    return problem;
  }
  const int64_t limit = static_cast<int64_t>(A_) - 4 * (static_cast<int64_t>(n) + 1);
  if (limit < 0) {
    std::snprintf(problem, sizeof problem, "entry count %d does not fit the page", n);
    return problem;
  }
  if (fixed_) {
    if (static_cast<int64_t>(n) * (K_ + D_) > limit) {
      std::snprintf(problem, sizeof problem, "%d entries do not fit the page", n);
      return problem;
    }
  } else {
    int64_t o = 0;
    for (int i = 0; i < n; ++i) {
      if (o + 2 > limit) {
        std::snprintf(problem, sizeof problem, "entry %d runs into the child pointers", i);
        return problem;
      }
      const int k = getles16(a + o);
      if (k < 0 || k > K_) {
        std::snprintf(problem, sizeof problem, "entry %d has key length %d (maximum %d)", i, k, K_);
        return problem;
      }
      off_[i] = static_cast<int>(o);
      o += 2 + k + D_;
      if (o > limit) {
        std::snprintf(problem, sizeof problem, "entry %d runs into the child pointers", i);
        return problem;
      }
    }
    off_[n] = static_cast<int>(o);
  }
  if (parent != -1 && (parent == offset || !file_->pageok(parent, P_))) {
    std::snprintf(problem, sizeof problem, "parent offset %d %s", parent,
                  parent == offset ? "is the page itself" : "outside the page area");
    return problem;
  }
  auto childat = [&](int i) { return getles32(a + A_ - 4 * (n - i + 1)); };
  if (childat(0) == -1) {
    for (int i = 1; i <= n; ++i)
      if (childat(i) != -1) {
        std::snprintf(problem, sizeof problem, "leaf with child %d = %d", i, childat(i));
        return problem;
      }
  } else {
    for (int i = 0; i <= n; ++i) {
      const int32_t c = childat(i);
      const char* what = c == offset   ? "is the page itself"
                         : c == parent ? "is the page's parent"
                         : !file_->pageok(c, P_) ? "outside the page area"
                                                 : nullptr;
      if (what != nullptr) {
        std::snprintf(problem, sizeof problem, "child %d offset %d %s", i, c, what);
        return problem;
      }
    }
  }
  n_ = n;
  parent_ = parent;
  E_ = fixed_ ? n * S_ : off_[n];
  return nullptr;
}

// A page that passed the checks once is only indexed again while its cached
// copy stays unchanged.
void Page::adopt(const uint8_t* image, int32_t offset) {
  n_ = getles16(image);
  parent_ = getles32(image + 2);
  std::memcpy(img_.data(), image, static_cast<size_t>(P_));
  addr_ = offset;
  off_[0] = 0;
  reoffset(0);
}

void Page::load(int32_t offset) {
  if (token_ != 0 && offset == addr_ && file_->pagetoken(offset, P_) == token_) return;
  if (offset == -1) fatal("Page::load: offset is NIL\n");
  if (!file_->pageok(offset, P_))
    fatal("Page::load: damaged page at offset %d in '%s' (offset outside the page area)\n", offset,
          file_->name().c_str());
  bool checked = false;
  const uint8_t* image = file_->loadpage(offset, P_, &checked);
  if (image == nullptr) fatal("Page::load: error during read\n");
  if (checked) {
    adopt(image, offset);
  } else {
    if (const char* problem = parse(image, offset))
      fatal("Page::load: damaged page at offset %d in '%s' (%s)\n", offset,
            file_->name().c_str(), problem);
    file_->markchecked(offset, P_);
    std::memcpy(img_.data(), image, static_cast<size_t>(P_));
    addr_ = offset;
  }
  token_ = file_->pagetoken(offset, P_);
}

int Page::tryload(int32_t offset, std::string* problem) {
  if (token_ != 0 && offset == addr_ && file_->pagetoken(offset, P_) == token_) return 0;
  const char* what = nullptr;
  const uint8_t* image = nullptr;
  bool checked = false;
  if (offset == -1) {
    what = "offset is NIL";
  } else if (!file_->pageok(offset, P_)) {
    what = "offset outside the page area";
  } else if ((image = file_->loadpage(offset, P_, &checked)) == nullptr) {
    what = "error during read";
  } else if (checked) {
    adopt(image, offset);
    token_ = file_->pagetoken(offset, P_);
    return 0;
  } else {
    what = parse(image, offset);
  }
  if (what != nullptr) {
    if (problem != nullptr) *problem = what;
    clear();
    return -1;
  }
  file_->markchecked(offset, P_);
  std::memcpy(img_.data(), image, static_cast<size_t>(P_));
  addr_ = offset;
  token_ = file_->pagetoken(offset, P_);
  return 0;
}

void Page::putentry(uint8_t* p, const uint8_t* k, int klen, const uint8_t* d) {
  if (!fixed_) {
    putle16(p, static_cast<uint16_t>(klen));
    p += 2;
  }
  // An entry handed over as it lies in a page or a buffer is one copy.
  if (d == k + klen) {
    std::memcpy(p, k, static_cast<size_t>(klen + D_));
    return;
  }
  std::memcpy(p, k, static_cast<size_t>(klen));
  std::memcpy(p + klen, d, static_cast<size_t>(D_));
}

int32_t Page::save() {
  if (addr_ == -1) fatal("Page::save: Attempt so save page without address.");
  putle16(img_.data(), static_cast<uint16_t>(n_));
  putle32(img_.data() + 2, static_cast<uint32_t>(parent_));
  const int gap = childpos(0) - E_;
  if (gap > 0) std::memset(area() + E_, 0xFF, static_cast<size_t>(gap));
  if (file_->savepage(addr_, img_.data(), P_) != 0) fatal("Write failed: Out of disk space ?\n");
  // A page built here needs no checking when it is loaded again from the
  // cache; only bytes read from the file are suspect.
  if (n_ >= 1) file_->markchecked(addr_, P_);
  token_ = file_->pagetoken(addr_, P_);
  return addr_;
}

void Page::dispose() {
  if (addr_ != -1) {
    std::memset(img_.data(), 0, static_cast<size_t>(P_));
    if (file_->savepage(addr_, img_.data(), P_) != 0)
      fatal("Page::dispose: error writing to file");
    if (file_->freepage(treeno_, addr_) != 0) fatal("Page::dispose: error writing to file");
  }
  clear();
}

void Page::link(int32_t c) {
  if (addr_ == -1) fatal("Page::link: page not saved yet\n");
  if (c == -1) return;
  uint8_t bytes[4];
  putle32(bytes, static_cast<uint32_t>(addr_));
  if (file_->patchpage(c, P_, 2, bytes, 4) != 0)
    fatal("Page::link: error writing to file '%s' at offset %d\n", file_->name().c_str(), c + 2);
}

void Page::allocate() {
  token_ = 0;
  addr_ = file_->use_free_page(treeno_);
}

int Page::copyentry(int i, uint8_t* buffer) const {
  const int k = keylen(i);
  std::memcpy(buffer, key(i), static_cast<size_t>(k + D_));
  return k;
}

void Page::needroom(int bytes, int entries, const char* op) const {
  if (static_cast<int64_t>(E_) + bytes + 4 * (static_cast<int64_t>(n_) + entries + 1) > A_ ||
      static_cast<size_t>(n_) + static_cast<size_t>(entries) + 1 >= off_.size())
    fatal("%s: no room for %d bytes in page %d of '%s'\n", op, bytes, addr_,
          file_->name().c_str());
}

void Page::insert(int i, const uint8_t* k, int klen, const uint8_t* d, int32_t c) {
  token_ = 0;
  if (fixed_) klen = K_;
  const int size = klen + O_;
  if (i < 0 || i > n_) fatal("Page::insert: no entry %d in page %d\n", i, addr_);
  needroom(size, 1, "Page::insert");
  uint8_t* a = area();
  const int at = entryat(i);
  std::memmove(a + at + size, a + at, static_cast<size_t>(E_ - at));
  // Children 0..i move down by one pointer; the later ones keep their place.
  std::memmove(a + A_ - 4 * (n_ + 2), a + A_ - 4 * (n_ + 1), static_cast<size_t>(4 * (i + 1)));
  putentry(a + at, k, klen, d);
  ++n_;
  setchild(i + 1, c);
  E_ += size;
  off_[n_] = E_;
  reoffset(i);
  link(c);
}

void Page::append(const uint8_t* k, int klen, const uint8_t* d) {
  token_ = 0;
  if (fixed_) klen = K_;
  const int size = klen + O_;
  needroom(size, 1, "Page::append");
  putentry(area() + E_, k, klen, d);
  E_ += size;
  off_[++n_] = E_;
}

void Page::setchildren(const int32_t* c) {
  token_ = 0;
  for (int i = 0; i <= n_; ++i) {
    setchild(i, c[i]);
    link(c[i]);
  }
}

void Page::absorb(const uint8_t* k, int klen, const uint8_t* d, const Page& right) {
  token_ = 0;
  if (fixed_) klen = K_;
  const int size = klen + O_;
  const int rn = right.n_;
  needroom(size + right.E_, rn + 1, "Page::absorb");
  uint8_t* a = area();
  const int n = n_ + 1 + rn;
  // This page's children move down by rn + 1 pointers; right's keep their
  // place from the page's end.
  std::memmove(a + A_ - 4 * (n + 1), a + A_ - 4 * (n_ + 1), static_cast<size_t>(4 * (n_ + 1)));
  std::memcpy(a + A_ - 4 * (rn + 1), right.area() + A_ - 4 * (rn + 1),
              static_cast<size_t>(4 * (rn + 1)));
  putentry(a + E_, k, klen, d);
  std::memcpy(a + E_ + size, right.area(), static_cast<size_t>(right.E_));
  const int base = E_ + size;
  n_ = n;
  E_ = base + right.E_;
  if (!fixed_)
    for (int j = 0; j <= rn; ++j) off_[n - rn + j] = base + right.off_[j];
  for (int j = 0; j <= rn; ++j) link(right.child(j));
}

void Page::shiftright(Page& right, int m, uint8_t* sep, int* klen) {
  token_ = right.token_ = 0;
  const int n = n_, rn = right.n_;
  const int from = entryat(n - m + 1);
  const int moved = E_ - from;
  const int sepsize = (fixed_ ? K_ : *klen) + O_;
  right.needroom(moved + sepsize, m, "Page::shiftright");
  uint8_t* a = area();
  uint8_t* r = right.area();
  // Right's children keep their place at the page's end; the m that come
  // over go before them, into the gap.
  std::memcpy(r + A_ - 4 * (rn + m + 1), a + A_ - 4 * m, static_cast<size_t>(4 * m));
  std::memmove(r + moved + sepsize, r, static_cast<size_t>(right.E_));
  std::memcpy(r, a + from, static_cast<size_t>(moved));
  right.putentry(r + moved, sep, *klen, sep + *klen);
  right.n_ = rn + m;
  right.E_ += moved + sepsize;
  right.off_[0] = 0;
  right.reoffset(0);
  for (int j = 0; j < m; ++j) right.link(right.child(j));
  *klen = copyentry(n - m, sep);
  // This page keeps children 0..n-m, which move up to the page's end.
  std::memmove(a + A_ - 4 * (n - m + 1), a + A_ - 4 * (n + 1), static_cast<size_t>(4 * (n - m + 1)));
  n_ = n - m;
  E_ = entryat(n_);
  off_[n_] = E_;
}

void Page::shiftleft(Page& right, int m, uint8_t* sep, int* klen) {
  token_ = right.token_ = 0;
  const int n = n_, rn = right.n_;
  const int moved = right.entryat(m - 1);
  const int sepsize = (fixed_ ? K_ : *klen) + O_;
  needroom(sepsize + moved, m, "Page::shiftleft");
  uint8_t* a = area();
  uint8_t* r = right.area();
  // This page's children move down by m pointers; right's first m follow
  // them at the page's end.
  std::memmove(a + A_ - 4 * (n + m + 1), a + A_ - 4 * (n + 1), static_cast<size_t>(4 * (n + 1)));
  std::memcpy(a + A_ - 4 * m, r + A_ - 4 * (rn + 1), static_cast<size_t>(4 * m));
  putentry(a + E_, sep, *klen, sep + *klen);
  std::memcpy(a + E_ + sepsize, r, static_cast<size_t>(moved));
  n_ = n + m;
  E_ += sepsize + moved;
  off_[n_] = E_;
  reoffset(n);
  for (int j = n + 1; j <= n_; ++j) link(child(j));
  *klen = right.copyentry(m - 1, sep);
  // Right drops its first m entries and children; the others keep their
  // place at the page's end.
  const int cut = right.entryat(m);
  std::memmove(r, r + cut, static_cast<size_t>(right.E_ - cut));
  right.n_ = rn - m;
  right.E_ -= cut;
  right.off_[0] = 0;
  right.reoffset(0);
}

int32_t Page::remove(int i, bool rightchild) {
  token_ = 0;
  uint8_t* a = area();
  const int at = entryat(i);
  const int size = entryat(i + 1) - at;
  const int r = rightchild ? i + 1 : i;
  const int32_t removed = child(r);
  std::memmove(a + at, a + at + size, static_cast<size_t>(E_ - at - size));
  // Children before r move up by one pointer; the later ones keep their place.
  std::memmove(a + A_ - 4 * n_, a + A_ - 4 * (n_ + 1), static_cast<size_t>(4 * r));
  --n_;
  E_ -= size;
  off_[n_] = E_;
  reoffset(i < n_ ? i : n_);
  return removed;
}

int Page::replace(int i, const uint8_t* k, int klen, const uint8_t* d) {
  token_ = 0;
  if (fixed_) klen = K_;
  const int oldlen = keylen(i);
  if (klen - oldlen > A_ - used()) return -1;
  uint8_t* a = area();
  const int at = entryat(i);
  const int next = entryat(i + 1);
  const int size = klen + O_;
  std::memmove(a + at + size, a + next, static_cast<size_t>(E_ - next));
  putentry(a + at, k, klen, d);
  E_ += size - (next - at);
  off_[n_] = E_;
  reoffset(i);
  return 0;
}

void Page::setchild0(int32_t c) {
  token_ = 0;
  setchild(0, c);
  link(c);
}

bool Page::room(int k, const Page* q) const {
  const int qn = q != nullptr ? q->n_ : 0;
  const int qe = q != nullptr ? q->E_ : 0;
  return E_ + qe + 4 * (n_ + qn + 2) + O_ + k <= A_;
}

int Page::childindex(int32_t c) const {
  for (int j = 0; j <= n_; ++j)
    if (child(j) == c) return j;
  return -1;
}

int Page::cmpat(CompareMode mode, const uint8_t* a, int la, int i) const {
  return cmp_(mode, kd_, a, la, key(i), keylen(i));
}

int Page::compareentry(const uint8_t* a, int la, const uint8_t* d, int i) const {
  int r = cmp_(CompareMode::Stored, kd_, a, la, key(i), keylen(i));
  if (r == 0 && D_ > 0) r = std::memcmp(d, data(i), static_cast<size_t>(D_));
  return r;
}

// In the modes where the page order agrees with the comparison (stored keys,
// whole search keys, prefixes whose matches lie together) the leading run is
// found by bisection; any other prefix search key is scanned entry by entry,
// since numbers make "begins with" disagree with the order (12 begins with
// 1, yet 2 lies between them).
int Page::firstnotsmaller(CompareMode mode, const uint8_t* a, int la, bool* found,
                          PrefixMatches matches) const {
  if (mode == CompareMode::Prefix && matches == PrefixMatches::Scattered) {
    for (int i = 0; i < n_; ++i) {
      const int r = cmpat(mode, a, la, i);
      if (r <= 0) {
        *found = r == 0;
        return i;
      }
    }
    *found = false;
    return n_;
  }
  return firstnotabove(n_, found, [&](int i) { return cmpat(mode, a, la, i); });
}

int Page::lastnotgreater(CompareMode mode, const uint8_t* a, int la, bool* found,
                         PrefixMatches matches) const {
  if (mode == CompareMode::Prefix && matches == PrefixMatches::Scattered) {
    bool any = false;
    int last = -1;
    for (int i = 0; i < n_; ++i) {
      const int r = cmpat(mode, a, la, i);
      if (r < 0) break;
      if (r == 0) any = true;
      last = i;
    }
    *found = any;
    return last;
  }
  int lo = 0, hi = n_, rlo = 1;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const int r = cmpat(mode, a, la, mid);
    if (r < 0) {
      hi = mid;
    } else {
      lo = mid + 1;
      rlo = r;
    }
  }
  *found = lo > 0 && rlo == 0;
  return lo - 1;
}

int Page::exact(const uint8_t* a, int la, const uint8_t* d, bool* found) const {
  return firstnotabove(n_, found, [&](int i) { return compareentry(a, la, d, i); });
}

void Page::swap(Page& o) noexcept {
  std::swap(n_, o.n_);
  std::swap(parent_, o.parent_);
  std::swap(cmp_, o.cmp_);
  std::swap(kd_, o.kd_);
  std::swap(addr_, o.addr_);
  std::swap(K_, o.K_);
  std::swap(D_, o.D_);
  std::swap(P_, o.P_);
  std::swap(file_, o.file_);
  std::swap(treeno_, o.treeno_);
  std::swap(fixed_, o.fixed_);
  std::swap(O_, o.O_);
  std::swap(S_, o.S_);
  std::swap(E_, o.E_);
  std::swap(A_, o.A_);
  img_.swap(o.img_);
  off_.swap(o.off_);
  std::swap(token_, o.token_);
}

}  // namespace quill
