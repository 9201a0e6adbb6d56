// Albums as CSV records, and reading a file of them into a plan of what to
// create.
//
// One record per link: album, kind ("artist" or "song"), position in the
// album's list from 0, name, album_code; an album without links has one
// record whose kind, position and name are empty. album_code tells apart
// albums that share a name: the records that carry the same album_code
// make one album, wherever they stand, and may not give one kind and
// position twice; an empty album_code counts as none. Files written before
// that column have four fields; there an album's records stand together,
// and a record begins a new album when its album name is not the record
// before's (letter case aside), when it repeats a kind and position already
// seen for the current album, or when it (or the record before) has an
// empty kind. A header record (the column names) may come first. Names are
// full names (names.h).
#pragma once

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/kind.h"

namespace tracklore::cli {

inline const std::vector<std::string> kAlbumColumns = {"album", "kind", "position", "name",
                                                       "album_code"};

struct Link {
  Kind kind = Kind::Artist;  // an artist or a song
  long position = -1;
  std::string name;  // full name
};

struct PlannedAlbum {
  std::string name;  // full name
  int line;
  bool bare = false;  // written as an album without links
  std::string label;  // its album_code in the file, when given
  std::vector<Link> links;  // each kind's in the order of their positions
  std::set<std::pair<Kind, long>> seen;
};

struct Plan {
  std::vector<PlannedAlbum> albums;
  std::map<std::string, size_t> labelled;  // album_code -> index in albums
};

// The file to import ("-": standard input), open for reading; null after
// the message saying why not. Only a regular file (or standard input that
// is one, a pipe or a terminal) is read: a directory would read as empty
// and a device such as /dev/zero as endless.
std::FILE* openinput(const std::string& path);

// Reads every record and checks it; false, after the problems of the whole
// file are told, when any record cannot be imported.
bool makeplan(std::FILE* in, Plan* plan);

}  // namespace tracklore::cli
