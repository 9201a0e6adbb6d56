// Keys as byte strings in key order.
#include "engine/keys.h"

#include "engine/bytes.h"
#include "engine/keyparts.h"

namespace quill {

using namespace keyparts;
using chartable::kTable;
using chartable::kLetter;
using chartable::kIgnorable;
using textrun::digit_run;

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

}  // namespace quill
