// Btree: one B-tree of entries (key + D data bytes) in a slot of a MultiFile.
//
// Every page, inner or leaf, holds real entries (the page layout is in
// page.h). Entries are ordered by the tree's comparator over the keys in
// mode 0 and, for equal keys, by their data bytes as unsigned bytes, so no
// two entries are equal in both. In the index file the data is the 4-byte
// big-endian record number.
//
// The tree's root is the slot's root field; its TreeInfo lives in the first
// 8 bytes of the slot's area:
//
//   offset  width  meaning (little-endian, signed 16-bit each)
//   0       2      key length K (the maximum for variable-length keys)
//   2       2      data length D
//   4       2      1 = fixed-length keys, 0 = variable-length keys
//   6       2      height: number of levels, 0 for an empty tree
//
// Updates first make sure the slot has height + 1 free pages, so that the
// splits and the new root of one insertion never find the free list empty.
// When the index file is shared, every operation re-reads the slot
// descriptor and TreeInfo so that it sees what another process left; when
// it is held exclusively the copies in memory are authoritative.
//
// Damage: pages are checked as they are read (see Page::load), and the
// structure as it is walked: a child must name its parent, leaves must lie
// at the tree's height, climbs and descents are bounded by the height. A
// damaged file ends in fatal() naming the file and the offset.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/keys.h"
#include "engine/modes.h"
#include "engine/multifile.h"
#include "engine/noncopyable.h"
#include "engine/page.h"

namespace quill {

struct TreeInfo {
  int16_t keylen = 0;
  int16_t datalen = 0;
  int16_t fixed = 0;
  int16_t height = 0;

  static constexpr int kSize = 8;
  void decode(const uint8_t* p);
  void encode(uint8_t* p) const;
};

// A position in a tree: the page and index of an entry and a copy of its key
// and data. It is only a hint once the tree has changed: every use goes
// through re-finding, which falls back to a search by the copied entry.
struct bt_pos {
  explicit bt_pos(int size);

  int32_t page = -1;
  int index = -1;
  std::vector<uint8_t> buffer;  // key, then data
  int length = 0;               // key length + data length
  int dlen = 0;                 // data length of the tree that set it

  void clear();
  void set(int32_t page, int index, const uint8_t* entry, int keylen, int datalen);
  bool valid() const { return page != -1; }
  const uint8_t* key() const { return buffer.data(); }
  int keylen() const { return length - dlen; }
  const uint8_t* data() const { return buffer.data() + keylen(); }
  int datalen() const { return dlen; }
  // The record number: the last 4 data bytes, big-endian.
  int32_t recno() const;
};

// One page as the structure walk shows it.
struct WalkStep {
  int32_t offset = -1;
  int32_t parent = -1;  // the page whose child pointer led here, -1 for the root
  int level = 0;        // 1 for the root
  const Page* page = nullptr;
};

struct WalkSummary {
  int pages = 0;
  long long entries = 0;
  int leaves = 0;
};

class Btree : NonCopyable {
 public:
  static constexpr int kMaxHeight = 64;

  Btree(MultiFile* file, int treeno, Comparator cmp, Continuation cont, const KeyDescr* kd);

  // 0, DuplicateKey or WriteFailed; the position, if given, is set to the
  // new entry. A variable-length key longer than K is fatal; a fixed-length
  // tree always takes K bytes.
  ErrorCode insert(bt_pos* pos, const uint8_t* key, int keylen, const uint8_t* data);
  // Removes the entry with exactly this key and data: 0, NoCurrentRecord or
  // WriteFailed. A position that stands on the entry saves the search for
  // it; one that stands elsewhere is only overwritten. With a position, it
  // is set to the entry that followed the
  // removed one (out: NextRecord), the new last entry (PrevRecord), or
  // cleared when the tree is now empty (NoCurrentRecord).
  ErrorCode remove(bt_pos* pos, const uint8_t* key, int keylen, const uint8_t* data,
                   ErrorCode* out);

  // 0, NotFound, NextRecord or PrevRecord.
  ErrorCode seek(bt_pos* pos, const uint8_t* key, int keylen, SeekMode mode, SeekWhich which);
  // Ok with the position on the entry with exactly this key and data, or
  // NotFound.
  ErrorCode find(bt_pos* pos, const uint8_t* key, int keylen, const uint8_t* data);
  ErrorCode first(bt_pos* pos);
  ErrorCode last(bt_pos* pos);
  // 0, TooFar, NoCurrentRecord, NextRecord or PrevRecord; moved receives the
  // entries actually moved (negative backwards). With a lead, an entry whose
  // key does not begin with it ends the move as the tree's end does (TooFar,
  // on the last entry that does), without the caller reading past it.
  ErrorCode skip(bt_pos* pos, int count, int* moved, KeyLead lead = {});
  // The data of the entry after the position's when the page the position
  // stands on is still at hand from the last move and holds it; null
  // otherwise. Only a hint (the tree may have changed since), for fetching
  // ahead what a forward walk is likely to read next.
  const uint8_t* nextdata(const bt_pos& pos) const;

  // Positions by order without counting (btree_rank.cpp): estimates from
  // the pages on the way down and what their children hold (their
  // grandchildren too, up to kRankReads), for a tree of `total` entries. rank: the
  // entries before the position's (-1 without one); lastrank: that of the
  // greatest entry (-1 for an empty tree); seekrank: the position to the
  // entry with about that rank, 0 or NoCurrentRecord.
  double rank(bt_pos* pos, double total);
  double lastrank(double total);
  ErrorCode seekrank(bt_pos* pos, double rank, double total);
  // What a child page holds, for sharing out the ranks of its parent.
  struct ChildLoad {
    double entries;   // on the pages read below the parent
    double subtrees;  // below those, not read
  };

  const TreeInfo& info() const { return info_; }
  int keylen() const { return info_.keylen; }
  int datalen() const { return info_.datalen; }
  int height() const { return info_.height; }
  int pagesize() const { return pagesize_; }
  int treeno() const { return treeno_; }
  int32_t root() const { return file_->slot(treeno_).root; }
  MultiFile* file() const { return file_; }
  Comparator comparator() const { return cmp_; }
  Continuation continuation() const { return cont_; }
  const KeyDescr* keydescr() const { return kd_; }

  // Reads TreeInfo from the slot's area / writes it there; Ok or
  // GeneralError.
  ErrorCode readinfo();
  ErrorCode writeinfo();
  // Writes a TreeInfo into the area of slot treeno, for creating a tree
  // before a Btree is built on it.
  static ErrorCode writeinfo(MultiFile* file, int treeno, const TreeInfo& info);

  // Why the tree's description cannot be used (page size too small for the
  // keys, height and root disagreeing, ...), null when it can. Operations on
  // such a tree are fatal; an opener can test this first and refuse.
  const char* damaged() const;

  // Visits every page depth-first (a page before its children) without
  // changing anything and without ending the process on damage: problems
  // (unreadable or inconsistent pages, wrong parent fields, leaves off the
  // tree's height, entries out of order, pages reached twice, page counts
  // and the free list disagreeing with the slot) are appended to problems.
  // The visitor may stop the walk by returning false. Ok when no problem
  // was found, else GeneralError.
  using WalkVisitor = std::function<bool(const WalkStep&)>;
  ErrorCode walk(const WalkVisitor& visit, std::vector<std::string>* problems,
                 WalkSummary* summary = nullptr);

 private:
  // What a descent looks for in each page.
  struct Probe {
    enum Kind { Exact, FirstNotSmaller } kind;
    CompareMode mode;
    const uint8_t* key;
    int keylen;
    const uint8_t* data;
    PrefixMatches matches = PrefixMatches::Scattered;
    int run(const Page& page, bool* found) const;
  };
  // RefHere: the entry stands where the position says, in the same bytes.
  enum Refound { RefNone, RefHere, RefExact, RefNext, RefLast };

  MultiFile* file_;
  int treeno_;
  Comparator cmp_;
  Continuation cont_;
  const KeyDescr* kd_;
  int pagesize_ = 0;
  int entrysize_ = 0;
  TreeInfo info_;
  TreeInfo built_;            // K, D and fixed as the tree was built
  bool infook_ = false;
  const char* op_ = "Btree";  // the operation under way, for messages
  int added_ = 0;             // pages added by the reserve of this operation

  std::vector<uint8_t> work_;     // the sought or inserted entry
  std::vector<uint8_t> ikbuf_;    // insertkey's entry / separator
  std::vector<uint8_t> balbuf_;   // balance's separator
  std::vector<uint8_t> succbuf_;  // a successor, a moved entry
  std::vector<uint8_t> areabuf_;
  // Pages reused by every operation: a descent's page, a climbing page, the
  // parent and sibling of a rebalance, the new page of a split.
  Page pa_, pb_, pc_, pd_, rp_;
  // Inner pages as the descents left them, by offset: a page that is
  // still as the store holds it is not copied and indexed again, so the
  // upper levels that every descent passes cost almost nothing.
  static constexpr int kInnerPages = 64;
  std::vector<Page> inner_;
  std::vector<bool> innerready_;
  int landed_ = 0;  // the level the last descent ended on
  Page& innerpage(int32_t offset);

  SlotDescr& slot() { return file_->slot(treeno_); }
  void beginop(const char* op);
  [[noreturn]] void broken(int32_t offset, const char* what);
  // Tops the tree's free pages up to what a split from leaf to root takes.
  ErrorCode reserve();
  void setpos(bt_pos* pos, const Page& page, int i) const;

  // btree.cpp
  // known: the entry's index in page when the caller's search found it.
  ErrorCode insertkey(Page& page, const uint8_t* entry, int klen, int32_t c, int32_t* at,
                      int* index, int known = -1);
  // Where split put the entry: it became the separator, or went into the
  // left or the right page.
  enum class Landed { Separator, Left, Right };
  void split(Page& left, Page& right, uint8_t* entry, int* klen, int32_t c, Landed* where,
             int* index);
  bool standson(const bt_pos* pos, int keylen);
  ErrorCode rebalance();
  ErrorCode balance(Page& left, Page& right, Page& parent, int s);
  void move_last_to_front(Page& from, Page& to);

  // btree_rank.cpp
  template <class Choose>
  void rankdown(double total, const Choose& choose);
  // What each child of the page in pa_ holds (none for a leaf).
  void childloads(std::vector<ChildLoad>* loads);
  // The most grandchildren a page of a rank's descent reads.
  static constexpr int kRankReads = 256;

  // btree_search.cpp
  int descend(Page& page, const Probe& probe, bool* found);
  // Descends to the entry with exactly this key and data, or where it would be.
  int descendexact(const uint8_t* key, int keylen, const uint8_t* data, bool* found);
  // The first or the last entry of the tree, for the operation op.
  ErrorCode edge(bt_pos* pos, bool last, const char* op);
  int down(Page& page, int32_t start, int32_t from, bool lastchild, int maxsteps);
  int settle(const Probe& probe, int i, bool* next);
  bool stepnext(int* i);
  bool stepprev(int* i);
  ErrorCode seekprefix(bt_pos* pos, const uint8_t* k, int keylen, SeekWhich which);
  enum class Step { Forward, Back };
  enum class Until { FirstMatch, NumberEnds };
  bool walkprefix(bt_pos* pos, int* i, const uint8_t* k, int klen, Step step, Until until);
  void choose(bt_pos* pos, int i, CompareMode mode, SeekWhich which, const uint8_t* key, int klen,
              PrefixMatches matches = PrefixMatches::Scattered);
  PrefixMatches prefixmatches(const uint8_t* key, int klen) const;
  Refound refind(bt_pos* pos, int* i);
  void loadchild(Page& page, int32_t child, int32_t from);

  // From the page in pa_ up through its parents: `stand` gets each parent
  // (in pb_) and the index of the child the climb came from, and names the
  // entry to stand on there, or -1 to climb on. The parent taken goes to
  // pa_ and its entry's index is returned; past the root, -1 and pa_ as it
  // was. A parent that denies its child, or more parents than the tree's
  // height, is damage.
  template <class Stand>
  int climb(const Stand& stand) {
    int32_t from = pa_.address();
    int32_t up = pa_.parent();
    for (int climbs = 0; up != -1; ++climbs) {
      if (climbs >= info_.height) broken(up, "parents climb beyond the tree's height");
      pb_.load(up);
      const int j = pb_.childindex(from);
      if (j < 0) broken(up, "parent does not lead to its child");
      const int at = stand(j);
      if (at >= 0) {
        pa_.swap(pb_);
        return at;
      }
      from = up;
      up = pb_.parent();
    }
    return -1;
  }
};

}  // namespace quill
