#pragma once

// The three kinds of named record: albums, artists and songs. Their numbers
// are their tables' indexes and what the name table stores in its Kind
// field (the scan's file table has kinds of entry of its own). kindtable
// and kindoftable are the only ways between a kind and its number, and
// relationof and attrkind the only ways between a kind and a relation, so
// that a relation index or another table's number cannot pass for a kind.

namespace tracklore {

enum class Kind { Album = 0, Artist = 1, Song = 2 };

// Every kind in table order, and the two that relations link albums with.
inline constexpr Kind kKinds[] = {Kind::Album, Kind::Artist, Kind::Song};
inline constexpr Kind kAttributeKinds[] = {Kind::Artist, Kind::Song};

inline constexpr int kindtable(Kind k) { return static_cast<int>(k); }

// The kind a stored Kind field or a table index 0..2 names; the caller has
// checked the range.
inline constexpr Kind kindoftable(int table) { return static_cast<Kind>(table); }

// False for a Kind cast from a number that names no kind's table.
inline constexpr bool validkind(Kind k) { return k == Kind::Album || k == Kind::Artist || k == Kind::Song; }

// The relation (0 artists, 1 songs) that links albums with an artist or a
// song, and the kind of relation r's attributes.
inline constexpr int relationof(Kind k) { return kindtable(k) - 1; }
inline constexpr Kind attrkind(int r) { return kindoftable(r + 1); }

}  // namespace tracklore
