// Key layout and comparison.
//
// A key is made of the components of one tag, each a leading part of a field:
//  - a 'C' component with CF_VAR: the field's text up to and including its
//    first NUL within the component length L (exactly L bytes when there is
//    no NUL within L);
//  - any other component: the first L bytes of the field as stored ('L', 'X'
//    4-byte and 'S' 2-byte big-endian, 'D'/'F' native IEEE 754, 'C' NUL-padded
//    text, 'B' raw bytes).
// A search key has the same components, but every 'C' component is its text
// followed by one NUL, and the key may end after any component.
//
// compare() modes: Stored both keys stored; Prefix a is a search key whose
// last text may be a prefix; Whole a is a search key whose components match
// whole.
// Texts compare in natural order (case- and accent-blind, numbers by value,
// punctuation ignored) unless the component carries CF_BINARY.
// Nothing here reads outside the lengths it is given.
#pragma once

#include <cstdint>

#include "engine/chartable.h"
#include "engine/descr.h"
#include "engine/textorder.h"

namespace quill {

// What a tree knows of its keys: the tag's resolved components and the data
// file's field descriptors (whose type letters decide how parts compare).
struct KeyDescr {
  const Component* comps = nullptr;
  int ncomps = 0;
  const FieldDescr* fields = nullptr;
  int nfields = 0;
};

enum class CompareMode { Stored, Prefix, Whole };

using Comparator = int (*)(CompareMode mode, const KeyDescr* kd, const uint8_t* a, int la,
                           const uint8_t* b, int lb);
using Continuation = int (*)(const KeyDescr* kd, const uint8_t* a, int la,
                             const uint8_t* b, int lb);

int compare(CompareMode mode, const KeyDescr* kd, const uint8_t* a, int la, const uint8_t* b, int lb);
int continues(const KeyDescr* kd, const uint8_t* a, int la, const uint8_t* b, int lb);

// The comparator a tree of these keys uses: compare() itself or, for a tag
// of one component that a shortcut covers (a 4-byte integer, a natural-order
// text), a function that gives compare()'s results without its loop over the
// components. natural() tells compare() and its shortcuts from other orders.
Comparator comparatorfor(const KeyDescr* kd);
bool natural(Comparator cmp);

// Whether the stored keys that search key a matches in prefix mode lie
// together in key order, every key before them comparing greater and every
// key after them smaller, so that a sorted run of keys may be bisected. Not
// so when a ends in a number (1 begins 12, yet 2 lies between them) or in a
// number cut short (its bytes do not order as its value).
bool prefixtogether(const KeyDescr* kd, const uint8_t* a, int la);

// Stored keys as byte strings in the same order. orderbytes writes the
// first bytes (at most cap) of a string whose unsigned byte order, a string
// before every longer one that it begins, is compare()'s order of stored
// keys, keys that compare equal giving equal strings. It returns the
// string's length, or a number greater than cap when only its beginning
// fitted (the rest may be left unwritten), or
// -1 for a key it cannot write so: a tag that orderable() refuses (a
// descending or real-number component, a number of unusual width), or a key
// that is not whole (cut short, or with bytes after its last component).
bool orderable(const KeyDescr* kd);
int orderbytes(const KeyDescr* kd, const uint8_t* key, int keylen, uint8_t* out, int cap);

}  // namespace quill
