// File: the engine's only contact with the operating system's file services.
//
// Wraps one POSIX file descriptor with its stored path, access mode and
// sharing mode, and reads and writes at positions the caller gives: it
// holds no position, no cache and no write of its own (FileBuffer, in front
// of it, caches and gathers). Every operation returns 0 on success and -1 on
// failure; only a refused write reports anything to the user (through
// warning()).
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

// The bytes a write puts: the buffer, or n zeros (kept in *zeros) for a
// null one, as every writer of this layer and the buffer above it takes it.
inline const char* bytesorzeros(const void* buffer, int32_t n, std::vector<char>* zeros) {
  if (buffer != nullptr) return static_cast<const char*>(buffer);
  zeros->assign(static_cast<size_t>(n), 0);
  return zeros->data();
}

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
  // Closes the descriptor; nothing is written (a FileBuffer in front of the
  // file writes what it holds first).
  [[nodiscard]] int close();

  // n bytes at `at`: 0 when all of them were read, -1 on failure or where
  // the file ends first.
  [[nodiscard]] int readat(int64_t at, void* buffer, int32_t n);
  // As readat, fewer bytes only where the file ends: the bytes read, or -1.
  int32_t readupto(int64_t at, void* buffer, int32_t n);
  // n bytes at `at` (a null buffer writes n zeros): checkwrite, then put.
  [[nodiscard]] int writeat(int64_t at, const void* buffer, int32_t n);
  // What every write a caller makes passes before its bytes go anywhere:
  // a file open for writing, a range that stays below 2 GiB, the write
  // fault hook. A layer that holds writes back (FileBuffer) asks when its
  // caller writes and hands the bytes to put later. 0 or -1.
  [[nodiscard]] int checkwrite(int64_t at, int32_t n);
  // Hands the bytes to the system, as they are to reach the file (the
  // system fault hook and the observer see them here). 0 or -1.
  [[nodiscard]] int put(int64_t at, const char* bytes, int32_t n);

  // Forces written data to the disk; nothing to do when nothing was
  // written since the last sync. A failed sync is sticky, see failed().
  [[nodiscard]] int sync();
  int32_t size();  // current length of the file, -1 on failure
  // Sets the file's length; bytes past it are dropped. Not durable until
  // the next sync.
  [[nodiscard]] int truncate(int32_t length);

  // length 0: the whole file (offset 0, the current size, remembered for
  // unlock(0, 0)). LockMode::None locks nothing and succeeds.
  [[nodiscard]] int lock(LockMode mode, int32_t offset, int32_t length, Wait wait);
  [[nodiscard]] int unlock(int32_t offset, int32_t length);

  bool isopen() const { return opened_ != 0; }
  bool readonly() const { return readonly_ != 0; }
  bool exclusive() const { return exclusive_ != 0; }
  const std::string& name() const { return name_; }
  void storename(const char* path) { name_ = path; }

  // Fault injection for tests: the hook is asked before every write a
  // caller makes (checkwrite) and makes it fail when it answers true. Pass
  // an empty function to remove it.
  using WriteFault = std::function<bool(const File& file, int32_t position, int32_t n)>;
  static void set_write_fault(WriteFault hook);
  // Fault injection one level lower, where the system refuses a call (a
  // full disk, a lock the system cannot grant): the hook answers the errno
  // the call fails with, or 0 to let it run. Writes are asked as they reach
  // the file system (put), gathered ones when they are flushed; an open is
  // asked before it is made, with the file's name and access (readonly())
  // set.
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
  // A sync failed: the kernel may have dropped the pages it could not
  // write, so the file's contents on disk are unknown. Every later sync
  // fails too, until the close: a sync that succeeded after it would
  // declare durable what never reached the disk.
  bool failed() const { return failed_; }

  // What reaches the file system, in the order it is handed to it: writes
  // (as they are put), data syncs, files made empty or cut short, renames,
  // removals and directory syncs. Paths are as the callers named them.
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
  int readonly_ = 0;
  int exclusive_ = 0;
  int opened_ = 0;
  std::string name_;
  int32_t lockedlen_ = 0;
  bool written_ = false;  // since the last sync: without it a sync has nothing to do
  bool failed_ = false;   // see failed()

  int systemfault(Call call, int64_t position, int32_t n) const;  // an errno or 0
  void adopt(int fd, const char* path, Access access, Sharing sharing);
};

// WriteFailed as DiskFull when the write that failed last did so for lack
// of space; any other code as it is.
ErrorCode writeresult(ErrorCode rc);

}  // namespace quill
