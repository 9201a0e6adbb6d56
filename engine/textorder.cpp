#include "engine/textorder.h"

#include <bit>
#include <cstring>

namespace quill {

using namespace chartable;
using namespace textrun;

int exactcmp(int full, const uint8_t* a, int la, const uint8_t* b, int lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  const int n = (la < lb ? la : lb);
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

}  // namespace quill
