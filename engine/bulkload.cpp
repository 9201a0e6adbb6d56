#include "engine/bulkload.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/file.h"
#include "engine/index.h"
#include "engine/maintain.h"
#include "engine/page.h"

namespace quill {

// ---------------------------------------------------------------- sorting

// A sorted run on disk, read back through a buffer: entries as in the arena.
struct EntrySorter::Run {
  File file;  // a scratch file: written in large pieces, never synced
  std::string path;
  int64_t written = 0;  // bytes of the run
  int64_t read = 0;     // bytes read back
  std::vector<uint8_t> buffer;
  size_t have = 0;  // bytes in the buffer
  size_t at = 0;    // the current entry's start in the buffer
  bool done = false;

  // A scratch file: nothing in it is kept, so a failed close or removal
  // costs nothing but the space (the next clean-up of stray files takes it).
  ~Run() {
    (void)file.close();
    if (!path.empty()) (void)File::removefile(path.c_str());
  }
  const uint8_t* entry() const { return buffer.data() + at; }
  size_t entrysize(int datalen) const { return 2 + getle16(entry()) + static_cast<size_t>(datalen); }

  // Makes a whole entry available at `at`; false at the end or on failure.
  bool fill(int datalen, bool* failed) {
    auto complete = [&] {
      return have - at >= 2 && have - at >= 2 + getle16(entry()) + static_cast<size_t>(datalen);
    };
    if (complete()) return true;
    std::memmove(buffer.data(), buffer.data() + at, have - at);
    have -= at;
    at = 0;
    int32_t left = file.size() - static_cast<int32_t>(read);
    int32_t want = std::min<int32_t>(left, static_cast<int32_t>(buffer.size() - have));
    if (want > 0) {
      if (file.readat(read, buffer.data() + have, want) != 0) {
        *failed = true;
        return false;
      }
      read += want;
      have += static_cast<size_t>(want);
    }
    if (complete()) return true;
    if (have != 0) *failed = true;  // a run that ends inside an entry
    done = true;
    return false;
  }
};

EntrySorter::EntrySorter(Comparator cmp, const KeyDescr* kd, int datalen, size_t budget)
    : cmp_(cmp), kd_(kd), datalen_(datalen), budget_(std::max<size_t>(budget, 4096)) {
  // Order strings stand for the natural comparator only.
  bytes_ = natural(cmp) && orderable(kd);
}

const uint8_t* EntrySorter::tail(const Item& it) const {
  const uint8_t* e = arena_.data() + it.at;
  return e + 2 + getle16(e) + datalen_;
}

namespace {

constexpr uint8_t kCut = 0x80;  // in an entry's kept length: the string goes on

}  // namespace

bool EntrySorter::before(const Item& a, const Item& b) const {
  if (bytes_) {
    if (a.head != b.head) return a.head < b.head;
    if (a.next != b.next) return a.next < b.next;
    const uint8_t* ta = tail(a);
    const uint8_t* tb = tail(b);
    const int la = ta[0] & ~kCut, lb = tb[0] & ~kCut;
    const int n = std::min(la, lb);
    if (n > 12) {
      const int r = std::memcmp(ta + 1, tb + 1, static_cast<size_t>(n - 12));
      if (r != 0) return r < 0;
    }
    if (!(ta[0] & kCut) && !(tb[0] & kCut)) {
      if (la != lb) return la < lb;
      // Equal keys: by their data, as the tree orders them.
      const uint8_t* ea = arena_.data() + a.at;
      const uint8_t* eb = arena_.data() + b.at;
      return std::memcmp(ea + 2 + getle16(ea), eb + 2 + getle16(eb),
                         static_cast<size_t>(datalen_)) < 0;
    }
  }
  return less(arena_.data() + a.at, arena_.data() + b.at);
}

EntrySorter::~EntrySorter() = default;

bool EntrySorter::less(const uint8_t* a, const uint8_t* b) const {
  const int la = getle16(a), lb = getle16(b);
  const int c = cmp_(CompareMode::Stored, kd_, a + 2, la, b + 2, lb);
  if (c != 0) return c < 0;
  return std::memcmp(a + 2 + la, b + 2 + lb, static_cast<size_t>(datalen_)) < 0;
}

void EntrySorter::reserve(size_t entries) {
  index_.reserve(std::min(entries, budget_ / sizeof(Item)));
}

int EntrySorter::add(const uint8_t* key, int keylen, const uint8_t* data) {
  // Zero past the string's end: the head is its first 8 bytes, padded so.
  uint8_t order[kOrderBytes] = {};
  int n = bytes_ ? orderbytes(kd_, key, keylen, order, kOrderBytes) : -1;
  if (n < 0) bytes_ = false;  // every entry goes to the comparator from here on
  const int kept = std::min(n, kOrderBytes);
  const int extra = kept > 12 ? 1 + kept - 12 : 1;
  const size_t size = 2 + static_cast<size_t>(keylen) + static_cast<size_t>(datalen_) +
                      static_cast<size_t>(extra);
  if (used_ + size + sizeof(Item) * (index_.size() + 1) > budget_ && !index_.empty() &&
      spill() != 0)
    return -1;
  // The arena grows ahead of its use, so that an entry is a few plain
  // copies of known sizes where it can: this runs once per record and tag.
  // The arena's last entry is followed by room for a whole tail, which may
  // be copied whole.
  constexpr size_t kTail = 1 + kOrderBytes - 12;
  const uint32_t at = static_cast<uint32_t>(used_);
  if (used_ + size + kTail > arena_.size())
    arena_.resize(std::max(std::min(arena_.size() * 2, budget_), used_ + size + kTail));
  used_ += size;
  uint8_t* e = arena_.data() + at;
  putle16(e, static_cast<uint16_t>(keylen));
  std::memcpy(e + 2, key, static_cast<size_t>(keylen));
  if (datalen_ == kEntryDataLen) {
    std::memcpy(e + 2 + keylen, data, kEntryDataLen);
  } else {
    std::memcpy(e + 2 + keylen, data, static_cast<size_t>(datalen_));
  }
  Item it{0, 0, at};
  uint8_t* t = e + 2 + keylen + datalen_;
  t[0] = 0;
  if (bytes_) {
    it.head = getbe64(order);
    it.next = static_cast<uint32_t>(get4(order + 8));
    t[0] = static_cast<uint8_t>(kept | (n > kOrderBytes ? kCut : 0));
    std::memcpy(t + 1, order + 12, kTail - 1);
  }
  index_.push_back(it);
  return 0;
}

void EntrySorter::sortarena() {
  // Order strings decide by their first 12 bytes, as two numbers, in all
  // but a few comparisons: those two are compared here, in line.
  auto order = [this](const Item& a, const Item& b) {
    if (bytes_ && a.head != b.head) return a.head < b.head;
    if (bytes_ && a.next != b.next) return a.next < b.next;
    return before(a, b);
  };
  // Keys that follow the records' order (serial codes) come in sorted.
  if (!std::is_sorted(index_.begin(), index_.end(), order))
    std::sort(index_.begin(), index_.end(), order);
}

// Writes the arena, sorted, as one more run.
int EntrySorter::spill() {
  sortarena();
  auto run = std::make_unique<Run>();
  char name[16];
  if (!tmpcreate(name, "")) return -1;
  run->path = name;
  if (run->file.open(name, Access::ReadWrite, Sharing::Exclusive) != 0) return -1;
  std::vector<uint8_t> out;
  auto put = [&run, &out] {
    const auto n = static_cast<int32_t>(out.size());
    if (run->file.writeat(run->written, out.data(), n) != 0) return -1;
    run->written += static_cast<int64_t>(out.size());
    out.clear();
    return 0;
  };
  out.reserve(std::min<size_t>(used_, 1u << 20));
  for (const Item& it : index_) {
    const uint8_t* e = arena_.data() + it.at;
    const size_t size = 2 + getle16(e) + static_cast<size_t>(datalen_);
    out.insert(out.end(), e, e + size);
    if (out.size() >= (1u << 20) && put() != 0) return -1;
  }
  if (!out.empty() && put() != 0) return -1;
  runs_.push_back(std::move(run));
  used_ = 0;
  index_.clear();
  return 0;
}

bool EntrySorter::startdrain() {
  draining_ = true;
  if (runs_.empty()) {
    sortarena();
    return true;
  }
  if (!index_.empty() && spill() != 0) {
    failed_ = true;
    return false;
  }
  arena_.clear();
  arena_.shrink_to_fit();
  index_.shrink_to_fit();
  // Share the budget between the runs' read buffers.
  const size_t each = std::max<size_t>(budget_ / runs_.size(), 64u << 10);
  for (auto& run : runs_) {
    run->buffer.resize(each);
    run->read = 0;
    if (run->fill(datalen_, &failed_)) heap_.push_back(run.get());
    if (failed_) return false;
  }
  auto greater = [this](const Run* a, const Run* b) { return less(b->entry(), a->entry()); };
  std::make_heap(heap_.begin(), heap_.end(), greater);
  return true;
}

bool EntrySorter::next(const uint8_t** key, int* keylen, const uint8_t** data) {
  if (!draining_ && !startdrain()) return false;
  if (failed_) return false;
  const uint8_t* e = nullptr;
  if (runs_.empty()) {
    if (at_ >= index_.size()) return false;
    e = arena_.data() + index_[at_++].at;
  } else {
    auto greater = [this](const Run* a, const Run* b) { return less(b->entry(), a->entry()); };
    if (heap_.empty()) return false;
    std::pop_heap(heap_.begin(), heap_.end(), greater);
    Run* run = heap_.back();
    // Copy out: advancing the run may move its buffer's bytes.
    const size_t size = run->entrysize(datalen_);
    current_.assign(run->entry(), run->entry() + size);
    run->at += size;
    if (run->fill(datalen_, &failed_)) {
      std::push_heap(heap_.begin(), heap_.end(), greater);
    } else {
      heap_.pop_back();
      if (failed_) return false;
    }
    e = current_.data();
  }
  *keylen = getle16(e);
  *key = e + 2;
  *data = e + 2 + *keylen;
  return true;
}

// ---------------------------------------------------------------- building

namespace {

// One entry on its way up: key, data and the page to its right.
struct Separator {
  std::vector<uint8_t> bytes;  // key then data
  int keylen = 0;
  int32_t right = -1;
};

// An entry as a level reads it, where its source keeps it: valid until the
// next one is read.
struct EntryView {
  const uint8_t* key = nullptr;
  int keylen = 0;
  const uint8_t* data = nullptr;
  int32_t right = -1;
};

class Builder {
 public:
  explicit Builder(Btree& tree) : tree_(tree) {
    reserve_ = tree.keylen() + tree.datalen() + (tree.info().fixed ? 0 : 2) + 4;
  }

  // Fills one level from its entries (key, data, right child), the first
  // page's child 0 being `first`; the entries that go up are appended to up.
  // Returns the first page's address, -1 when a page cannot be added.
  template <class Next>
  int32_t level(const Next& next, int32_t first, std::vector<Separator>* up) {
    Page page;
    page.init(tree_);
    // The children of the page being filled, written when it is done.
    std::vector<int32_t> kids;
    if (!start(page, first, &kids)) return -1;
    const int32_t firstpage = page.address();
    std::vector<int32_t> pages{firstpage};
    const size_t base = up->size();
    const int d = tree_.datalen();
    EntryView e;
    Separator pending;
    bool waiting = false;
    while (next(&e)) {
      if (waiting) {
        // The full page is done; the waiting entry separates it from the next.
        finish(page, kids);
        if (!start(page, pending.right, &kids)) return -1;
        pages.push_back(page.address());
        pending.right = page.address();
        up->push_back(pending);
        waiting = false;
      }
      if (page.room(e.keylen + reserve_)) {
        page.append(e.key, e.keylen, e.data);
        kids.push_back(e.right);
      } else {
        pending.keylen = e.keylen;
        pending.bytes.assign(e.key, e.key + e.keylen);
        pending.bytes.insert(pending.bytes.end(), e.data, e.data + d);
        pending.right = e.right;
        waiting = true;
      }
    }
    // Every page keeps room for one more longest entry: the last one takes
    // back the entry that would otherwise open an empty page.
    if (waiting) {
      page.append(pending.bytes.data(), pending.keylen, pending.bytes.data() + pending.keylen);
      kids.push_back(pending.right);
    }
    finish(page, kids);
    if (!page.halffull()) evenout(&pages, base, up);
    return firstpage;
  }

 private:
  Btree& tree_;
  int reserve_;

  // The last page of a level holds what was left over. Below half full it
  // takes entries from the page before it, through the separator between
  // them, as a split would have left them; a page that gives too much to
  // stay half full takes from its own predecessor in turn. Two pages that
  // fit in one together with their separator become one.
  void evenout(std::vector<int32_t>* pages, size_t base, std::vector<Separator>* up) {
    Page left, right;
    left.init(tree_);
    right.init(tree_);
    const int d = tree_.datalen();
    for (size_t j = pages->size() - 1; j > 0; --j) {
      right.load((*pages)[j]);
      if (right.halffull()) return;
      left.load((*pages)[j - 1]);
      Separator& s = (*up)[base + j - 1];
      if (left.room(s.keylen, &right)) {
        left.absorb(s.bytes.data(), s.keylen, s.bytes.data() + s.keylen, right);
        left.save();
        right.dispose();
        up->erase(up->begin() + static_cast<std::ptrdiff_t>(base + j - 1));
        pages->erase(pages->begin() + static_cast<std::ptrdiff_t>(j));
        return;
      }
      while (!right.halffull() && left.count() > 1) {
        const int32_t moved = left.child(left.count());
        right.insert(0, s.bytes.data(), s.keylen, s.bytes.data() + s.keylen, right.child(0));
        right.setchild0(moved);
        const int last = left.count() - 1;
        s.keylen = left.keylen(last);
        s.bytes.assign(left.key(last), left.key(last) + s.keylen + d);
        left.remove(last, true);
      }
      left.save();
      right.save();
    }
  }

  // A fresh page at the end of the file; false when the file cannot grow.
  bool start(Page& page, int32_t child0, std::vector<int32_t>* kids) {
    page.clear();
    if (tree_.file()->addpage(tree_.treeno()) != 0) return false;
    page.allocate();
    kids->assign(1, child0);
    return true;
  }

  static void finish(Page& page, const std::vector<int32_t>& kids) {
    page.setchildren(kids.data());
    page.save();
  }
};

}  // namespace

ErrorCode buildtree(Btree& tree, EntrySorter& sorter) {
  MultiFile* file = tree.file();
  std::vector<Separator> up, below;
  const uint8_t* key;
  const uint8_t* data;
  int keylen;
  if (!sorter.next(&key, &keylen, &data))  // nothing to hold: the tree stays empty
    return sorter.failed() ? WriteFailed : Ok;
  bool first = true;
  auto leaves = [&](EntryView* e) {
    if (!first && !sorter.next(&key, &keylen, &data)) return false;
    first = false;
    *e = EntryView{key, keylen, data, -1};
    return true;
  };
  Builder builder(tree);
  int32_t root = builder.level(leaves, -1, &up);
  // A run that cannot be read back ends the entries early.
  if (root == -1 || sorter.failed()) return WriteFailed;
  int height = 1;
  while (!up.empty()) {
    below.swap(up);
    up.clear();
    // The first page of the level below is the leftmost child here.
    size_t at = 0;
    auto separators = [&](EntryView* e) {
      if (at >= below.size()) return false;
      const Separator& s = below[at++];
      *e = EntryView{s.bytes.data(), s.keylen, s.bytes.data() + s.keylen, s.right};
      return true;
    };
    root = builder.level(separators, root, &up);
    if (root == -1) return WriteFailed;
    ++height;
  }
  SlotDescr& slot = file->slot(tree.treeno());
  slot.root = root;
  TreeInfo info = tree.info();
  info.height = static_cast<int16_t>(height);
  if (Btree::writeinfo(file, tree.treeno(), info) != 0 || tree.readinfo() != 0 ||
      file->writeslot(tree.treeno()) != 0)
    return WriteFailed;
  return Ok;
}

}  // namespace quill
