// File: the engine's only contact with the operating system's file services.
//
// Wraps one POSIX file descriptor with its stored path, access mode and
// sharing mode. Every operation returns 0 on success and -1 on failure; only
// write() reports anything to the user (through warning()).
//
// Sharing between processes rests on locks that belong to this handle (the
// open file description), not to the process:
//  - the sharing mode is a whole-file flock(): an exclusive open holds it
//    exclusively, a shared open shared, so an exclusive opener keeps every
//    other opener out (in this process too) and shared openers coexist.
//    flock() needs no write access, so a read-only open can be exclusive;
//  - create() holds the exclusive flock before it truncates, so it never
//    truncates a file that someone else holds;
//  - lock()/unlock() are byte-range open-file-description locks (fcntl
//    F_OFD_SETLK/F_OFD_SETLKW), independent of the flock().
// Positions, lengths and lock ranges are signed 32-bit: files stay below
// 2 GiB, and a transfer that would reach 2 GiB fails instead of wrapping.
//
// Tests can make writes fail through set_write_fault(), and watch everything
// that reaches the file system through set_observer() (a power-loss
// simulator rebuilds from it what a crash could leave). The names of files
// are changed through File too, so that the observer sees every step.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/modes.h"

namespace quill {

// How a file is opened: for reading only or also for writing, and whether
// this handle keeps every other opener out (see the sharing mode above).
enum class Access { ReadOnly, ReadWrite };
enum class Sharing { Exclusive, Shared };
// Whether taking a byte-range lock (LockMode, modes.h) waits for its holder.
enum class Wait { No, Yes };
// Whether opening a path that is a symbolic link follows it. A file the
// program owns alone (the catalogue's journal) refuses links, so that a
// link placed there cannot make it write somewhere else.
enum class Links { Follow, Refuse };

class File {
 public:
  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Only regular files are opened: a pipe, a device or a folder under a
  // table's name is refused (errno EINVAL) rather than waited on.
  [[nodiscard]] int open(const char* path, Access access, Sharing sharing, Links links = Links::Follow);
  [[nodiscard]] int create(const char* path, Sharing sharing, Links links = Links::Follow);
  [[nodiscard]] int close();

  [[nodiscard]] int read(void* buffer, int32_t n);
  [[nodiscard]] int write(const void* buffer, int32_t n);  // a null buffer writes n zeros

  int32_t tell();
  [[nodiscard]] int seek(int32_t position);
  [[nodiscard]] int seekrel(int32_t delta);
  [[nodiscard]] int seekend();
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
  // Held exclusively with sync deferred, writes that follow one another are
  // also gathered in memory (up to 1 MiB) and reach the file together, at
  // the next read, sync, close or a write elsewhere. A write that changes
  // only bytes the block cache holds stays in the cache instead, and dirty
  // blocks leave in file order, neighbours joined, when one is evicted or at
  // the sync, close or end of the deferral. When such a write fails where
  // nobody hears of it, the next sync fails.
  void defersync(bool on);
  int32_t size();  // current length of the file, -1 on failure
  // Sets the file's length; bytes past it are dropped. Not durable until
  // the next sync.
  [[nodiscard]] int truncate(int32_t length);

  // length 0: the whole file (offset 0, the current size, remembered for
  // unlock(0, 0)). LockMode::None locks nothing and succeeds.
  [[nodiscard]] int lock(LockMode mode, int32_t offset, int32_t length, Wait wait);
  [[nodiscard]] int unlock(int32_t offset, int32_t length);

  // A cache of 4 KiB blocks in front of reads, for a file held exclusively
  // (nobody else can change it behind our back); writes through this File
  // keep it in step. Record reads of a scan then cost a system call per
  // block, not per record. It holds up to kReadCacheBytes, as much as the
  // index page cache: lists that jump between records (an album's songs,
  // a song's albums) find most of a large table's blocks again. Its memory
  // is taken as blocks are first used, so a small file costs only its size.
  void setreadcache(bool on);
  static constexpr int32_t kReadCacheBytes = 16 << 20;
  // Asks the processor to fetch n bytes at position from the block cache
  // ahead of their read, when a cached block holds them; otherwise nothing.
  void prefetch(int64_t position, int32_t n);

  bool isopen() const { return opened_ != 0; }
  bool readonly() const { return readonly_ != 0; }
  bool exclusive() const { return exclusive_ != 0; }
  const std::string& name() const { return name_; }
  void storename(const char* path) { name_ = path; }

  // Fault injection for tests: the hook is asked before every write and
  // makes it fail when it answers true. Pass an empty function to remove it.
  using WriteFault = std::function<bool(const File& file, int32_t position, int32_t n)>;
  static void set_write_fault(WriteFault hook);
  // Fault injection one level lower, where the system refuses a call (a
  // full disk, a lock the system cannot grant): the hook answers the errno
  // the call fails with, or 0 to let it run. Writes are asked as they reach
  // the file system, gathered ones when they are flushed; an open is asked
  // before it is made, with the file's name and access (readonly()) set.
  enum class Call { Write, Sync, Lock, Open };
  using SystemFault = std::function<int(const File& file, Call call, int64_t position, int32_t n)>;
  static void set_system_fault(SystemFault hook);
  // Bytes free to this process on the file system that holds path, -1 when
  // unknown; tests may stand in for the file system with set_free_space.
  static int64_t freespace(const char* path);
  using FreeSpace = std::function<int64_t(const char* path)>;
  static void set_free_space(FreeSpace hook);

  // The errno of the write or sync that failed last, in any file (0 before
  // the first): a full disk is told from other failures by it.
  static int lastwriteerror();
  // The errno of the open that failed last, in any file (0 before the
  // first): EWOULDBLOCK when another opener's sharing mode kept it out,
  // EACCES, EPERM or EROFS when the system does not allow the access,
  // EINVAL for something that is not a regular file.
  static int lastopenerror();
  // A write the caller never heard of failed (gathered or cached), or a sync
  // failed: the file's contents on disk are unknown. Every later sync fails
  // too, until the close: a sync that succeeded after it would declare
  // durable what never reached the disk.
  bool failed() const { return lost_; }

  // What reaches the file system, in the order it is handed to it: writes
  // (as they leave File, gathered writes when they are flushed), data
  // syncs, files made empty or cut short, renames, removals and directory
  // syncs. Paths are as the callers named them.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void created(const std::string& path) = 0;
    virtual void wrote(const std::string& path, int64_t position, const char* bytes, int32_t n) = 0;
    virtual void synced(const std::string& path) = 0;
    virtual void truncated(const std::string& path, int64_t length) = 0;
    virtual void renamed(const std::string& from, const std::string& to) = 0;
    virtual void removed(const std::string& path) = 0;
    virtual void dirsynced(const std::string& dir) = 0;
  };
  // Null removes it.
  static void set_observer(Observer* observer);

  // Files by name, 0 or -1: a new empty file that must not exist yet; a
  // rename that replaces the target in one step; a removal; forcing the
  // directory that holds path to disk (its renames and removals).
  [[nodiscard]] static int createnew(const char* path);
  [[nodiscard]] static int renamefile(const char* from, const char* to);
  [[nodiscard]] static int removefile(const char* path);
  [[nodiscard]] static int syncdir(const char* path);

 private:
  int fd_ = -1;
  int64_t position_ = 0;
  int readonly_ = 0;
  int exclusive_ = 0;
  int opened_ = 0;
  std::string name_;
  int32_t lockedlen_ = 0;
  bool defersync_ = false;
  bool unsynced_ = false;
  bool written_ = false;  // since the last sync: without it a sync has nothing to do

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
  int flushpending();
  bool pendingover(int64_t at, int64_t n) const;  // gathered bytes lie in [at, at + n)
  int flushall();  // gathered writes, then dirty blocks
  int rawwrite(const char* p, int32_t n, int64_t position);
  int systemfault(Call call, int64_t position, int32_t n) const;  // an errno or 0

  bool readcache_ = false;
  std::vector<Block> blocks_;
  std::unique_ptr<uint8_t[]> blockbytes_;

  int dirtyblocks_ = 0;

  int cachedread(char* p, int32_t n);
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

  void adopt(int fd, const char* path, Access access, Sharing sharing);
};

// WriteFailed as DiskFull when the write that failed last did so for lack
// of space; any other code as it is.
ErrorCode writeresult(ErrorCode rc);

}  // namespace quill
