#include "engine/multifile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>

#include "engine/bytes.h"
#include "engine/errors.h"

namespace quill {

namespace {

constexpr uint8_t kMark[2] = {0x45, 0x42};  // "EB"

// Bytes the cache may hold, whatever the page size.
constexpr long kCacheBudget = 32L * 1024 * 1024;

}  // namespace

void SlotDescr::decode(const uint8_t* p) {
  pagesize = getles16(p);
  arealen = getles16(p + 2);
  root = getles32(p + 4);
  inuse = getles32(p + 8);
  freehead = getles32(p + 12);
  nfree = getles32(p + 16);
  areaoff = getles32(p + 20);
}

void SlotDescr::encode(uint8_t* p) const {
  putle16(p, static_cast<uint16_t>(pagesize));
  putle16(p + 2, static_cast<uint16_t>(arealen));
  putle32(p + 4, static_cast<uint32_t>(root));
  putle32(p + 8, static_cast<uint32_t>(inuse));
  putle32(p + 12, static_cast<uint32_t>(freehead));
  putle32(p + 16, static_cast<uint32_t>(nfree));
  putle32(p + 20, static_cast<uint32_t>(areaoff));
}

MultiFile::MultiFile() = default;

MultiFile::~MultiFile() { close(); }

int MultiFile::close() {
  // What write-back held is written before the file goes, in the order of
  // sync(); a failure leaves the file marked unfinished by its owner.
  if (isopen() && !pendinghdr_.empty()) sync();
  else if (isopen()) flushpages();
  writeback_ = false;
  unreported_ = false;
  slotdirty_.clear();
  pendinghdr_.clear();
  slots_.clear();
  slots_.shrink_to_fit();
  nslots_ = 0;
  hlen_ = 0;
  pagebase_ = 0;
  grid_ = 1;
  maxpage_ = 0;
  length_ = -1;
  ways_.clear();
  ways_.shrink_to_fit();
  cachebytes_.reset();
  nsets_ = 0;
  return File::close();
}

// ---------------------------------------------------------------- set up

void MultiFile::layout() {
  int32_t end = slotpos(nslots_);
  grid_ = 0;
  maxpage_ = 0;
  for (const SlotDescr& d : slots_) {
    end += d.arealen + 2;
    grid_ = std::gcd(grid_, static_cast<int32_t>(d.pagesize));
    maxpage_ = std::max(maxpage_, static_cast<int>(d.pagesize));
  }
  if (grid_ <= 0) grid_ = 1;
  pagebase_ = end;
  // The cache is laid out on first use, for the page sizes of this store.
  ways_.clear();
  cachebytes_.reset();
  nsets_ = 0;
  generation_ = 1;
  pagereads_ = 0;
}

int MultiFile::setupwr(int hlen, const std::vector<SlotSetup>& slots) {
  if (hlen < 0 || hlen > kMaxHeader) return -1;
  std::vector<SlotDescr> table;
  for (const SlotSetup& s : slots) {
    if (s.pagesize == 0) break;
    if (s.pagesize < kMinPageSize || s.pagesize > kMaxPageSize || s.arealen < 0 ||
        s.arealen > kMaxArea)
      return -1;
    SlotDescr d;
    d.pagesize = static_cast<int16_t>(s.pagesize);
    d.arealen = static_cast<int16_t>(s.arealen);
    table.push_back(d);
  }
  if (static_cast<int>(table.size()) > kMaxSlots) return -1;

  const int n = static_cast<int>(table.size());
  int32_t area = slotpos(hlen, n);
  for (SlotDescr& d : table) {
    d.areaoff = area;
    area += d.arealen + 2;
  }

  // The whole store is small: build it in memory and write it at once.
  std::vector<uint8_t> image(static_cast<size_t>(area), 0);
  chkalloc(image.data(), "MultiFile::setupwr");
  putle16(image.data(), static_cast<uint16_t>(n));
  putle16(image.data() + 2, static_cast<uint16_t>(hlen));
  for (int i = 0; i < n; ++i) {
    uint8_t* p = image.data() + slotpos(hlen, i);
    table[static_cast<size_t>(i)].encode(p);
    std::memcpy(p + SlotDescr::kSize, kMark, 2);
  }
  for (const SlotDescr& d : table) std::memcpy(image.data() + d.areaoff + d.arealen, kMark, 2);

  if (seek(0) != 0 || write(image.data(), area) != 0) return -1;
  if (flush() != 0) return -1;

  slots_ = std::move(table);
  nslots_ = static_cast<int16_t>(n);
  hlen_ = static_cast<int16_t>(hlen);
  layout();
  length_ = size();
  return 0;
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

int MultiFile::setuprd() {
  uint8_t head[4];
  if (rawread(0, head, 4) != 0) return -1;
  const int n = getles16(head);
  const int hlen = getles16(head + 2);
  if (n < 0 || n > kMaxSlots || hlen < 0 || hlen > kMaxHeader) return -1;

  std::vector<uint8_t> raw(static_cast<size_t>(kSlotStride * n) + 1);
  chkalloc(raw.data(), "MultiFile::open");
  if (n > 0 && rawread(slotpos(hlen, 0), raw.data(), kSlotStride * n) != 0) return -1;

  std::vector<SlotDescr> table(static_cast<size_t>(n));
  int32_t area = slotpos(hlen, n);
  for (int i = 0; i < n; ++i) {
    const uint8_t* p = raw.data() + kSlotStride * i;
    if (std::memcmp(p + SlotDescr::kSize, kMark, 2) != 0) return -1;
    SlotDescr& d = table[static_cast<size_t>(i)];
    d.decode(p);
    if (d.pagesize < kMinPageSize || d.arealen < 0 || d.arealen > kMaxArea) return -1;
    if (d.areaoff != area) return -1;
    area += d.arealen + 2;
  }

  const int32_t filelen = size();
  if (filelen < 0 || area > filelen) return -1;

  std::vector<uint8_t> buffer;
  for (const SlotDescr& d : table) {
    buffer.assign(static_cast<size_t>(d.arealen) + 2, 0);
    chkalloc(buffer.data(), "MultiFile::setuprd");
    if (rawread(d.areaoff, buffer.data(), d.arealen + 2) != 0) return -1;
    if (std::memcmp(buffer.data() + d.arealen, kMark, 2) != 0) return -1;
  }

  slots_ = std::move(table);
  nslots_ = static_cast<int16_t>(n);
  hlen_ = static_cast<int16_t>(hlen);
  layout();
  length_ = filelen;

  // Every page ever added is either in use or free, so the counts can never
  // claim more pages than the file holds.
  int64_t claimed = 0;
  for (int i = 0; i < n; ++i) {
    const SlotDescr& d = slots_[static_cast<size_t>(i)];
    if (!plausible(d, -1, nullptr)) {
      slots_.clear();
      nslots_ = 0;
      hlen_ = 0;
      return -1;
    }
    claimed += (static_cast<int64_t>(d.inuse) + d.nfree) * d.pagesize;
  }
  if (claimed > static_cast<int64_t>(filelen) - pagebase_) {
    slots_.clear();
    nslots_ = 0;
    hlen_ = 0;
    return -1;
  }
  return 0;
}

// ---------------------------------------------------------------- header, slots, areas

int MultiFile::readheader(void* buffer) {
  if (!pendinghdr_.empty()) {
    std::memcpy(buffer, pendinghdr_.data(), pendinghdr_.size());
    return 0;
  }
  return rawread(4, buffer, hlen_);
}

int MultiFile::writeheader(const void* buffer) {
  if (writeback_) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    pendinghdr_.assign(bytes, bytes + hlen_);
    return 0;
  }
  return rawwrite(4, buffer, hlen_);
}

int MultiFile::readslot(int i, bool force) {
  if (i < 0 || i >= nslots_) return -1;
  if (exclusive() && !force) return 0;
  uint8_t raw[SlotDescr::kSize];
  if (rawread(slotpos(i), raw, SlotDescr::kSize) != 0) return -1;
  SlotDescr d;
  d.decode(raw);
  if (!plausible(d, i, nullptr)) return -1;
  slots_[static_cast<size_t>(i)] = d;
  return 0;
}

int MultiFile::writeslot(int i) {
  if (i < 0 || i >= nslots_) return -1;
  if (writeback_) {
    if (slotdirty_.size() < slots_.size()) slotdirty_.resize(slots_.size(), false);
    slotdirty_[static_cast<size_t>(i)] = true;
    return 0;
  }
  uint8_t raw[SlotDescr::kSize];
  slots_[static_cast<size_t>(i)].encode(raw);
  return rawwrite(slotpos(i), raw, SlotDescr::kSize);
}

int MultiFile::readarea(int i, void* buffer) {
  if (i < 0 || i >= nslots_) return -1;
  const SlotDescr& d = slots_[static_cast<size_t>(i)];
  return rawread(d.areaoff, buffer, d.arealen);
}

int MultiFile::writearea(int i, const void* buffer) {
  if (i < 0 || i >= nslots_) return -1;
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
  return savepage(offset, buffer, slots_[static_cast<size_t>(i)].pagesize) == 0 ? buffer : nullptr;
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

int MultiFile::freepage(int i, int32_t offset) {
  SlotDescr& d = slots_[static_cast<size_t>(i)];
  if (offset == d.freehead || !pageok(offset, d.pagesize))
    damaged("MultiFile::freepage", i, offset, "page outside the page area or already free");
  uint8_t link[4];
  putle32(link, static_cast<uint32_t>(d.freehead));
  if (patchpage(offset, d.pagesize, d.pagesize - 4, link, 4) != 0) return -1;
  d.freehead = offset;
  d.nfree += 1;
  d.inuse -= 1;
  return 0;
}

int MultiFile::addpage(int i) {
  if (i < 0 || i >= nslots_) return -1;
  SlotDescr& d = slots_[static_cast<size_t>(i)];
  const int size = d.pagesize;
  // Pages are added rarely; ask the file itself where it ends.
  length_ = File::size();
  const int32_t len = length_;
  if (len < pagebase_) return -1;
  // A file cut short by a failed append is padded back onto the grid, so
  // that every page keeps a position checkable by pageok().
  const int32_t pad = (grid_ - (len - pagebase_) % grid_) % grid_;
  if (static_cast<int64_t>(len) + pad + size > INT32_MAX) return -1;
  const int32_t offset = len + pad;
  if (pad > 0 && rawwrite(len, nullptr, pad) != 0) {
    length_ = -1;
    return -1;
  }
  // Straight to the file, also in write-back mode: the file's length is
  // where the next page goes.
  scratch_.assign(static_cast<size_t>(size), 0);
  if (rawwrite(offset, scratch_.data(), size) != 0) {
    length_ = -1;
    return -1;
  }
  if (CacheWay* way = lookup(offset, size)) {
    std::memset(waybytes(way), 0, static_cast<size_t>(size));
    way->dirty = false;
    way->edit = ++edits_;
  }
  length_ = offset + size;
  d.inuse += 1;
  return freepage(i, offset);
}

int MultiFile::walkfree(int i, std::vector<int32_t>* pages, std::string* problem) {
  auto fail = [&](const std::string& what) {
    if (problem != nullptr) *problem = what;
    return -1;
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
  return 0;
}

// ---------------------------------------------------------------- the page seam

int32_t MultiFile::length() {
  if (length_ < 0) length_ = size();
  return length_;
}

bool MultiFile::pageok(int32_t offset, int bytes) {
  if (offset < pagebase_ || bytes <= 0) return false;
  if ((offset - pagebase_) % grid_ != 0) return false;
  const int64_t end = static_cast<int64_t>(offset) + bytes;
  if (end <= length()) return true;
  // Someone sharing the file may have appended pages since we looked.
  length_ = size();
  return end <= length_;
}

void MultiFile::beginop() {
  if (exclusive()) return;
  dropcache();
  length_ = -1;
}

void MultiFile::dropcache() {
  if (++generation_ == 0) {
    // After wrapping, old generation numbers could come back to life.
    for (CacheWay& w : ways_) w.generation = 0;
    generation_ = 1;
  }
}

void MultiFile::setcachepages(int pages) {
  if (flushpages() != 0) unreported_ = true;
  cachepages_ = std::max(0, pages);
  ways_.clear();
  cachebytes_.reset();
  nsets_ = 0;
}

// Fibonacci hashing: the high bits of the product mix every bit of the
// offset, which page offsets (multiples of the page size) need.
size_t MultiFile::setof(int32_t offset) const {
  const uint32_t h = static_cast<uint32_t>(offset) * 2654435761u;
  return nsetbits_ == 0 ? 0 : static_cast<size_t>(h >> (32 - nsetbits_));
}

MultiFile::CacheWay* MultiFile::lookup(int32_t offset, int size) {
  if (nsets_ == 0) {
    if (cachepages_ < kWays || maxpage_ <= 0) return nullptr;
    long pages = std::min<long>(cachepages_, kCacheBudget / maxpage_);
    int sets = 1;
    nsetbits_ = 0;
    while (static_cast<long>(sets) * 2 * kWays <= pages) {
      sets *= 2;
      ++nsetbits_;
    }
    nsets_ = sets;
    ways_.assign(static_cast<size_t>(sets) * kWays, CacheWay{});
    cachebytes_.reset(new uint8_t[static_cast<size_t>(sets) * kWays * static_cast<size_t>(maxpage_)]);
    chkalloc(cachebytes_.get(), "MultiFile::loadpage");
  }
  CacheWay* set = &ways_[setof(offset) * kWays];
  for (int w = 0; w < kWays; ++w) {
    CacheWay& way = set[w];
    if (way.generation == generation_ && way.offset == offset && way.size == size) {
      way.stamp = ++clock_;
      return &way;
    }
  }
  return nullptr;
}

MultiFile::CacheWay* MultiFile::victim(int32_t offset) {
  if (nsets_ == 0) return nullptr;
  CacheWay* set = &ways_[setof(offset) * kWays];
  CacheWay* best = &set[0];
  for (int w = 0; w < kWays; ++w) {
    CacheWay& way = set[w];
    if (way.generation != generation_ || way.offset == offset) return &way;
    if (static_cast<int32_t>(way.stamp - best->stamp) < 0) best = &way;
  }
  return best;
}

MultiFile::CacheWay* MultiFile::claim(int32_t offset) {
  CacheWay* way = victim(offset);
  if (way != nullptr && way->dirty && way->generation == generation_) {
    if (rawwrite(way->offset, waybytes(way), way->size) != 0) {
      unreported_ = true;
      return nullptr;
    }
  }
  if (way != nullptr) way->dirty = false;
  return way;
}

int MultiFile::flushpages(bool withheader) {
  int rc = 0;
  for (CacheWay& way : ways_) {
    if (!way.dirty) continue;
    if (way.generation == generation_ && rawwrite(way.offset, waybytes(&way), way.size) != 0)
      rc = -1;
    else
      way.dirty = false;
  }
  for (size_t i = 0; i < slotdirty_.size(); ++i) {
    if (!slotdirty_[i]) continue;
    uint8_t raw[SlotDescr::kSize];
    slots_[i].encode(raw);
    if (rawwrite(slotpos(static_cast<int>(i)), raw, SlotDescr::kSize) != 0)
      rc = -1;
    else
      slotdirty_[i] = false;
  }
  // The header goes last: it is what declares the rest finished.
  if (rc == 0 && withheader && !pendinghdr_.empty()) {
    if (rawwrite(4, pendinghdr_.data(), static_cast<int>(pendinghdr_.size())) != 0) rc = -1;
    else pendinghdr_.clear();
  }
  return rc;
}

int MultiFile::setwriteback(bool on) {
  if (on == writeback_) return 0;
  if (on) {
    if (!exclusive()) return -1;  // others must see every change at once
    writeback_ = true;
    slotdirty_.assign(slots_.size(), false);
    return 0;
  }
  int rc = flushpages();
  writeback_ = false;
  return rc;
}

int MultiFile::sync() {
  int rc = 0;
  if (!pendinghdr_.empty() && (flushpages(false) != 0 || File::sync() != 0)) rc = -1;
  else if (flushpages() != 0 || File::sync() != 0) rc = -1;
  // The page is written by now, but a durable point must not claim
  // success over a write that failed on its way.
  if (unreported_) rc = -1;
  unreported_ = false;
  return rc;
}

uint64_t MultiFile::pagetoken(int32_t offset, int size) {
  const CacheWay* way = lookup(offset, size);
  return way != nullptr ? way->edit : 0;
}

uint8_t* MultiFile::waybytes(const CacheWay* way) {
  return cachebytes_.get() + static_cast<size_t>(way - ways_.data()) * static_cast<size_t>(maxpage_);
}

const uint8_t* MultiFile::loadpage(int32_t offset, int size, bool* checked) {
  if (checked != nullptr) *checked = false;
  if (size <= 0) return nullptr;
  if (CacheWay* hit = lookup(offset, size)) {
    if (checked != nullptr) *checked = hit->checked;
    return waybytes(hit);
  }
  ++pagereads_;
  CacheWay* way = size <= maxpage_ ? claim(offset) : nullptr;
  if (way == nullptr) {
    scratch_.resize(static_cast<size_t>(size));
    return rawread(offset, scratch_.data(), size) == 0 ? scratch_.data() : nullptr;
  }
  uint8_t* bytes = waybytes(way);
  if (rawread(offset, bytes, size) != 0) {
    way->generation = 0;
    return nullptr;
  }
  takeway(way, offset, size);
  way->checked = false;
  way->edit = ++edits_;
  return bytes;
}

// The way holds this page from now on, as the most recently used.
void MultiFile::takeway(CacheWay* way, int32_t offset, int size) {
  way->offset = offset;
  way->size = size;
  way->generation = generation_;
  way->stamp = ++clock_;
}

void MultiFile::markchecked(int32_t offset, int size) {
  if (CacheWay* way = lookup(offset, size)) way->checked = true;
}

int MultiFile::savepage(int32_t offset, const uint8_t* image, int size) {
  CacheWay* way = lookup(offset, size);
  if (writeback_ && size <= maxpage_) {
    if (way == nullptr) way = claim(offset);
    if (way != nullptr) {
      if (waybytes(way) != image) std::memcpy(waybytes(way), image, static_cast<size_t>(size));
      takeway(way, offset, size);
      way->checked = false;
      way->dirty = true;
      way->edit = ++edits_;
      return 0;
    }
  }
  if (rawwrite(offset, image, size) != 0) {
    if (way != nullptr) way->generation = 0;  // the file's bytes are unknown now
    return -1;
  }
  if (way == nullptr && size <= maxpage_) {
    way = claim(offset);
    if (way != nullptr) {
      takeway(way, offset, size);
    }
  }
  if (way != nullptr) {
    if (waybytes(way) != image) std::memcpy(waybytes(way), image, static_cast<size_t>(size));
    way->checked = false;
    way->dirty = false;
    way->edit = ++edits_;
  }
  if (static_cast<int64_t>(offset) + size > length_ && length_ >= 0) length_ = offset + size;
  return 0;
}

int MultiFile::patchpage(int32_t pageoff, int size, int within, const void* bytes, int n) {
  CacheWay* way = lookup(pageoff, size);
  if (writeback_ && way == nullptr && loadpage(pageoff, size) != nullptr)
    way = lookup(pageoff, size);
  if (writeback_ && way != nullptr) {
    std::memcpy(waybytes(way) + within, bytes, static_cast<size_t>(n));
    way->checked = false;
    way->dirty = true;
    way->edit = ++edits_;
    return 0;
  }
  if (rawwrite(pageoff + within, bytes, n) != 0) {
    if (way != nullptr) way->generation = 0;
    return -1;
  }
  if (way != nullptr) {
    std::memcpy(waybytes(way) + within, bytes, static_cast<size_t>(n));
    way->checked = false;
    way->edit = ++edits_;
  }
  return 0;
}

int MultiFile::rawread(int32_t offset, void* bytes, int n) {
  if (seek(offset) != 0) return -1;
  return read(bytes, n);
}

int MultiFile::rawwrite(int32_t offset, const void* bytes, int n) {
  if (seek(offset) != 0) return -1;
  return write(bytes, n);
}

}  // namespace quill
