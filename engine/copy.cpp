// Copies of a table: pack, reindex, and the machinery that the structure
// changes share with them. Nothing is rewritten in place; the new file is
// built under a temporary name and exchanged at the very end, so a failure
// before then leaves the table's files exactly as they were.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "engine/btree.h"
#include "engine/bulkload.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/diskroom.h"
#include "engine/index.h"
#include "engine/maintain.h"
#include "engine/rlist.h"

namespace quill {

namespace {

bool present(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// A copy that is given up: a file left behind is a stray temporary file,
// which the next clean-up removes.
void removefile(const std::string& path) {
  if (!path.empty()) (void)File::removefile(path.c_str());
}

// The rebuilt file takes the old one's place and so its permissions. Set on
// the open file's name once it is open, so that a read-only mode does not
// keep the copy itself from being written.
void keepmode(const std::string& from, const std::string& to) {
  struct stat st;
  if (stat(from.c_str(), &st) == 0) chmod(to.c_str(), st.st_mode & 07777);
}

// Counts what the scan delivers, so that an old file that ends before its
// last record is noticed instead of being copied short.
struct Visit {
  DataFile::CopyCallback callback;
  void* cookie;
  int32_t visited = 0;
};

int visit(Rlist& cursor, int32_t i, void* cookie) {
  auto* v = static_cast<Visit*>(cookie);
  ++v->visited;
  return v->callback(cursor, i, v->cookie);
}

// Makes the new header count exactly the records that were written. They
// differ only when the old counters do not describe the old records (a pack
// of a file whose deletion count is wrong); the file must describe itself.
ErrorCode settle(DataFile& fresh, int32_t written) {
  Header& h = fresh.header();
  if (written == h.nrecs) return Ok;
  h.nrecs = written;
  if (h.ndeleted > h.nrecs) h.ndeleted = h.nrecs;
  return fresh.writehead() == 0 ? Ok : WriteFailed;
}

bool deletedrecord(const uint8_t* record, int reclen) { return record[reclen - 1] == '*'; }

// Every record of the table in physical order, read in large blocks
// straight from the file: a copy visits each record once from first to
// last, where a cursor would read them one at a time. each(record, recno)
// returns 0, or -1 to stop (WriteFailed); a record that cannot be read is
// BadData. Progress is reported as a cursor's scan reports it.
template <class Each>
ErrorCode eachrecord(DataFile& table, Progress* progress, const Each& each) {
  const Header& h = table.header();
  const int reclen = h.reclen;
  const int32_t nrecs = h.nrecs;
  if (reclen <= 0) return BadData;
  ProgressMeter meter(progress, nrecs);
  meter.start();
  const int32_t per = std::max<int32_t>(1, (256 << 10) / reclen);
  std::vector<uint8_t> block(static_cast<size_t>(per) * static_cast<size_t>(reclen));
  ErrorCode rc = Ok;
  for (int32_t first = 0; rc == Ok && first < nrecs; first += per) {
    const int32_t n = std::min(per, nrecs - first);
    if (table.readrecords(first, n, block.data()) != Ok) {
      rc = BadData;
      break;
    }
    for (int32_t i = 0; i < n; ++i) {
      meter.advance();
      if (each(block.data() + static_cast<size_t>(i) * static_cast<size_t>(reclen), first + i) != 0) {
        rc = WriteFailed;
        break;
      }
    }
  }
  meter.finish();
  return rc;
}

// Pack: every live record as it stands; the records kept from each block of
// the old file leave in one write. A damaged status byte (neither live nor
// deleted) is read as live everywhere, and is written as live here, so
// that a pack mends what the integrity check reports. *written: the
// records written.
ErrorCode copylive(DataFile& old, DataFile& fresh, Progress* progress, int32_t* written) {
  const int reclen = old.header().reclen;
  std::vector<uint8_t> out;
  auto flush = [&] {
    const auto n = static_cast<int32_t>(out.size() / static_cast<size_t>(reclen));
    const int rc = n == 0 || fresh.writerecords(*written, n, out.data()) == Ok ? 0 : -1;
    if (rc == 0) *written += n;
    out.clear();
    return rc;
  };
  ErrorCode rc = eachrecord(old, progress, [&](const uint8_t* record, int32_t) {
    if (deletedrecord(record, reclen)) return 0;
    out.insert(out.end(), record, record + reclen);
    out.back() = ' ';
    return out.size() >= (256u << 10) ? flush() : 0;
  });
  if (rc == Ok && flush() != 0) rc = WriteFailed;
  return rc;
}

// One tag's keys, collected from a physical scan for the sorted build.
struct Fill {
  DataFile* table;
  EntrySorter* sorter;
  int tag;
  std::vector<uint8_t> key;
  int32_t live = 0;
};

int addkey(Fill& fill, const uint8_t* record, int32_t recno) {
  if (deletedrecord(record, fill.table->header().reclen)) return 0;
  ++fill.live;
  int keylen = fill.table->makekey(fill.tag, record, fill.key.data());
  uint8_t data[kEntryDataLen];
  put4(data, recno);
  return fill.sorter->add(fill.key.data(), keylen, data);
}

// Every record the header counts must be in the file; a file cut short would
// otherwise be copied with whatever the cursor's buffer last held.
bool complete(DataFile& table) {
  const Header& h = table.header();
  return table.length() >= int64_t{h.datastart} + int64_t{h.nrecs} * h.reclen;
}

}  // namespace

ErrorCode abandoncopy(DataFile& fresh, DataFile& old, ErrorCode code) {
  std::string path = stradd(fresh.base(), ".db1");
  // The copy is dropped and the old file only read: their closes change
  // nothing that matters.
  (void)fresh.close();
  (void)old.close();
  removefile(path);
  return code;
}

ErrorCode copyhdrrec(DataFile& fresh, DataFile& old, RecChgDescr* change) {
  const Header& o = old.header();
  std::vector<uint8_t> area(o.arealen);
  if (old.readat(o.hdrlen, area.data(), o.arealen) != 0) return BadData;
  const uint8_t* bytes = area.data();
  int n = o.arealen;
  if (change != nullptr) {
    bytes = change->convert(bytes);
    n = change->newlen();
  }
  if (fresh.writeat(fresh.header().hdrlen, bytes, n) != 0) return WriteFailed;
  return Ok;
}

ErrorCode DataFile::opencopy(const char* base, DataFile& fresh, DataFile& old) {
  ErrorCode rc = old.opendata(base, {.readonly = true});
  if (rc != Ok) return rc;
  if (!complete(old)) return old.close(BadData);
  char name[16];
  if (!tmpcreate(name, ".db1")) return old.close(DataCreate);
  rc = fresh._create(name);
  if (rc != Ok) {
    removefile(std::string(name) + ".db1");
    return old.close(rc);
  }
  keepmode(std::string(base) + ".db1", stradd(fresh.base(), ".db1"));
  // The whole file is written before it is used; one sync at the end of the
  // copy does what a sync per header write and record would.
  fresh.buffer_.defersync(true);
  if (fresh.header().read(old.buffer_) != 0) return abandoncopy(fresh, old, BadData);
  return Ok;
}

namespace {

// Writes the new header, fills the new file through copy (which writes its
// records from the first on and says how many), closes both and moves the
// new file onto the old one's name.
template <class Copy>
ErrorCode finishcopy(DataFile& fresh, DataFile& old, DataFile::Stamp stamp, const Copy& copy) {
  Header& h = fresh.header();
  ErrorCode rc = Ok;
  if (stamp == DataFile::Stamp::Bump) h.stamp = old.header().stamp + 1;
  h.lengths();
  if (fresh.writeheader() != 0) rc = WriteFailed;
  int32_t written = 0;
  if (rc == Ok) rc = copy(&written);
  if (rc == Ok) rc = settle(fresh, written);
  if (rc == Ok && fresh.sync() != Ok) rc = WriteFailed;
  if (rc != Ok) return abandoncopy(fresh, old, rc);

  std::string newbase = fresh.base();
  std::string oldbase = old.base();
  // The copy is on disk (synced above) and the old file was only read.
  (void)fresh.close();
  (void)old.close();
  if (!swapfiles(newbase.c_str(), oldbase.c_str(), TableFile::Data)) {
    removefile(newbase + ".db1");
    return DataCreate;
  }
  return Ok;
}

}  // namespace

ErrorCode DataFile::epilogue(DataFile& fresh, DataFile& old, CopyCallback callback, void* cookie,
                             Stamp stamp, Progress* progress) {
  // The callback writes record i of the scan as record i of the new file.
  return finishcopy(fresh, old, stamp, [&](int32_t* written) {
    Visit v{callback, cookie};
    Rlist cursor(&old);
    if (cursor.scan(visit, &v, progress) != 0) return WriteFailed;
    *written = v.visited;
    return v.visited != old.header().nrecs ? BadData : Ok;
  });
}

// A rebuild that would run out of room half-way is refused before it
// writes anything; one that meets a full disk all the same says so.
ErrorCode DataFile::pack(const char* base, Progress* progress) {
  if (roomlacking(base) > 0) return DiskFull;
  return writeresult(packcopy(base, progress));
}

ErrorCode DataFile::packcopy(const char* base, Progress* progress) {
  DataFile fresh, old;
  ErrorCode rc = opencopy(base, fresh, old);
  if (rc != Ok) return rc;
  Header& h = fresh.header();
  const Header& o = old.header();
  h.nrecs = o.nrecs - o.ndeleted;
  h.serial = o.serial;
  h.ndeleted = 0;
  h.created = o.created;
  h.stamp = 0;  // the epilogue raises the old one
  rc = copyhdrrec(fresh, old, nullptr);
  if (rc != Ok) return abandoncopy(fresh, old, rc);
  return finishcopy(fresh, old, Stamp::Bump, [&](int32_t* written) {
    return copylive(old, fresh, progress, written);
  });
}

namespace {
size_t sortbudget = EntrySorter::kDefaultBudget;
}  // namespace

void setreindexbudget(size_t bytes) { sortbudget = bytes; }

ErrorCode DataFile::reindex(const char* base, Progress* progress) {
  if (roomlacking(base) > 0) return DiskFull;
  return writeresult(reindexcopy(base, progress));
}

ErrorCode DataFile::reindexcopy(const char* base, Progress* progress) {
  DataFile table;
  // Writable when it may be: the deletion count may have to be put right.
  ErrorCode rc = table.opendata(base, {});
  if (rc == DataOpen) rc = table.opendata(base, {.readonly = true});
  if (rc != Ok) return rc;
  Header& h = table.header();
  if (h.ntags == 0) return table.close(Ok);
  if (!complete(table)) return table.close(BadData);

  char name[16];
  if (!tmpcreate(name, ".idx")) return table.close(IndexCreate);
  std::string path = std::string(name) + ".idx";
  {
    std::unique_ptr<Index> index(new (std::nothrow) Index(&table));
    chkalloc(index.get(), "DataFile::reindex");
    // Held exclusively, the store keeps its cached pages across inserts.
    if (index->createfile(path.c_str()) != Ok) {
      removefile(path);
      return table.close(IndexCreate);
    }
    std::string current = std::string(base) + ".idx";
    keepmode(present(current) ? current : std::string(base) + ".db1", path);
    // Every insert writes pages; the file is of no use until it is complete,
    // so it is forced to disk once, before the exchange.
    index->defersync(true);
    table.init_finfo_tinfo();
    if (index->create(static_cast<int32_t>(std::time(nullptr)), h.stamp,
                      h.effective_pagesize()) != 0)
      rc = WriteFailed;
    // The pages too need not reach the file before the end.
    if (rc == Ok && index->setwriteback(true) != 0) rc = WriteFailed;

    if (rc == Ok && progress != nullptr && progress->total == 0) {
      int64_t total = int64_t{h.nrecs} * h.ntags;
      progress->total = static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
    }
    // Each tree is built from its keys in order, every page written once;
    // the sort keeps to its memory budget whatever the table's size.
    int32_t live = h.nrecs - h.ndeleted;
    for (int t = 0; rc == Ok && t < h.ntags; ++t) {
      Btree& tree = index->tree(t);
      EntrySorter sorter(tree.comparator(), tree.keydescr(), kEntryDataLen, sortbudget);
      sorter.reserve(static_cast<size_t>(std::max(h.nrecs - h.ndeleted, 0)));
      Fill fill{&table, &sorter, t, std::vector<uint8_t>(table.tinfo()[t].keylen)};
      rc = eachrecord(table, progress,
                      [&](const uint8_t* record, int32_t recno) { return addkey(fill, record, recno); });
      if (rc == Ok) {
        rc = buildtree(tree, sorter);
      }
      live = fill.live;
    }
    // A delete cut short by a crash leaves a record marked deleted that the
    // header does not count yet (the index was marked out of date before
    // the mark was written): the records decide, and the header is put
    // right, on disk, before an index that relies on it can take its place.
    if (rc == Ok && h.nrecs - h.ndeleted != live) {
      h.ndeleted = h.nrecs - live;
      if (h.writehead(table.buffer_) != 0 || table.buffer_.sync() != 0) rc = WriteFailed;
    }
    if (rc == Ok && index->setstamp(h.stamp, CountChange::Set, live) != 0) rc = WriteFailed;
    if (rc == Ok && index->sync() != 0) rc = WriteFailed;
    if (index->close() != 0 && rc == Ok) rc = WriteFailed;
  }
  // What the rebuild changed in the table is on disk (synced above).
  (void)table.close();
  if (rc != Ok) {
    removefile(path);
    return rc;
  }
  if (!swapfiles(name, base, TableFile::Index)) {
    removefile(path);
    return IndexCreate;
  }
  return Ok;
}

}  // namespace quill
