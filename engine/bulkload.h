// Building a tree from scratch: the entries are sorted (in memory up to a
// budget, beyond it in sorted runs on disk that are merged), then the pages
// are filled bottom-up in key order, each written once.
//
// EntrySorter collects entries (key, 4 data bytes) in any order and hands
// them back ordered as the tree orders them: key by the tree's comparator
// in stored-key mode, then data bytes. Memory stays within the budget
// whatever the number of entries; runs go to temporary files in the current
// directory, removed when the sorter goes.
//
// buildtree fills an empty tree from ordered entries: every page is filled
// up to one longest entry short of full, the entry that does not fit goes
// up a level as the separator, and the last page of a level takes back a
// separator that would otherwise open an empty page; a last page left below
// half full shares with the page before it. The tree's pages come
// from its slot; its root, height and slot descriptor are written at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/errors.h"
#include "engine/keys.h"

namespace quill {

class Btree;
class File;

// An allocator that leaves new elements of a trivial type unwritten: the
// sorter's arena grows ahead of its use, and zeroing what the entries will
// overwrite would cost as much as writing them.
template <typename T>
struct UnwrittenAllocator : std::allocator<T> {
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

class EntrySorter {
 public:
  EntrySorter(Comparator cmp, const KeyDescr* kd, int datalen, size_t budget = kDefaultBudget);
  ~EntrySorter();
  EntrySorter(const EntrySorter&) = delete;
  EntrySorter& operator=(const EntrySorter&) = delete;

  static constexpr size_t kDefaultBudget = 64u << 20;

  // Room for this many entries' places in the sort, as far as the budget
  // goes: told ahead, the list of places does not grow by copies.
  void reserve(size_t entries);
  // 0, or -1 when a run cannot be written.
  int add(const uint8_t* key, int keylen, const uint8_t* data);
  // After the last add: hands out the entries in order, one per call, until
  // it answers false (at the end, or when a run cannot be read back: then
  // failed() says so). The pointers stay valid until the next call.
  bool next(const uint8_t** key, int* keylen, const uint8_t** data);
  bool failed() const { return failed_; }
  int runs() const { return static_cast<int>(runs_.size()); }

 private:
  struct Run;
  Comparator cmp_;
  const KeyDescr* kd_;
  int datalen_;
  size_t budget_;
  // Entries: 2-byte key length, key, data, a byte with the length of the
  // key's order string kept (top bit: it goes on; 0 without one), then
  // (ordered by bytes) the string's bytes after the first 12.
  std::vector<uint8_t, UnwrittenAllocator<uint8_t>> arena_;
  size_t used_ = 0;  // bytes of the arena in use
  // Where each entry starts in the arena. While every key has an order
  // string (orderbytes), the entries sort by its first kOrderBytes bytes:
  // the first 12 here as two numbers, the rest in the arena; only keys whose
  // strings agree that far and go on (cut) need the comparator. A key
  // without one sends every entry to the comparator.
  static constexpr int kOrderBytes = 32;
  struct Item {
    uint64_t head;  // the first 8 bytes, big-endian, zero after the end
    uint32_t next;  // the next 4, as head
    uint32_t at;
  };
  std::vector<Item> index_;
  bool bytes_ = false;  // the entries sort by their order strings

  const uint8_t* tail(const Item& it) const;
  bool before(const Item& a, const Item& b) const;
  std::vector<std::unique_ptr<Run>> runs_;
  bool draining_ = false;
  bool failed_ = false;
  size_t at_ = 0;                 // next entry of the arena (no runs)
  std::vector<Run*> heap_;        // runs by their current entry (runs)
  std::vector<uint8_t> current_;  // the entry handed out last, from a run

  bool less(const uint8_t* a, const uint8_t* b) const;
  void sortarena();
  int spill();
  bool startdrain();
};

// Fills the empty tree from the sorter's entries, in the order it hands them
// out. Ok, or WriteFailed (a failed sort included).
ErrorCode buildtree(Btree& tree, EntrySorter& sorter);

// The memory the reindex may give each tag's sort (tests make it small to
// exercise the runs on disk).
void setreindexbudget(size_t bytes);

}  // namespace quill
