// Natural order of stored texts: case- and accent-blind, numbers by value,
// punctuation between words ignored. Nothing here reads outside the lengths
// it is given.
#pragma once

#include <cstdint>

#include "engine/chartable.h"

namespace quill {

// full: the whole of a against the whole of b; else a may be a leading part
// of b (a typed prefix).
int textcmp(int full, const uint8_t* a, int la, const uint8_t* b, int lb);
// The same order as textcmp, computed word by word from the start without
// its shortcuts; the reference that the shortcuts are checked against.
int textcmp_wordwise(int full, const uint8_t* a, int la, const uint8_t* b, int lb);
// Byte order, a NUL ending a text.
int exactcmp(int full, const uint8_t* a, int la, const uint8_t* b, int lb);
// Whether b's number goes on past the number that a prefix a ends in ("1"
// and "12"): 1 if so.
int numtail(const uint8_t* a, int la, const uint8_t* b, int lb);

// The runs of a text that the comparison and the order bytes both read.
namespace textrun {

using chartable::isdig;
using chartable::isign;

// Position of the first digit of the number that ends the text (trailing
// ignorable characters disregarded), or -1 when the text does not end in one.
inline int trailing_number(const uint8_t* s, int n) {
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
inline int numcmp(const uint8_t* a, int da, const uint8_t* b, int db, bool prefix) {
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

}  // namespace textrun

}  // namespace quill
