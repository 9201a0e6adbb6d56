// FileBuffer: the memory between a File and its reader: a cache of 4 KiB
// blocks in front of reads, and the gathering of writes while syncs are
// deferred.
//
// It borrows the File, which its owner opens before and closes after it
// (a DataFile, a MultiFile), and reaches the file only through File's
// positional reads and writes, so that the fault hooks and the observer
// see what it hands over. Every operation returns 0 on success and -1 on
// failure.
//
// Both parts serve a file held exclusively: nobody else can change it
// behind our back, and nobody else must see a change before the sync.
//  - Block cache (setreadcache): record reads of a scan then cost a system
//    call per block, not per record. It holds up to kReadCacheBytes, as much
//    as the index page cache: lists that jump between records (an album's
//    songs, a song's albums) find most of a large table's blocks again. Its
//    memory is taken as blocks are first used, so a small file costs only
//    its size. Writes keep it in step.
//  - Gathering (defersync): writes that follow one another are held in
//    memory (up to 1 MiB) and reach the file together, at the next read,
//    sync, close or a write elsewhere. A write that changes only bytes the
//    block cache holds stays in the cache instead, and dirty blocks leave in
//    file order, neighbours joined, when one is evicted or at the sync,
//    close or end of the deferral. When such a write fails where nobody
//    hears of it, the next sync fails.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/file.h"
#include "engine/modes.h"

namespace quill {

class FileBuffer {
 public:
  explicit FileBuffer(File& file) : file_(file) {}
  ~FileBuffer();  // writes out what it holds, as close() does
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;

  // n bytes at `at`; reads fail where the file ends first. A null buffer
  // writes n zeros.
  [[nodiscard]] int read(int64_t at, void* buffer, int32_t n);
  [[nodiscard]] int write(int64_t at, const void* buffer, int32_t n);

  // Forces written data to the disk. While sync is deferred it only notes
  // that data is waiting; sync() or close() then forces it once.
  [[nodiscard]] int flush();
  [[nodiscard]] int sync();
  // Bytes of the file, [from, to).
  struct Range {
    int64_t from;
    int64_t to;
  };
  // As sync(), except that changes held in the block cache in blocks wholly
  // inside `held` may stay there, to leave at a later sync, an eviction or
  // the close: for changes that the caller can do without after a crash.
  [[nodiscard]] int syncexcept(Range held);
  // See gathering above; ending the deferral writes out what it held.
  void defersync(bool on);
  int32_t size();  // the file's length, gathered writes included; -1 on failure
  [[nodiscard]] int truncate(int32_t length);
  // File::lock and unlock, with gathered writes in the file first.
  [[nodiscard]] int lock(LockMode mode, int32_t offset, int32_t length, Wait wait);
  [[nodiscard]] int unlock(int32_t offset, int32_t length) { return file_.unlock(offset, length); }

  void setreadcache(bool on);
  static constexpr int32_t kReadCacheBytes = 16 << 20;
  // Asks the processor to fetch n bytes at position from the block cache
  // ahead of their read, when a cached block holds them; otherwise nothing.
  void prefetch(int64_t position, int32_t n);

  // Writes out what is held, forces it to disk when a deferred flush is
  // waiting, and forgets everything, for the file to close: 0 or -1.
  [[nodiscard]] int close();

  // A write the caller never heard of failed (gathered or cached), or a sync
  // failed: the file's contents on disk are unknown, and every later sync
  // fails, until the close.
  bool failed() const { return lost_ || file_.failed(); }

 private:
  File& file_;
  bool defersync_ = false;
  bool unsynced_ = false;

  struct Block {
    int64_t number = -1;
    int32_t valid = 0;  // bytes of the block that the file holds
    int32_t dirtylo = 0, dirtyhi = 0;  // changed bytes not yet written
    bool dirty() const { return dirtyhi > dirtylo; }
  };
  static constexpr int kBlockBits = 12;
  static constexpr int kBlockSize = 1 << kBlockBits;
  static constexpr int kBlocks = kReadCacheBytes / kBlockSize;
  std::vector<char> pending_;  // gathered writes, from pendingpos_ on
  int64_t pendingpos_ = 0;
  bool lost_ = false;  // see failed()
  int64_t disksize_ = -1;  // the file's length without gathered writes; -1 unknown

  bool gathering() const { return defersync_ && file_.exclusive(); }
  int flushpending();
  bool pendingover(int64_t at, int64_t n) const;  // gathered bytes lie in [at, at + n)
  int flushall();  // gathered writes, then dirty blocks
  int rawwrite(const char* p, int32_t n, int64_t position);

  bool readcache_ = false;
  std::vector<Block> blocks_;
  std::unique_ptr<uint8_t[]> blockbytes_;

  int dirtyblocks_ = 0;

  int cachedread(int64_t at, char* p, int32_t n);
  int fillblock(Block& block, int64_t number);
  int32_t directread(char* p, int64_t at, int32_t n);
  int cachedwrite(int64_t position, const char* p, int32_t n, bool dirty = false);
  Block* cached(int64_t number);  // null when the block is not in the cache
  uint8_t* bytesof(int64_t number);
  bool holds(int64_t position, int32_t n);
  // Held blocks (see syncexcept) are left out of the run.
  int writerun(int64_t number, Range held = Range{0, 0});
  static bool inside(int64_t number, Range held);  // the block lies wholly in it
  int writedirty(Range held);  // all but the changes held in blocks inside `held`
  void dropblocks();
};

}  // namespace quill
