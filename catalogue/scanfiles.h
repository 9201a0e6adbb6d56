// What the scans remember in the database's scan file table (schema.h,
// ScanFileTable): the files they catalogued, the folders they were given,
// and for each album a scan made what it made.
//
// Entries, each cut into parts of at most kNamePartBytes bytes of text
// (Part 0, 1, ...) under one Kind and Id, like the name table's:
//   Kind 0  an audio file: Id a number of its own, Text its path in full;
//           part 0 carries the album it went to, the song and position
//           (Seq) it gave, its disc and track, the hash of the title its
//           tags gave (a title changed in the catalogue is the user's,
//           one changed in the tags a retag), the hash of its album and
//           album artist tags (Group: read again with the same, it stays
//           in its album), and its size and
//           modification time (seconds, nanoseconds) when it was read;
//   Kind 1  a folder scanned: Id a number of its own, Text its path;
//   Kind 2  an album a scan made or took: Id its code, Album the
//           fingerprint of its lists as the scan left them, Song the hash
//           of the identity of its files' tags (ScannedAlbum::identity),
//           Text the album's name as its files give it (empty in entries
//           written before the name was kept);
//   Kind 3  the artists of the file of kind 0 with the same Id, as they
//           were catalogued: Text "A" when the first is its album artist,
//           else "T", then for each " code:hash" (decimal code, hash of the
//           name its tags gave in 8 hex digits). A file without one (older
//           entries) leaves its album's artists as the catalogue has them.
// A file that went to no album of the scan (its album was left alone)
// carries Album -1. An album whose lists no longer have their fingerprint
// was edited by the user since; a rescan leaves those lists alone.
//
// The whole table is read into memory at load(): a rescan asks about every
// file of the collection. Writes go to the open table as they are made;
// the caller journals them (declare()) or runs them in a batch, where
// they are appends. Without the table open (read-only or shared, a
// database without it) load() finds nothing and every write does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/results.h"
#include "catalogue/scan.h"
#include "engine/noncopyable.h"

namespace tracklore {

class Intent;

enum : int { FileEntryKind = 0, FolderEntryKind = 1, AlbumEntryKind = 2, ArtistsEntryKind = 3 };

struct FileArtist {
  int32_t code = -1;  // -1: not in the album when it was catalogued (a copy's)
  uint32_t tag = 0;   // titlehash of the name the tag gave
  bool operator==(const FileArtist&) const = default;
};

struct FileEntry {
  std::string path;
  FileStat stat;
  int32_t album = -1;
  int32_t song = -1;
  int seq = 0, disc = 0, track = 0;
  uint32_t title = 0;  // titlehash of the song's name as scanned
  uint32_t group = 0;  // ScannedAlbum::Source::group
  bool artistsknown = false;
  bool albumartist = false;  // artists' first is the album artist
  std::vector<FileArtist> artists;
  bool operator==(const FileEntry&) const = default;
};

struct AlbumMark {
  int32_t album = -1;
  uint32_t made = 0;      // fingerprint of the lists
  uint32_t identity = 0;  // hash of the tags' identity
  std::string name;       // as the files give it; empty when not known
};

// The fingerprint of an album's lists as they are in the catalogue now:
// the codes of its artists and songs in order.
uint32_t albumfingerprint(int32_t album);
// The same of lists already read: the codes of its artists and songs.
uint32_t albumfingerprint(const std::vector<int32_t>& artists, const std::vector<int32_t>& songs);
uint32_t identityhash(const std::string& identity);
uint32_t titlehash(const std::string& title);

class ScanFiles : quill::NonCopyable {
 public:
  // Reads every entry of the open table; Ok or the failing read.
  ErrorCode load();
  // Reads the folders' entries only (what a rescan without folders walks).
  ErrorCode loadfolders();
  bool there() const;

  // Every file's entry, and whether markseen() was called for its path.
  void visit(const std::function<void(const FileEntry& entry, bool seen)>& visitor) const;
  const FileEntry* file(const std::string& path) const;
  // Notes that the walk met the file (for what is gone after it); an entry
  // that putfile() makes counts as met.
  void markseen(const std::string& path);
  const std::vector<std::string>& folders() const { return folderpaths_; }
  const AlbumMark* mark(int32_t album) const;
  // The albums scans made whose files' tags have this identity, lowest
  // code first.
  std::vector<int32_t> albumsof(const std::string& identity) const;

  // Declares to the intent the entries that putfile, dropfile and putmark
  // of these would change, and the table's counts.
  void declarefile(Intent& intent, const std::string& path) const;
  void declaremark(Intent& intent, int32_t album) const;

  // Writes the file's entry (rewriting the one of its path), drops it;
  // writes or drops an album's mark; adds a folder not yet remembered.
  ErrorCode putfile(const FileEntry& entry);
  ErrorCode dropfile(const std::string& path);
  ErrorCode putmark(const AlbumMark& mark);
  ErrorCode dropmark(int32_t album);
  ErrorCode putfolder(const std::string& path);

 private:
  // One allocation of each path a file: 100,000 of them are held at once.
  struct Held {
    FileEntry entry;
    int32_t id = 0;
    bool seen = false;
    std::vector<int32_t> recnos;  // by part
    std::vector<int32_t> artistrecnos;  // its artists' entry, by part
  };
  struct Marked {
    AlbumMark mark;
    std::vector<int32_t> recnos;  // by part
  };
  std::unordered_map<std::string_view, std::unique_ptr<Held>> files_;  // keys view entry.path
  std::unordered_map<int32_t, Marked> marks_;  // by album
  std::unordered_multimap<uint32_t, int32_t> byidentity_;
  std::vector<std::string> folderpaths_;
  int32_t nextid_ = 0;

  ErrorCode append(int entrykind, int32_t id, const std::string& text, const FileEntry* file,
                   const AlbumMark* mark, std::vector<int32_t>* recnos);
  ErrorCode drop(const std::vector<int32_t>& recnos);
  void unindex(const Marked& marked);
  ErrorCode putartists(Held& held, const FileEntry& entry);
};

}  // namespace tracklore
