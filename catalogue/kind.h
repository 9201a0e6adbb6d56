#pragma once

// The three kinds of named record: albums, artists and songs. Their numbers
// are their tables' indexes and what the name and scan file tables store in
// their Kind field; kindtable and kindoftable are the only ways between the two,
// so that a relation index or another table's number cannot pass for a kind.

namespace tracklore {

enum class Kind { Album = 0, Artist = 1, Song = 2 };

inline constexpr int kindtable(Kind k) { return static_cast<int>(k); }

// The kind a stored Kind field or a table index 0..2 names; the caller has
// checked the range.
inline constexpr Kind kindoftable(int table) { return static_cast<Kind>(table); }

}  // namespace tracklore
