// The parts of a key as the comparison and the order bytes read them. Every
// length is clamped to what remains of the key, so a damaged or cut key is
// read as far as it goes and never beyond.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/keys.h"

namespace quill::keyparts {

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
inline int bytecmp(CompareMode mode, const uint8_t* a, int na, const uint8_t* b, int nb) {
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

}  // namespace quill::keyparts
