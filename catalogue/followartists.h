// An album's artists on a rescan, as its files' tags give them: the album
// artist of the first file (in song order) that has one, then the artists
// of each song's file in song order, each once (the rule of the first
// scan's grouping, scan.h).
//
// A tag's name leads to the artist it led to before (the hash of the name
// is remembered with the album's files: an artist renamed in the catalogue
// keeps its new name and is still found), else to one of the album's
// artists of that name, else to the catalogue's artist of that name (as a
// scan finds it), else to a new one: a stand-in code below -1 until make()
// creates it. Must be destroyed before the database is closed.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/findname.h"
#include "catalogue/relation.h"
#include "catalogue/results.h"
#include "catalogue/scanfiles.h"

namespace tracklore {

class AlbumArtists {
 public:
  // Reads the album's artists as the catalogue has them now.
  explicit AlbumArtists(int32_t album);

  // The artists a remembered file of the album was catalogued with.
  void remember(const FileEntry& entry);
  // The artists of a file read again: its album artist (empty: none) and
  // artist tags.
  FileEntry resolve(const std::string& albumartist, const std::vector<std::string>& artists);

  // The album's list from its files' entries, in song order (the first of
  // each song only adds its artists); false when one of them does not know
  // its artists (entries older than that), the list then being the
  // catalogue's.
  bool wanted(const std::vector<const FileEntry*>& infileorder, const std::vector<bool>& makessong,
              std::vector<int32_t>* codes) const;

  const std::vector<int32_t>& current() const { return current_; }
  // The record numbers of its rows, in order.
  const std::vector<int32_t>& rows() const { return rows_; }
  std::vector<std::string> names(const std::vector<int32_t>& codes);
  // Makes the new artists among codes (names, when given, are theirs),
  // replacing their stand-ins, in the entries too (where a stand-in not
  // among codes becomes -1). An artist an album before this one purged is
  // found or made again by its name.
  static ErrorCode make(const std::vector<std::string>& names, std::vector<int32_t>* codes,
                        const std::vector<FileEntry*>& entries);

 private:
  std::vector<int32_t> current_;
  std::vector<int32_t> rows_;
  std::vector<std::string> currentnames_;
  std::unordered_map<uint32_t, int32_t> bytag_;
  std::vector<std::string> fresh_;  // names of stand-in -2, -3, ...
  CodeLookup lookup_;
  NameFinder finder_;

  int32_t code(const std::string& name);
};

}  // namespace tracklore
