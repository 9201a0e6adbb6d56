#include "engine/multifile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>

#include "engine/bytes.h"

namespace quill {

namespace {

constexpr uint8_t kMark[2] = {0x45, 0x42};  // "EB"

// Joined neighbours are written in pieces of at most this many bytes.
constexpr size_t kMaxJoin = 1u << 20;

}  // namespace

void SlotDescr::decode(const uint8_t* p) {
  pagesize = getles16(p);
  arealen = getles16(p + 2);
  int32_t* words[] = {&root, &inuse, &freehead, &nfree, &areaoff};
  for (int32_t* w : words) *w = getles32(p += 4);
}

void SlotDescr::encode(uint8_t* p) const {
  putle16(p, static_cast<uint16_t>(pagesize));
  putle16(p + 2, static_cast<uint16_t>(arealen));
  for (int32_t w : {root, inuse, freehead, nfree, areaoff})
    putle32(p += 4, static_cast<uint32_t>(w));
}

// Nobody to tell here: an owner that must know closes first.
MultiFile::~MultiFile() { (void)close(); }

ErrorCode MultiFile::open(const char* path, Access access, Sharing sharing) {
  return fileresult(file_.open(path, access, sharing), FileOpen);
}

ErrorCode MultiFile::create(const char* path, Sharing sharing) {
  return fileresult(file_.create(path, sharing), FileCreate);
}

ErrorCode MultiFile::flush() { return fileresult(buffer_.flush(), WriteFailed); }

ErrorCode MultiFile::lock(LockMode mode) {
  return fileresult(buffer_.lock(mode, 0, 0, Wait::Yes), TryAgain);
}

ErrorCode MultiFile::unlock() { return fileresult(buffer_.unlock(0, 0), TryAgain); }

ErrorCode MultiFile::close() {
  // What write-back held is written before the file goes, in the order of
  // sync(); a failure leaves the file marked unfinished by its owner, and
  // is the close's result.
  ErrorCode rc = Ok;
  if (isopen() && !pendinghdr_.empty()) rc = sync();
  else if (isopen()) rc = flushpages();
  forgetstore();
  cache_.release();
  deferring_ = false;  // as the buffer forgets it
  const bool written = buffer_.close() == 0;
  const ErrorCode closed = fileresult(file_.close(), WriteFailed);
  if (rc != Ok) return rc;
  return written ? closed : WriteFailed;
}

void MultiFile::abandon() {
  std::vector<uint8_t>().swap(pendinghdr_);
  cache_.release();
}

// A store that is gone leaves nothing behind: the next one starts as new.
void MultiFile::forgetstore() {
  writeback_ = unreported_ = false;
  std::vector<bool>().swap(slotdirty_);
  std::vector<uint8_t>().swap(pendinghdr_);
  std::vector<SlotDescr>().swap(slots_);
  nslots_ = hlen_ = 0;
  pagebase_ = 0;
  grid_ = 1;
  length_ = -1;
}

// ---------------------------------------------------------------- set up

void MultiFile::adopt(std::vector<SlotDescr> table, int hlen) {
  slots_ = std::move(table);
  nslots_ = static_cast<int16_t>(slots_.size());
  hlen_ = static_cast<int16_t>(hlen);
  int32_t end = slotpos(nslots_);
  grid_ = 0;
  int maxpage = 0;
  for (const SlotDescr& d : slots_) {
    end += d.arealen + 2;
    grid_ = std::gcd(grid_, static_cast<int32_t>(d.pagesize));
    maxpage = std::max(maxpage, static_cast<int>(d.pagesize));
  }
  if (grid_ <= 0) grid_ = 1;
  sizes_.clear();
  for (const SlotDescr& d : slots_)
    if (std::find(sizes_.begin(), sizes_.end(), d.pagesize) == sizes_.end())
      sizes_.push_back(d.pagesize);
  pagebase_ = end;
  // The cache is laid out on first use, for the page sizes of this store.
  cache_.reset(maxpage);
  pagereads_ = 0;
}

ErrorCode MultiFile::setupwr(int hlen, const std::vector<SlotSetup>& slots) {
  if (hlen < 0 || hlen > kMaxHeader) return BadParam;
  std::vector<SlotDescr> table;
  for (const SlotSetup& s : slots) {
    if (s.pagesize == 0) break;
    if (s.pagesize < kMinPageSize || s.pagesize > kMaxPageSize || s.arealen < 0 ||
        s.arealen > kMaxArea)
      return BadParam;
    SlotDescr d;
    d.pagesize = static_cast<int16_t>(s.pagesize);
    d.arealen = static_cast<int16_t>(s.arealen);
    table.push_back(d);
  }
  if (static_cast<int>(table.size()) > kMaxSlots) return BadParam;

  const int n = static_cast<int>(table.size());
  int32_t area = slotpos(hlen, n);
  for (SlotDescr& d : table) {
    d.areaoff = area;
    area += d.arealen + 2;
  }

  // The whole store is small: build it in memory and write it at once.
  std::vector<uint8_t> image(static_cast<size_t>(area), 0);
  putle16(image.data(), static_cast<uint16_t>(n));
  putle16(image.data() + 2, static_cast<uint16_t>(hlen));
  for (int i = 0; i < n; ++i) {
    uint8_t* p = image.data() + slotpos(hlen, i);
    table[static_cast<size_t>(i)].encode(p);
    std::memcpy(p + SlotDescr::kSize, kMark, 2);
  }
  for (const SlotDescr& d : table) std::memcpy(image.data() + d.areaoff + d.arealen, kMark, 2);

  if (rawwrite(0, image.data(), area) != Ok || flush() != Ok) return WriteFailed;
  adopt(std::move(table), hlen);
  length_ = area;
  return Ok;
}

bool MultiFile::plausible(const SlotDescr& d, int i, std::string* problem) {
  auto fail = [&](const char* what) {
    if (problem != nullptr) *problem = what;
    return false;
  };
  if (i >= 0 && i < static_cast<int>(slots_.size())) {
    const SlotDescr& known = slots_[static_cast<size_t>(i)];
    if (d.pagesize != known.pagesize || d.arealen != known.arealen || d.areaoff != known.areaoff)
      return fail("page size, area length or area offset changed");
  }
  if (d.root != -1 && !pageok(d.root, d.pagesize)) return fail("root outside the page area");
  if (d.freehead != -1 && !pageok(d.freehead, d.pagesize))
    return fail("free list head outside the page area");
  if (d.inuse < 0 || d.nfree < 0) return fail("negative page count");
  if ((d.freehead == -1) != (d.nfree == 0)) return fail("free count and free list disagree");
  return true;
}

ErrorCode MultiFile::setuprd() {
  uint8_t head[4];
  if (rawread(0, head, 4) != Ok) return BadIndex;
  const int n = getles16(head);
  const int hlen = getles16(head + 2);
  if (n < 0 || n > kMaxSlots || hlen < 0 || hlen > kMaxHeader) return BadIndex;

  std::vector<uint8_t> raw(static_cast<size_t>(kSlotStride * n) + 1);
  if (n > 0 && rawread(slotpos(hlen, 0), raw.data(), kSlotStride * n) != Ok) return BadIndex;

  std::vector<SlotDescr> table(static_cast<size_t>(n));
  int32_t area = slotpos(hlen, n);
  for (int i = 0; i < n; ++i) {
    const uint8_t* p = raw.data() + kSlotStride * i;
    if (std::memcmp(p + SlotDescr::kSize, kMark, 2) != 0) return BadIndex;
    SlotDescr& d = table[static_cast<size_t>(i)];
    d.decode(p);
    if (d.pagesize < kMinPageSize || d.arealen < 0 || d.arealen > kMaxArea) return BadIndex;
    if (d.areaoff != area) return BadIndex;
    area += d.arealen + 2;
  }

  const int32_t filelen = buffer_.size();
  if (filelen < 0 || area > filelen) return BadIndex;

  std::vector<uint8_t> buffer;
  for (const SlotDescr& d : table) {
    buffer.assign(static_cast<size_t>(d.arealen) + 2, 0);
    if (rawread(d.areaoff, buffer.data(), d.arealen + 2) != Ok) return BadIndex;
    if (std::memcmp(buffer.data() + d.arealen, kMark, 2) != 0) return BadIndex;
  }

  adopt(std::move(table), hlen);
  length_ = filelen;

  // Every page ever added is either in use or free, so the counts can never
  // claim more pages than the file holds.
  int64_t claimed = 0;
  bool sound = true;
  for (const SlotDescr& d : slots_) {
    sound = sound && plausible(d, -1, nullptr);
    claimed += (static_cast<int64_t>(d.inuse) + d.nfree) * d.pagesize;
  }
  if (!sound || claimed > static_cast<int64_t>(filelen) - pagebase_) {
    forgetstore();
    return BadIndex;
  }
  return Ok;
}

ErrorCode MultiFile::readfront(int* hlen, std::vector<uint8_t>* header) {
  uint8_t head[4];
  if (rawread(0, head, 4) != Ok) return BadIndex;
  *hlen = getles16(head + 2);
  if (*hlen < 0 || *hlen > kMaxHeader) return BadIndex;
  header->assign(static_cast<size_t>(*hlen), 0);
  return rawread(4, header->data(), *hlen);
}

// ---------------------------------------------------------------- header, slots, areas

ErrorCode MultiFile::readheader(void* buffer) {
  if (!pendinghdr_.empty()) {
    std::memcpy(buffer, pendinghdr_.data(), pendinghdr_.size());
    return Ok;
  }
  return rawread(4, buffer, hlen_);
}

ErrorCode MultiFile::writeheader(const void* buffer) {
  if (writeback_) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    pendinghdr_.assign(bytes, bytes + hlen_);
    return Ok;
  }
  return rawwrite(4, buffer, hlen_);
}

ErrorCode MultiFile::readslot(int i, bool force) {
  if (i < 0 || i >= nslots_) return BadParam;
  if (exclusive() && !force) return Ok;
  uint8_t raw[SlotDescr::kSize];
  if (rawread(slotpos(i), raw, SlotDescr::kSize) != Ok) return BadIndex;
  SlotDescr d;
  d.decode(raw);
  if (!plausible(d, i, nullptr)) return BadIndex;
  slots_[static_cast<size_t>(i)] = d;
  return Ok;
}

ErrorCode MultiFile::writeslot(int i) {
  if (i < 0 || i >= nslots_) return BadParam;
  if (writeback_) {
    if (slotdirty_.size() < slots_.size()) slotdirty_.resize(slots_.size(), false);
    slotdirty_[static_cast<size_t>(i)] = true;
    return Ok;
  }
  uint8_t raw[SlotDescr::kSize];
  slots_[static_cast<size_t>(i)].encode(raw);
  return rawwrite(slotpos(i), raw, SlotDescr::kSize);
}

ErrorCode MultiFile::readarea(int i, void* buffer) {
  if (i < 0 || i >= nslots_) return BadParam;
  const SlotDescr& d = slots_[static_cast<size_t>(i)];
  return rawread(d.areaoff, buffer, d.arealen);
}

ErrorCode MultiFile::writearea(int i, const void* buffer) {
  if (i < 0 || i >= nslots_) return BadParam;
  const SlotDescr& d = slots_[static_cast<size_t>(i)];
  return rawwrite(d.areaoff, buffer, d.arealen);
}

// ---------------------------------------------------------------- pages

uint8_t* MultiFile::readpage(int i, int32_t offset, uint8_t* buffer) {
  if (i < 0 || i >= nslots_) return nullptr;
  const int size = slots_[static_cast<size_t>(i)].pagesize;
  const uint8_t* page = loadpage(offset, size);
  if (page == nullptr) return nullptr;
  std::memcpy(buffer, page, static_cast<size_t>(size));
  return buffer;
}

const uint8_t* MultiFile::writepage(int i, int32_t offset, const uint8_t* buffer) {
  if (i < 0 || i >= nslots_) return nullptr;
  return savepage(offset, buffer, slots_[static_cast<size_t>(i)].pagesize) == Ok ? buffer : nullptr;
}

void MultiFile::damaged(const char* where, int i, int32_t offset, const char* what) {
  fatal("%s: damaged free list of slot %d at offset %d in '%s' (%s)\n", where, i, offset,
        name().c_str(), what);
}

int32_t MultiFile::use_free_page(int i) {
  SlotDescr& d = slots_[static_cast<size_t>(i)];
  if (d.nfree <= 0) fatal("MultiFile::use_free_page: no free page available");
  const int32_t head = d.freehead;
  const int size = d.pagesize;
  if (head == -1 || !pageok(head, size))
    damaged("MultiFile::use_free_page", i, head, "head outside the page area");
  const uint8_t* page = loadpage(head, size);
  if (page == nullptr)
    fatal("MultiFile::use_free_page: error reading page at offset %d in '%s'\n", head,
          name().c_str());
  // Free pages are blank but for their link; anything else means the list
  // leads into a page that is in use.
  for (int k = 0; k < 6; ++k)
    if (page[k] != 0) damaged("MultiFile::use_free_page", i, head, "page on the list is in use");
  const int32_t next = getles32(page + size - 4);
  if (d.nfree == 1) {
    if (next != -1) damaged("MultiFile::use_free_page", i, head, "list longer than its count");
  } else if (next == -1) {
    damaged("MultiFile::use_free_page", i, head, "list shorter than its count");
  } else if (next == head || !pageok(next, size)) {
    damaged("MultiFile::use_free_page", i, head, "link outside the page area");
  }
  d.freehead = next;
  d.inuse += 1;
  d.nfree -= 1;
  return head;
}

ErrorCode MultiFile::freepage(int i, int32_t offset) {
  SlotDescr& d = slots_[static_cast<size_t>(i)];
  if (offset == d.freehead || !pageok(offset, d.pagesize))
    damaged("MultiFile::freepage", i, offset, "page outside the page area or already free");
  uint8_t link[4];
  putle32(link, static_cast<uint32_t>(d.freehead));
  if (patchpage(offset, d.pagesize, d.pagesize - 4, link, 4) != Ok) return WriteFailed;
  d.freehead = offset;
  d.nfree += 1;
  d.inuse -= 1;
  return Ok;
}

ErrorCode MultiFile::addpage(int i) {
  if (i < 0 || i >= nslots_) return BadParam;
  SlotDescr& d = slots_[static_cast<size_t>(i)];
  const int size = d.pagesize;
  // Shared, someone may have appended since we looked: ask the file.
  if (!exclusive()) length_ = -1;
  const int32_t len = length();
  if (len < pagebase_) return BadIndex;
  // A file cut short by a failed append is padded back onto the grid, so
  // that every page keeps a position checkable by pageok().
  const int32_t pad = (grid_ - (len - pagebase_) % grid_) % grid_;
  if (static_cast<int64_t>(len) + pad + size > INT32_MAX) return BadParam;
  const int32_t offset = len + pad;
  if (pad > 0 && rawwrite(len, nullptr, pad) != Ok) {
    length_ = -1;
    return WriteFailed;
  }
  Way* way = writeback_ && size <= cache_.maxpage() ? claim(offset) : nullptr;
  if (way != nullptr) {
    // Born in memory: the write-back writes it with its neighbours.
    cache_.take(way, offset, size);
    std::memset(cache_.bytes(way), 0, static_cast<size_t>(size));
    cache_.changed(way);
    way->dirty = true;
  } else {
    scratch_.assign(static_cast<size_t>(size), 0);
    if (rawwrite(offset, scratch_.data(), size) != Ok) {
      length_ = -1;
      return WriteFailed;
    }
    if (Way* cached = cache_.lookup(offset, size)) {
      std::memset(cache_.bytes(cached), 0, static_cast<size_t>(size));
      cached->dirty = false;
      cache_.changed(cached);
    }
  }
  length_ = offset + size;
  d.inuse += 1;
  return freepage(i, offset);
}

ErrorCode MultiFile::walkfree(int i, std::vector<int32_t>* pages, std::string* problem) {
  auto fail = [&](const std::string& what) {
    if (problem != nullptr) *problem = what;
    return BadIndex;
  };
  if (pages != nullptr) pages->clear();
  if (i < 0 || i >= nslots_) return fail("no such slot");
  const SlotDescr& d = slots_[static_cast<size_t>(i)];
  int32_t at = d.freehead;
  int32_t count = 0;
  while (at != -1) {
    if (count >= d.nfree)
      return fail("free list longer than its count " + std::to_string(d.nfree) + " (loop?)");
    if (!pageok(at, d.pagesize))
      return fail("free page offset " + std::to_string(at) + " outside the page area");
    const uint8_t* page = loadpage(at, d.pagesize);
    if (page == nullptr) return fail("cannot read free page at " + std::to_string(at));
    for (int k = 0; k < 6; ++k)
      if (page[k] != 0) return fail("free page at " + std::to_string(at) + " is not blank");
    if (pages != nullptr) pages->push_back(at);
    ++count;
    at = getles32(page + d.pagesize - 4);
  }
  if (count != d.nfree)
    return fail("free list holds " + std::to_string(count) + " pages, count says " +
                std::to_string(d.nfree));
  return Ok;
}

// ---------------------------------------------------------------- the page seam

int32_t MultiFile::length() {
  if (length_ < 0) length_ = buffer_.size();
  return length_;
}

bool MultiFile::pageok(int32_t offset, int bytes) {
  if (offset < pagebase_ || bytes <= 0) return false;
  if ((offset - pagebase_) % grid_ != 0) return false;
  const int64_t end = static_cast<int64_t>(offset) + bytes;
  if (end <= length()) return true;
  // Held exclusively, the length in memory is the store's (pages added in
  // write-back mode may not be in the file yet).
  if (exclusive()) return false;
  // Someone sharing the file may have appended pages since we looked.
  length_ = buffer_.size();
  return end <= length_;
}

void MultiFile::beginop() {
  if (exclusive()) return;
  cache_.forget();
  length_ = -1;
}

void MultiFile::setcachepages(int pages) {
  if (flushpages() != Ok) unreported_ = true;
  cache_.setpages(pages);
}

MultiFile::Way* MultiFile::claim(int32_t offset) {
  Way* way = cache_.victim(offset);
  if (way != nullptr && way->dirty && cache_.live(*way) && evict(way) != Ok) {
    unreported_ = true;
    return nullptr;
  }
  if (way != nullptr) way->dirty = false;
  return way;
}

// A store larger than its cache evicts dirty pages all the time; their
// neighbours in the file are often dirty too, and going along spares each
// its own write later.
ErrorCode MultiFile::evict(Way* way) {
  const size_t most = kMaxJoin / static_cast<size_t>(cache_.maxpage());
  std::vector<Way*> run;
  for (Way* w = way; run.size() + 1 < most && (w = cachedending(w->offset, Cached::Dirty));)
    run.push_back(w);
  std::reverse(run.begin(), run.end());
  run.push_back(way);
  for (Way* w = way; run.size() < most && (w = cachedat(w->offset + w->size, Cached::Dirty));)
    run.push_back(w);
  return writeways(run);
}

// The store's pages come in a few sizes; a cached page is found by its
// offset and size.
MultiFile::Way* MultiFile::cachedat(int32_t offset, Cached which) {
  for (int size : sizes_) {
    Way* w = cache_.find(offset, size);
    if (w != nullptr && (which == Cached::Any || w->dirty)) return w;
  }
  return nullptr;
}

MultiFile::Way* MultiFile::cachedending(int32_t end, Cached which) {
  for (int size : sizes_) {
    Way* w = cache_.find(end - size, size);
    if (w != nullptr && (which == Cached::Any || w->dirty)) return w;
  }
  return nullptr;
}

// Rewriting a few pages the file already holds costs less than a write of
// its own for what follows them (pages evicted with a neighbour leave such
// gaps behind).
std::vector<MultiFile::Way*> MultiFile::bridged(const std::vector<Way*>& ways) {
  constexpr int kMaxBridge = 8;
  std::vector<Way*> out;
  for (size_t k = 0; k < ways.size(); ++k) {
    out.push_back(ways[k]);
    if (k + 1 == ways.size()) break;
    const size_t keep = out.size();
    const int32_t next = ways[k + 1]->offset;
    int32_t at = ways[k]->offset + ways[k]->size;
    for (int n = 0; at < next && n < kMaxBridge; ++n) {
      Way* clean = cachedat(at, Cached::Any);
      if (clean == nullptr) break;
      out.push_back(clean);
      at += clean->size;
    }
    if (at != next) out.resize(keep);
  }
  return out;
}

// Pages that follow one another in the file leave in one write.
ErrorCode MultiFile::writeways(const std::vector<Way*>& ways) {
  ErrorCode rc = Ok;
  std::vector<uint8_t> run;
  size_t first = 0;
  size_t bytes = 0;
  for (size_t k = 0; k < ways.size(); ++k) {
    const Way* way = ways[k];
    bytes += static_cast<size_t>(way->size);
    const bool joins = k + 1 < ways.size() && ways[k + 1]->offset == way->offset + way->size &&
                       bytes < kMaxJoin;
    if (joins) continue;
    bool written = true;
    if (k == first || deferring_) {
      // Straight from the cache: a page on its own, or pages in a row that
      // buffer_ gathers into one write while sync is deferred.
      for (size_t j = first; j <= k && written; ++j)
        written = rawwrite(ways[j]->offset, cache_.bytes(ways[j]), ways[j]->size) == Ok;
    } else {
      for (size_t j = first; j <= k; ++j)
        run.insert(run.end(), cache_.bytes(ways[j]), cache_.bytes(ways[j]) + ways[j]->size);
      written = rawwrite(ways[first]->offset, run.data(), static_cast<int>(bytes)) == Ok;
    }
    for (size_t j = first; j <= k; ++j) ways[j]->dirty = !written;
    if (!written) rc = WriteFailed;
    run.clear();
    bytes = 0;
    first = k + 1;
  }
  return rc;
}

ErrorCode MultiFile::flushpages(bool withheader) {
  ErrorCode rc = writeways(bridged(cache_.dirtyways()));
  for (size_t i = 0; i < slotdirty_.size(); ++i) {
    if (!slotdirty_[i]) continue;
    uint8_t raw[SlotDescr::kSize];
    slots_[i].encode(raw);
    if (rawwrite(slotpos(static_cast<int>(i)), raw, SlotDescr::kSize) != Ok)
      rc = WriteFailed;
    else
      slotdirty_[i] = false;
  }
  // The header goes last: it is what declares the rest finished.
  if (rc == Ok && withheader && !pendinghdr_.empty()) {
    if (rawwrite(4, pendinghdr_.data(), static_cast<int>(pendinghdr_.size())) != Ok)
      rc = WriteFailed;
    else
      pendinghdr_.clear();
  }
  return rc;
}

ErrorCode MultiFile::setwriteback(bool on) {
  if (on == writeback_) return Ok;
  if (on) {
    if (!exclusive()) return BadParam;  // others must see every change at once
    writeback_ = true;
    slotdirty_.assign(slots_.size(), false);
    return Ok;
  }
  ErrorCode rc = flushpages();
  writeback_ = false;
  return rc;
}

ErrorCode MultiFile::sync() {
  ErrorCode rc = Ok;
  if (!pendinghdr_.empty() && (flushpages(false) != Ok || buffer_.sync() != 0)) rc = WriteFailed;
  else if (flushpages() != Ok || buffer_.sync() != 0) rc = WriteFailed;
  // The page is written by now, but a durable point must not claim
  // success over a write that failed on its way.
  if (unreported_) rc = WriteFailed;
  unreported_ = false;
  return rc;
}

uint64_t MultiFile::pagetoken(int32_t offset, int size) {
  const Way* way = cache_.lookup(offset, size);
  return way != nullptr ? way->edit : 0;
}

const uint8_t* MultiFile::loadpage(int32_t offset, int size, bool* checked) {
  if (checked != nullptr) *checked = false;
  if (size <= 0) return nullptr;
  if (Way* hit = cache_.lookup(offset, size)) {
    if (checked != nullptr) *checked = hit->checked;
    return cache_.bytes(hit);
  }
  ++pagereads_;
  Way* way = size <= cache_.maxpage() ? claim(offset) : nullptr;
  if (way == nullptr) {
    scratch_.resize(static_cast<size_t>(size));
    return rawread(offset, scratch_.data(), size) == Ok ? scratch_.data() : nullptr;
  }
  uint8_t* bytes = cache_.bytes(way);
  if (rawread(offset, bytes, size) != Ok) {
    cache_.drop(way);
    return nullptr;
  }
  cache_.take(way, offset, size);
  cache_.changed(way);
  return bytes;
}

void MultiFile::markchecked(int32_t offset, int size) {
  if (Way* way = cache_.lookup(offset, size)) way->checked = true;
}

ErrorCode MultiFile::savepage(int32_t offset, const uint8_t* image, int size) {
  Way* way = cache_.lookup(offset, size);
  if (writeback_ && size <= cache_.maxpage()) {
    if (way == nullptr) way = claim(offset);
    if (way != nullptr) {
      uint8_t* bytes = cache_.bytes(way);
      if (bytes != image) std::memcpy(bytes, image, static_cast<size_t>(size));
      cache_.take(way, offset, size);
      cache_.changed(way);
      way->dirty = true;
      return Ok;
    }
  }
  if (rawwrite(offset, image, size) != Ok) {
    if (way != nullptr) cache_.drop(way);  // the file's bytes are unknown now
    return WriteFailed;
  }
  if (way == nullptr && size <= cache_.maxpage()) {
    way = claim(offset);
    if (way != nullptr) cache_.take(way, offset, size);
  }
  if (way != nullptr) {
    uint8_t* bytes = cache_.bytes(way);
    if (bytes != image) std::memcpy(bytes, image, static_cast<size_t>(size));
    cache_.changed(way);
    way->dirty = false;
  }
  if (static_cast<int64_t>(offset) + size > length_ && length_ >= 0) length_ = offset + size;
  return Ok;
}

ErrorCode MultiFile::patchpage(int32_t pageoff, int size, int within, const void* bytes, int n) {
  Way* way = cache_.lookup(pageoff, size);
  if (writeback_ && way == nullptr && loadpage(pageoff, size) != nullptr)
    way = cache_.lookup(pageoff, size);
  if (writeback_ && way != nullptr) {
    std::memcpy(cache_.bytes(way) + within, bytes, static_cast<size_t>(n));
    cache_.changed(way);
    way->dirty = true;
    return Ok;
  }
  if (rawwrite(pageoff + within, bytes, n) != Ok) {
    if (way != nullptr) cache_.drop(way);
    return WriteFailed;
  }
  if (way != nullptr) {
    std::memcpy(cache_.bytes(way) + within, bytes, static_cast<size_t>(n));
    cache_.changed(way);
  }
  return Ok;
}

ErrorCode MultiFile::rawread(int32_t offset, void* bytes, int n) {
  return fileresult(buffer_.read(offset, bytes, n), BadIndex);
}

ErrorCode MultiFile::rawwrite(int32_t offset, const void* bytes, int n) {
  return fileresult(buffer_.write(offset, bytes, n), WriteFailed);
}

}  // namespace quill
