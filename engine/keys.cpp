#include "engine/keys.h"

#include <array>
#include <bit>
#include <cstring>

#include "engine/bytes.h"

namespace quill {

namespace {

// ---------------------------------------------------------------------------
// Character table (Windows-1252). Built at compile time so that every lookup
// in the comparator is a plain array index.

enum CharClass : uint8_t { kIgnorable = 0, kLetter = 1, kDigit = 2 };

struct CharTable {
  std::array<uint8_t, 256> base{};
  std::array<uint8_t, 256> lower{};
  std::array<uint8_t, 256> upper{};
  // Lower case of the base letter: what natural order compares.
  std::array<int8_t, 256> fold{};
  std::array<uint8_t, 256> cls{};
};

constexpr CharTable make_table() {
  CharTable t;
  for (int c = 0; c < 256; ++c) {
    t.base[c] = t.lower[c] = t.upper[c] = static_cast<uint8_t>(c);
  }
  // Control characters other than tab, line feed, carriage return and the
  // end-of-file mark read as a dot, so that stray bytes separate words.
  for (int c = 0x01; c <= 0x1F; ++c) {
    if (c == 0x09 || c == 0x0A || c == 0x0D || c == 0x1A) continue;
    t.base[c] = t.lower[c] = t.upper[c] = '.';
  }
  for (int c = 'A'; c <= 'Z'; ++c) {
    t.lower[c] = static_cast<uint8_t>(c + 0x20);
    t.upper[c + 0x20] = static_cast<uint8_t>(c);
  }
  // Accented capitals C0..DD and their small forms E0..FD (always 0x20
  // apart); C6 (AE), D0 (ETH), D7 (multiplication sign) and DE (THORN) have no
  // plain-letter base and stay outside.
  struct Range { int first, last; char base; };
  constexpr Range accented[] = {
      {0xC0, 0xC5, 'A'}, {0xC7, 0xC7, 'C'}, {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'},
      {0xD1, 0xD1, 'N'}, {0xD2, 0xD6, 'O'}, {0xD8, 0xD8, 'O'}, {0xD9, 0xDC, 'U'},
      {0xDD, 0xDD, 'Y'},
  };
  for (const Range& r : accented) {
    for (int c = r.first; c <= r.last; ++c) {
      t.base[c] = static_cast<uint8_t>(r.base);
      t.lower[c] = static_cast<uint8_t>(c + 0x20);
      t.base[c + 0x20] = static_cast<uint8_t>(r.base + 0x20);
      t.upper[c + 0x20] = static_cast<uint8_t>(c);
    }
  }
  for (int c = 0; c < 256; ++c) {
    const uint8_t b = t.base[c];
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
      t.cls[c] = kLetter;
    } else if (c >= '0' && c <= '9') {
      t.cls[c] = kDigit;
    } else {
      t.cls[c] = kIgnorable;
    }
    t.fold[c] = static_cast<int8_t>(t.lower[b]);
  }
  return t;
}

constexpr CharTable kTable = make_table();

inline bool isdig(uint8_t c) { return kTable.cls[c] == kDigit; }
inline bool isign(uint8_t c) { return kTable.cls[c] == kIgnorable; }

// ---------------------------------------------------------------------------
// Text helpers.

// Position of the first digit of the number that ends the text (trailing
// ignorable characters disregarded), or -1 when the text does not end in one.
int trailing_number(const uint8_t* s, int n) {
  int e = n;
  while (e > 0 && isign(s[e - 1])) --e;
  if (e == 0 || !isdig(s[e - 1])) return -1;
  while (e > 0 && isdig(s[e - 1])) --e;
  return e;
}

inline int digit_run(const uint8_t* s, int n) {
  int k = 0;
  while (k < n && isdig(s[k])) ++k;
  return k;
}

inline int word_run(const uint8_t* s, int n) {
  int k = 0;
  while (k < n && !isign(s[k])) ++k;
  return k;
}

inline int skip_ignorable(const uint8_t* s, int i, int n) {
  while (i < n && isign(s[i])) ++i;
  return i;
}

// Digit runs compared by value. In prefix manner a's digits need only begin
// b's number, so that a typed "1" still finds 12 and 100.
int numcmp(const uint8_t* a, int da, const uint8_t* b, int db, bool prefix) {
  while (da > 1 && *a == '0') { ++a; --da; }
  while (db > 1 && *b == '0') { ++b; --db; }
  if (prefix) {
    if (da > db) return 1;
  } else if (da != db) {
    return da - db;
  }
  for (int k = 0; k < da; ++k) {
    if (a[k] != b[k]) return a[k] - b[k];
  }
  return 0;
}

inline int charcmp(uint8_t ca, uint8_t cb) {
  return kTable.fold[ca] - kTable.fold[cb];
}

// ---------------------------------------------------------------------------
// Key part helpers. Every length is clamped to what remains of the key, so a
// damaged or cut key is compared as far as it goes and never read beyond.

inline int min_int(int x, int y) { return x < y ? x : y; }

inline int text_len(const uint8_t* p, int n) {
  if (n <= 0) return 0;
  const void* z = std::memchr(p, 0, static_cast<size_t>(n));
  return z ? static_cast<int>(static_cast<const uint8_t*>(z) - p) : n;
}

// A text component of a stored key: the text and the bytes the part takes.
// A variable-length text whose NUL fell outside the component (a field longer
// than the component) was stored as exactly L bytes, so no NUL is owed then.
inline void stored_text(const uint8_t* p, int rem, int L, bool var, int* text, int* part) {
  const int avail = min_int(L, rem);
  const int t = text_len(p, avail);
  *text = t;
  *part = (var && t < avail) ? t + 1 : avail;
}

// A text component of a search key: its text, then one NUL unless the key
// ends with the text.
inline void search_text(const uint8_t* p, int rem, int* text, int* part) {
  const int t = text_len(p, rem);
  *text = t;
  *part = t < rem ? t + 1 : t;
}

// Unsigned byte comparison of two parts that may have been cut short. In
// prefix mode a shorter a-part that matches is a leading part of b.
int bytecmp(CompareMode mode, const uint8_t* a, int na, const uint8_t* b, int nb) {
  const int m = min_int(na, nb);
  for (int k = 0; k < m; ++k) {
    if (a[k] != b[k]) return a[k] < b[k] ? -1 : 1;
  }
  if (mode == CompareMode::Prefix && na <= nb) return 0;
  return na - nb;
}

template <typename T>
inline int order(T x, T y) {
  // Unordered values (NaN) fall through both tests and count as equal.
  if (x < y) return -1;
  if (y < x) return 1;
  return 0;
}

inline char field_type(const KeyDescr* kd, const Component& c) {
  if (c.field < 0 || c.field >= kd->nfields || kd->fields == nullptr) return 0;
  return kd->fields[c.field].type;
}

}  // namespace

// ---------------------------------------------------------------------------
// Character table access.

uint8_t chr_base(uint8_t c) { return kTable.base[c]; }
uint8_t chr_lower(uint8_t c) { return kTable.lower[c]; }
uint8_t chr_upper(uint8_t c) { return kTable.upper[c]; }
bool chr_isletter(uint8_t c) { return kTable.cls[c] == kLetter; }
bool chr_isdigit(uint8_t c) { return kTable.cls[c] == kDigit; }
bool chr_isignorable(uint8_t c) { return kTable.cls[c] == kIgnorable; }

// ---------------------------------------------------------------------------
// Text comparison.

int exactcmp(int full, const uint8_t* a, int la, const uint8_t* b, int lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  const int n = min_int(la, lb);
  for (int k = 0; k < n; ++k) {
    if (a[k] != b[k]) {
      // A NUL ends its text there: a shorter a is still a prefix of b.
      if (a[k] == 0 && !full) return 0;
      return a[k] < b[k] ? -1 : 1;
    }
    if (a[k] == 0) return 0;
  }
  if (la > n && a[n] == 0) la = n;
  if (lb > n && b[n] == 0) lb = n;
  if (!full && la <= lb) return 0;
  return la - lb;
}

namespace {

// Natural comparison word by word from offsets i of a and j of b, where
// both stand between words (at the start, or after an ignorable character)
// and every word before them compared equal. tail: the first digit of a's
// trailing number in prefix manner, else -1.
int wordwise(int full, const uint8_t* a, int la, const uint8_t* b, int lb, int i, int j,
             int tail) {
  while (i < la || j < lb) {
    i = skip_ignorable(a, i, la);
    j = skip_ignorable(b, j, lb);
    int wa = word_run(a + i, la - i);
    int wb = word_run(b + j, lb - j);
    while (wa > 0 && wb > 0) {
      const uint8_t ca = a[i];
      const uint8_t cb = b[j];
      int r;
      if (isdig(ca) && isdig(cb)) {
        const int da = digit_run(a + i, wa);
        const int db = digit_run(b + j, wb);
        r = numcmp(a + i, da, b + j, db, !full && i == tail);
        i += da; wa -= da;
        j += db; wb -= db;
      } else {
        r = charcmp(ca, cb);
        ++i; --wa;
        ++j; --wb;
      }
      if (r != 0) return r;
    }
    if (!full && wa == 0) {
      i = skip_ignorable(a, i, la);
      if (i >= la) return 0;
    }
    if (wa > wb) return 1;
    if (wa < wb) return -1;
  }
  return 0;
}

}  // namespace

int textcmp_wordwise(int full, const uint8_t* a, int la, const uint8_t* b, int lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  return wordwise(full, a, la, b, lb, 0, 0, full ? -1 : trailing_number(a, la));
}

int textcmp(int full, const uint8_t* a, int la, const uint8_t* b, int lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  // Neighbouring keys share long beginnings: identical bytes first.
  const int shorter = la < lb ? la : lb;
  int k = 0;
  for (uint64_t x, y; k + 8 <= shorter; k += 8) {
    std::memcpy(&x, a + k, 8);
    std::memcpy(&y, b + k, 8);
    if (x != y) {
      // The lowest differing bit lies in the first differing byte.
      if constexpr (std::endian::native == std::endian::little) k += std::countr_zero(x ^ y) / 8;
      break;
    }
  }
  while (k < shorter && a[k] == b[k]) ++k;
  // Where both sides last stood between words: the word-by-word comparison
  // can start there, since every word before it is the same on both sides.
  int resume = k;
  while (resume > 0 && !isign(a[resume - 1])) --resume;
  // Most keys differ in a letter of the first word that is not the same
  // bytes. As long as both sides hold letters, the same digits or
  // separators at the same places, they stand in step with the word-by-word
  // comparison, and the first pair of letters that folds differently
  // decides just as it would there. Anything else (a number, a word ending
  // on one side only, the end of a text) is left to the full comparison.
  for (; k < shorter; ++k) {
    const uint8_t ca = a[k];
    const uint8_t cb = b[k];
    const uint8_t ka = kTable.cls[ca];
    const uint8_t kb = kTable.cls[cb];
    if (ka == kLetter && kb == kLetter) {
      const int r = charcmp(ca, cb);
      if (r != 0) return r;
    } else if (ka == kIgnorable && kb == kIgnorable) {
      resume = k + 1;
    } else if (ca != cb) {
      break;
    }
  }
  const int tail = full ? -1 : trailing_number(a, la);
  // A prefix that ran out in step with b begins it, unless it ends in a
  // number, which must still begin b's number by value.
  if (k == la && !full && tail < 0) return 0;
  return wordwise(full, a, la, b, lb, resume, resume, tail);
}

int numtail(const uint8_t* a, int la, const uint8_t* b, int lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  const int tail = trailing_number(a, la);
  if (tail < 0) return 0;
  int i = 0;
  int j = 0;
  int ea;
  int eb;
  // Words wholly before the number are passed over: the comparator has
  // already matched them, this test only asks whether b's number goes on.
  for (;;) {
    i = skip_ignorable(a, i, la);
    j = skip_ignorable(b, j, lb);
    if (j >= lb) return 0;
    ea = i + word_run(a + i, la - i);
    eb = j + word_run(b + j, lb - j);
    if (ea > tail) break;
    i = ea;
    j = eb;
  }
  while (i < tail) {
    if (j >= eb) return 0;
    if (isdig(a[i]) && isdig(b[j])) {
      const int da = digit_run(a + i, ea - i);
      const int db = digit_run(b + j, eb - j);
      if (numcmp(a + i, da, b + j, db, false) != 0) return 0;
      i += da;
      j += db;
    } else {
      if (charcmp(a[i], b[j]) != 0) return 0;
      ++i;
      ++j;
    }
  }
  // A digit run of a that starts before its trailing number ends before it,
  // so i lands exactly on the number here.
  return (i == tail && j < eb && isdig(b[j])) ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Key comparison.

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

// ---------------------------------------------------------------------------
// Keys as byte strings in key order.

namespace {

// The bytes of an order string; those beyond the capacity are counted only.
// Kept in locals by each writer: written through a byte pointer, a count
// held in memory would be reloaded after every byte.
struct OrderBytes {
  uint8_t* out;
  int cap;
  int n = 0;
};

// Natural-order text, token by token as the word-by-word comparison meets
// them (written only as far as the capacity asks): each word's letters folded ('a' to 'z') and numbers (a mark below
// every letter, as a digit compares below a letter, then the number of
// significant digits and the digits, so that longer numbers follow), each
// word closed by a mark below both (a word that ends first sorts first),
// the text by one below that (fewer words sort first). Separators and
// leading zeros leave nothing.
constexpr uint8_t kTextEnd = 0x00;
constexpr uint8_t kWordEnd = 0x01;
constexpr uint8_t kNumber = 0x10;

void naturalbytes(const uint8_t* s, int len, OrderBytes& o) {
  uint8_t* const out = o.out;
  const int cap = o.cap;
  int n = o.n;
  auto put = [&](uint8_t b) {
    if (n < cap) out[n] = b;
    ++n;
  };
  bool inword = false;
  // Below the capacity a letter or a word's end is one byte that fits, so
  // the common steps write without asking; numbers write by put().
  int i = 0;
  while (i < len && n < cap) {
    const uint8_t c = s[i];
    const uint8_t cls = kTable.cls[c];
    if (cls == kLetter) {
      // A word's letters in one run, as far as the text and the capacity go.
      const int stop = i + min_int(len - i, cap - n);
      do {
        out[n++] = static_cast<uint8_t>(kTable.fold[s[i]]);
        ++i;
      } while (i < stop && kTable.cls[s[i]] == kLetter);
      inword = true;
      continue;
    }
    if (cls == kIgnorable) {
      if (inword) out[n++] = kWordEnd;
      inword = false;
      ++i;
      continue;
    }
    inword = true;
    const uint8_t* d = s + i;
    int digits = digit_run(d, len - i);
    i += digits;
    while (digits > 1 && *d == '0') {
      ++d;
      --digits;
    }
    put(kNumber);
    put(static_cast<uint8_t>(digits >> 8));
    put(static_cast<uint8_t>(digits));
    for (int k = 0; k < digits; ++k) put(d[k]);
  }
  if (n >= cap) {
    o.n = n + 1;  // the text's end mark at least still follows
    return;
  }
  if (inword) put(kWordEnd);
  put(kTextEnd);
  o.n = n;
}

// Bytes as they stand (those of a signed number with the sign bit flipped,
// which orders them as unsigned bytes).
void rawbytes(const uint8_t* p, int len, bool sign, OrderBytes& o) {
  for (int k = 0; k < len; ++k, ++o.n) {
    if (o.n < o.cap) o.out[o.n] = k == 0 && sign ? static_cast<uint8_t>(p[0] ^ 0x80) : p[k];
  }
}

}  // namespace

namespace {

bool orderablepart(const KeyDescr* kd, const Component& c) {
  if (c.length <= 0 || (c.flags & CF_DESC)) return false;
  const char t = field_type(kd, c);
  const bool integer = t == 'L' || t == 'X' || t == 'S';
  return t == 'C' || t == 'B' || (integer && c.length == numsize(t));
}

}  // namespace

bool orderable(const KeyDescr* kd) {
  if (kd == nullptr || kd->ncomps <= 0) return false;
  for (int k = 0; k < kd->ncomps; ++k)
    if (!orderablepart(kd, kd->comps[k])) return false;
  return true;
}

int orderbytes(const KeyDescr* kd, const uint8_t* a, int la, uint8_t* out, int cap) {
  if (la <= 0 || kd == nullptr || kd->ncomps <= 0) return -1;
  OrderBytes o{out, cap};
  const int last = kd->ncomps - 1;
  for (int k = 0; k <= last; ++k) {
    const Component& c = kd->comps[k];
    if (!orderablepart(kd, c)) return -1;
    const char t = field_type(kd, c);
    const int L = c.length;
    int pa = min_int(L, la);
    if (t == 'C') {
      const bool var = (c.flags & CF_VAR) != 0;
      int ta;
      stored_text(a, la, L, var, &ta, &pa);
      if (!var && pa < L) return -1;
      if (c.flags & CF_BINARY) {
        // Text holds no NUL: the closing NUL sorts a shorter text first.
        const uint8_t end = 0;
        rawbytes(a, ta, false, o);
        rawbytes(&end, 1, false, o);
      } else {
        naturalbytes(a, ta, o);
      }
    } else {
      if (pa < L) return -1;
      rawbytes(a, pa, t != 'B', o);
    }
    a += pa;
    la -= pa;
    // compare() orders a key that ends early, or runs on, by its length.
    if (la == 0 && k < last) return -1;
  }
  return la == 0 ? o.n : -1;
}

// ---------------------------------------------------------------------------
// Capitalisation of names as the user types them.

namespace {

inline bool is_opening(char c) {
  return c == '"' || c == '\'' || c == '`' || c == '(' || c == '[' || c == '{' || c == '<';
}

inline bool is_delimiter(char c) {
  return c != '\0' && std::strchr(" /-.,+*~", c) != nullptr;
}

inline char upcase(char c) {
  return static_cast<char>(kTable.upper[static_cast<uint8_t>(c)]);
}

}  // namespace

char* capitalize(char* text, int allwords) {
  char* p = text;
  while (*p != '\0' && is_opening(*p)) ++p;
  if (*p == '\0') return text;
  *p = upcase(*p);
  if (!allwords) return text;
  for (;;) {
    while (*p != '\0' && !is_delimiter(*p)) ++p;
    if (*p == '\0') break;
    while (is_delimiter(*p)) ++p;
    while (*p != '\0' && is_opening(*p)) ++p;
    if (*p == '\0') break;
    *p = upcase(*p);
  }
  return text;
}

}  // namespace quill
