#include "engine/btree.h"

#include <algorithm>
#include <cstring>

#include "engine/bytes.h"

namespace quill {

namespace {

int nocontinuation(const KeyDescr*, const uint8_t*, int, const uint8_t*, int) { return 0; }

}  // namespace

// ---------------------------------------------------------------- TreeInfo, bt_pos

void TreeInfo::decode(const uint8_t* p) {
  keylen = getles16(p);
  datalen = getles16(p + 2);
  fixed = getles16(p + 4);
  height = getles16(p + 6);
}

void TreeInfo::encode(uint8_t* p) const {
  putle16(p, static_cast<uint16_t>(keylen));
  putle16(p + 2, static_cast<uint16_t>(datalen));
  putle16(p + 4, static_cast<uint16_t>(fixed));
  putle16(p + 6, static_cast<uint16_t>(height));
}

bt_pos::bt_pos(int size) : buffer(static_cast<size_t>(size > 0 ? size : 1)) {
  chkalloc(buffer.data(), "bt_pos::bt_pos");
  clear();
}

void bt_pos::clear() {
  page = -1;
  index = -1;
  length = 0;
  dlen = 0;
}

void bt_pos::set(int32_t p, int i, const uint8_t* entry, int keylen, int datalen) {
  if (i < 0) {
    clear();
    return;
  }
  const size_t n = static_cast<size_t>(keylen + datalen);
  if (buffer.size() < n) buffer.resize(n);
  std::memcpy(buffer.data(), entry, n);
  page = p;
  index = i;
  length = keylen + datalen;
  dlen = datalen;
}

int32_t bt_pos::recno() const { return dlen >= 4 ? get4(data() + dlen - 4) : -1; }

// ---------------------------------------------------------------- construction

Btree::Btree(MultiFile* file, int treeno, Comparator cmp, Continuation cont, const KeyDescr* kd)
    : file_(file),
      treeno_(treeno),
      cmp_(cmp != nullptr ? cmp : keybytecompare),
      cont_(cont != nullptr ? cont : nocontinuation),
      kd_(kd) {
  if (file_ == nullptr || !file_->isopen()) fatal("Btree::Btree: medium has not been opened\n");
  if (treeno_ < 0 || treeno_ >= file_->nslots())
    fatal("Btree::Btree: no tree %d in '%s'\n", treeno_, file_->name().c_str());
  pagesize_ = file_->slot(treeno_).pagesize;
  areabuf_.assign(static_cast<size_t>(std::max<int>(file_->slot(treeno_).arealen, TreeInfo::kSize)), 0);
  infook_ = readinfo() == 0;
  built_ = info_;
  // Buffers are sized for the keys the tree says it holds; a damaged
  // description is refused by damaged() before any of them is used.
  const int k = std::max<int>(info_.keylen, 0);
  const int d = std::max<int>(info_.datalen, 0);
  entrysize_ = k + d;
  const size_t size = static_cast<size_t>(entrysize_ + 2);
  work_.assign(size, 0);
  ikbuf_.assign(size, 0);
  balbuf_.assign(size, 0);
  succbuf_.assign(size, 0);
  chkalloc(work_.data(), "Btree::Btree");
  for (Page* p : {&pa_, &pb_, &pc_, &pd_, &rp_})
    p->init(file_, treeno_, pagesize_, k, d, info_.fixed != 0, cmp_, kd_);
}

ErrorCode Btree::readinfo() {
  if (file_->slot(treeno_).arealen < TreeInfo::kSize) return GeneralError;
  areabuf_.resize(static_cast<size_t>(file_->slot(treeno_).arealen));
  if (file_->readarea(treeno_, areabuf_.data()) != 0) return GeneralError;
  info_.decode(areabuf_.data());
  infook_ = true;
  return Ok;
}

ErrorCode Btree::writeinfo() {
  if (file_->slot(treeno_).arealen < TreeInfo::kSize) return GeneralError;
  areabuf_.resize(static_cast<size_t>(file_->slot(treeno_).arealen));
  info_.encode(areabuf_.data());
  return file_->writearea(treeno_, areabuf_.data());
}

ErrorCode Btree::writeinfo(MultiFile* file, int treeno, const TreeInfo& info) {
  if (file == nullptr || treeno < 0 || treeno >= file->nslots()) return GeneralError;
  const int len = file->slot(treeno).arealen;
  if (len < TreeInfo::kSize) return GeneralError;
  std::vector<uint8_t> area(static_cast<size_t>(len), 0);
  if (len > TreeInfo::kSize && file->readarea(treeno, area.data()) != 0) return GeneralError;
  info.encode(area.data());
  return file->writearea(treeno, area.data());
}

const char* Btree::damaged() const {
  if (!infook_) return "tree information unreadable";
  const TreeInfo& t = info_;
  if (t.keylen != built_.keylen || t.datalen != built_.datalen || t.fixed != built_.fixed)
    return "tree information changed under the open tree";
  if (t.keylen < 1) return "key length below 1";
  if (t.datalen < 0 || t.datalen > 255) return "data length out of range";
  if (t.fixed != 0 && t.fixed != 1) return "fixed-length flag neither 0 nor 1";
  const int o = t.datalen + (t.fixed != 0 ? 0 : 2);
  // Four longest entries per page keep every split and merge well-formed.
  if (pagesize_ - Page::kHeader < 4 * (t.keylen + o) + 20) return "page size too small for the keys";
  if (t.height < 0 || t.height > kMaxHeight) return "height out of range";
  if ((file_->slot(treeno_).root == -1) != (t.height == 0)) return "root and height disagree";
  return nullptr;
}

void Btree::beginop(const char* op) {
  op_ = op;
  added_ = 0;
  file_->beginop();
  if (!file_->exclusive()) {
    if (file_->readslot(treeno_) != 0)
      fatal("%s: damaged or unreadable descriptor of tree %d in '%s'\n", op, treeno_,
            file_->name().c_str());
    if (readinfo() != 0)
      fatal("%s: unreadable information of tree %d in '%s'\n", op, treeno_, file_->name().c_str());
  }
  if (const char* why = damaged())
    fatal("%s: damaged tree %d in '%s' (%s)\n", op, treeno_, file_->name().c_str(), why);
}

void Btree::broken(int32_t offset, const char* what) {
  fatal("%s: damaged tree %d at offset %d in '%s' (%s)\n", op_, treeno_, offset,
        file_->name().c_str(), what);
}

ErrorCode Btree::reserve() {
  const int need = info_.height + 1;
  while (slot().nfree < need) {
    if (ErrorCode rc = file_->addpage(treeno_); rc != Ok) return rc;
    ++added_;
  }
  return Ok;
}

void Btree::setpos(bt_pos* pos, const Page& page, int i) const {
  if (pos == nullptr) return;
  if (i < 0 || i >= page.count()) {
    pos->clear();
    return;
  }
  pos->set(page.address(), i, page.key(i), page.keylen(i), info_.datalen);
}

// ---------------------------------------------------------------- insertion

ErrorCode Btree::insert(bt_pos* pos, const uint8_t* key, int keylen, const uint8_t* data) {
  if (info_.fixed == 0) {
    if (keylen > info_.keylen)
      fatal("Btree::insert: key length exceeds maximum of %d\n", info_.keylen);
    if (keylen < 0) fatal("Btree::insert: negative key length %d\n", keylen);
  } else {
    keylen = info_.keylen;
  }
  beginop("Btree::insert");
  if (file_->readonly()) return WriteFailed;
  // On the ways out after a failure the slot is written as far as it can
  // be; the failure reported is the first.
  if (reserve() != Ok) {
    if (added_ > 0) (void)file_->writeslot(treeno_);
    return WriteFailed;
  }
  bool found = false;
  const int leafindex = descendexact(key, keylen, data, &found);
  if (found) {
    // The pages the reserve appended must not be lost to the file.
    if (added_ > 0 && file_->writeslot(treeno_) != 0) return WriteFailed;
    return DuplicateKey;
  }
  int32_t at = -1;
  int index = -1;
  if (insertkey(pa_, work_.data(), keylen, -1, &at, &index, leafindex) != Ok) return WriteFailed;
  if (pos != nullptr) {
    if (pa_.address() == at) {
      setpos(pos, pa_, index);
    } else {
      pb_.load(at);
      setpos(pos, pb_, index);
    }
  }
  if (file_->writeslot(treeno_) != 0) return WriteFailed;
  return Ok;
}

ErrorCode Btree::insertkey(Page& page, const uint8_t* entry, int klen, int32_t c, int32_t* at,
                           int* index, int known) {
  // A removal can re-insert twice (successor, then a balanced separator);
  // topping up here keeps every split supplied with a free page.
  if (reserve() != Ok) return WriteFailed;
  uint8_t* e = ikbuf_.data();
  std::memmove(e, entry, static_cast<size_t>(klen + info_.datalen));
  int32_t leftpage = -1;
  bool placed = false;
  int climbs = 0;
  while (!page.room(klen)) {
    if (++climbs > kMaxHeight) broken(page.address(), "splits climb beyond the tree's height");
    rp_.clear();
    rp_.allocate();
    rp_.setparent(page.parent());
    Landed where = Landed::Separator;
    int widx = -1;
    split(page, rp_, e, &klen, c, &where, &widx);
    page.save();
    rp_.save();
    c = rp_.address();
    leftpage = page.address();
    if (!placed && where != Landed::Separator) {
      placed = true;
      *at = where == Landed::Left ? page.address() : rp_.address();
      *index = widx;
    }
    if (page.parent() != -1) {
      const int32_t up = page.parent();
      page.load(up);
    } else {
      page.clear();
    }
  }
  int i = 0;
  if (page.address() == -1) {
    page.allocate();
    page.insert(0, e, klen, e + klen, c);
    page.setchild0(leftpage);
    page.save();
    slot().root = page.address();
    info_.height += 1;
    if (writeinfo() != Ok) return WriteFailed;
  } else {
    // Where the descent found the entry's place, the page has not changed
    // since unless it split.
    bool found = false;
    i = climbs == 0 && known >= 0 ? known : page.exact(e, klen, e + klen, &found);
    page.insert(i, e, klen, e + klen, c);
    page.save();
  }
  if (!placed) {
    *at = page.address();
    *index = i;
  }
  return Ok;
}

void Btree::move_last_to_front(Page& from, Page& to) {
  const int last = from.count() - 1;
  const int k = from.copyentry(last, succbuf_.data());
  const int32_t rc = from.remove(last, true);
  to.insert(0, succbuf_.data(), k, succbuf_.data() + k, rc);
}

// Splits the full page left into itself and the empty page right around the
// entry e (with right child c). Afterwards e's buffer holds the separator
// and *klen its key length; *where tells where e went, at *index.
void Btree::split(Page& left, Page& right, uint8_t* e, int* klen, int32_t c, Landed* where,
                  int* index) {
  bool found = false;
  const int i = left.exact(e, *klen, e + *klen, &found);
  while (left.count() - 1 >= i && !right.halffull() && left.count() > 0)
    move_last_to_front(left, right);

  if (right.halffull() && left.count() == i) {
    right.setchild0(c);
    *where = Landed::Separator;
    *index = -1;
    return;
  }
  if (!right.halffull()) {
    right.insert(0, e, *klen, e + *klen, c);
    int at = 0;
    while (!right.halffull() && left.count() > 1) {
      move_last_to_front(left, right);
      ++at;
    }
    *where = Landed::Right;
    *index = at;
  } else {
    left.insert(i, e, *klen, e + *klen, c);
    *where = Landed::Left;
    *index = i;
  }
  if (left.count() == 0) broken(left.address(), "page too small to split");
  const int last = left.count() - 1;
  *klen = left.copyentry(last, e);
  const int32_t rc = left.remove(last, true);
  right.setchild0(rc);
}

// ---------------------------------------------------------------- removal

ErrorCode Btree::remove(bt_pos* pos, const uint8_t* key, int keylen, const uint8_t* data,
                        ErrorCode* out) {
  if (info_.fixed != 0) {
    keylen = info_.keylen;
  } else if (keylen < 0 || keylen > info_.keylen) {
    return NoCurrentRecord;  // no such key can be stored here
  }
  beginop("Btree::remove");
  const int d = info_.datalen;
  std::memcpy(work_.data(), key, static_cast<size_t>(keylen));
  std::memcpy(work_.data() + keylen, data, static_cast<size_t>(d));
  const Probe exact{Probe::Exact, CompareMode::Stored, work_.data(), keylen, work_.data() + keylen};

  bool found = standson(pos, keylen);
  int i = found ? pos->index : descend(pa_, exact, &found);
  if (!found) return NoCurrentRecord;
  if (file_->readonly()) return WriteFailed;
  if (reserve() != Ok) {
    if (added_ > 0) (void)file_->writeslot(treeno_);  // as in insert
    return WriteFailed;
  }

  const bool leaf = pa_.leaf();
  if (!leaf) {
    // The entry gives way to its in-order successor, the first entry of its
    // right subtree, which is then removed from its leaf.
    pc_.swap(pa_);
    down(pa_, pc_.child(i + 1), pc_.address(), false, info_.height);
    const int k = pa_.copyentry(0, succbuf_.data());
    std::vector<uint8_t>& s = succbuf_;
    if (pc_.replace(i, s.data(), k, s.data() + k) == 0) {
      pc_.save();
    } else {
      const int32_t rc = pc_.remove(i, true);
      // insertkey copies the entry first, so succbuf_ may be reused inside.
      std::memcpy(balbuf_.data(), s.data(), static_cast<size_t>(k + d));
      int32_t at = -1;
      int idx = -1;
      if (insertkey(pc_, balbuf_.data(), k, rc, &at, &idx) != Ok) {
        (void)file_->writeslot(treeno_);  // as in insert
        return WriteFailed;
      }
      // A split above may have moved the leaf under another parent.
      pa_.load(pa_.address());
    }
    i = 0;
  }
  pa_.remove(i, true);
  // A leaf that keeps enough entries stays as it is, and the entry after
  // the removed one now stands where that one stood (or after the leaf).
  const bool stays = leaf && (pa_.parent() == -1 ? pa_.count() > 0 : pa_.halffull());
  if (rebalance() != Ok) {
    (void)file_->writeslot(treeno_);  // as in insert
    return WriteFailed;
  }
  if (file_->writeslot(treeno_) != 0) return WriteFailed;

  if (pos != nullptr) {
    ErrorCode code = NoCurrentRecord;
    if (slot().root == -1) {
      pos->clear();
    } else {
      found = false;
      if (!stays) i = descend(pa_, exact, &found);
      bool next = true;
      if (!found) i = settle(exact, i, &next);
      setpos(pos, pa_, i);
      code = next ? NextRecord : PrevRecord;
    }
    if (out != nullptr) *out = code;
  }
  return Ok;
}

// Whether pos stands on the entry in work_ (its key keylen bytes long),
// byte for byte: its page is then loaded in pa_ and no descent is needed.
// Entries are unique in a tree and a freed page holds none, so a page of
// this tree that holds the entry is where the tree holds it.
bool Btree::standson(const bt_pos* pos, int keylen) {
  if (pos == nullptr || pos->page == -1 || pos->dlen != info_.datalen || pos->keylen() != keylen)
    return false;
  const int i = pos->index;
  return pa_.tryload(pos->page, nullptr) == 0 && i >= 0 && i < pa_.count() &&
         pa_.keylen(i) == keylen &&
         std::memcmp(pa_.key(i), work_.data(), static_cast<size_t>(keylen + info_.datalen)) == 0;
}

// pa_ has just lost an entry (with its right child) and is not saved yet.
ErrorCode Btree::rebalance() {
  Page& x = pa_;
  Page& parent = pc_;
  Page& sibling = pd_;
  for (int climbs = 0;; ++climbs) {
    if (climbs > kMaxHeight) broken(x.address(), "parents climb beyond the tree's height");
    if (x.parent() == -1) {
      if (x.count() > 0) {
        x.save();
        return Ok;
      }
      // The root ran empty: its only child, if any, becomes the root.
      const int32_t newroot = x.child(0);
      x.dispose();
      if (newroot != -1) {
        uint8_t none[4];
        putle32(none, 0xFFFFFFFFu);
        if (file_->patchpage(newroot, pagesize_, 2, none, 4) != 0)
          fatal("Write failed: Out of disk space ?\n");
      }
      slot().root = newroot;
      info_.height -= 1;
      return writeinfo();
    }
    if (x.halffull()) {
      x.save();
      return Ok;
    }
    parent.load(x.parent());
    const int j = parent.childindex(x.address());
    if (j < 0) broken(parent.address(), "parent does not lead to its child");

    Page* left = nullptr;
    Page* right = nullptr;
    int s = 0;
    if (j == 0) {
      loadchild(sibling, parent.child(1), parent.address());
      left = &x;
      right = &sibling;
      s = 0;
    } else if (j == parent.count()) {
      loadchild(sibling, parent.child(j - 1), parent.address());
      left = &sibling;
      right = &x;
      s = j - 1;
    } else {
      loadchild(sibling, parent.child(j - 1), parent.address());
      if (sibling.room(parent.keylen(j - 1), &x)) {
        left = &sibling;
        right = &x;
        s = j - 1;
      } else {
        loadchild(sibling, parent.child(j + 1), parent.address());
        left = &x;
        right = &sibling;
        s = j;
      }
    }

    if (!left->room(parent.keylen(s), right)) return balance(*left, *right, parent, s);

    left->absorb(parent.key(s), parent.keylen(s), parent.data(s), *right);
    left->save();
    right->dispose();
    parent.remove(s, true);
    x.swap(parent);
  }
}

ErrorCode Btree::balance(Page& left, Page& right, Page& parent, int s) {
  uint8_t* sep = balbuf_.data();
  int k = parent.copyentry(s, sep);
  // Entries move one at a time through the separator until the pages are
  // about even: counted first by their sizes, then moved at once.
  int lu = left.used(), ru = right.used();
  int moving = parent.entrysize(s);  // the separator first
  int m = 0;
  if (lu >= ru) {
    for (; lu > ru && left.count() - m > 1; ++m) {
      ru += moving + 4;
      moving = left.entrysize(left.count() - 1 - m);
      lu -= moving + 4;
    }
    if (m > 0) left.shiftright(right, m, sep, &k);
  } else {
    for (; lu < ru && right.count() - m > 1; ++m) {
      lu += moving + 4;
      moving = right.entrysize(m);
      ru -= moving + 4;
    }
    if (m > 0) left.shiftleft(right, m, sep, &k);
  }
  left.save();
  right.save();
  if (parent.replace(s, sep, k, sep + k) == 0) {
    parent.save();
    return Ok;
  }
  const int32_t rc = parent.remove(s, true);
  int32_t at = -1;
  int idx = -1;
  return insertkey(parent, sep, k, rc, &at, &idx);
}

}  // namespace quill
