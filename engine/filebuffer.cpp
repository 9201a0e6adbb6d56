#include "engine/filebuffer.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quill {

// Nobody to tell here: an owner that must know closes first.
FileBuffer::~FileBuffer() { (void)close(); }

int FileBuffer::close() {
  if (!file_.isopen()) return 0;
  int rc = flushall();
  if (rc == 0 && unsynced_) rc = sync();
  defersync_ = false;
  unsynced_ = false;
  readcache_ = false;
  dropblocks();
  lost_ = false;
  disksize_ = -1;
  return rc == 0 ? 0 : -1;
}

void FileBuffer::setreadcache(bool on) {
  readcache_ = on;
  if (!on) {
    writedirty({0, 0});  // a failure shows at the next sync
    dropblocks();
  }
}

int FileBuffer::read(int64_t at, void* buffer, int32_t n) {
  if (n == 0) return 0;
  if (!file_.isopen() || n < 0 || at < 0) return -1;
  // The cache holds what gathered writes put there; only a read from the
  // file needs them written first.
  if (readcache_ && file_.exclusive()) return cachedread(at, static_cast<char*>(buffer), n);
  if (!pending_.empty() && flushpending() != 0) return -1;
  return file_.readat(at, buffer, n);
}

int FileBuffer::cachedread(int64_t position, char* p, int32_t n) {
  if (blocks_.empty()) {
    blocks_.assign(kBlocks, Block{});
    blockbytes_.reset(new uint8_t[static_cast<size_t>(kBlocks) * kBlockSize]);
  }
  int32_t done = 0;
  while (done < n) {
    const int64_t at = position + done;
    const int64_t number = at >> kBlockBits;
    Block& block = blocks_[static_cast<size_t>(number % kBlocks)];
    uint8_t* bytes = bytesof(number);
    if (block.number != number) {
      const int32_t direct = directread(p + done, at, n - done);
      if (direct < 0) return -1;
      if (direct > 0) {
        done += direct;
        continue;
      }
      if (fillblock(block, number) != 0) return -1;
    }
    const int32_t within = static_cast<int32_t>(at - (number << kBlockBits));
    const int32_t take = std::min<int32_t>(n - done, block.valid - within);
    if (take <= 0) return -1;  // a short read at the end of the file
    std::memcpy(p + done, bytes + within, static_cast<size_t>(take));
    done += take;
  }
  return 0;
}

int FileBuffer::write(int64_t position, const void* buffer, int32_t n) {
  if (file_.checkwrite(position, n) != 0) return -1;
  if (n == 0) return 0;
  std::vector<char> zeros;
  const char* p = bytesorzeros(buffer, n, &zeros);
  if (gathering()) {
    const int64_t end = pendingpos_ + static_cast<int64_t>(pending_.size());
    const bool continues = !pending_.empty() && position == end;
    if (!pending_.empty() && position >= pendingpos_ && position + n <= end) {
      // A change to bytes that have not left yet (a record appended and
      // then rewritten): they leave changed, in the same write.
      std::memcpy(pending_.data() + (position - pendingpos_), p, static_cast<size_t>(n));
      return blocks_.empty() ? 0 : cachedwrite(position, p, n);
    }
    if (!continues && !blocks_.empty() && holds(position, n)) {
      // Gathered bytes under this change are older: they go first.
      if (pendingover(position, n) && flushpending() != 0) return -1;
      return cachedwrite(position, p, n, true);
    }
    if (!pending_.empty() && position != end && flushpending() != 0) return -1;
    if (pending_.empty()) pendingpos_ = position;
    pending_.insert(pending_.end(), p, p + n);
    if (!blocks_.empty() && cachedwrite(position, p, n) != 0) return -1;
    if (pending_.size() >= (1u << 20)) return flushpending();
    return 0;
  }
  if (rawwrite(p, n, position) != 0) return -1;
  return blocks_.empty() ? 0 : cachedwrite(position, p, n);
}

// What reaches the file through here changes what the cache knows of it.
int FileBuffer::rawwrite(const char* p, int32_t n, int64_t position) {
  if (file_.put(position, p, n) != 0) {
    disksize_ = -1;
    if (!blocks_.empty()) dropblocks();  // what reached the file is unknown
    return -1;
  }
  if (disksize_ >= 0) disksize_ = std::max(disksize_, position + n);
  return 0;
}

void FileBuffer::defersync(bool on) {
  if (!on) flushall();
  defersync_ = on;
}

int FileBuffer::flush() {
  if (!file_.isopen()) return -1;
  if (file_.readonly()) return 0;  // nothing of ours to write back
  if (defersync_) {
    unsynced_ = true;
    return 0;
  }
  return sync();
}

int FileBuffer::sync() { return syncexcept({0, 0}); }

int FileBuffer::syncexcept(Range held) {
  if (!file_.isopen()) return -1;
  int rc = flushpending();
  if (writedirty(held) != 0) rc = -1;
  // Sticky: what failed is not on disk, and no later sync may say it is.
  if (rc != 0 || failed()) {
    lost_ = true;
    return -1;
  }
  unsynced_ = dirtyblocks_ > 0;  // the changes held back, for the close
  if (file_.sync() != 0) {
    lost_ = true;
    return -1;
  }
  return 0;
}

int32_t FileBuffer::size() {
  if (!file_.isopen()) return -1;
  if (!pending_.empty() && flushpending() != 0) return -1;
  const int32_t length = file_.size();
  if (length >= 0) disksize_ = length;
  return length;
}

int FileBuffer::truncate(int32_t length) {
  if (!file_.isopen() || file_.readonly() || length < 0) return -1;
  if (flushall() != 0) return -1;
  if (file_.truncate(length) != 0) return -1;
  disksize_ = length;
  dropblocks();  // none is dirty after flushall; some may lie past the end
  return 0;
}

int FileBuffer::lock(LockMode mode, int32_t offset, int32_t length, Wait wait) {
  if (mode == LockMode::None) return 0;
  if (!file_.isopen()) return -1;
  if (!pending_.empty() && flushpending() != 0) return -1;
  return file_.lock(mode, offset, length, wait);
}

bool FileBuffer::pendingover(int64_t at, int64_t n) const {
  return !pending_.empty() && pendingpos_ < at + n &&
         at < pendingpos_ + static_cast<int64_t>(pending_.size());
}

FileBuffer::Block* FileBuffer::cached(int64_t number) {
  Block& block = blocks_[static_cast<size_t>(number % kBlocks)];
  return block.number == number ? &block : nullptr;
}

void FileBuffer::prefetch(int64_t position, int32_t n) {
  if (blocks_.empty() || position < 0 || n <= 0) return;
  const int64_t number = position >> kBlockBits;
  const Block& block = blocks_[static_cast<size_t>(number % kBlocks)];
  const int64_t within = position - (number << kBlockBits);
  if (block.number != number || within + n > block.valid) return;
  const uint8_t* p = bytesof(number) + within;
  __builtin_prefetch(p);
  __builtin_prefetch(p + n - 1);
}

uint8_t* FileBuffer::bytesof(int64_t number) {
  return blockbytes_.get() + static_cast<size_t>(number % kBlocks) * kBlockSize;
}

// Whether every byte of the range is in a cached block (and in the file).
bool FileBuffer::holds(int64_t position, int32_t n) {
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
int FileBuffer::writerun(int64_t number, Range held) {
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

bool FileBuffer::inside(int64_t number, Range held) {
  return number << kBlockBits >= held.from && (number + 1) << kBlockBits <= held.to;
}

int FileBuffer::writedirty(Range held) {
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
int FileBuffer::cachedwrite(int64_t position, const char* p, int32_t n, bool dirty) {
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

int FileBuffer::flushpending() {
  if (pending_.empty()) return 0;
  int rc = rawwrite(pending_.data(), static_cast<int32_t>(pending_.size()), pendingpos_);
  if (rc != 0) lost_ = true;
  pending_.clear();
  if (pending_.capacity() > (2u << 20)) pending_.shrink_to_fit();
  return rc;
}

int FileBuffer::flushall() {
  int rc = flushpending();
  if (writedirty({0, 0}) != 0) rc = -1;
  return rc;
}

void FileBuffer::dropblocks() {
  if (dirtyblocks_ > 0) lost_ = true;  // changes that never reached the file
  dirtyblocks_ = 0;
  blocks_.clear();
  blockbytes_.reset();
}

// Reads block `number` into its slot: what the file holds, then the
// gathered writes that fall inside it, which are newer and need not be
// written first (appends read back block by block would otherwise leave
// one by one). Between the file's end and gathered bytes beyond it the
// block holds zeros, as the file will.
int FileBuffer::fillblock(Block& block, int64_t number) {
  if (block.dirty() && writerun(block.number) != 0) return -1;
  block.number = -1;
  if (disksize_ < 0) {
    disksize_ = file_.size();
    if (disksize_ < 0) return -1;
  }
  const int64_t first = number << kBlockBits;
  const int32_t ondisk =
      static_cast<int32_t>(std::clamp<int64_t>(disksize_ - first, 0, kBlockSize));
  uint8_t* bytes = bytesof(number);
  int32_t got = file_.readupto(first, bytes, ondisk);
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
int32_t FileBuffer::directread(char* p, int64_t at, int32_t n) {
  if ((at & (kBlockSize - 1)) != 0) return 0;
  int32_t span = 0;
  while (n - span >= kBlockSize && cached((at + span) >> kBlockBits) == nullptr) span += kBlockSize;
  if (span < 2 * kBlockSize) return 0;
  if (pendingover(at, span) && flushpending() != 0) return -1;
  const int32_t got = file_.readupto(at, p, span);
  if (got < 0) return -1;
  // A file that ends inside the span: the rest goes through the cache,
  // which reports the short read.
  return got & ~(kBlockSize - 1);
}

}  // namespace quill
