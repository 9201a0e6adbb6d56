// The catalogue workloads on Quillstore, through the catalogue's own
// functions: DB_Create makes the five tables, the command line's import
// (importplan.h, over DB_InsertRecord and DB_AddLink) fills them, and the
// queries are the lists the user interface shows (Relation, FullTable).
//
// As in the engine's bulk workloads, the import defers every table's
// fdatasync to its close: one durable point at the end, like SQLite's one
// transaction.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/catalogue.h"
#include "bench/measure.h"
#include "catalogue/browse.h"
#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"
#include "tools/cli/albumcsv.h"
#include "tools/cli/importplan.h"

namespace bench {

namespace {

using namespace tracklore;
using quill::Ok;

constexpr const char* kDir = "qs_catalogue";

// Creation asks for the main file; the benchmark's answer is fixed.
class BenchHost : public Host {
 public:
  Answer message(const char*, const char*, Buttons buttons, Icon) override {
    return buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
  }
  bool openfile(const FileRequest&, std::string*) override { return false; }
  bool savefile(const FileRequest&, std::string* path) override {
    *path = "maindb.db1";
    return true;
  }
  void waitcursor(bool) override {}
  void drain() override {}
};

// The catalogue's directory is the current one while a workload runs.
class InCatalogue {
 public:
  InCatalogue() { ok_ = ::chdir(kDir) == 0; }
  ~InCatalogue() {
    if (ok_ && ::chdir("..") != 0) std::perror("quillbench: chdir ..");
  }
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

std::string makecatalogue() {
  remove_quill_catalogue();
  if (::mkdir(kDir, 0777) != 0) return std::string("mkdir: ") + std::strerror(errno);
  InCatalogue in;
  if (!in.ok()) return "cannot enter the catalogue's directory";
  static BenchHost host;
  DB_SetHost(&host);
  const int rc = DB_Create();
  DB_Close();
  DB_SetHost(nullptr);
  return rc == 0 ? std::string() : "DB_Create failed";
}

// Times the work between opening the database and closing it.
template <typename Work>
CatalogueOutcome timed(bool write, Work work) {
  CatalogueOutcome out;
  InCatalogue in;
  if (!in.ok()) {
    out.base.error = "cannot enter the catalogue's directory";
    return out;
  }
  Stopwatch clock;
  if (DB_Open({.readonly = !write}) != 0) {
    out.base.error = "DB_Open failed";
    return out;
  }
  if (write)
    for (int t = 0; t < kAllTables; ++t)
      if (DB_Table(t).isopen() && DB_Table(t).defersync(true) != quill::Ok) {
        out.base.error = "DataFile::defersync failed";
        return out;
      }
  work(out);
  for (int t = 0; write && t < kAllTables; ++t)
    if (DB_Table(t).isopen() && DB_Table(t).sync() != 0 && out.base.error.empty())
      out.base.error = "DataFile::sync failed";
  DB_Close();
  out.base.seconds = clock.seconds();
  return out;
}

// The Name field as a text, bounded by the field: read in place, as the
// SQLite side reads its column's text, unless it fills the field and has
// no NUL to end it (then copied and ended here).
class NameText {
 public:
  const char* of(quill::Rlist& cursor) {
    const quill::Field& f = cursor.field(F_Name);
    const char* stored = reinterpret_cast<const char*>(f.data());
    const size_t n = strnlen(stored, std::min(sizeof text_ - 1, static_cast<size_t>(f.length())));
    if (n < static_cast<size_t>(f.length()) && n < sizeof text_ - 1) return stored;
    std::memcpy(text_, stored, n);
    text_[n] = '\0';
    return text_;
  }

 private:
  char text_[64];  // the longest Name field (songs') is 61
};

}  // namespace

CatalogueOutcome QuillCatalogue::import(const std::string& csv) {
  CatalogueOutcome out;
  out.base.error = makecatalogue();
  if (!out.base.error.empty()) return out;
  const std::string path = "../" + csv;
  out = timed(true, [&](CatalogueOutcome& o) {
    std::FILE* in = tracklore::cli::openinput(path);
    tracklore::cli::Plan plan;
    const bool planned = in != nullptr && tracklore::cli::makeplan(in, &plan);
    if (in != nullptr) std::fclose(in);
    if (!planned) {
      o.base.error = "the import file was refused";
      return;
    }
    tracklore::cli::ImportTally tally;
    tracklore::cli::ImportStop stop;
    if (tracklore::cli::importplan(plan, &tally, &stop) != Ok)
      o.base.error = std::string("import stopped: ") + stop.step + " failed";
    o.base.done = tally.albums;
  });
  if (!out.base.error.empty()) return out;
  InCatalogue in;
  if (DB_Open({.readonly = true}) != 0) {
    out.base.error = "DB_Open after the import failed";
    return out;
  }
  out.albums = DB_Table(TitleTable).nlive();
  out.artists = DB_Table(ArtistTable).nlive();
  out.songs = DB_Table(SongTable).nlive();
  out.artistrows = DB_Table(ArtistRows).nlive();
  out.songrows = DB_Table(SongRows).nlive();
  int64_t bytes = 0;
  for (int t = 0; t < kAllTables; ++t)
    for (const char* ext : {".db1", ".idx"})
      bytes += std::max<int64_t>(0, filesize(std::string(DB_TableName(t)) + ext));
  out.base.note = "files " + std::to_string(bytes / 1024) + " KiB";
  DB_Close();
  return out;
}

// One relation per code, walked from first to last: the linked records'
// codes and names into the checksum, weighed by position where the list
// has an order of its own (an album's songs).
CatalogueOutcome QuillCatalogue::lists(const std::vector<int32_t>& codes, bool bytitle) {
  return timed(false, [&](CatalogueOutcome& o) {
    NameText name;
    for (int32_t code : codes) {
      std::unique_ptr<Relation> list =
          bytitle ? DB_GetArticleAttributes(1, code) : DB_GetArticlesFromAttribute(1, code);
      uint64_t pos = 0;
      for (ErrorCode rc = list->first(); rc == Ok; rc = list->skip(1)) {
        quill::Rlist& other = list->cursor();
        o.base.sum += rowsum(other.field(F_Code).aslong(), name.of(other)) *
                      (bytitle ? 2 * pos + 1 : 1);
        ++pos;
        ++o.base.rows;
      }
    }
  });
}

CatalogueOutcome QuillCatalogue::songlists(const Catalogue& c) { return lists(c.songlists, true); }

CatalogueOutcome QuillCatalogue::xrefs(const Catalogue& c) { return lists(c.xrefs, false); }

CatalogueOutcome QuillCatalogue::typeahead(const Catalogue& c) {
  return timed(false, [&](CatalogueOutcome& o) {
    FullTable artists(DB_Table(ArtistTable));
    if (artists.select(T_Name) != Ok) {
      o.base.error = "select Name failed";
      return;
    }
    NameText name;
    for (const std::string& typed : c.typeahead) {
      std::vector<uint8_t> key(typed.begin(), typed.end());
      key.push_back(0);
      if (artists.seek(key.data(), static_cast<int>(key.size()), quill::SeekMode::Prefix,
                       quill::SeekWhich::First) != Ok)
        continue;
      const char* shown = name.of(artists.cursor());
      if (startswith_nocase(shown, typed)) ++o.base.found;
      o.base.sum += std::strlen(shown);
      ++o.base.rows;
      for (int k = 0; k < kTypeaheadRows; ++k) {
        if (artists.skip(1) != Ok) {
          ++o.base.shortfall;
          break;
        }
        o.base.sum += std::strlen(name.of(artists.cursor()));
        ++o.base.rows;
      }
    }
  });
}

}  // namespace bench
