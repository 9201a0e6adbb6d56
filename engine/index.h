// Index: the index file (.idx) of a data file, one B-tree per tag.
//
// A paged store (MultiFile) with a 12-byte header, one slot per tag in tag
// order, and an 8-byte area per slot holding that tree's TreeInfo.
//
// Index header (at offset 4, little-endian):
//
//   offset width meaning
//   4      4     count: records the index covers (the live records)
//   8      4     creation time, seconds since 1970 (UTC)
//   12     4     stamp: the data file's stamp at the index's last update
//
// Page sizes per tag (key length K, data length D = 4, requested size R):
// variable-length keys P = max(R, 4(K+D) + 34); fixed-length keys
// P = 2h(K+D+4) + 10 with h = max(2, ((R-10) / (K+D+4)) / 2), so every page
// holds at least four entries.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/errors.h"
#include "engine/keys.h"
#include "engine/multifile.h"

namespace quill {

class Btree;
class DataFile;
struct TagInfo;

constexpr int kIndexHeaderLen = 12;
constexpr int kEntryDataLen = 4;  // the record number, big-endian

// What setstamp and commit do with the stored record count.
enum class CountChange { Keep, Set, Add };

// Results are ErrorCode (see MultiFile). The trees reach the store through
// its page transfers; everyone else through the operations below.
class Index {
 public:
  explicit Index(DataFile* owner);
  ~Index();
  Index(const Index&) = delete;
  Index& operator=(const Index&) = delete;

  ErrorCode openfile(const char* path, Access access, Sharing sharing);
  ErrorCode createfile(const char* path);  // empty, held exclusively
  // Lays out one empty tree per tag in the freshly created file.
  ErrorCode create(int32_t created, int32_t stamp, int pagesize);
  // Reads the store and its header, checks it against the tags, builds the
  // trees. IndexOutOfDate for an index that does not describe the data
  // file (another set of tags, trees that cannot be read) but whose header
  // says it was never in step with it: the trace of a change that a reindex
  // finishes. BadIndex for anything else that cannot be read or used.
  ErrorCode open();
  ErrorCode close() { return store_.close(); }
  bool uptodate();
  // The count changes as `how` says; a non-zero stamp replaces the stored
  // one. The header is read first and written back, and forced to disk
  // unless the caller forces it later together with its pages.
  enum class Force { Now, Later };
  ErrorCode setstamp(int32_t stamp, CountChange how, int32_t value, Force force = Force::Now);
  int32_t count();
  // As setstamp, for the header that makes changed trees trusted again:
  // their pages are forced to disk first, so that the header can never be
  // found there without them.
  ErrorCode commit(int32_t stamp, CountChange how, int32_t value);
  // Stores a stamp that the data file does not carry yet, before trees
  // change: if the process or the power fails half way, the next open
  // finds the index out of date. Forced to disk before it returns: page
  // writes that follow it could otherwise reach the disk first.
  ErrorCode mark(int32_t stamp);

  // Many changes in a row (the file is held exclusively): pages, slots and
  // the header are written back only at sync, close or eviction. Meanwhile
  // the file carries a stamp that matches no data file, so a process that
  // ends before the write-back leaves an index reported out of date.
  ErrorCode setwriteback(bool on);
  bool writeback() const { return store_.writeback(); }
  ErrorCode flush() { return store_.flush(); }
  ErrorCode sync() { return store_.sync(); }
  void defersync(bool on) { store_.defersync(on); }
  void setcachepages(int pages) { store_.setcachepages(pages); }
  long long pagereads() const { return store_.pagereads(); }

  Btree& tree(int t) { return *trees_[static_cast<size_t>(t)]; }
  int ntrees() const { return static_cast<int>(trees_.size()); }
  // The paged store, for checkers that look at its slots and free lists.
  MultiFile& store() { return store_; }
  int32_t created() const { return created_; }
  int32_t storedstamp() const { return stamp_; }

  static int pagesize_for(const TagInfo& tag, int requested);

 private:
  MultiFile store_;
  DataFile* owner_;
  int32_t count_ = 0;
  int32_t created_ = 0;
  int32_t stamp_ = 0;
  std::vector<KeyDescr> kds_;
  std::vector<std::unique_ptr<Btree>> trees_;
  Comparator compare_;
  Continuation continues_;

  ErrorCode readhdr();
  ErrorCode writehdr();
  // Whether the trees described by the store are the data file's tags.
  bool matches();
  void createtrees();
  // Reads only the store's header, for an index whose trees cannot be
  // read: its stamp and count still tell whether it was meant to be in
  // step with the data file.
  ErrorCode readstamp();
};

}  // namespace quill
