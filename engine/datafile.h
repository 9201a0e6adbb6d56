// DataFile: one table of the engine, a .db1 data file with its index (.idx).
//
// A DataFile owns the open File of the .db1 with the FileBuffer in front of
// it, its parsed Header, its Index when one is open, and two tables computed
// at open: finfo (where each field lies in a record) and tinfo (how each
// tag's key is built). A table is named by its base name, the path without
// extension.
//
// Opened without sharing, both files are held exclusively and the header in
// memory is authoritative. Opened shared, the counters are read again from
// disk before use, and the index file (whole) and the header bytes (0-55) are
// the locks that serialise changes; lock order: index, then header. An
// open that cannot have them (to check the index) fails with TryAgain.
//
// Its bytes are read and written only through the operations below: whole
// records by number for the catalogue, positions taken from the Header for
// the engine's cursors and copies.
//
// Results are ErrorCodes; every failing open leaves the object closed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/file.h"
#include "engine/filebuffer.h"
#include "engine/header.h"
#include "engine/modes.h"
#include "engine/noncopyable.h"

namespace quill {

class Index;
// Index is complete only where the index file is handled; the deleter lets
// DataFile own one without seeing its definition.
struct IndexDeleter {
  void operator()(Index* index) const;
};

struct FieldInfo {
  uint16_t offset = 0;  // first byte of the field within the record
  uint16_t intag = 0;   // 1 when some tag component names the field
};

struct TagInfo {
  uint16_t keyoff = 0;  // offset of this tag's key in a cursor's key buffer
  uint16_t varlen = 0;  // 1 when a component is CF_VAR (variable-length keys)
  uint16_t keylen = 0;  // greatest length of a key of this tag
  std::vector<Component> comps;  // resolved components
};

// How a table is opened: for reading only, shared with other processes
// (otherwise held exclusively), and without its index (for the tools that
// check or rebuild it).
struct OpenMode {
  bool readonly = false;
  bool shared = false;
  bool noindex = false;
};

class DataFile;

// Told of each counted record about to be written over, before the write
// (an append past the counted records is not told): what a caller needs to
// keep the record as it was, to put it back later.
class RecordWatch {
 public:
  virtual ~RecordWatch() = default;
  virtual void beforewrite(DataFile& table, int32_t recno) = 0;
};

// Told of every change a cursor makes to a table's records (rlist.h),
// appends included, so that what a caller derives from them (the
// catalogue's folded names for its search) can read just those records
// again; where a RecordWatch keeps records as they were, this one follows
// the counters. changing() comes before the change's first write, with the
// counters as they stand before it (read again under the change locks of a
// shared table); changed() after it, whether it succeeded or not, before
// the locks go. A change made any other way (another process, pack,
// reindex, writes past the cursor) is told of by nothing: the keeper must
// see it in the counters and stamp.
class ChangeWatch {
 public:
  virtual void changing(DataFile& table, int32_t recno) = 0;
  virtual void changed(DataFile& table, int32_t recno) = 0;

 protected:
  ~ChangeWatch() = default;
};

class DataFile : NonCopyable {
 public:
  DataFile();
  ~DataFile();

  // Opens the .db1 and reads its header; no index (whatever mode.noindex
  // says), no finfo/tinfo.
  ErrorCode opendata(const char* base, OpenMode mode);
  // Opens a table for use, with its index unless mode.noindex is set.
  ErrorCode open(const char* base, OpenMode mode = {});
  // Creates (truncates) the .db1 with an empty header in memory; writes nothing.
  ErrorCode _create(const char* base);
  // Makes a new empty table file (no fields, no tags).
  static ErrorCode create(const char* base, int namelen = 0, int pagesize = 0);
  // Maintenance of a closed table, each building its result under a
  // temporary name and exchanging it by renaming at the end.
  // pack drops deleted records (the index is out of date afterwards);
  // reindex builds the index file anew from the live records. Both are
  // refused with DiskFull, before they write, when the disk lacks room for
  // twice the table (diskroom.h).
  static ErrorCode pack(const char* base, struct Progress* progress = nullptr);
  static ErrorCode reindex(const char* base, struct Progress* progress = nullptr);
  // Opens the old file read-only and exclusively and creates the new one
  // under a temporary name, starting from the old header.
  static ErrorCode opencopy(const char* base, DataFile& fresh, DataFile& old);
  // Writes the new header, copies the records through the callback in a
  // physical-order scan of the old file, closes both and moves the new file
  // onto the old one's name.
  using CopyCallback = int (*)(class Rlist& cursor, int32_t i, void* cookie);
  // Bump: the new file's stamp is one past the old one's, so that an index
  // of the old file no longer counts as up to date.
  enum class Stamp { Keep, Bump };
  static ErrorCode epilogue(DataFile& fresh, DataFile& old, CopyCallback callback, void* cookie,
                            Stamp stamp, struct Progress* progress);

  // Closes everything and returns the code given; when that is Ok,
  // WriteFailed if what the table held back could not be written.
  ErrorCode close(ErrorCode code = Ok);

  bool isopen() const { return file_.isopen(); }
  bool readonly() const { return file_.readonly(); }
  int32_t nrecs();
  int32_t nlive();
  int32_t stamp();
  // Re-reads the 56 header bytes unless the file is held exclusively.
  ErrorCode refresh();

  // Many changes in a row: while deferred, flushes only note that data is
  // waiting, and sync() (or close) forces both files to disk once. Ending
  // the deferral makes that sync: Ok, or WriteFailed when it failed.
  ErrorCode defersync(bool on);
  ErrorCode sync();
  // A durable point inside a batch whose journal holds the counters to
  // put back after a crash (the catalogue's): the records are forced to
  // disk and the counters written after them, to be forced by the next
  // sync; a crash before it leaves counters of an earlier sync, which
  // count only records on disk, and the journal's replace them. An index
  // in write-back, marked unfinished on disk, stays so with its pages in
  // memory: a crash leaves it reported out of date and rebuilt from the
  // records, so only the end of the batch writes it. Any other index is
  // synced as sync() does. Records below `derived` changed, since the last
  // sync, only in values that recovery recomputes (reference counts): their
  // blocks may stay in memory until the end too.
  ErrorCode syncbatch(int32_t derived = 0);
  // Called before a change of a table held exclusively: from then until
  // sync or close the index is written back, not through, and marked
  // unfinished on disk first (one sync of the index, once). A crash in
  // between leaves it reported out of date and rebuilt, so a change needs
  // no sync of the index, only the data file's. Shared, nothing changes:
  // others must see every change at once. Ok, or WriteFailed when the mark
  // failed.
  ErrorCode writebackindex();
  // Writes the 56 header bytes (the counters). While sync is deferred on a
  // table held exclusively they are written only at sync or close: records
  // appended meanwhile stay invisible until then, and the index says it is
  // unfinished, so a process that ends early loses nothing it had counted.
  ErrorCode writehead();
  // Called by an append before it writes record `recno`. A data sync that
  // lengthens the file must also commit the new length through the file
  // system's journal; an overwrite of blocks already written needs only the
  // data. So a table held exclusively, syncs not deferred, that has taken a
  // few appends in this open is lengthened ahead with zeros (synced once)
  // whenever an append needs room, and cut back to its counted records at
  // close. A crash in between leaves zeros past the counted end: the legal
  // trace of an interrupted append. Making room that fails costs only speed.
  void makeroom(int32_t recno);

  // Records by number, reclen bytes each: n of them from `first` on, into
  // or from a buffer of n records. A read past the file's end fails, and so
  // does a span outside the positions a file can have; a write lands where
  // the cursor's would, through the same buffer. Ok, or GeneralError for a
  // read and WriteFailed for a write that failed.
  ErrorCode readrecords(int32_t first, int32_t n, void* bytes);
  ErrorCode writerecords(int32_t first, int32_t n, const void* bytes);
  ErrorCode readrecord(int32_t recno, void* bytes) { return readrecords(recno, 1, bytes); }
  ErrorCode writerecord(int32_t recno, const void* bytes) { return writerecords(recno, 1, bytes); }
  // Cuts off what lies past the counted records (appends undone, room made
  // ahead) and forces that to disk; Ok when there is nothing to cut.
  ErrorCode cuttail();
  // The .db1's length in bytes, -1 when it cannot be had.
  int32_t length();

  // n bytes at a position of the .db1, for the engine's cursors and copies,
  // which take positions from the Header: 0 or -1.
  int readat(int64_t at, void* buffer, int32_t n) { return buffer_.read(at, buffer, n); }
  int writeat(int64_t at, const void* buffer, int32_t n) { return buffer_.write(at, buffer, n); }
  // Forces written data to disk, or notes it while sync is deferred: 0 or -1.
  int flush() { return buffer_.flush(); }
  // The whole header (counters, descriptors, the trailer), for a new file.
  ErrorCode writeheader();
  // A record's bytes asked for ahead of their read (see FileBuffer::prefetch).
  void prefetch(int32_t recno) { buffer_.prefetch(recoffset(recno), header_->reclen); }
  // A byte-range lock on the .db1 (a record's), not waiting: 0 or -1.
  int lockrange(LockMode mode, int32_t offset, int32_t length) {
    return buffer_.lock(mode, offset, length, Wait::No);
  }
  int unlockrange(int32_t offset, int32_t length) { return buffer_.unlock(offset, length); }

  ErrorCode lockindex(LockMode mode);
  ErrorCode unlockindex();
  ErrorCode lockheader(LockMode mode);
  ErrorCode unlockheader();

  void init_finfo_tinfo();

  // Assembles tag t's key for the record in `record` into `key` (at least
  // tinfo[t].keylen bytes); returns the key's length.
  int makekey(int t, const uint8_t* record, uint8_t* key) const;

  // The change watch stays through closes and opens; nullptr for none.
  void setchangewatch(ChangeWatch* watch) { changewatch_ = watch; }
  ChangeWatch* changewatch() const { return changewatch_; }

  Header& header() { return *header_; }
  const Header& header() const { return *header_; }
  bool has_header() const { return header_ != nullptr; }
  Index* index() { return index_.get(); }
  const std::string& base() const { return base_; }
  // The base name for messages: "<not opened>" when there is none.
  const char* basename_or_none() const;
  const std::vector<FieldInfo>& finfo() const { return finfo_; }
  const std::vector<TagInfo>& tinfo() const { return tinfo_; }
  bool exclusive() const { return exclusive_ != 0; }
  // The watch told of this table's writes (none: nullptr); the caller
  // keeps it alive while set.
  void setwatch(RecordWatch* watch) { watch_ = watch; }
  // Called by every record write, with the record's offset.
  void towrite(int32_t offset) {
    if (watch_ != nullptr && offset >= header_->datastart && header_->reclen != 0) {
      const int32_t recno = (offset - header_->datastart) / static_cast<int32_t>(header_->reclen);
      if (recno < header_->nrecs) watch_->beforewrite(*this, recno);
    }
  }
  int32_t recoffset(int32_t recno) const {
    return header_->datastart + recno * static_cast<int32_t>(header_->reclen);
  }

 private:
  File file_;
  FileBuffer buffer_{file_};
  std::unique_ptr<Index, IndexDeleter> index_;
  std::string base_;
  std::unique_ptr<Header> header_;
  std::vector<FieldInfo> finfo_;
  std::vector<TagInfo> tinfo_;
  int exclusive_ = 0;
  RecordWatch* watch_ = nullptr;
  ChangeWatch* changewatch_ = nullptr;
  bool deferhead_ = false;
  bool headdirty_ = false;
  struct Room {
    int32_t appends = 0;    // appends since the open
    int64_t end = 0;        // the file's length as far as room was made
    int64_t written = 0;    // end of the furthest record an append wrote
    bool trim = false;      // the file may be longer than its records
    bool failed = false;    // no more room this open
  } room_;
  // At close: the file back to its records, synced.
  void trimroom();
  // Where records [first, first + n) lie; false outside a file's positions.
  bool recordspan(int32_t first, int32_t n, int64_t* at, int32_t* length) const;
  // pack and reindex once there is room for them.
  static ErrorCode packcopy(const char* base, struct Progress* progress);
  static ErrorCode reindexcopy(const char* base, struct Progress* progress);

  // Opens the .idx into index_ (IndexOpen), and reads and checks it against
  // the tags and counters (BadIndex, IndexOutOfDate).
  ErrorCode open_index(Access access, Sharing sharing);
  ErrorCode check_index();
  // Whether a deferred-sync batch holds something back.
  bool batchpending() const;
};

// Fresh base + extension.
std::string stradd(const std::string& base, const char* extension);

}  // namespace quill
