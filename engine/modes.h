// The choices that engine operations take as parameters, declared once so
// that every layer passing them on names the same type.
#pragma once

#include <cstdint>

namespace quill {

// What a seek matches: keys that begin with the sought one (numbers
// compared as a whole), keys equal to it, or the first key not smaller.
enum class SeekMode { Prefix, Equal, AtOrAfter };

// Which of several matching entries a seek stands on: the first and the
// last in the tree's order, or whichever the search meets first (cheapest).
enum class SeekWhich { First, Last, Any };

// The bytes that every key passed by a bounded step begins with: the step
// stops on the last entry before one whose key does not (no bound when the
// length is 0). Bytes, not the comparator: "begins with" needs no order.
struct KeyLead {
  const uint8_t* bytes = nullptr;
  int length = 0;
};

// A lock on a byte range of a file.
enum class LockMode { None, Shared, Exclusive };

}  // namespace quill
