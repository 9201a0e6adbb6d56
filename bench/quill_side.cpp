#include "bench/quill_side.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/measure.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/errors.h"
#include "engine/index.h"
#include "engine/maintain.h"
#include "engine/multifile.h"
#include "engine/rlist.h"

namespace bench {

using quill::DataFile;
using quill::ErrorCode;
using quill::Ok;
using quill::Rlist;

namespace {

// Field and tag numbers of the benchmark table.
constexpr int kName = 0;
constexpr int kCode = 1;
constexpr int kTracks = 2;
constexpr int kNameTag = 0;
constexpr int kCodeTag = 1;

int g_warnings = 0;

// Passes every message on to stderr and counts the warnings, which the
// report prints: an engine warning during a run means something is off.
int counting_reporter(quill::ReportLevel level, const char* title, const char* text) {
  if (level == quill::ReportLevel::Warning) ++g_warnings;
  return quill::stderr_reporter(level, title, text);
}

std::string failed(const char* what, ErrorCode rc) {
  return std::string(what) + ": " + quill::errname(rc);
}

void remove_table(const std::string& base) {
  ::unlink((base + ".db1").c_str());
  ::unlink((base + ".idx").c_str());
}

// An empty table with the benchmark's fields and tags and an empty index,
// built the way every table of the system is built: create, then one
// structure change per field and per tag, then reindex.
std::string make_table(const std::string& base) {
  remove_table(base);
  const char* b = base.c_str();
  ErrorCode rc = DataFile::create(b, 0, 0);
  if (rc != Ok) return failed("DataFile::create", rc);

  const quill::FieldDescr fields[] = {{'C', 56, "Name"}, {'X', 4, "Code"}, {'L', 4, "Tracks"}};
  for (const quill::FieldDescr& f : fields) {
    rc = quill::insert_field(b, -1, f, quill::FieldGroup::Record);
    if (rc != Ok) return failed("insert_field", rc);
  }
  // Length 0 takes the whole field: the 56-byte name becomes a
  // variable-length natural-order text key; the code a 4-byte integer key.
  const struct {
    const char* name;
    int16_t field;
  } tags[] = {{"Name", kName}, {"Code", kCode}};
  for (const auto& t : tags) {
    quill::TagNode node;
    node.name = t.name;
    node.addcomp(quill::Component{t.field, 0, 0});
    rc = quill::insert_tag(b, -1, node);
    if (rc != Ok) return failed("insert_tag", rc);
  }
  rc = DataFile::reindex(b);
  if (rc != Ok) return failed("DataFile::reindex", rc);
  return {};
}

// Opens a table exclusively; with `deferred` every write of both files is
// synced once, at close.
ErrorCode openfor(DataFile& table, const std::string& base, bool deferred, int noindex = 0) {
  ErrorCode rc = table.open(base.c_str(), {.noindex = noindex != 0});
  if (rc != Ok) return rc;
  if (deferred) return table.defersync(true);
  return Ok;
}

// Forces what deferred syncs left waiting, so that a failing fdatasync is
// seen (close would sync as well but cannot report it), then closes.
std::string closefor(DataFile& table, bool deferred, Outcome& out) {
  std::string error;
  if (table.index()) {
    out.note += "index page reads " + std::to_string(table.index()->pagereads());
  }
  if (deferred && table.sync() != 0) error = "DataFile::sync failed";
  if (table.close() != Ok && error.empty()) error = "DataFile::close failed";
  return error;
}

const char* namefield(Rlist& c) { return reinterpret_cast<const char*>(c.field(kName).data()); }

// Appends albums, checking that each gets the next serial as its code.
// With `each`, every append is timed on its own.
void append_all(Rlist& c, const std::vector<Album>& albums, int32_t firstcode, Outcome& out,
                std::vector<double>* each = nullptr) {
  int32_t code = firstcode;
  for (const Album& a : albums) {
    Stopwatch one;
    c.field(kName).set(a.name.c_str());
    c.field(kTracks).set(static_cast<long>(a.tracks));
    ErrorCode rc = c.append();
    if (rc != Ok) {
      out.error = failed("Rlist::append", rc);
      return;
    }
    if (each) each->push_back(one.seconds());
    if (c.field(kCode).aslong() == code) ++out.found;
    else ++out.missed;
    ++code;
    ++out.done;
  }
}

// A prefix seek that found nothing. In natural order "Broken 3" begins
// "Broken 3" and "Broken 31" but sorts before "Broken 16", which does not
// begin with it; a descent guided by such an entry in an inner page can end
// beside the matches, and the walk after it stops at the first entry that
// does not continue the number. Those misses are told apart in the report.
void countmiss(const std::string& prefix, Outcome& out) {
  ++out.missed;
  if (endsindigit(prefix)) ++out.nummissed;
}

std::vector<uint8_t> textkey(const std::string& text) {
  std::vector<uint8_t> key(text.size() + 1, 0);  // the text, then one NUL
  std::memcpy(key.data(), text.data(), text.size());
  return key;
}

// The first name at or after the text in the name order.
ErrorCode seekprefix(Rlist& c, const std::string& text) {
  std::vector<uint8_t> key = textkey(text);
  return c.seek(key.data(), static_cast<int>(key.size()), quill::SeekMode::Prefix, quill::SeekWhich::First);
}

// Seeks the first name that begins with the prefix (letter case aside),
// counting the seek and whether it was found or missed; true when found.
bool seekcounted(Rlist& c, const std::string& prefix, Outcome& out) {
  const bool found = seekprefix(c, prefix) == Ok && startswith_nocase(namefield(c), prefix);
  ++out.done;
  if (found) ++out.found;
  else countmiss(prefix, out);
  return found;
}

ErrorCode seekcode(Rlist& c, int32_t code) {
  uint8_t key[4];
  quill::put4(key, code);
  return c.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::First);
}

// Live records as the header counts them, checked against the index's
// record count and against the entries of each tree, walked one by one;
// -1 when they disagree or the table does not open.
int64_t countlive(const std::string& base, std::string& error) {
  DataFile t;
  ErrorCode rc = t.open(base.c_str(), {.readonly = true});
  if (rc != Ok) {
    error = failed("DataFile::open after the workload", rc);
    return -1;
  }
  int64_t live = t.nlive();
  Rlist c(&t);
  for (int tag : {kNameTag, kCodeTag}) {
    (void)c.select(tag);  // a tag the bench table has
    int64_t entries = 0;
    for (rc = c.first(); rc == Ok; rc = c.skip(1)) ++entries;
    if (c.count() != live || entries != live) {
      error = "tag " + std::to_string(tag) + ": index count " + std::to_string(c.count()) +
              ", " + std::to_string(entries) + " entries, " + std::to_string(live) +
              " live records";
      return -1;
    }
  }
  return live;
}

}  // namespace

QuillSide::QuillSide() { quill::reporter = counting_reporter; }

int QuillSide::warnings() { return g_warnings; }

std::string QuillSide::settings() const {
  char buf[400];
  std::snprintf(buf, sizeof buf,
                "Quillstore: exclusive open, index page cache %d pages (about %d KiB); "
                "workloads 1, 2, 8 defer fdatasync to close, 7 syncs every write",
                quill::MultiFile::kDefaultCachePages,
                quill::MultiFile::kDefaultCachePages * quill::kDefaultPageSize / 1024);
  return buf;
}

int64_t QuillSide::mainsize() const {
  int64_t data = filesize(main_ + ".db1");
  int64_t index = filesize(main_ + ".idx");
  if (data < 0) return -1;
  return data + (index < 0 ? 0 : index);
}

namespace {

// The frame every workload shares: time from opening the table to closing
// it, with the work on one cursor in between and, for maintenance, a step
// after the table is closed. An error of the work wins over one of closing.
template <typename Work, typename After>
Outcome timed(const std::string& base, bool deferred, int noindex, Work work, After after) {
  Outcome out;
  Stopwatch clock;
  DataFile t;
  ErrorCode rc = openfor(t, base, deferred, noindex);
  if (rc != Ok) {
    out.error = failed(noindex ? "DataFile::open (noindex)" : "DataFile::open", rc);
    return out;
  }
  {
    Rlist c(&t);
    work(t, c, out);
  }
  std::string error = closefor(t, deferred, out);
  if (out.error.empty() && error.empty()) error = after();
  out.seconds = clock.seconds();
  if (out.error.empty()) out.error = error;
  return out;
}

std::string nothing() { return {}; }

// A new table filled with the albums, timed with the step after; then its
// live records are counted.
template <typename After>
Outcome filled(const std::string& base, int noindex, const std::vector<Album>& albums, After after) {
  Outcome out;
  out.error = make_table(base);
  if (!out.error.empty()) return out;
  out = timed(base, true, noindex, [&](DataFile& t, Rlist& c, Outcome& o) {
    append_all(c, albums, t.header().serial, o);
  }, after);
  if (out.error.empty()) out.live = countlive(base, out.error);
  return out;
}

}  // namespace

Outcome QuillSide::append(const Dataset& d) { return filled(main_, 0, d.albums, nothing); }

Outcome QuillSide::bulkload(const Dataset& d) {
  // Without its index the table takes appends in physical order only and
  // reports its index out of date until the reindex that follows.
  const Outcome out = filled(bulk_, 1, d.albums, [&] {
    ErrorCode rc = DataFile::reindex(bulk_.c_str());
    return rc == Ok ? std::string() : failed("DataFile::reindex", rc);
  });
  remove_table(bulk_);
  return out;
}

Outcome QuillSide::lookup(const Dataset& d) {
  return timed(main_, false, 0, [&](DataFile&, Rlist& c, Outcome& out) {
    (void)c.select(kCodeTag);  // a tag the bench table has
    for (int32_t code : d.lookups) {
      ErrorCode rc = seekcode(c, code);
      ++out.done;
      if (rc == Ok && c.field(kCode).aslong() == code) {
        ++out.found;
        out.sum += rowsum(code, namefield(c));
      } else {
        ++out.missed;
      }
    }
  }, nothing);
}

Outcome QuillSide::prefix(const Dataset& d) {
  return timed(main_, false, 0, [&](DataFile&, Rlist& c, Outcome& out) {
    (void)c.select(kNameTag);  // a tag the bench table has
    for (const std::string& p : d.prefixes) (void)seekcounted(c, p, out);
  }, nothing);
}

Outcome QuillSide::scan(const Dataset&) {
  return timed(main_, false, 0, [&](DataFile&, Rlist& c, Outcome& out) {
    (void)c.select(kNameTag);  // a tag the bench table has
    ErrorCode rc;
    for (rc = c.first(); rc == Ok; rc = c.skip(1)) {
      ++out.rows;
      out.sum += rowsum(c.field(kCode).aslong(), namefield(c));
    }
    if (rc != quill::TooFar && !(rc == quill::NoCurrentRecord && out.rows == 0))
      out.error = failed("Rlist::skip", rc);
    out.done = out.rows;
  }, nothing);
}

Outcome QuillSide::window(const Dataset& d) {
  return timed(main_, false, 0, [&](DataFile&, Rlist& c, Outcome& out) {
    (void)c.select(kNameTag);  // a tag the bench table has
    for (const std::string& p : d.windows) {
      if (!seekcounted(c, p, out)) continue;
      ++out.rows;
      out.sum += rowsum(c.field(kCode).aslong(), namefield(c));
      for (int k = 0; k < kWindowRows; ++k) {
        if (c.skip(1) != Ok) {
          ++out.shortfall;
          break;
        }
        ++out.rows;
      }
    }
  }, nothing);
}

Outcome QuillSide::durable(const Dataset& d) {
  Outcome out = timed(main_, false, 0, [&](DataFile& t, Rlist& c, Outcome& o) {
    std::vector<double> each;
    append_all(c, d.durable, t.header().serial, o, &each);
    latencies(each, o);
  }, nothing);
  if (out.error.empty()) out.live = countlive(main_, out.error);
  return out;
}

Outcome QuillSide::pack(const Dataset& d) {
  Outcome out = timed(main_, true, 0, [&](DataFile&, Rlist& c, Outcome& o) {
    (void)c.select(kCodeTag);  // a tag the bench table has
    for (int32_t code : d.deletions) {
      ErrorCode rc = seekcode(c, code);
      ++o.done;
      if (rc != Ok) {
        ++o.missed;
        continue;
      }
      rc = c.del();
      if (rc != Ok) {
        o.error = failed("Rlist::del", rc);
        break;
      }
      ++o.found;
    }
  }, [&] {
    ErrorCode rc = DataFile::pack(main_.c_str());
    if (rc != Ok) return failed("DataFile::pack", rc);
    rc = DataFile::reindex(main_.c_str());
    return rc == Ok ? std::string() : failed("DataFile::reindex", rc);
  });
  if (out.error.empty()) out.live = countlive(main_, out.error);
  return out;
}

}  // namespace bench
