// A power-loss simulator. While a PowerCut lives it records through File's observer seam every
// write, sync, truncation, creation, rename, removal and directory sync; then it writes out the
// files as a power failure after a given number of those could leave them:
//  - each file: what its syncs made durable, plus some later writes (chosen by a seed), torn;
//  - names: those of the last directory sync (which covers a table's files), plus some later
//    changes in their order (one whose source is gone is skipped).
// CutMode::Pages, the realistic one, tears writes at 4 KiB pages, each page keeping some prefix
// of its writes since its last sync; CutMode::Sectors, the harsh one, tears them at 512-byte
// sectors and lands any subset.
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
  // The cuts worth trying in [from, to]: just before and just after every sync (of a file or the
  // directory), half way between two of them, and both ends.
  std::vector<int64_t> cutpoints(int64_t from, int64_t to) const;
  // Writes into the existing directory `target` every file as it could be after a cut at `at`.
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
  // Applies a creation, rename (one whose source is gone is skipped) or removal.
  static void apply_name(std::map<std::string, int>& names, const Event& e);
};

}  // namespace quill::test
