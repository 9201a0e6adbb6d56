// MultiFile: a paged store inside one File.
//
// The store carries a small header defined by its owner, a table of slot
// descriptors and, per slot, a small area of its own and a set of fixed-size
// pages with a free list. The index file keeps one B-tree per slot in it.
//
// Store layout (integers little-endian):
//
//   offset              width          meaning
//   0                   2              slot count N (signed 16-bit)
//   2                   2              header length H (signed 16-bit)
//   4                   H              header, defined by the owner
//   4 + H + 26*i        24             slot descriptor of slot i
//   4 + H + 26*i + 24   2              check mark "EB" (45 42)
//   4 + H + 26*N        arealen(0)+2   area of slot 0, then "EB"
//   ...                 arealen(i)+2   area of slot i, 2 bytes after area i-1
//   after the areas     P(i) each      pages of all slots, interleaved, in the
//                                      order they were appended
//
// Slot descriptor (24 bytes):
//
//   offset  width  meaning                                  initial value
//   0       2      page size P of the slot (signed 16-bit)  as set up
//   2       2      area length (signed 16-bit)              as set up
//   4       4      root page offset, -1 = empty tree        -1
//   8       4      pages in use                             0
//   12      4      first free page, -1 = none               -1
//   16      4      free pages                               0
//   20      4      offset of the slot's area                laid out
//
// A free page is all zeros except its last 4 bytes (offset P-4), which hold
// the offset of the next free page, -1 at the end of the list.
//
// The store holds its File and shows its users page transfers, slots,
// areas and its header, never raw file positions. Pages pass through a
// bounded cache (PageCache). Written through (the default), every save
// reaches the file at once, so the file is always what the format
// promises. While the file is held exclusively nobody else can change it:
// cached pages and the file's length stay valid across operations;
// otherwise beginop() forgets them at the start of each tree operation, so
// one operation still never reads a page twice.
//
// Results are ErrorCode: Ok, WriteFailed for a write or sync that failed,
// BadIndex for a store that cannot be read or does not hold together,
// BadParam for a request outside the store, FileOpen/FileCreate.
//
// Damage: offsets read from the file are checked against the page area
// (at or after the end of the areas, inside the file, on the grid of the
// page sizes) before anything is read there, so a damaged file ends in
// fatal() naming the file and the offset instead of wild reads or loops.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/file.h"
#include "engine/filebuffer.h"
#include "engine/pagecache.h"

namespace quill {

// A slot descriptor as the table in memory holds it; the fields in the
// order of the layout above.
struct SlotDescr {
  static constexpr int kSize = 24;
  void decode(const uint8_t* p);
  void encode(uint8_t* p) const;

  int16_t pagesize = 0;
  int16_t arealen = 0;
  int32_t root = -1;
  int32_t inuse = 0;
  int32_t freehead = -1;
  int32_t nfree = 0;
  int32_t areaoff = 0;
};

// One slot as requested from setupwr. A page size of 0 ends the list early.
struct SlotSetup {
  int pagesize = 0;
  int arealen = 0;
};

class MultiFile {
 public:
  static constexpr int kMinPageSize = 16;       // header, a child and a free link
  static constexpr int kMaxPageSize = 32767;    // a signed 16-bit field
  static constexpr int kMaxSlots = 4096;
  static constexpr int kMaxHeader = 4096;
  static constexpr int kMaxArea = 4096;
  static constexpr int kDefaultCachePages = PageCache::kDefaultPages;

  ~MultiFile();  // closes, writing back what write-back held

  // ---- the file under the store (which makes the store uncopyable) ----

  ErrorCode open(const char* path, Access access, Sharing sharing);
  ErrorCode create(const char* path, Sharing sharing);
  // Writes back what write-back mode held, frees the slot table and the
  // cached pages, then closes the file.
  ErrorCode close();
  // Forgets what write-back mode held, unwritten: the file stays as its
  // unfinished mark left it (after a failed write of the data it indexes).
  void abandon();
  bool isopen() const { return file_.isopen(); }
  bool readonly() const { return file_.readonly(); }
  bool exclusive() const { return file_.exclusive(); }
  const std::string& name() const { return file_.name(); }
  // Forces what was written to disk; while sync is deferred (see
  // FileBuffer::defersync) it only notes that data is waiting, and writes in
  // a row are gathered.
  ErrorCode flush();
  void defersync(bool on) {
    deferring_ = on;
    buffer_.defersync(on);
  }
  // The whole file as a byte-range lock, waiting for its holder.
  ErrorCode lock(LockMode mode);
  ErrorCode unlock();

  // ---- the store ----

  // Writes a new store from offset 0 of the freshly created file.
  ErrorCode setupwr(int hlen, const std::vector<SlotSetup>& slots);
  // Reads the store of an opened file; BadIndex for a short read, a missing
  // mark or a header and slot table that do not describe a consistent store.
  ErrorCode setuprd();
  // The slot count and header length at the front of the file, and the
  // header as long as the file says, without setting up the store: for an
  // owner whose store cannot be read.
  ErrorCode readfront(int* hlen, std::vector<uint8_t>* header);

  ErrorCode readheader(void* buffer);
  ErrorCode writeheader(const void* buffer);

  // Skipped (Ok, nothing changes) while the file is held exclusively unless
  // forced: then the in-memory table is authoritative. BadIndex when the
  // read fails or the descriptor on file is not plausible for this store
  // (the table in memory then stays as it was).
  ErrorCode readslot(int i, bool force = false);
  ErrorCode writeslot(int i);

  ErrorCode readarea(int i, void* buffer);
  ErrorCode writearea(int i, const void* buffer);

  // P(i) bytes at offset; the buffer on success, null on failure.
  uint8_t* readpage(int i, int32_t offset, uint8_t* buffer);
  const uint8_t* writepage(int i, int32_t offset, const uint8_t* buffer);

  // Takes the head of slot i's free list. Ends the process through fatal()
  // when the list is empty, leads outside the page area, into a page that
  // is not blank or past its count.
  int32_t use_free_page(int i);
  // Puts a page on the list; it is expected to be blank already (the trees
  // zero a page before they give it back). Fatal for a page outside the
  // page area or the list's own head.
  ErrorCode freepage(int i, int32_t offset);
  // Appends a blank page and frees it. BadParam when the file would reach
  // 2 GiB. In write-back mode the page exists only in the cache until it is
  // written back.
  ErrorCode addpage(int i);

  SlotDescr& slot(int i) { return slots_[static_cast<size_t>(i)]; }
  const SlotDescr& slot(int i) const { return slots_[static_cast<size_t>(i)]; }
  int nslots() const { return nslots_; }
  int hlen() const { return hlen_; }

  // ---- the page seam ----

  // Called at the start of every tree operation: unless the file is held
  // exclusively, forgets cached pages and the known file length.
  void beginop();

  // The page of `size` bytes at offset, from the cache or read from the file
  // (and then cached). The pointer stays valid until the next call of any
  // page function. Null when the read fails. The offset is not checked
  // here; callers check it with pageok() first.
  const uint8_t* loadpage(int32_t offset, int size, bool* checked = nullptr);
  // Notes that the cached copy of the page has been checked by its reader,
  // so that it need not be checked again while it stays unchanged.
  void markchecked(int32_t offset, int size);
  // Writes the whole page at once and keeps the cached copy in step.
  ErrorCode savepage(int32_t offset, const uint8_t* image, int size);
  // Writes n bytes at offset `within` inside the page at pageoff.
  ErrorCode patchpage(int32_t pageoff, int size, int within, const void* bytes, int n);

  // Whether a page of `size` bytes can lie at offset: inside the store, at
  // or after the first page position, on the grid of the page sizes.
  bool pageok(int32_t offset, int size);
  // First byte after the areas: where pages begin.
  int32_t pagebase() const { return pagebase_; }
  // The store's length: the file's, with the pages that write-back mode
  // added and not yet wrote. Refreshed by beginop when shared.
  int32_t length();

  // Walks the free list of slot i, counting against the free count; the
  // offsets go to `pages` when given. BadIndex (with a description in
  // `problem`) for a link outside the page area, a page that is not blank,
  // a loop or a length that differs from the count. Never fatal: for
  // checkers.
  ErrorCode walkfree(int i, std::vector<int32_t>* pages, std::string* problem);

  // Write-back mode, for many changes in a row on a file held exclusively:
  // page, slot descriptor and header writes, and new pages, stay in memory
  // until flushpages(), sync() or close() write them (pages first, in file
  // order with neighbours joined, the header last), or a page is evicted
  // (taking the dirty pages next to it in the file along in one write).
  // The owner makes sure that what the file holds meanwhile is recognised
  // as unfinished (the index marks itself out of date). Turning it off
  // writes everything out.
  ErrorCode setwriteback(bool on);
  bool writeback() const { return writeback_; }
  // Whether the header's write is still held back (the file keeps the one
  // written before, whatever pages reached it since).
  bool headerheld() const { return !pendinghdr_.empty(); }
  ErrorCode flushpages(bool withheader = true);
  // Writes everything out and forces it to disk; a held-back header only
  // after the pages and slots are there. WriteFailed also when a page write
  // failed since the last sync where its caller could not hear of it (an
  // eviction).
  ErrorCode sync();

  // Names the content of a cached page: the same non-zero token means the
  // same bytes as when it was handed out; 0 when the page is not cached.
  uint64_t pagetoken(int32_t offset, int size);

  void setcachepages(int pages);
  // Pages read from the file since the store was set up (for tests of the
  // cache and for benchmarks).
  long long pagereads() const { return pagereads_; }

 private:
  using Way = PageCache::Way;

  File file_;
  // Every read and write of the store passes through it: while sync is deferred it
  // gathers pages written in a row (appends of a bulk load, runs of a
  // write-back) into large writes. Its block cache stays off: cache_ holds
  // the pages.
  FileBuffer buffer_{file_};
  PageCache cache_;
  int16_t nslots_ = 0;
  int16_t hlen_ = 0;
  std::vector<SlotDescr> slots_;
  int32_t pagebase_ = 0;
  int32_t grid_ = 1;          // gcd of the page sizes
  std::vector<int> sizes_;    // the page sizes of the slots, each once
  int32_t length_ = -1;       // -1: unknown
  std::vector<uint8_t> scratch_;  // used when the cache is off
  bool writeback_ = false;
  bool deferring_ = false;  // sync deferred: buffer_ gathers writes in a row
  std::vector<bool> slotdirty_;
  std::vector<uint8_t> pendinghdr_;  // the header, when its write is held back
  bool unreported_ = false;  // a page write failed out of its caller's sight
  long long pagereads_ = 0;

  void adopt(std::vector<SlotDescr> table, int hlen);  // the store's geometry
  void forgetstore();
  // A way for the page at offset, its old dirty content written out first;
  // null when there is none or that write fails (the page then stays dirty
  // and the next sync fails).
  Way* claim(int32_t offset);
  // Writes out a dirty way with the dirty pages cached on either side of
  // it, joined; they all stay cached, clean.
  ErrorCode evict(Way* way);
  // The cached page (any, or a dirty one) that begins at offset / ends at
  // end, of any of the store's page sizes; null when there is none.
  enum class Cached { Any, Dirty };
  Way* cachedat(int32_t offset, Cached which);
  Way* cachedending(int32_t end, Cached which);
  // Dirty ways in file order, with the clean cached pages that close short
  // gaps between them.
  std::vector<Way*> bridged(const std::vector<Way*>& ways);
  ErrorCode writeways(const std::vector<Way*>& ways);
  // After the slot count, the header length and the header, slot after
  // slot, each with its mark.
  static constexpr int kSlotStride = SlotDescr::kSize + 2;
  static int32_t slotpos(int hlen, int i) { return 4 + hlen + kSlotStride * i; }
  int32_t slotpos(int i) const { return slotpos(hlen_, i); }
  bool plausible(const SlotDescr& d, int i, std::string* problem);
  ErrorCode rawwrite(int32_t offset, const void* bytes, int n);
  ErrorCode rawread(int32_t offset, void* bytes, int n);
  [[noreturn]] void damaged(const char* where, int i, int32_t offset, const char* what);
};

}  // namespace quill
