#include "engine/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "engine/errors.h"

namespace quill {

namespace {

constexpr int64_t kMaxPosition = std::numeric_limits<int32_t>::max();

// The hooks outlive every static File: a table closed by the exit
// handlers (after a fatal error) may still ask them.
File::WriteFault& write_fault() {
  static auto* hook = new File::WriteFault;
  return *hook;
}

File::Observer* g_observer = nullptr;

File::SystemFault& system_fault() {
  static auto* hook = new File::SystemFault;
  return *hook;
}

int g_lastopenerror = 0;

// Notes why an open failed; returns -1 for the caller to pass on.
int openfailed(int error) {
  g_lastopenerror = error;
  return -1;
}

File::FreeSpace& free_space() {
  static auto* hook = new File::FreeSpace;
  return *hook;
}

// Notes why a write or sync failed; returns -1 for the caller to pass on.
int failedwith(int error) {
  lastwriteerrno = error;
  ++writefailures;
  return -1;
}

// Takes the flock that stands for the sharing mode, without waiting.
bool take_share_lock(int fd, Sharing sharing) {
  int how = (sharing == Sharing::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  while (flock(fd, how) != 0)
    if (errno != EINTR) return false;
  return true;
}

int range_lock(int fd, short type, int32_t offset, int32_t length, bool wait) {
  struct flock fl = {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = offset;
  fl.l_len = length;
  fl.l_pid = 0;  // required for open-file-description locks
  int command = wait ? F_OFD_SETLKW : F_OFD_SETLK;
  while (fcntl(fd, command, &fl) != 0)
    if (errno != EINTR || !wait) return -1;
  return 0;
}

}  // namespace

void File::set_write_fault(WriteFault hook) { write_fault() = std::move(hook); }

void File::set_observer(Observer* observer) { g_observer = observer; }

void File::set_system_fault(SystemFault hook) { system_fault() = std::move(hook); }

void File::set_free_space(FreeSpace hook) { free_space() = std::move(hook); }

int File::lastwriteerror() { return lastwriteerrno; }

int File::lastopenerror() { return g_lastopenerror; }

ErrorCode writeresult(ErrorCode rc) { return rc == WriteFailed && diskwasfull() ? DiskFull : rc; }

int64_t File::freespace(const char* path) {
  if (free_space()) return free_space()(path);
  struct statvfs fs;
  if (::statvfs(path, &fs) != 0) return -1;
  return static_cast<int64_t>(fs.f_bavail) * static_cast<int64_t>(fs.f_frsize);
}

int File::systemfault(Call call, int64_t position, int32_t n) const {
  return system_fault() ? system_fault()(*this, call, position, n) : 0;
}

int File::createnew(const char* path) {
  int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  ::close(fd);
  if (g_observer != nullptr) g_observer->created(path);
  return 0;
}

int File::renamefile(const char* from, const char* to) {
  if (std::rename(from, to) != 0) return -1;
  if (g_observer != nullptr) g_observer->renamed(from, to);
  return 0;
}

int File::removefile(const char* path) {
  if (::unlink(path) != 0) return -1;
  if (g_observer != nullptr) g_observer->removed(path);
  return 0;
}

int File::syncdir(const char* path) {
  std::string name = path;
  std::string::size_type slash = name.rfind('/');
  std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  int rc = fsync(fd);
  ::close(fd);
  if (rc != 0) return -1;
  if (g_observer != nullptr) g_observer->dirsynced(dir);
  return 0;
}

// Nobody to tell here: an owner that must know closes first.
File::~File() { (void)close(); }

void File::adopt(int fd, const char* path, Access access, Sharing sharing) {
  fd_ = fd;
  opened_ = 1;
  exclusive_ = sharing == Sharing::Exclusive ? 1 : 0;
  readonly_ = access == Access::ReadOnly ? 1 : 0;
  lockedlen_ = 0;
  storename(path);
}

namespace {

// Opens path as a regular file only. O_NONBLOCK keeps a pipe's open from
// waiting for a writer; it means nothing to a regular file, but is taken
// off again all the same.
int openregular(const char* path, int flags, Links links) {
  if (links == Links::Refuse) flags |= O_NOFOLLOW;
  const int fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

}  // namespace

int File::open(const char* path, Access access, Sharing sharing, Links links) {
  if (opened_) return -1;
  storename(path);
  readonly_ = access == Access::ReadOnly ? 1 : 0;
  const int refused = systemfault(Call::Open, 0, 0);
  readonly_ = 0;
  name_.clear();
  if (refused != 0) return openfailed(refused);
  int fd = openregular(path, access == Access::ReadWrite ? O_RDWR : O_RDONLY, links);
  if (fd < 0) return openfailed(errno);
  if (!take_share_lock(fd, sharing)) {
    const int held = errno;
    ::close(fd);
    return openfailed(held);
  }
  adopt(fd, path, access, sharing);
  return 0;
}

int File::create(const char* path, Sharing sharing, Links links) {
  if (opened_) return -1;
  int fd = openregular(path, O_RDWR | O_CREAT, links);
  if (fd < 0) return -1;
  // Truncate only what nobody else holds: take the exclusive lock first and
  // relax it to shared afterwards when a shared open was asked for.
  if (!take_share_lock(fd, Sharing::Exclusive) || ftruncate(fd, 0) != 0 ||
      (sharing == Sharing::Shared && !take_share_lock(fd, Sharing::Shared))) {
    ::close(fd);
    return -1;
  }
  if (g_observer != nullptr) g_observer->created(path);
  adopt(fd, path, Access::ReadWrite, sharing);
  written_ = true;  // the truncation
  return 0;
}

int File::close() {
  if (!opened_) return 0;
  // The descriptor goes whatever failed: kept open, it would keep its
  // locks, and with them every other opener out, until the process ends.
  int rc = 0;
  if (::close(fd_) != 0 && errno != EINTR) rc = -1;
  fd_ = -1;
  opened_ = 0;
  exclusive_ = 0;
  readonly_ = 0;
  lockedlen_ = 0;
  written_ = false;
  failed_ = false;
  name_.clear();
  return rc;
}

int32_t File::readupto(int64_t at, void* buffer, int32_t n) {
  if (!opened_ || n < 0 || at < 0) return -1;
  auto* p = static_cast<char*>(buffer);
  int32_t got = 0;
  while (got < n) {
    ssize_t r = ::pread(fd_, p + got, static_cast<size_t>(n - got), at + got);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == 0) break;
    got += static_cast<int32_t>(r);
  }
  return got;
}

int File::readat(int64_t at, void* buffer, int32_t n) {
  if (n == 0) return 0;
  return readupto(at, buffer, n) == n ? 0 : -1;
}

int File::checkwrite(int64_t at, int32_t n) {
  if (readonly_) {
    warning("File::write: write failed (file '%s' opened as readonly)\n", name_.c_str());
    return failedwith(EBADF);
  }
  if (!opened_) {
    warning("File::write: write failed (file '%s' not opened)\n", name_.c_str());
    return failedwith(EBADF);
  }
  if (n < 0 || at < 0 || at + n > kMaxPosition) return -1;
  if (n > 0 && write_fault() && write_fault()(*this, static_cast<int32_t>(at), n))
    return failedwith(EIO);
  return 0;
}

int File::writeat(int64_t at, const void* buffer, int32_t n) {
  if (checkwrite(at, n) != 0) return -1;
  if (n == 0) return 0;
  std::vector<char> zeros;
  const char* p = bytesorzeros(buffer, n, &zeros);
  return put(at, p, n);
}

int File::put(int64_t at, const char* bytes, int32_t n) {
  written_ = true;
  int32_t done = 0;
  while (done < n) {
    const int refused = systemfault(Call::Write, at + done, n - done);
    if (refused != 0) errno = refused;
    ssize_t wrote = refused != 0
                        ? -1
                        : ::pwrite(fd_, bytes + done, static_cast<size_t>(n - done), at + done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return failedwith(wrote < 0 ? errno : ENOSPC);  // no progress: no room
    done += static_cast<int32_t>(wrote);
  }
  if (g_observer != nullptr) g_observer->wrote(name_, at, bytes, n);
  return 0;
}

int File::sync() {
  if (!opened_) return -1;
  // Sticky: what failed is not on disk, and no later sync may say it is.
  if (failed_) return -1;
  if (!written_) return 0;
  const int refused = systemfault(Call::Sync, 0, 0);
  if (refused != 0 || fdatasync(fd_) != 0) {
    failed_ = true;
    return failedwith(refused != 0 ? refused : errno);
  }
  written_ = false;
  if (g_observer != nullptr) g_observer->synced(name_);
  return 0;
}

int32_t File::size() {
  if (!opened_) return -1;
  struct stat st;
  if (fstat(fd_, &st) != 0 || st.st_size > kMaxPosition) return -1;
  return static_cast<int32_t>(st.st_size);
}

int File::truncate(int32_t length) {
  if (!opened_ || readonly_ || length < 0) return -1;
  while (::ftruncate(fd_, length) != 0)
    if (errno != EINTR) return -1;
  written_ = true;
  if (g_observer != nullptr) g_observer->truncated(name_, length);
  return 0;
}

int File::lock(LockMode mode, int32_t offset, int32_t length, Wait wait) {
  if (mode == LockMode::None) return 0;
  if (!opened_) return -1;
  if (length == 0) {
    int32_t whole = size();
    if (whole < 0) return -1;
    offset = 0;
    length = whole;
    lockedlen_ = whole;
    // A zero length means "to the end and beyond" to fcntl; an empty file has
    // nothing to lock.
    if (length == 0) return 0;
  }
  if (offset < 0 || length < 0) return -1;
  if (const int refused = systemfault(Call::Lock, offset, length); refused != 0) {
    errno = refused;
    return -1;
  }
  return range_lock(fd_, mode == LockMode::Exclusive ? F_WRLCK : F_RDLCK, offset, length,
                    wait == Wait::Yes);
}

int File::unlock(int32_t offset, int32_t length) {
  if (!opened_) return -1;
  if (length == 0) {
    offset = 0;
    length = lockedlen_;
    if (length == 0) return 0;
  }
  if (offset < 0 || length < 0) return -1;
  return range_lock(fd_, F_UNLCK, offset, length, false);
}

}  // namespace quill
