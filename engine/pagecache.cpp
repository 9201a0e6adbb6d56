#include "engine/pagecache.h"

#include <algorithm>
#include <new>

#include "engine/errors.h"

namespace quill {

namespace {

// Bytes the cache may hold, whatever the page size.
constexpr long kCacheBudget = 32L * 1024 * 1024;
// The memory page, where the cached pages start.
constexpr size_t kMemoryPage = 4096;

}  // namespace

void PageCache::reset(int maxpage) {
  maxpage_ = std::max(0, maxpage);
  release();
}

void PageCache::setpages(int pages) {
  pages_ = std::max(0, pages);
  release();
}

void PageCache::release() {
  ways_.clear();
  ways_.shrink_to_fit();
  bytes_.reset();
  nsets_ = 0;
  generation_ = 1;
}

void PageCache::forget() {
  if (++generation_ == 0) {
    // After wrapping, old generation numbers could come back to life.
    for (Way& w : ways_) w.generation = 0;
    generation_ = 1;
  }
}

void PageCache::FreeAligned::operator()(uint8_t* p) const {
  ::operator delete[](p, std::align_val_t{kMemoryPage});
}

bool PageCache::layout() {
  if (pages_ < kWays || maxpage_ <= 0) return false;
  const long pages = std::min<long>(pages_, kCacheBudget / maxpage_);
  int sets = 1;
  while (static_cast<long>(sets) * 2 * kWays <= pages) sets *= 2;
  nsets_ = sets;
  pageshift_ = -1;
  for (int b = 0; b < 16; ++b)
    if (maxpage_ == 1 << b) pageshift_ = b;
  ways_.assign(static_cast<size_t>(sets) * kWays, Way{});
  slots_ = 0;
  const size_t bytes = static_cast<size_t>(sets) * kWays * static_cast<size_t>(maxpage_);
  bytes_.reset(static_cast<uint8_t*>(
      ::operator new[](bytes, std::align_val_t{kMemoryPage}, std::nothrow)));
  chkalloc(bytes_.get(), "PageCache::layout");
  return true;
}

size_t PageCache::setof(int32_t offset) const {
  const uint32_t at = static_cast<uint32_t>(offset);
  const uint32_t unit = pageshift_ >= 0 ? at >> pageshift_ : at / static_cast<uint32_t>(maxpage_);
  return static_cast<size_t>(unit) & static_cast<size_t>(nsets_ - 1);
}

PageCache::Way* PageCache::find(int32_t offset, int size) {
  if (nsets_ == 0 && !layout()) return nullptr;
  Way* set = &ways_[setof(offset) * kWays];
  for (int w = 0; w < kWays; ++w) {
    Way& way = set[w];
    if (way.generation == generation_ && way.offset == offset && way.size == size) return &way;
  }
  return nullptr;
}

PageCache::Way* PageCache::lookup(int32_t offset, int size) {
  Way* way = find(offset, size);
  if (way != nullptr) way->stamp = ++clock_;
  return way;
}

PageCache::Way* PageCache::victim(int32_t offset) {
  if (nsets_ == 0) return nullptr;
  Way* set = &ways_[setof(offset) * kWays];
  Way* best = &set[0];
  for (int w = 0; w < kWays; ++w) {
    Way& way = set[w];
    if (way.generation != generation_ || way.offset == offset) return &way;
    if (static_cast<int32_t>(way.stamp - best->stamp) < 0) best = &way;
  }
  return best;
}

void PageCache::take(Way* way, int32_t offset, int size) {
  way->offset = offset;
  way->size = size;
  way->generation = generation_;
  way->stamp = ++clock_;
}

void PageCache::changed(Way* way) {
  way->checked = false;
  way->edit = ++edits_;
}

uint8_t* PageCache::bytes(const Way* way) {
  if (way->slot < 0) way->slot = slots_++;
  return bytes_.get() + static_cast<size_t>(way->slot) * static_cast<size_t>(maxpage_);
}

std::vector<PageCache::Way*> PageCache::dirtyways() {
  std::vector<Way*> dirty;
  for (Way& way : ways_)
    if (way.dirty && live(way)) dirty.push_back(&way);
  std::sort(dirty.begin(), dirty.end(),
            [](const Way* a, const Way* b) { return a->offset < b->offset; });
  return dirty;
}

}  // namespace quill
