// Rlist: the cursor over one open data file.
//
// The only way records are read, appended, changed and deleted while the
// tags' B-trees follow every change. It is an Rbuf: the current record lives
// in its buffer and is reached through its Fields. A cursor walks either in
// physical order (record numbers 0, 1, 2, ..., deleted records included) or,
// after select(tag), in that tag's key order (deleted records have no keys).
//
// Every change that touches keys raises the data file's stamp and stores it
// in the index file, whose record count follows the live records; an index
// that disagrees is reported out of date at the next open.
//
// Shared tables: append/update/del take the index lock (exclusive) and then
// the header lock (exclusive), and read the counters again under them; reads
// in tag order take a shared index lock around each tree operation. A lock
// that cannot be had refuses the operation with TryAgain (before(): -1).
//
// Results are ErrorCodes: Ok, TooFar (moved to the first/last record and
// stopped there), NoCurrentRecord, NextRecord/PrevRecord (the entry under the
// position vanished), NotFound, DuplicateKey, WriteFailed, TryAgain.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/errors.h"
#include "engine/modes.h"
#include "engine/rbuf.h"

namespace quill {

class Btree;
class DataFile;
class Index;
struct bt_pos;

// Where Rlist::go counts a record number from: the first record, the
// current one, or back from the last.
enum class GoHow { Absolute, Relative, FromEnd };

// Progress of a long scan: report(argument, percent) is called as the done
// counter advances; several scans can share one record and one bar.
struct Progress {
  void (*report)(void* argument, int value) = nullptr;
  void* argument = nullptr;
  int step = 0;      // 0 means 100
  int32_t total = 0; // 0 means the cursor's count
  int32_t done = 0;
};

// One scan's reports, for a walk over total records (with a Progress that
// names no total): the share done at the start, then each time another
// step's share of the records is done. finish() hands the done counter back.
class ProgressMeter {
 public:
  ProgressMeter(Progress* progress, int32_t total);
  void start();
  void advance();
  void finish();

 private:
  Progress* progress_;
  int32_t total_;
  int step_;
  int64_t done_;
  int32_t block_;
  int32_t k_ = 0;
  int last_ = 0;
  int percent() const;
};

class Rlist : public Rbuf {
 public:
  explicit Rlist(DataFile* table);
  explicit Rlist(const Rlist& other);  // same data file, no position
  ~Rlist() override;

  ErrorCode bind(DataFile* table);
  ErrorCode select(int tag);
  int selected() const { return tag_; }

  ErrorCode first();
  ErrorCode last();
  ErrorCode skip(int n);
  // As skip, but only over the entries of the selected tag whose keys begin
  // with the lead: the first that does not ends the move as the end of the
  // order does (TooFar), and its record is never read. In physical order
  // the lead is not looked at.
  ErrorCode skip(int n, KeyLead lead);
  ErrorCode seek(const uint8_t* key, int keylen, SeekMode mode, SeekWhich which);
  ErrorCode go(GoHow how, int32_t n);
  // Stands on record recno in the selected tag's order without searching the
  // tree, for a caller that already knows the record it wants: the tree
  // position is a hint that the next move re-finds by the record's key and
  // number. Ok, or NotFound (the cursor unset) when the record lies outside
  // the file or is deleted, or no tag is selected.
  ErrorCode gorecord(int32_t recno);
  void leaverecord();
  void droplock();
  ErrorCode sync(ErrorCode result, int moved);
  void unset();

  int32_t recno() const { return recno_; }
  bool valid() const;
  bool isdeleted() const;
  int moved() const { return moved_; }
  int32_t count();
  // The records before the current one in the cursor's order, -1 without
  // one: exact in physical order; in tag order estimated from the tree's
  // shape (exact for the first and the last, about right in between).
  int32_t before();
  // Stands on the record with about n records before it (the inverse of
  // before), or on the first or last one when n lies outside.
  ErrorCode seekrank(int32_t n);
  const uint8_t* keyptr(int t) const;
  int keysize(int t) const;

  ErrorCode append(LockMode lockmode = LockMode::None);
  ErrorCode update();
  ErrorCode del(ErrorCode* out = nullptr);
  void makekeys();

  // Visits every record from first() on; callback(cursor, i, cookie) with
  // i = records visited before; a non-zero callback result ends with
  // GeneralError.
  using ScanCallback = int (*)(Rlist& cursor, int32_t i, void* cookie);
  ErrorCode scan(ScanCallback callback, void* cookie, Progress* progress = nullptr);

  // Hooks of Rbuf.
  void onload() override;
  ErrorCode write() override { return update(); }

 private:
  // The keys of the record as read are built on first use, from a copy of
  // the record taken when it was read: most records a cursor passes are
  // only looked at, and the fields may be changed before the keys are due.
  // Per tag: its key's length, whether the change in progress touches it,
  // and whether its key is still to be built from the copy.
  struct TagState {
    int keysize = 0;
    bool changed = false;
    bool due = false;
  };
  mutable std::vector<TagState> tags_;
  // Every tag's key, then the copy of the record as read (one allocation:
  // lists make a cursor or two for every few records they show).
  mutable std::vector<uint8_t> keys_;
  size_t asreadat_ = 0;
  uint8_t* asread() const { return keys_.data() + asreadat_; }
  std::unique_ptr<bt_pos> pos_;
  int shared_ = 0;
  int32_t recno_ = -1;
  int moved_ = 0;
  int ntags_ = 0;
  int tag_ = -1;
  Index* index_ = nullptr;
  Btree* tree_ = nullptr;
  DataFile* table_ = nullptr;

  // One key added to or taken from a tree by the change in progress, so
  // that a change failing half way can be undone.
  struct TreeChange {
    int tag;
    bool inserted;
    std::vector<uint8_t> key;
  };
  std::vector<TreeChange> journal_;
  bool treedamage_ = false;  // a tree operation failed half way

  void reset();
  void setrecno(int32_t recno);
  using TreeMove = ErrorCode (*)(Btree& tree, bt_pos* pos, int n, KeyLead lead, int* moved);
  ErrorCode move(GoHow how, int n, TreeMove treemove, KeyLead lead = {});
  void fetchahead();
  int buildkey(int t);
  void ensurekey(int t) const;
  bool readonly() const;
  // The changes themselves; the public calls name a full disk (writeresult).
  ErrorCode appendrecord(LockMode lockmode);
  ErrorCode updaterecord();
  ErrorCode deleterecord(ErrorCode* out);
  // Shared: the index lock, then the header's; TryAgain when one cannot be had.
  ErrorCode lockforchange();
  void unlockafterchange();
  ErrorCode addkey(int t, const uint8_t* key, int keylen, const uint8_t* data);
  ErrorCode removekey(int t, const uint8_t* key, int keylen, const uint8_t* data, ErrorCode* out);
  // Undoes the journalled tree changes; false when a tree may differ from
  // before (a change or its undoing failed on a write).
  [[nodiscard]] bool rollback(const uint8_t* data);
  void forgetchanges() {
    journal_.clear();
    treedamage_ = false;
  }
  bool tagchanged(int t) const;
};

}  // namespace quill
