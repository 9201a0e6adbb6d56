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

// Reads n bytes at `at`, fewer only where the file ends: the bytes read,
// or -1.
int32_t readat(int fd, void* buffer, int32_t n, int64_t at) {
  auto* p = static_cast<char*>(buffer);
  int32_t got = 0;
  while (got < n) {
    ssize_t r = ::pread(fd, p + got, static_cast<size_t>(n - got), at + got);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == 0) break;
    got += static_cast<int32_t>(r);
  }
  return got;
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
  position_ = 0;
  disksize_ = -1;
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
  int rc = flushall();
  if (rc == 0 && unsynced_) rc = sync();
  if (::close(fd_) != 0 && errno != EINTR) rc = -1;
  fd_ = -1;
  opened_ = 0;
  exclusive_ = 0;
  readonly_ = 0;
  lockedlen_ = 0;
  defersync_ = false;
  unsynced_ = false;
  written_ = false;
  lost_ = false;
  readcache_ = false;
  dropblocks();
  name_.clear();
  return rc == 0 ? 0 : -1;
}

void File::setreadcache(bool on) {
  readcache_ = on;
  if (!on) {
    writedirty({0, 0});  // a failure shows at the next sync
    dropblocks();
  }
}

void File::dropblocks() {
  if (dirtyblocks_ > 0) lost_ = true;  // changes that never reached the file
  dirtyblocks_ = 0;
  blocks_.clear();
  blockbytes_.reset();
}

int File::cachedread(char* p, int32_t n) {
  if (blocks_.empty()) {
    blocks_.assign(kBlocks, Block{});
    blockbytes_.reset(new uint8_t[static_cast<size_t>(kBlocks) * kBlockSize]);
  }
  int32_t done = 0;
  while (done < n) {
    const int64_t at = position_ + done;
    const int64_t number = at >> kBlockBits;
    Block& block = blocks_[static_cast<size_t>(number % kBlocks)];
    uint8_t* bytes = bytesof(number);
    if (block.number != number) {
      const int32_t direct = directread(p + done, at, n - done);
      if (direct < 0) {
        position_ += done;
        return -1;
      }
      if (direct > 0) {
        done += direct;
        continue;
      }
      if (fillblock(block, number) != 0) {
        position_ += done;
        return -1;
      }
    }
    const int32_t within = static_cast<int32_t>(at - (number << kBlockBits));
    const int32_t take = std::min<int32_t>(n - done, block.valid - within);
    if (take <= 0) {  // a short read at the end of the file
      position_ += done;
      return -1;
    }
    std::memcpy(p + done, bytes + within, static_cast<size_t>(take));
    done += take;
  }
  position_ += n;
  return 0;
}

// Reads block `number` into its slot: what the file holds, then the
// gathered writes that fall inside it, which are newer and need not be
// written first (appends read back block by block would otherwise leave
// one by one). Between the file's end and gathered bytes beyond it the
// block holds zeros, as the file will.
int File::fillblock(Block& block, int64_t number) {
  if (block.dirty() && writerun(block.number) != 0) return -1;
  block.number = -1;
  if (disksize_ < 0) {
    struct stat st;
    if (fstat(fd_, &st) != 0) return -1;
    disksize_ = st.st_size;
  }
  const int64_t first = number << kBlockBits;
  const int32_t ondisk =
      static_cast<int32_t>(std::clamp<int64_t>(disksize_ - first, 0, kBlockSize));
  uint8_t* bytes = bytesof(number);
  int32_t got = readat(fd_, bytes, ondisk, first);
  if (got < 0) return -1;
  if (pendingover(first, kBlockSize)) {
    const int64_t pendingend = pendingpos_ + static_cast<int64_t>(pending_.size());
    const int64_t lo = std::max(first, pendingpos_);
    const int64_t hi = std::min(first + kBlockSize, pendingend);
    const int32_t from = static_cast<int32_t>(lo - first);
    if (from > got) std::memset(bytes + got, 0, static_cast<size_t>(from - got));
    std::memcpy(bytes + from, pending_.data() + (lo - pendingpos_), static_cast<size_t>(hi - lo));
    got = std::max(got, static_cast<int32_t>(hi - first));
  }
  block.number = number;
  block.valid = got;
  return 0;
}

// A read that covers several whole blocks the cache does not hold goes to
// the caller's buffer in one call, bypassing the cache: a copy that walks a
// file from end to end would otherwise read it a block at a time and push
// out every block held. Returns the bytes read so (whole blocks from at,
// 0 when it does not apply) or -1.
int32_t File::directread(char* p, int64_t at, int32_t n) {
  if ((at & (kBlockSize - 1)) != 0) return 0;
  int32_t span = 0;
  while (n - span >= kBlockSize && cached((at + span) >> kBlockBits) == nullptr) span += kBlockSize;
  if (span < 2 * kBlockSize) return 0;
  if (pendingover(at, span) && flushpending() != 0) return -1;
  const int32_t got = readat(fd_, p, span, at);
  if (got < 0) return -1;
  // A file that ends inside the span: the rest goes through the cache,
  // which reports the short read.
  return got & ~(kBlockSize - 1);
}

bool File::pendingover(int64_t at, int64_t n) const {
  return !pending_.empty() && pendingpos_ < at + n &&
         at < pendingpos_ + static_cast<int64_t>(pending_.size());
}

File::Block* File::cached(int64_t number) {
  Block& block = blocks_[static_cast<size_t>(number % kBlocks)];
  return block.number == number ? &block : nullptr;
}

void File::prefetch(int64_t position, int32_t n) {
  if (blocks_.empty() || position < 0 || n <= 0) return;
  const int64_t number = position >> kBlockBits;
  const Block& block = blocks_[static_cast<size_t>(number % kBlocks)];
  const int64_t within = position - (number << kBlockBits);
  if (block.number != number || within + n > block.valid) return;
  const uint8_t* p = bytesof(number) + within;
  __builtin_prefetch(p);
  __builtin_prefetch(p + n - 1);
}

uint8_t* File::bytesof(int64_t number) {
  return blockbytes_.get() + static_cast<size_t>(number % kBlocks) * kBlockSize;
}

// Whether every byte of the range is in a cached block (and in the file).
bool File::holds(int64_t position, int32_t n) {
  for (int64_t at = position; at < position + n;) {
    const int64_t number = at >> kBlockBits;
    const Block* block = cached(number);
    const int64_t stop = std::min(position + n, (number + 1) << kBlockBits);
    if (block == nullptr || stop - (number << kBlockBits) > block->valid) return false;
    at = stop;
  }
  return true;
}

// Writes the dirty block `number` together with the dirty blocks next to
// it, as one write of up to 1 MiB: the clean bytes between their changes
// are what the file holds already.
int File::writerun(int64_t number, Range held) {
  constexpr int64_t kMaxRun = (1 << 20) / kBlockSize;
  auto joins = [this, held](int64_t a) {
    const Block* left = cached(a);
    const Block* right = cached(a + 1);
    return left != nullptr && right != nullptr && left->dirty() && right->dirty() &&
           left->valid == kBlockSize && !inside(a, held) && !inside(a + 1, held);
  };
  int64_t first = number, last = number;
  while (first > 0 && last - first + 1 < kMaxRun && joins(first - 1)) --first;
  while (last - first + 1 < kMaxRun && joins(last)) ++last;
  const Block& head = *cached(first);
  const int64_t start = (first << kBlockBits) + head.dirtylo;
  const int64_t end = (last << kBlockBits) + cached(last)->dirtyhi;
  std::vector<char> joined;
  const char* bytes = reinterpret_cast<const char*>(bytesof(first)) + head.dirtylo;
  // Blocks in a row lie in a row in the cache unless the run wraps round
  // its end: only then are they copied together.
  if (last % kBlocks < first % kBlocks) {
    joined.reserve(static_cast<size_t>(end - start));
    for (int64_t b = first; b <= last; ++b) {
      const char* from = reinterpret_cast<const char*>(bytesof(b));
      const int32_t lo = b == first ? head.dirtylo : 0;
      const int32_t hi = b == last ? cached(last)->dirtyhi : kBlockSize;
      joined.insert(joined.end(), from + lo, from + hi);
    }
    bytes = joined.data();
  }
  if (rawwrite(bytes, static_cast<int32_t>(end - start), start) != 0) {
    lost_ = true;
    return -1;
  }
  for (int64_t b = first; b <= last; ++b) {
    Block* block = cached(b);
    block->dirtylo = block->dirtyhi = 0;
    --dirtyblocks_;
  }
  return 0;
}

bool File::inside(int64_t number, Range held) {
  return number << kBlockBits >= held.from && (number + 1) << kBlockBits <= held.to;
}

int File::writedirty(Range held) {
  if (dirtyblocks_ == 0) return 0;
  std::vector<int64_t> numbers;
  for (const Block& block : blocks_)
    if (block.dirty() && !inside(block.number, held)) numbers.push_back(block.number);
  std::sort(numbers.begin(), numbers.end());
  for (int64_t number : numbers) {
    const Block* block = cached(number);
    if (block != nullptr && block->dirty() && writerun(number, held) != 0) return -1;
  }
  return 0;
}

// Keeps cached blocks equal to what the file now holds, or, for a dirty
// write, to what it is to hold.
int File::cachedwrite(int64_t position, const char* p, int32_t n, bool dirty) {
  int64_t at = position;
  const int64_t end = position + n;
  while (at < end) {
    const int64_t number = at >> kBlockBits;
    const int64_t blockend = (number + 1) << kBlockBits;
    const int64_t stop = std::min(end, blockend);
    Block& block = blocks_[static_cast<size_t>(number % kBlocks)];
    if (block.number == number) {
      const int32_t within = static_cast<int32_t>(at - (number << kBlockBits));
      const int32_t len = static_cast<int32_t>(stop - at);
      if (within > block.valid) {
        if (block.dirty() && writerun(number) != 0) return -1;
        block.number = -1;  // a gap the block does not know about
      } else {
        std::memcpy(bytesof(number) + within, p + (at - position), static_cast<size_t>(len));
        block.valid = std::max(block.valid, within + len);
        if (dirty) {
          if (!block.dirty()) {
            ++dirtyblocks_;
            block.dirtylo = within;
            block.dirtyhi = within + len;
          }
          block.dirtylo = std::min(block.dirtylo, within);
          block.dirtyhi = std::max(block.dirtyhi, within + len);
        }
      }
    }
    at = stop;
  }
  return 0;
}

int File::read(void* buffer, int32_t n) {
  if (n == 0) return 0;
  if (!opened_ || n < 0) return -1;
  // The cache holds what gathered writes put there; only a read from the
  // file needs them written first.
  if (readcache_ && exclusive_) return cachedread(static_cast<char*>(buffer), n);
  if (!pending_.empty() && flushpending() != 0) return -1;
  auto* p = static_cast<char*>(buffer);
  int32_t done = 0;
  while (done < n) {
    ssize_t got = ::pread(fd_, p + done, static_cast<size_t>(n - done), position_ + done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {  // an error, or a short read at the end of the file
      position_ += done;
      return -1;
    }
    done += static_cast<int32_t>(got);
  }
  position_ += n;
  return 0;
}

int File::write(const void* buffer, int32_t n) {
  if (readonly_) {
    warning("File::write: write failed (file '%s' opened as readonly)\n", name_.c_str());
    return failedwith(EBADF);
  }
  if (!opened_) {
    warning("File::write: write failed (file '%s' not opened)\n", name_.c_str());
    return failedwith(EBADF);
  }
  if (n == 0) return 0;
  if (n < 0) return -1;
  const int64_t position = position_;
  if (position + n > kMaxPosition) return -1;
  if (write_fault() && write_fault()(*this, static_cast<int32_t>(position), n))
    return failedwith(EIO);

  std::vector<char> zeros;
  const char* p = static_cast<const char*>(buffer);
  if (p == nullptr) {
    zeros.assign(static_cast<size_t>(n), 0);
    p = zeros.data();
  }
  if (defersync_ && exclusive_) {
    const int64_t end = pendingpos_ + static_cast<int64_t>(pending_.size());
    const bool continues = !pending_.empty() && position == end;
    if (!pending_.empty() && position >= pendingpos_ && position + n <= end) {
      // A change to bytes that have not left yet (a record appended and
      // then rewritten): they leave changed, in the same write.
      std::memcpy(pending_.data() + (position - pendingpos_), p, static_cast<size_t>(n));
      if (!blocks_.empty() && cachedwrite(position, p, n) != 0) return -1;
      position_ += n;
      return 0;
    }
    if (!continues && !blocks_.empty() && holds(position, n)) {
      // Gathered bytes under this change are older: they go first.
      if (pendingover(position, n) && flushpending() != 0) return -1;
      if (cachedwrite(position, p, n, true) != 0) return -1;
      position_ += n;
      return 0;
    }
    if (!pending_.empty() && position != end && flushpending() != 0) return -1;
    if (pending_.empty()) pendingpos_ = position;
    pending_.insert(pending_.end(), p, p + n);
    if (!blocks_.empty() && cachedwrite(position, p, n) != 0) return -1;
    position_ += n;
    if (pending_.size() >= (1u << 20)) return flushpending();
    return 0;
  }
  if (rawwrite(p, n, position) != 0) {
    position_ = position;
    return -1;
  }
  if (!blocks_.empty() && cachedwrite(position, p, n) != 0) return -1;
  position_ += n;
  return 0;
}

int File::rawwrite(const char* p, int32_t n, int64_t position) {
  written_ = true;
  int32_t done = 0;
  while (done < n) {
    const int refused = systemfault(Call::Write, position + done, n - done);
    if (refused != 0) errno = refused;
    ssize_t put = refused != 0
                      ? -1
                      : ::pwrite(fd_, p + done, static_cast<size_t>(n - done), position + done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      const int error = put < 0 ? errno : ENOSPC;  // no progress: no room
      disksize_ = -1;
      if (!blocks_.empty()) dropblocks();  // what reached the file is unknown
      return failedwith(error);
    }
    done += static_cast<int32_t>(put);
  }
  if (disksize_ >= 0) disksize_ = std::max(disksize_, position + n);
  if (g_observer != nullptr) g_observer->wrote(name_, position, p, n);
  return 0;
}

int File::flushpending() {
  if (pending_.empty()) return 0;
  int rc = rawwrite(pending_.data(), static_cast<int32_t>(pending_.size()), pendingpos_);
  if (rc != 0) lost_ = true;
  pending_.clear();
  if (pending_.capacity() > (2u << 20)) pending_.shrink_to_fit();
  return rc;
}

int File::flushall() {
  int rc = flushpending();
  if (writedirty({0, 0}) != 0) rc = -1;
  return rc;
}

void File::defersync(bool on) {
  if (!on) flushall();
  defersync_ = on;
}

int32_t File::tell() {
  if (!opened_) return -1;
  return static_cast<int32_t>(position_);
}

int File::seek(int32_t position) {
  if (!opened_ || position < 0) return -1;
  position_ = position;
  return 0;
}

int File::seekrel(int32_t delta) {
  if (!opened_) return -1;
  int64_t target = position_ + delta;
  if (target < 0 || target > kMaxPosition) return -1;
  position_ = target;
  return 0;
}

int File::seekend() {
  int32_t end = size();
  if (end < 0) return -1;
  position_ = end;
  return 0;
}

int File::flush() {
  if (!opened_) return -1;
  if (readonly_) return 0;  // nothing of ours to write back
  if (defersync_) {
    unsynced_ = true;
    return 0;
  }
  return sync();
}

int File::sync() { return syncexcept({0, 0}); }

int File::syncexcept(Range held) {
  if (!opened_) return -1;
  int rc = flushpending();
  if (writedirty(held) != 0) rc = -1;
  // Sticky: what failed is not on disk, and no later sync may say it is.
  if (rc != 0 || lost_) {
    lost_ = true;
    return -1;
  }
  unsynced_ = dirtyblocks_ > 0;  // the changes held back, for the close
  if (!written_) return 0;
  const int refused = systemfault(Call::Sync, 0, 0);
  if (refused != 0 || fdatasync(fd_) != 0) {
    // The kernel may have dropped the pages it could not write.
    lost_ = true;
    return failedwith(refused != 0 ? refused : errno);
  }
  written_ = false;
  if (g_observer != nullptr) g_observer->synced(name_);
  return 0;
}

int32_t File::size() {
  if (!opened_) return -1;
  if (!pending_.empty() && flushpending() != 0) return -1;
  struct stat st;
  if (fstat(fd_, &st) != 0 || st.st_size > kMaxPosition) return -1;
  disksize_ = st.st_size;
  return static_cast<int32_t>(st.st_size);
}

int File::truncate(int32_t length) {
  if (!opened_ || readonly_ || length < 0) return -1;
  if (flushall() != 0) return -1;
  while (::ftruncate(fd_, length) != 0)
    if (errno != EINTR) return -1;
  written_ = true;
  disksize_ = length;
  dropblocks();  // none is dirty after flushall; some may lie past the end
  if (g_observer != nullptr) g_observer->truncated(name_, length);
  return 0;
}

int File::lock(LockMode mode, int32_t offset, int32_t length, Wait wait) {
  if (mode == LockMode::None) return 0;
  if (!opened_) return -1;
  if (!pending_.empty() && flushpending() != 0) return -1;
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
