// The cursor's changes: append, update, delete, and the scan.
//
// Every change that touches keys follows one rule: the index never covers a
// record state that is not on disk without being reported out of date.
// Held exclusively, a table's index is marked unfinished on disk before its
// first change and written back only at sync or close (writebackindex), so
// a crash in between leaves it reported out of date whatever its pages
// hold; the changes themselves then order only the data file: the record
// before the counters that make it visible. A durable append costs two data
// syncs. Shared, the index is written through and the two files carry
// different stamps while the trees change (the index the new one first for
// delete, the data file first for append and update); each step that this
// rests on is forced to disk before the writes that depend on it: the stamp
// that makes the index untrusted before any page changes, the record before
// the counters, and the pages before the write that makes the index trusted
// again. A durable append then costs three data syncs, an update or a
// delete four (RELIABILITY.md says why no fewer will do). The tree changes
// of one operation are journalled; when a later step fails they are undone
// and the stamps put back in step.
#include <cstring>
#include <functional>
#include <utility>

#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/index.h"
#include "engine/rlist.h"

namespace quill {

namespace {

// Releases the change locks of a shared table on every way out.
class ChangeGuard {
 public:
  explicit ChangeGuard(std::function<void()> release) : release_(std::move(release)) {}
  ~ChangeGuard() { release_(); }
  ChangeGuard(const ChangeGuard&) = delete;
  ChangeGuard& operator=(const ChangeGuard&) = delete;

 private:
  std::function<void()> release_;
};

// Tells the table's watch of one record's change from its first write to
// its end; made after the change locks are taken, so gone before they go.
class Watched {
 public:
  Watched(DataFile& table, int32_t recno) : table_(table), recno_(recno) {
    if (ChangeWatch* watch = table_.changewatch()) watch->changing(table_, recno_);
  }
  ~Watched() {
    if (ChangeWatch* watch = table_.changewatch()) watch->changed(table_, recno_);
  }
  Watched(const Watched&) = delete;
  Watched& operator=(const Watched&) = delete;

 private:
  DataFile& table_;
  int32_t recno_;
};

}  // namespace

bool Rlist::readonly() const { return table_ == nullptr || table_->readonly(); }

// A lock that is not had protects nothing: the change is refused (the
// guard releases whatever was taken).
ErrorCode Rlist::lockforchange() {
  if (!shared_) return Ok;
  if (index_ != nullptr && table_->lockindex(LockMode::Exclusive) != Ok) return TryAgain;
  if (table_->lockheader(LockMode::Exclusive) != Ok) return TryAgain;
  // Counters change only under the header lock, from what is on disk; a
  // header that cannot be read is a failed read, not a failed write.
  return table_->refresh();
}

// Locks that the system will not release go with the close.
void Rlist::unlockafterchange() {
  if (!shared_) return;
  (void)table_->unlockheader();
  if (index_ != nullptr) (void)table_->unlockindex();
}

// A tree operation that failed on a write may have changed some pages
// already: such a tree can no longer be trusted to be as before.
ErrorCode Rlist::addkey(int t, const uint8_t* key, int keylen, const uint8_t* data) {
  ErrorCode rc = index_->tree(t).insert(t == tag_ ? pos_.get() : nullptr, key, keylen, data);
  if (rc == Ok) journal_.push_back({t, true, std::vector<uint8_t>(key, key + keylen)});
  if (rc == WriteFailed) treedamage_ = true;
  return rc;
}

ErrorCode Rlist::removekey(int t, const uint8_t* key, int keylen, const uint8_t* data,
                           ErrorCode* out) {
  ErrorCode rc =
      index_->tree(t).remove(t == tag_ ? pos_.get() : nullptr, key, keylen, data, out);
  if (rc == Ok) journal_.push_back({t, false, std::vector<uint8_t>(key, key + keylen)});
  if (rc == WriteFailed) treedamage_ = true;
  return rc;
}

bool Rlist::rollback(const uint8_t* data) {
  bool undone = !treedamage_;
  treedamage_ = false;
  for (auto it = journal_.rbegin(); it != journal_.rend(); ++it) {
    Btree& tree = index_->tree(it->tag);
    int size = static_cast<int>(it->key.size());
    ErrorCode rc = it->inserted ? tree.remove(nullptr, it->key.data(), size, data, nullptr)
                                : tree.insert(nullptr, it->key.data(), size, data);
    if (rc != Ok) undone = false;
  }
  forgetchanges();
  return undone;
}

bool Rlist::tagchanged(int t) const {
  for (const Component& c : table_->tinfo()[static_cast<size_t>(t)].comps)
    if (const_cast<Rlist*>(this)->field(c.field).isset()) return true;
  return false;
}

ErrorCode Rlist::append(LockMode lockmode) { return writeresult(appendrecord(lockmode)); }

ErrorCode Rlist::appendrecord(LockMode lockmode) {
  if (readonly()) return WriteFailed;
  ChangeGuard guard([this] { unlockafterchange(); });
  ErrorCode rc = lockforchange();
  if (rc != Ok) return rc;
  Header& h = table_->header();
  int32_t recno = h.nrecs;
  setrecno(recno);
  const Watched watched(*table_, recno);
  assign_serials();

  for (int k = nfields() - 1; k >= 0; --k)
    if (table_->finfo()[static_cast<size_t>(k)].intag && !field(k).isset()) {
      warning("Rlist::append: field %d has not been set in file '%s' (and tags depend on it)\n", k,
              table_->basename_or_none());
      break;
    }

  uint8_t data[kEntryDataLen];
  put4(data, recno);
  const int32_t oldstamp = h.stamp;
  const int32_t newstamp = ntags_ > 0 ? oldstamp + 1 : oldstamp;
  forgetchanges();
  if (table_->writebackindex() != 0) return WriteFailed;
  // Written back, the index is unfinished on disk until sync or close:
  // like a table without one, it asks for no step of its own.
  const bool heldback = index_ == nullptr || index_->writeback();

  // Held back, two steps: the record, past the counted ones where nothing
  // reads it, then the counters and the stamp that make it visible, each
  // forced to disk. Otherwise three:
  //  1. the record and the data file's new stamp: from here the index is
  //     out of date, so its pages may land in any order;
  //  2. the keys and the index header with the new stamp and count, still
  //     out of date against the data file's old record count;
  //  3. the counters, which make the record visible and the index trusted.
  setstatus(" ", 1);
  table_->makeroom(recno);
  if (putbuf(buffer()) != 0) return WriteFailed;
  if (!heldback) {
    h.stamp = newstamp;
    if (table_->writehead() != 0) {
      h.stamp = oldstamp;
      return WriteFailed;
    }
  } else if (table_->flush() != 0) {
    return WriteFailed;
  }

  // A failure among the keys: with the keys undone and on disk, an index
  // header that carries the new stamp and the old count is in step again
  // (held back, the data file's stamp follows it there). The caller hears
  // of the first failure: a step of the undoing that fails as well leaves
  // the stamps apart, and the index is then reported out of date.
  auto undo = [&](ErrorCode code) {
    if (rollback(data)) (void)index_->commit(newstamp, CountChange::Add, -1);
    if (heldback) {
      h.stamp = newstamp;
      (void)table_->writehead();
    }
    return code;
  };
  if (index_ != nullptr) {
    if (index_->setstamp(newstamp, CountChange::Add, 1, Index::Force::Later) != 0)
      return undo(WriteFailed);
    for (int t = ntags_ - 1; t >= 0; --t) {
      int size = buildkey(t);
      rc = addkey(t, keyptr(t), size, data);
      if (rc != Ok) return undo(rc);
    }
    if (!heldback && index_->flush() != 0) return undo(WriteFailed);
  }
  forgetchanges();

  h.nrecs = recno + 1;
  h.serial += 1;
  h.stamp = newstamp;
  if (table_->writehead() != 0) {
    h.nrecs = recno;
    h.serial -= 1;
    return WriteFailed;  // the index is ahead: reported out of date
  }
  setloaded(true);
  moved_ = 0;
  droplock();
  if (lockmode != LockMode::None) return Rbuf::lock(lockmode);
  return Ok;
}

ErrorCode Rlist::update() { return writeresult(updaterecord()); }

ErrorCode Rlist::updaterecord() {
  if (readonly()) return WriteFailed;
  ChangeGuard guard([this] { unlockafterchange(); });
  ErrorCode rc = lockforchange();
  if (rc != Ok) return rc;
  if (recno_ < 0) return NoCurrentRecord;
  const Watched watched(*table_, recno_);

  bool anychanged = false;
  for (int t = 0; t < ntags_; ++t) {
    tags_[static_cast<size_t>(t)].changed = tagchanged(t);
    anychanged = anychanged || tags_[static_cast<size_t>(t)].changed;
  }
  if (!anychanged) return writebuf(buffer()) == 0 ? Ok : WriteFailed;
  if (table_->writebackindex() != 0) return WriteFailed;

  uint8_t data[kEntryDataLen];
  put4(data, recno_);
  if (index_ != nullptr) {
    // Every old key must be there before anything changes.
    for (int t = ntags_ - 1; t >= 0; --t) {
      if (!tags_[static_cast<size_t>(t)].changed) continue;
      bt_pos probe(table_->tinfo()[static_cast<size_t>(t)].keylen + kEntryDataLen);
      if (index_->tree(t).find(&probe, keyptr(t), keysize(t), data) != 0) return NotFound;
    }
  }

  // The stamp goes ahead first: an update cut short leaves the index out of date.
  Header& h = table_->header();
  const int32_t newstamp = h.stamp + 1;
  h.stamp = newstamp;
  if (table_->writehead() != 0) return WriteFailed;

  forgetchanges();
  if (index_ != nullptr) {
    // The stored keys must keep describing the record on disk if this fails.
    const std::vector<uint8_t> oldkeys = keys_;
    const std::vector<TagState> oldtags = tags_;
    for (int t = ntags_ - 1; t >= 0 && rc == Ok; --t) {
      if (!tags_[static_cast<size_t>(t)].changed) continue;
      rc = removekey(t, keyptr(t), keysize(t), data, nullptr);
      if (rc != Ok) break;
      int size = buildkey(t);
      rc = addkey(t, keyptr(t), size, data);
    }
    if (rc != Ok || writebuf(buffer()) != 0) {
      if (rc == Ok) rc = WriteFailed;
      // Trees back as the record on disk is: the index may catch up with the stamp.
      if (rollback(data)) (void)index_->commit(newstamp, CountChange::Keep, 0);
      keys_ = oldkeys;
      tags_ = oldtags;
      return rc;
    }
    forgetchanges();
    return index_->commit(newstamp, CountChange::Keep, 0) == 0 ? Ok : WriteFailed;
  }
  return writebuf(buffer()) == 0 ? Ok : WriteFailed;
}

ErrorCode Rlist::del(ErrorCode* out) { return writeresult(deleterecord(out)); }

ErrorCode Rlist::deleterecord(ErrorCode* out) {
  if (recno_ < 0) return NoCurrentRecord;
  if (readonly()) return WriteFailed;
  ChangeGuard guard([this] { unlockafterchange(); });
  ErrorCode rc = lockforchange();
  if (rc != Ok) return rc;

  // Already deleted? Ask the disk: another process may have done it.
  uint8_t status = buffer()[reclen() - 1];
  if (!(table_->exclusive() && table_->readonly())) {
    if (table_->readat(offset() + reclen() - 1, &status, 1) != 0) return GeneralError;
  }
  if (status == '*') return Ok;
  const Watched watched(*table_, recno_);
  if (table_->writebackindex() != 0) return WriteFailed;

  Header& h = table_->header();
  uint8_t data[kEntryDataLen];
  put4(data, recno_);
  const int32_t oldstamp = h.stamp;
  const int32_t newstamp = ntags_ > 0 ? oldstamp + 1 : oldstamp;
  forgetchanges();
  auto undo = [&](ErrorCode code) {  // as in append
    if (rollback(data) && index_ != nullptr && index_->flush() == Ok) (void)index_->mark(oldstamp);
    return code;
  };

  ErrorCode where = Ok;
  if (index_ != nullptr) {
    if (index_->mark(newstamp) != 0) return WriteFailed;
    for (int t = ntags_ - 1; t >= 0; --t) {
      rc = removekey(t, keyptr(t), keysize(t), data, t == tag_ ? &where : nullptr);
      if (rc != Ok) return undo(rc);
    }
  }
  setstatus("*", 1);
  if (writebuf(buffer()) != 0) {
    setstatus(" ", 1);
    return undo(WriteFailed);
  }
  if (index_ != nullptr && index_->setstamp(newstamp, CountChange::Add, -1) != 0) {
    // Best effort, as undo(): the failure reported is the first.
    setstatus(" ", 1);
    (void)writebuf(buffer());
    return undo(WriteFailed);
  }
  forgetchanges();
  h.ndeleted += 1;
  h.stamp = newstamp;
  if (table_->writehead() != 0) {
    h.ndeleted -= 1;
    return WriteFailed;  // the index is ahead: reported out of date
  }

  moved_ = 0;
  if (tag_ >= 0) {
    droplock();
    (void)sync(Ok, 0);  // the delete is done; the cursor follows its tree entry
  } else {
    setloaded(true);
    if (out != nullptr) *out = Ok;
  }
  if (tag_ >= 0 && out != nullptr) *out = where;
  return Ok;
}

ProgressMeter::ProgressMeter(Progress* progress, int32_t total)
    : progress_(progress),
      total_(progress && progress->total ? progress->total : total),
      step_(progress && progress->step ? progress->step : 100),
      done_(progress ? progress->done : 0),
      block_(total_ > 0 ? total_ / step_ : 0) {}

int ProgressMeter::percent() const { return static_cast<int>((2 * done_ * step_ / total_ + 1) / 2); }

void ProgressMeter::start() {
  if (progress_ && progress_->report && total_ != 0) progress_->report(progress_->argument, percent());
}

void ProgressMeter::advance() {
  ++done_;
  if (!progress_ || !progress_->report || total_ == 0) return;
  // With fewer records than steps the block is 0 and only the end counts.
  if (++k_ == block_ || done_ == total_) {
    k_ = 0;
    const int value = percent();
    if (value != last_) progress_->report(progress_->argument, value);
    last_ = value;
  }
}

void ProgressMeter::finish() {
  if (progress_) progress_->done = static_cast<int32_t>(done_);
}

ErrorCode Rlist::scan(ScanCallback callback, void* cookie, Progress* progress) {
  ProgressMeter meter(progress, progress && progress->total ? 0 : count());
  ErrorCode rc = first();
  meter.start();
  ErrorCode result = Ok;
  for (int32_t i = 0; rc == Ok; ++i) {
    meter.advance();
    if (callback(*this, i, cookie) != 0) {
      result = GeneralError;
      break;
    }
    rc = skip(1);
  }
  meter.finish();
  return result;
}

}  // namespace quill
