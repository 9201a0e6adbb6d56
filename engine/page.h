// Page: one B-tree page being edited in memory.
//
// Page layout on disk (P bytes, integers little-endian):
//
//   offset  width   meaning
//   0       2       entry count n (signed 16-bit)
//   2       4       parent page offset, -1 for the root
//   6       P - 6   data area (A = P - 6 bytes):
//
//   data area offset        width        meaning
//   0                       E            entries 0..n-1, packed in key order
//   E                       gap          filled with FF when written
//   A - 4*(n + 1 - i)       4            child i (i = 0..n), -1 for none;
//                                        child n is the last 4 bytes
//
// An entry is the key (K bytes) and the data (D bytes) in a tree with
// fixed-length keys, or a signed 16-bit key length k, k key bytes and D data
// bytes with variable-length keys. Child i holds the entries that sort
// before entry i, child n those after entry n-1; in a leaf all are -1.
//
// The page keeps its whole image (header included) in one buffer and the
// start of every entry, so that entry i is found in constant time also with
// variable-length keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/bytes.h"
#include "engine/keys.h"
#include "engine/multifile.h"

namespace quill {

class Btree;

// Whether the entries that a prefix search key matches lie together in the
// page's order (keys.h, prefixtogether): only then may a prefix search
// bisect the page instead of scanning it.
enum class PrefixMatches { Scattered, Together };

// The order of a tree built without a comparator: bytes as unsigned, then
// the shorter key first. The mode is not looked at.
int keybytecompare(CompareMode mode, const KeyDescr* kd, const uint8_t* a, int la, const uint8_t* b,
                   int lb);

class Page {
 public:
  static constexpr int kHeader = 6;

  Page() = default;

  // Takes file, tree number, page size, key and data lengths, comparator,
  // key descriptor and the fixed flag from the tree, then clears the page.
  void init(const Btree& tree);
  void init(MultiFile* file, int treeno, int pagesize, int keylen, int datalen, bool fixed,
            Comparator cmp, const KeyDescr* kd);

  // Count 0, parent -1, no address, child 0 = -1.
  void clear();

  // Reads the page at offset through the store's page seam. Loading at -1,
  // a failed read and a page that does not hold together (counts, key
  // lengths, pointers outside the page area) are fatal and name the file
  // and the offset.
  void load(int32_t offset);
  // As load, but a damaged or unreadable page gives -1 and a description
  // instead of ending the process (for re-finding positions and checkers).
  int tryload(int32_t offset, std::string* problem);

  int32_t save();      // fatal when it has no address or the write fails
  void dispose();      // zeroes the page on file and frees it; the page is cleared
  void link(int32_t child);  // writes this page's address into the child's parent field
  void allocate();     // takes an address from the tree's free list

  int count() const { return n_; }
  int32_t parent() const { return parent_; }
  void setparent(int32_t parent) {
    parent_ = parent;
    token_ = 0;
  }
  int32_t address() const { return addr_; }
  bool leaf() const { return child(0) == -1; }

  const uint8_t* key(int i) const { return area() + (fixed_ ? i * S_ : off_[i] + 2); }
  int keylen(int i) const { return fixed_ ? K_ : getles16at(off_[i]); }
  const uint8_t* data(int i) const { return key(i) + keylen(i); }
  int32_t child(int i) const;

  // Entry i (key then data) and its key length into buffer; returns the
  // key length.
  int copyentry(int i, uint8_t* buffer) const;

  // Inserts the entry at index i with right child c and links c here.
  void insert(int i, const uint8_t* key, int klen, const uint8_t* data, int32_t c);
  // Filling a page in key order: the children lie at the page's end, so an
  // insertion at the end moves all of them. append adds an entry after the
  // last and leaves the children alone; setchildren then writes children
  // 0..n at once and links them here (the caller tests for room first).
  void append(const uint8_t* key, int klen, const uint8_t* data);
  void setchildren(const int32_t* children);
  // The merge of two neighbours: appends the separator (key, data) with
  // right's child 0, then right's entries with their children, linked here;
  // as many insertions at the end would, without moving the children each
  // time.
  void absorb(const uint8_t* key, int klen, const uint8_t* data, const Page& right);
  // Balancing with the right neighbour through their separator (key then
  // data in sep, its key length in *klen), m entries at once, as m single
  // moves through the separator would leave the pages: shiftright moves
  // this page's last m entries and their right children to the front of
  // right, shiftleft right's first m entries and their left children to the
  // end of this page; the separator goes down on the way and the last entry
  // to move comes up into sep instead. Children that change pages are
  // linked to their new one.
  void shiftright(Page& right, int m, uint8_t* sep, int* klen);
  void shiftleft(Page& right, int m, uint8_t* sep, int* klen);
  int entrysize(int i) const { return entryat(i + 1) - entryat(i); }
  // Removes entry i with its right child (child i+1) or its left child
  // (child i); returns the removed child pointer.
  int32_t remove(int i, bool rightchild);
  // Replaces entry i by one with another key; -1 (page unchanged) when the
  // key grows by more than the free space.
  int replace(int i, const uint8_t* key, int klen, const uint8_t* data);
  void setchild0(int32_t c);  // and links c here

  // Room for one more entry with a key of length k, optionally together with
  // all entries of q (the merge test).
  bool room(int k, const Page* q = nullptr) const;
  bool halffull() const { return 2 * (E_ + 4 * n_) + 4 >= A_; }
  int used() const { return E_ + 4 * (n_ + 1); }
  int childindex(int32_t c) const;

  // Page searches for a sought key a (see the tree's search operations):
  // the first entry with compare(mode, a, entry) <= 0, n when none;
  // found when that comparison gave 0.
  int firstnotsmaller(CompareMode mode, const uint8_t* a, int la, bool* found,
                      PrefixMatches matches = PrefixMatches::Scattered) const;
  // The last entry of the leading run with compare(mode, a, entry) >= 0
  // (-1 when entry 0 is already below); found when any of them gave 0.
  int lastnotgreater(CompareMode mode, const uint8_t* a, int la, bool* found,
                     PrefixMatches matches = PrefixMatches::Scattered) const;
  // The first entry not smaller than (key, data), keys in mode 0 and equal
  // keys by their data bytes; found only for equal key and data.
  int exact(const uint8_t* a, int la, const uint8_t* data, bool* found) const;

  // Compares (a, data) with entry i: key in mode 0, then the data bytes.
  int compareentry(const uint8_t* a, int la, const uint8_t* data, int i) const;

  void swap(Page& other) noexcept;

 private:
  int n_ = 0;
  int32_t parent_ = -1;
  Comparator cmp_ = nullptr;
  const KeyDescr* kd_ = nullptr;
  int32_t addr_ = -1;
  int K_ = 0;
  int D_ = 0;
  int P_ = 0;
  MultiFile* file_ = nullptr;
  int treeno_ = 0;
  bool fixed_ = true;
  int O_ = 0;
  int S_ = 0;  // an entry's size with fixed-length keys
  int E_ = 0;
  int A_ = 0;
  // The cached content this page was loaded from or saved as (0: none, or
  // changed since): loading the same page again while the cache still
  // holds that content costs nothing.
  uint64_t token_ = 0;
  std::vector<uint8_t> img_;   // the whole page; the data area starts at kHeader
  // Start of entry i in the data area with variable-length keys (off_[n] =
  // E); fixed-length entries are found by their size.
  std::vector<int> off_;
  int entryat(int i) const { return fixed_ ? i * S_ : off_[i]; }

  uint8_t* area() { return img_.data() + kHeader; }
  const uint8_t* area() const { return img_.data() + kHeader; }
  int getles16at(int o) const { return getles16(area() + o); }
  int childpos(int i) const { return A_ - 4 * (n_ - i + 1); }
  void setchild(int i, int32_t c);
  // Fatal unless `bytes` more of entries and `entries` more entries (with
  // their children) fit: the callers test for room first.
  void needroom(int bytes, int entries, const char* op) const;
  void reoffset(int from);
  const char* parse(const uint8_t* image, int32_t offset);
  void adopt(const uint8_t* image, int32_t offset);
  int cmpat(CompareMode mode, const uint8_t* a, int la, int i) const;
  // Writes an entry (the length first for variable-length keys) at p.
  void putentry(uint8_t* p, const uint8_t* k, int klen, const uint8_t* d);
};

}  // namespace quill
