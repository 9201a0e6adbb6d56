#include "engine/rlist.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/index.h"
#include "engine/noncopyable.h"

namespace quill {

namespace {

// The record number is the entry's data: its last 4 bytes, big-endian.
bool pos_isset(const bt_pos& pos) { return pos.valid(); }
int32_t pos_recno(const bt_pos& pos) { return pos.recno(); }

// Holds a shared index lock for one tree operation of a shared table. A
// lock that is not had protects nothing: the operation is refused with
// TryAgain, and the tree is not read while another opener may change it.
class ReadLock : NonCopyable {
 public:
  ReadLock(DataFile* table, bool shared) {
    if (!shared) return;
    if (table->lockindex(LockMode::Shared) == Ok)
      table_ = table;
    else
      failed_ = true;
  }
  ~ReadLock() {
    // Nobody to tell here; a lock that will not go goes with the close.
    if (table_) (void)table_->unlockindex();
  }
  bool failed() const { return failed_; }

 private:
  DataFile* table_ = nullptr;
  bool failed_ = false;
};

}  // namespace

// A table that is not open has been warned of, and leaves the cursor unbound.
Rlist::Rlist(DataFile* table) { (void)bind(table); }

Rlist::Rlist(const Rlist& other) : Rbuf() { (void)bind(other.table_); }

// Nobody to tell: select and bind fail only for a cursor without a table.
Rlist::~Rlist() {
  (void)select(-1);
  (void)bind(nullptr);
}

void Rlist::reset() {
  tags_.clear();
  keys_.clear();
  asreadat_ = 0;
  pos_.reset();
  shared_ = 0;
  recno_ = -1;
  moved_ = 0;
  ntags_ = 0;
  tag_ = -1;
  index_ = nullptr;
  tree_ = nullptr;
  table_ = nullptr;
}

ErrorCode Rlist::bind(DataFile* table) {
  if (table_ != nullptr && table_->isopen()) {
    leaverecord();
    droplock();
  }
  release();
  reset();
  if (table == nullptr) return Ok;
  if (!table->isopen()) {
    warning("Rlist::bind: DataFile supplied as argument is not open\n");
    return GeneralError;
  }
  const Header& h = table->header();
  table_ = table;
  ntags_ = h.ntags;
  shared_ = table->exclusive() ? 0 : 1;
  index_ = table->index();
  tags_.assign(static_cast<size_t>(ntags_), TagState{});
  if (index_ != nullptr) {
    size_t total = 0;
    for (const TagInfo& t : table->tinfo()) total += t.keylen;
    asreadat_ = total;
    keys_.assign(total + static_cast<size_t>(h.reclen), 0);
  }
  init(&h.fields, h.nfields, h.reclen, h.statlen, table);
  return Ok;
}

ErrorCode Rlist::select(int tag) {
  if (table_ == nullptr || tag < -1 || tag >= ntags_) return GeneralError;
  if (table_->isopen()) leaverecord();
  if (index_ == nullptr) tag = -1;
  if (tag == tag_) return Ok;
  pos_.reset();
  tree_ = nullptr;
  tag_ = tag;
  if (tag >= 0) {
    tree_ = &index_->tree(tag);
    pos_ = std::make_unique<bt_pos>(table_->tinfo()[static_cast<size_t>(tag)].keylen + kEntryDataLen);
  }
  unset();
  return Ok;
}

void Rlist::setrecno(int32_t recno) {
  recno_ = recno;
  setoffset(recno < 0 ? -1 : table_->recoffset(recno));
}

// A change made to the current record without update() is written when the
// cursor leaves it, as every user of the table expects. The move that
// leaves reports where it went, not that write: a caller that must know
// whether its change is stored calls update().
void Rlist::leaverecord() { (void)Rbuf::flush(); }

// A record lock that the system will not release goes with the close.
void Rlist::droplock() { (void)Rbuf::unlock(); }

void Rlist::unset() {
  droplock();
  setloaded(false);
  moved_ = 0;
  setrecno(-1);
}

// ---- movement -----------------------------------------------------------------

// In physical order a move is a go(); in tag order it moves the tree
// position under the read lock and then follows it to the record.
ErrorCode Rlist::move(GoHow how, int n, TreeMove treemove, KeyLead lead) {
  leaverecord();
  if (tag_ < 0) return go(how, n);
  ErrorCode rc;
  int moved = 0;
  {
    ReadLock lock(table_, shared_);
    if (lock.failed()) return TryAgain;
    rc = treemove(*tree_, pos_.get(), n, lead, &moved);
  }
  return sync(rc, moved);
}

ErrorCode Rlist::first() {
  return move(GoHow::Absolute, 0,
              [](Btree& tree, bt_pos* pos, int, KeyLead, int*) { return tree.first(pos); });
}

ErrorCode Rlist::last() {
  return move(GoHow::FromEnd, 0,
              [](Btree& tree, bt_pos* pos, int, KeyLead, int*) { return tree.last(pos); });
}

ErrorCode Rlist::skip(int n) { return skip(n, KeyLead{}); }

ErrorCode Rlist::skip(int n, KeyLead lead) {
  const ErrorCode rc = move(
      GoHow::Relative, n,
      [](Btree& tree, bt_pos* pos, int count, KeyLead bound, int* moved) {
        return tree.skip(pos, count, moved, bound);
      },
      lead);
  if (n > 0) fetchahead();
  return rc;
}

// A list walked forward reads the record of the next entry soon; in a
// large table that record lies anywhere in the file, so its bytes are
// asked for now, while the caller works on the current one.
void Rlist::fetchahead() {
  if (tag_ < 0 || pos_ == nullptr || shared_ != 0) return;
  const uint8_t* data = tree_->nextdata(*pos_);
  if (data == nullptr) return;
  const int32_t recno = get4(data + pos_->datalen() - kEntryDataLen);
  if (recno < 0 || recno >= table_->header().nrecs) return;
  table_->prefetch(recno);
}

ErrorCode Rlist::seek(const uint8_t* key, int keylen, SeekMode mode, SeekWhich which) {
  if (tag_ < 0)
    fatal("Rlist::seek: no selected tag in file '%s'\n",
          table_ ? table_->basename_or_none() : "<not opened>");
  leaverecord();
  ErrorCode rc;
  {
    ReadLock lock(table_, shared_);
    if (lock.failed()) return TryAgain;
    rc = tree_->seek(pos_.get(), key, keylen, mode, which);
  }
  if (rc == NotFound) return rc;
  rc = sync(rc, 0);
  fetchahead();
  return rc;
}

ErrorCode Rlist::go(GoHow how, int32_t n) {
  if (table_ == nullptr) return NoCurrentRecord;
  leaverecord();
  if (how == GoHow::Relative && recno_ == -1) return NoCurrentRecord;
  int32_t old = recno_;
  droplock();
  setloaded(false);

  Header& h = table_->header();
  int64_t target;
  // Counters that cannot be read again stay as they were: the move keeps
  // to the records known so far.
  if (how == GoHow::FromEnd) {
    (void)table_->refresh();
    target = int64_t{h.nrecs} + n - 1;
  } else {
    target = how == GoHow::Relative ? int64_t{old} + n : int64_t{n};
    if (target >= h.nrecs) (void)table_->refresh();
  }
  ErrorCode rc = Ok;
  if (h.nrecs == 0) {
    target = -1;
    rc = TooFar;
  } else if (target < 0) {
    target = 0;
    rc = TooFar;
  } else if (target >= h.nrecs) {
    target = h.nrecs - 1;
    rc = TooFar;
  }
  moved_ = (how == GoHow::Relative && target >= 0) ? static_cast<int>(target - old) : 0;
  setrecno(static_cast<int32_t>(target));
  // A record that cannot be read leaves the buffer unloaded (loaded()).
  if (target >= 0) (void)load();
  return rc;
}

ErrorCode Rlist::gorecord(int32_t recno) {
  if (tag_ < 0 || recno < 0 || tree_->root() == -1 || go(GoHow::Absolute, recno) != Ok ||
      isdeleted()) {
    if (pos_ != nullptr) pos_->clear();
    unset();
    return NotFound;
  }
  // The hint names the root's first entry: re-finding compares that entry
  // with the copied key and number, and searches the tree when they differ.
  const int keylen = keysize(tag_);
  std::vector<uint8_t>& entry = pos_->buffer;
  if (entry.size() < static_cast<size_t>(keylen + kEntryDataLen))
    entry.resize(static_cast<size_t>(keylen + kEntryDataLen));
  std::memcpy(entry.data(), keyptr(tag_), static_cast<size_t>(keylen));
  put4(entry.data() + keylen, recno);
  pos_->page = tree_->root();
  pos_->index = 0;
  pos_->length = keylen + kEntryDataLen;
  pos_->dlen = kEntryDataLen;
  return Ok;
}

ErrorCode Rlist::sync(ErrorCode result, int moved) {
  if (pos_ == nullptr || !pos_isset(*pos_)) {
    unset();
    return result;
  }
  // The tree's entry names a counted record; a read that fails shows as
  // an unloaded buffer.
  (void)go(GoHow::Absolute, pos_recno(*pos_));
  moved_ = moved;
  return result;
}

// ---- queries --------------------------------------------------------------------

bool Rlist::valid() const {
  if (tag_ >= 0) return pos_ != nullptr && pos_isset(*pos_);
  return recno_ != -1;
}

bool Rlist::isdeleted() const { return reclen() > 0 && buffer()[reclen() - 1] == '*'; }

int32_t Rlist::count() {
  if (table_ == nullptr) return -1;
  if (tag_ >= 0) return index_->count();
  return table_->nrecs();
}

// The tree's estimates are stretched so that its greatest entry lands on
// the last record: nothing scrolled to the end then looks short of it.
int32_t Rlist::before() {
  if (!valid()) return -1;
  if (tag_ < 0) return recno_;
  const int32_t n = count();
  if (n <= 1) return 0;
  double at = -1;
  double end = -1;
  {
    ReadLock lock(table_, shared_);
    if (lock.failed()) return -1;
    at = tree_->rank(pos_.get(), n);
    end = tree_->lastrank(n);
  }
  if (at < 0) return -1;
  if (end > 0) at = at * (n - 1) / end;
  return static_cast<int32_t>(std::clamp<double>(std::round(at), 0, n - 1));
}

ErrorCode Rlist::seekrank(int32_t n) {
  if (tag_ < 0) return go(GoHow::Absolute, std::max(n, 0));
  const int32_t total = count();
  // The ends exactly, whatever the estimate makes of them.
  if (n <= 0) return first();
  if (n >= total - 1) return last();
  leaverecord();
  ErrorCode rc;
  {
    ReadLock lock(table_, shared_);
    if (lock.failed()) return TryAgain;
    const double end = tree_->lastrank(total);
    const double target = total > 1 && end > 0 ? static_cast<double>(n) * end / (total - 1) : 0;
    rc = tree_->seekrank(pos_.get(), std::max(target, 0.0), total);
  }
  return sync(rc, 0);
}

const uint8_t* Rlist::keyptr(int t) const {
  ensurekey(t);
  return keys_.data() + table_->tinfo()[static_cast<size_t>(t)].keyoff;
}

int Rlist::keysize(int t) const {
  ensurekey(t);
  return tags_[static_cast<size_t>(t)].keysize;
}

void Rlist::ensurekey(int t) const {
  TagState& tag = tags_[static_cast<size_t>(t)];
  if (!tag.due) return;
  uint8_t* key = keys_.data() + table_->tinfo()[static_cast<size_t>(t)].keyoff;
  tag.keysize = table_->makekey(t, asread(), key);
  tag.due = false;
}

int Rlist::buildkey(int t) {
  uint8_t* key = keys_.data() + table_->tinfo()[static_cast<size_t>(t)].keyoff;
  TagState& tag = tags_[static_cast<size_t>(t)];
  tag.keysize = table_->makekey(t, buffer(), key);
  tag.due = false;
  return tag.keysize;
}

void Rlist::makekeys() {
  if (index_ == nullptr) return;
  for (int t = 0; t < ntags_; ++t) buildkey(t);
}

void Rlist::onload() {
  if (index_ == nullptr) return;
  std::memcpy(asread(), buffer(), keys_.size() - asreadat_);
  for (TagState& tag : tags_) tag.due = true;
}

}  // namespace quill
