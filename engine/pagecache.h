// PageCache: the bounded page cache of a paged store (MultiFile).
//
// Set-associative, 4 ways per set, least recently used way first out. It
// knows nothing of the file: the store reads pages into the ways it is
// given, writes out dirty ways before they are reused, and decides when a
// way holds the file's bytes. A generation number forgets everything at
// once; ways of an older generation are free.
//
// A page's set is its offset in units of the largest page, so pages that
// follow one another in the file take neighbouring sets. A way's bytes
// get their place in memory when the way is first used, from a memory
// page's start on: the cached pages fill the memory pages they touch
// instead of taking a memory page (and a fault, and a TLB entry) each.
//
// Memory for the pages is allocated on first use for the largest page of
// the store and never touched before a page lands in it, so only the pages
// actually cached commit memory.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quill {

class PageCache {
 public:
  static constexpr int kDefaultPages = 16384;

  struct Way {
    int32_t offset = -1;
    int32_t size = 0;
    uint32_t generation = 0;
    uint32_t stamp = 0;
    bool checked = false;
    bool dirty = false;  // changed in write-back mode, not yet in the file
    uint64_t edit = 0;   // changes with every new content of the way
    // Where its bytes lie, given on first use: ways in use share memory
    // pages however the offsets spread over the sets.
    mutable int32_t slot = -1;
  };

  // Forgets the geometry: the next lookup lays the cache out anew for
  // pages of at most maxpage bytes (0: no cache).
  void reset(int maxpage);
  void setpages(int pages);  // capacity; reset() follows
  void forget();             // every way free, in one step
  void release();            // forgets and gives the memory back

  Way* lookup(int32_t offset, int size);
  // The way of a cached page, left where it stands in its set's order;
  // null when there is none.
  Way* find(int32_t offset, int size);
  // The way that the page at offset would take: a free one, the page's own,
  // or the least recently used of its set. Null without a cache. A dirty
  // victim must be written out before it is taken.
  Way* victim(int32_t offset);
  // The way holds this page from now on, as the most recently used.
  void take(Way* way, int32_t offset, int size);
  // New content, not yet checked by its reader.
  void changed(Way* way);
  void drop(Way* way) { way->generation = 0; }  // its bytes are unknown
  bool live(const Way& way) const { return way.generation == generation_; }
  uint8_t* bytes(const Way* way);
  int maxpage() const { return maxpage_; }

  // The dirty ways of the current generation, in file order.
  std::vector<Way*> dirtyways();

 private:
  static constexpr int kWays = 4;
  int pages_ = kDefaultPages;
  int maxpage_ = 0;
  int nsets_ = 0;
  int pageshift_ = -1;  // log2 of the largest page, -1 when not a power of 2
  std::vector<Way> ways_;
  struct FreeAligned {
    void operator()(uint8_t* p) const;
  };
  std::unique_ptr<uint8_t[], FreeAligned> bytes_;
  int32_t slots_ = 0;  // slots given out
  uint32_t generation_ = 1;
  uint32_t clock_ = 0;
  uint64_t edits_ = 0;

  bool layout();
  size_t setof(int32_t offset) const;
};

}  // namespace quill
