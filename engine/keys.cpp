#include "engine/keys.h"

#include "engine/bytes.h"
#include "engine/keyparts.h"

namespace quill {

using namespace keyparts;
using textrun::trailing_number;

int compare(CompareMode mode, const KeyDescr* kd, const uint8_t* a, int la, const uint8_t* b, int lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  if (la == 0 || lb == 0) return la - lb;
  const int last = kd->ncomps - 1;
  for (int k = 0; k <= last; ++k) {
    const Component& c = kd->comps[k];
    const char t = field_type(kd, c);
    const int L = c.length > 0 ? c.length : 0;
    int pa = min_int(L, la);
    int pb = min_int(L, lb);
    int r = 0;
    switch (t) {
      case 'B':
        r = bytecmp(mode, a, pa, b, pb);
        break;
      case 'C': {
        const bool var = (c.flags & CF_VAR) != 0;
        int ta;
        int tb;
        int full = 1;
        stored_text(b, lb, L, var, &tb, &pb);
        if (mode == CompareMode::Stored) {
          stored_text(a, la, L, var, &ta, &pa);
        } else {
          search_text(a, la, &ta, &pa);
          if (mode == CompareMode::Prefix && (pa >= la || k == last)) full = 0;
        }
        r = (c.flags & CF_BINARY) ? exactcmp(full, a, ta, b, tb) : textcmp(full, a, ta, b, tb);
        break;
      }
      case 'D': case 'F': case 'L': case 'X': case 'S': {
        const int w = numsize(t);
        if (pa < w || pb < w) {
          r = bytecmp(mode, a, pa, b, pb);
        } else if (t == 'D') {
          r = order(getdouble(a), getdouble(b));
        } else if (t == 'F') {
          r = order(getfloat(a), getfloat(b));
        } else if (t == 'S') {
          r = order(get2(a), get2(b));
        } else {
          r = order(get4(a), get4(b));
        }
        break;
      }
      default:
        break;
    }
    if (r != 0) return (c.flags & CF_DESC) ? -r : r;
    a += pa;
    la -= pa;
    b += pb;
    lb -= pb;
    if (la == 0) {
      if (lb == 0) return 0;
      return mode == CompareMode::Stored ? -1 : 0;
    }
    if (lb == 0) return 1;
  }
  return 0;
}

namespace {

// A tag of one 4-byte integer component (the record codes): two whole keys
// compare as their numbers in every mode; anything else goes the long way.
int compareint4(CompareMode mode, const KeyDescr* kd, const uint8_t* a, int la, const uint8_t* b,
                int lb) {
  if (la == 4 && lb == 4) return order(get4(a), get4(b));
  return compare(mode, kd, a, la, b, lb);
}

// A tag of one natural-order text component.
int comparetext(CompareMode mode, const KeyDescr* kd, const uint8_t* a, int la, const uint8_t* b,
                int lb) {
  if (la <= 0 || lb <= 0) return compare(mode, kd, a, la, b, lb);
  const Component& c = kd->comps[0];
  const int L = c.length > 0 ? c.length : 0;
  const bool var = (c.flags & CF_VAR) != 0;
  int ta, pa, tb, pb;
  stored_text(b, lb, L, var, &tb, &pb);
  if (mode == CompareMode::Stored) {
    stored_text(a, la, L, var, &ta, &pa);
  } else {
    search_text(a, la, &ta, &pa);
  }
  // The last text of a prefix search key is a prefix.
  const int r = textcmp(mode == CompareMode::Prefix ? 0 : 1, a, ta, b, tb);
  if (r != 0) return r;
  // Bytes after the component: a stored key that ends first sorts first.
  la -= pa;
  lb -= pb;
  if (la == 0) return lb == 0 || mode != CompareMode::Stored ? 0 : -1;
  return lb == 0 ? 1 : 0;
}

}  // namespace

Comparator comparatorfor(const KeyDescr* kd) {
  if (kd == nullptr || kd->ncomps != 1) return compare;
  const Component& c = kd->comps[0];
  const char t = field_type(kd, c);
  if (c.flags & CF_DESC) return compare;
  if ((t == 'L' || t == 'X') && c.length == 4) return compareint4;
  if (t == 'C' && !(c.flags & CF_BINARY)) return comparetext;
  return compare;
}

bool natural(Comparator cmp) { return cmp == compare || cmp == compareint4 || cmp == comparetext; }

int continues(const KeyDescr* kd, const uint8_t* a, int la, const uint8_t* b, int lb) {
  const int last = kd->ncomps - 1;
  for (int k = 0; k <= last; ++k) {
    if (la <= 0 || lb <= 0) return 0;
    const Component& c = kd->comps[k];
    const char t = field_type(kd, c);
    const int L = c.length > 0 ? c.length : 0;
    int pa = min_int(L, la);
    int pb = min_int(L, lb);
    if (t == 'C') {
      int ta;
      int tb;
      search_text(a, la, &ta, &pa);
      stored_text(b, lb, L, (c.flags & CF_VAR) != 0, &tb, &pb);
      if (pa >= la || k == last) {
        if (c.flags & CF_BINARY) return 0;
        return numtail(a, ta, b, tb);
      }
    } else if (pa >= la || k == last) {
      return 0;
    }
    a += pa;
    la -= pa;
    b += pb;
    lb -= pb;
  }
  return 0;
}

bool prefixtogether(const KeyDescr* kd, const uint8_t* a, int la) {
  const int last = kd->ncomps - 1;
  for (int k = 0; k <= last; ++k) {
    if (la <= 0) return true;  // an empty search key sorts before every key
    const Component& c = kd->comps[k];
    const char t = field_type(kd, c);
    const int L = c.length > 0 ? c.length : 0;
    int pa = min_int(L, la);
    if (t == 'C') {
      int ta;
      search_text(a, la, &ta, &pa);
      // A trailing number may begin longer numbers that sort elsewhere
      // ("1" begins 12, yet 2 lies between them).
      if (pa >= la || k == last) return (c.flags & CF_BINARY) || trailing_number(a, ta) < 0;
    } else if (pa >= la || k == last) {
      // Bytes begin bytes in their own order; a number cut short does not
      // order by its bytes.
      return t == 'B' || pa >= numsize(t);
    }
    a += pa;
    la -= pa;
  }
  return true;
}

}  // namespace quill
