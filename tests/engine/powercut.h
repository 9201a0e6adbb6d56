// A power-loss simulator for tests, watching the engine through File's
// observer seam.
//
// While a PowerCut lives it records, in order, every write, data sync,
// truncation, creation, rename, removal and directory sync that the engine
// hands to the file system. Afterwards it can write out the files as they
// could be after the power failed when a given number of those events had
// happened:
//  - each file holds everything that a sync of it made durable, plus some
//    of the writes since (chosen by a seed), a write torn into pieces;
//  - the names are those of the last directory sync, plus some of the
//    creations, renames and removals since, in their order (one that finds
//    its source gone is skipped).
// Two ways of losing writes:
//  - CutMode::Pages, the realistic one: writes are torn at 4 KiB page
//    boundaries of the file; every page holds the result of some prefix of
//    the writes that touched it since its last sync (a page reaches the disk
//    whole, as it stood at some moment), pages independently of each other;
//  - CutMode::Sectors, the harsh one: writes are torn at 512-byte sector
//    boundaries and any subset of the pieces reaches the disk.
// Directories are not told apart: a directory sync makes every name
// durable (the engine keeps a table's files in one directory).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/file.h"

namespace quill::test {

enum class CutMode { Pages, Sectors };

class PowerCut : public File::Observer {
 public:
  // Starts recording; the regular files now in `dir` count as on disk.
  explicit PowerCut(const std::string& dir = ".");
  ~PowerCut() override;
  PowerCut(const PowerCut&) = delete;
  PowerCut& operator=(const PowerCut&) = delete;

  // Events recorded so far: a cut "at n" follows the first n of them.
  int64_t now() const { return static_cast<int64_t>(events_.size()); }
  // Data syncs (files) recorded in [from, to).
  int syncs(int64_t from, int64_t to) const;
  // The cuts worth trying in [from, to]: just before and just after every
  // sync (of a file or the directory), half way between two of them, and
  // both ends.
  std::vector<int64_t> cutpoints(int64_t from, int64_t to) const;
  // Writes into the existing directory `target` every file as it could be
  // after a cut at `at`.
  void materialise(int64_t at, uint64_t seed, CutMode mode, const std::string& target) const;

  void created(const std::string& path) override;
  void wrote(const std::string& path, int64_t position, const char* bytes, int32_t n) override;
  void synced(const std::string& path) override;
  void truncated(const std::string& path, int64_t length) override;
  void renamed(const std::string& from, const std::string& to) override;
  void removed(const std::string& path) override;
  void dirsynced(const std::string& dir) override;

 private:
  enum class Kind { Create, Truncate, Write, Sync, Rename, Remove, DirSync };
  struct Event {
    Kind kind;
    int inode;          // Truncate, Write, Sync; Create: the new file
    std::string name;   // Create, Rename (from), Remove
    std::string to;     // Rename
    int64_t position = 0;  // Write; Truncate: the length left
    std::vector<char> bytes;
  };

  std::string dir_;
  std::map<int, std::vector<char>> initial_;    // inode -> contents at the start
  std::map<std::string, int> initialnames_;
  std::map<std::string, int> names_;            // as recording goes on
  int nextinode_ = 0;
  std::vector<Event> events_;

  int inode_of(const std::string& path);
};

}  // namespace quill::test
