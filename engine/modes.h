// The choices that engine operations take as parameters, declared once so
// that every layer passing them on names the same type.
#pragma once

namespace quill {

// What a seek matches: keys that begin with the sought one (numbers
// compared as a whole), keys equal to it, or the first key not smaller.
enum class SeekMode { Prefix, Equal, AtOrAfter };

// Which of several matching entries a seek stands on: the first and the
// last in the tree's order, or whichever the search meets first (cheapest).
enum class SeekWhich { First, Last, Any };

// A lock on a byte range of a file.
enum class LockMode { None, Shared, Exclusive };

}  // namespace quill
