// quillbench: runs the same workloads on Quillstore and on SQLite in one
// process, on the same generated data, and prints one line per workload
// with both times, their ratio and the peak resident set of each run.
// After each workload the two engines' results are compared and any
// disagreement is printed as a WARNING line.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "bench/catalogue.h"
#include "bench/dataset.h"
#include "bench/measure.h"
#include "bench/quill_side.h"
#include "bench/sqlite_side.h"
#include "bench/workload.h"
#include "engine/errors.h"
#include "engine/header.h"
#include "engine/multifile.h"

namespace {

using namespace bench;

struct Options {
  int32_t n = 100000;
  uint64_t seed = 1;
  std::string dir;
  std::set<int> only;
  std::vector<int> catalogue;  // catalogue workloads chosen with --only
  int32_t albums = 10000;      // albums of the generated catalogue
  SqliteOptions sqlite;
  bool keep = false;
};

void usage(std::FILE* to) {
  std::fprintf(to,
               "usage: quillbench [--n N] [--seed S] [--dir DIR] [--only WORKLOAD[,WORKLOAD...]]\n"
               "                  [--journal wal|delete] [--sqlite-code-key] [--albums A] [--keep]\n\n"
               "Runs the same workloads on Quillstore and on SQLite and prints both times.\n"
               "  --n N              records (default 100000; 10000, 100000, 1000000 are usual)\n"
               "  --seed S           seed of the generated data (default 1)\n"
               "  --dir DIR          where the tables go (default: a new directory under /tmp,\n"
               "                     removed at the end unless --keep)\n"
               "  --only W           run only these workloads (names or numbers); the table they\n"
               "                     read is built first, untimed\n"
               "  --journal MODE     SQLite journal mode: wal (default) or delete\n"
               "  --sqlite-code-key  make code SQLite's INTEGER PRIMARY KEY instead of indexing it\n"
               "  --albums A         albums of the catalogue workloads (default 10000)\n"
               "  --keep             keep the tables afterwards\n\nworkloads:\n");
  for (int id = 1; id <= kWorkloads; ++id)
    std::fprintf(to, "  %d %-9s %s\n", id, workload_info(id).name, workload_info(id).title);
  std::fprintf(to, "catalogue workloads (by letter or name): a songs, b xref, c typeahead, "
                   "d import\n");
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "quillbench: %s needs a value\n", a.c_str());
        return false;
      }
      out = argv[++i];
      return true;
    };
    std::string v;
    // A number from 10 to most.
    auto count = [&](long most, int32_t& out) {
      if (!value(v)) return false;
      char* end = nullptr;
      long n = std::strtol(v.c_str(), &end, 10);
      if (*end != '\0' || n < 10 || n > most) {
        std::fprintf(stderr, "quillbench: %s wants a number from 10 to %ld\n", a.c_str(), most);
        return false;
      }
      out = static_cast<int32_t>(n);
      return true;
    };
    if (a == "--help" || a == "-h") {
      usage(stdout);
      std::exit(0);
    } else if (a == "--n") {
      if (!count(10000000, o.n)) return false;
    } else if (a == "--seed") {
      if (!value(v)) return false;
      o.seed = std::strtoull(v.c_str(), nullptr, 10);
    } else if (a == "--dir") {
      if (!value(v)) return false;
      o.dir = v;
    } else if (a == "--only") {
      if (!value(v)) return false;
      size_t start = 0;
      while (start <= v.size()) {
        size_t comma = v.find(',', start);
        std::string item = v.substr(start, comma == std::string::npos ? std::string::npos
                                                                        : comma - start);
        int id = workload_id(item);
        int cat = id == 0 ? catalogue_workload(item) : -1;
        if (id == 0 && cat < 0) {
          std::fprintf(stderr, "quillbench: unknown workload '%s'\n", item.c_str());
          return false;
        }
        if (id != 0) o.only.insert(id);
        else o.catalogue.push_back(cat);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else if (a == "--journal") {
      if (!value(v)) return false;
      if (v != "wal" && v != "delete") {
        std::fprintf(stderr, "quillbench: --journal is wal or delete\n");
        return false;
      }
      o.sqlite.journal = v;
    } else if (a == "--sqlite-code-key") {
      o.sqlite.codekey = true;
    } else if (a == "--albums") {
      if (!count(1000000, o.albums)) return false;
    } else if (a == "--keep") {
      o.keep = true;
    } else {
      std::fprintf(stderr, "quillbench: unknown argument '%s'\n", a.c_str());
      usage(stderr);
      return false;
    }
  }
  return true;
}

// The directory of the tables becomes the current directory: Quillstore's
// maintenance builds its new files under temporary names in the current
// directory and renames them onto the table, which needs one file system.
bool enter_dir(Options& o, bool& made) {
  made = false;
  if (o.dir.empty()) {
    char tmpl[] = "/tmp/quillbench.XXXXXX";
    if (!::mkdtemp(tmpl)) {
      std::perror("quillbench: mkdtemp");
      return false;
    }
    o.dir = tmpl;
    made = true;
  } else if (::mkdir(o.dir.c_str(), 0777) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "quillbench: cannot make %s: %s\n", o.dir.c_str(), std::strerror(errno));
    return false;
  }
  if (::chdir(o.dir.c_str()) != 0) {
    std::fprintf(stderr, "quillbench: cannot enter %s: %s\n", o.dir.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}

void remove_files() {
  for (const char* f : {"qs_albums.db1", "qs_albums.idx", "qs_bulk.db1", "qs_bulk.idx",
                        "sq_albums.db", "sq_albums.db-wal", "sq_albums.db-shm",
                        "sq_albums.db-journal", "sq_bulk.db", "sq_bulk.db-wal", "sq_bulk.db-shm",
                        "sq_bulk.db-journal"})
    ::unlink(f);
}

std::string fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char* format, ...) {
  char buf[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  return buf;
}

// Compares what the two engines saw; every disagreement is one warning.
std::vector<std::string> crosscheck(int id, const Dataset& d, const Outcome& q, const Outcome& s,
                                    int64_t expected_live) {
  std::vector<std::string> w;
  if (!q.error.empty()) w.push_back("Quillstore failed: " + q.error);
  if (!s.error.empty()) w.push_back("SQLite failed: " + s.error);
  if (!w.empty()) return w;

  auto same = [&](const char* what, int64_t a, int64_t b) {
    if (a != b) w.push_back(fmt("%s differ: Quillstore %" PRId64 ", SQLite %" PRId64, what, a, b));
  };
  auto expect = [&](const char* what, int64_t a, int64_t b, int64_t want) {
    if (a != want || b != want)
      w.push_back(fmt("%s: Quillstore %" PRId64 ", SQLite %" PRId64 ", expected %" PRId64, what, a,
                      b, want));
  };
  // Every prefix comes from an existing name, so every seek should land on
  // a name that begins with it. Quillstore's natural order may miss prefixes
  // ending in a number (see countmiss in quill_side.cpp); those are counted
  // and shown in the details, not warned about.
  auto expect_seeks = [&](const char* what, int64_t want) {
    if (q.found + q.nummissed != want || s.found != want)
      w.push_back(fmt("%s: Quillstore %" PRId64 " (and %" PRId64
                      " ending in a number missed), SQLite %" PRId64 ", expected %" PRId64,
                      what, q.found, q.nummissed, s.found, want));
  };
  switch (id) {
    case W_Append:
    case W_Bulkload:
    case W_Durable: {
      int64_t want = id == W_Durable ? kDurableAppends : d.n;
      expect("records appended", q.done, s.done, want);
      if (q.missed != 0) w.push_back(fmt("Quillstore gave %" PRId64 " records an unexpected code",
                                         q.missed));
      expect("live records afterwards", q.live, s.live, expected_live);
      break;
    }
    case W_Lookup:
      expect("lookups that found their record", q.found, s.found,
             static_cast<int64_t>(d.lookups.size()));
      if (q.sum != s.sum) w.push_back("the records found by code differ (checksums)");
      break;
    case W_Prefix:
      expect_seeks("prefix seeks that landed on a matching name",
                   static_cast<int64_t>(d.prefixes.size()));
      break;
    case W_Scan:
      expect("rows in the full scan", q.rows, s.rows, expected_live);
      if (q.sum != s.sum) w.push_back("the rows of the full scan differ (checksums)");
      break;
    case W_Window:
      expect_seeks("windows whose seek landed on a matching name",
                   static_cast<int64_t>(d.windows.size()));
      // The two name orders differ, so windows near the end of the order may
      // be cut short on one side only; numbered misses read no window.
      if (std::llabs(q.rows - s.rows) >
          kWindowRows * (q.shortfall + s.shortfall) + (kWindowRows + 1) * q.nummissed)
        same("rows read in windows", q.rows, s.rows);
      break;
    case W_Pack:
      expect("records deleted", q.found, s.found, static_cast<int64_t>(d.deletions.size()));
      same("live records after the pack", q.live, s.live);
      if (q.live != expected_live)
        w.push_back(fmt("live records after the pack: %" PRId64 ", expected %" PRId64, q.live,
                        expected_live));
      break;
    default:
      break;
  }
  return w;
}

std::string detail(int id, const Outcome& o) {
  std::string text;
  switch (id) {
    case W_Lookup:
    case W_Prefix:
      text = fmt("%" PRId64 "/%" PRId64 " found", o.found, o.done);
      if (o.nummissed > 0)
        text += fmt(" (missed %" PRId64 " prefixes ending in a number)", o.nummissed);
      break;
    case W_Scan:
      text = fmt("%" PRId64 " rows", o.rows);
      break;
    case W_Window:
      text = fmt("%" PRId64 " windows, %" PRId64 " rows, %" PRId64 " cut short", o.found, o.rows,
                 o.shortfall);
      if (o.nummissed > 0)
        text += fmt(" (missed %" PRId64 " prefixes ending in a number)", o.nummissed);
      break;
    case W_Pack:
      text = fmt("%" PRId64 " deleted, %" PRId64 " live", o.found, o.live);
      break;
    default:
      text = fmt("%" PRId64 " appended, %" PRId64 " live", o.done, o.live);
      break;
  }
  if (o.median_ms >= 0)
    text += fmt(", per append median %.3f ms, 99th percentile %.3f ms", o.median_ms, o.p99_ms);
  if (!o.note.empty()) text += ", " + o.note;
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  quill::install_alloc_check();
  Options o;
  if (!parse(argc, argv, o)) return 2;
  o.sqlite.cache_kib = quill::MultiFile::kDefaultCachePages * quill::kDefaultPageSize / 1024;
  bool madedir = false;
  if (!enter_dir(o, madedir)) return 1;
  remove_files();

  Stopwatch gen;
  Dataset d = Dataset::generate(o.n, o.seed);
  double gentime = gen.seconds();

  QuillSide quillside;
  SqliteSide sqliteside(o.sqlite);
  Side* sides[2] = {&quillside, &sqliteside};

  std::printf("quillbench: n=%d seed=%" PRIu64 " dir=%s\n", o.n, o.seed, o.dir.c_str());
  std::printf("%s\n%s\n", quillside.settings().c_str(), sqliteside.settings().c_str());
  std::printf("Each time runs from opening the database to closing it (deferred syncs and the\n"
              "WAL checkpoint at close included); schema creation and checks are not timed.\n");
  std::printf("data: %d names (%.1f MiB of text) generated in %.2f s; resident %.1f MiB\n", o.n,
              mib(static_cast<int64_t>(d.textbytes())), gentime, rss_mib());
  bool resettable = reset_peak();
  if (!resettable)
    std::printf("note: the kernel does not reset the peak resident set; peaks are cumulative\n");
  std::printf("\n");

  std::set<int> run = o.only;
  const bool everything = run.empty() && o.catalogue.empty();
  if (everything) {
    for (int id = 1; id <= kWorkloads; ++id) run.insert(id);
    for (int id = 0; id < kCatalogueWorkloads; ++id) o.catalogue.push_back(id);
  }
  // Workloads 3-8 read the table that workload 1 fills.
  bool setup = !run.empty() && !run.count(W_Append) && *run.rbegin() >= W_Lookup;
  if (setup) {
    std::printf("(setting up: workload 1 untimed)\n");
    for (Side* side : sides) {
      Outcome out = side->append(d);
      if (!out.error.empty()) {
        std::fprintf(stderr, "quillbench: %s setup failed: %s\n", side->name(), out.error.c_str());
        return 1;
      }
    }
  }

  if (!run.empty()) print_table_head();
  std::vector<ReportRow> rows;
  int64_t live = d.n;
  int warnings = 0;
  int64_t size_after_append[2] = {-1, -1};
  for (int id : run) {
    ReportRow row;
    row.info = &workload_info(id);
    int enginewarnings = QuillSide::warnings();
    Outcome* outs[2] = {&row.quill, &row.sqlite};
    for (int k = 0; k < 2; ++k) {
      settle_disk();
      reset_peak();
      *outs[k] = sides[k]->run(id, d);
      outs[k]->ran = true;
      outs[k]->peak_mib = peak_mib();
    }
    int64_t expected = live;
    if (id == W_Durable) expected = live + kDurableAppends;
    if (id == W_Pack) expected = live - static_cast<int64_t>(d.deletions.size());
    if (id == W_Bulkload) expected = d.n;
    row.warnings = crosscheck(id, d, row.quill, row.sqlite, expected);
    if (id != W_Bulkload) live = expected;
    if (QuillSide::warnings() != enginewarnings)
      row.warnings.push_back(fmt("Quillstore reported %d warning(s) during this workload",
                                 QuillSide::warnings() - enginewarnings));
    print_table_row(row);
    for (const std::string& w : row.warnings) std::printf("  WARNING: %s\n", w.c_str());
    warnings += static_cast<int>(row.warnings.size());
    if (id == W_Append)
      for (int k = 0; k < 2; ++k) size_after_append[k] = sides[k]->mainsize();
    rows.push_back(std::move(row));
  }

  if (!rows.empty()) std::printf("\ndetails:\n");
  for (const ReportRow& row : rows) {
    std::printf("  %d %s\n", row.info->id, row.info->name);
    std::printf("      Quillstore: %s\n", detail(row.info->id, row.quill).c_str());
    std::printf("      SQLite:     %s\n", detail(row.info->id, row.sqlite).c_str());
  }
  if (size_after_append[0] >= 0)
    std::printf("  files after workload 1: Quillstore %.1f MiB (.db1 + .idx), SQLite %.1f MiB\n",
                mib(size_after_append[0]), mib(size_after_append[1]));
  if (!rows.empty())
    std::printf("  files at the end: Quillstore %.1f MiB, SQLite %.1f MiB\n",
                mib(quillside.mainsize()), mib(sqliteside.mainsize()));
  if (!o.catalogue.empty()) warnings += run_catalogue(o.albums, o.seed, o.catalogue, o.sqlite);
  std::printf("%s\n", warnings == 0 ? "cross-checks: the engines agree"
                                    : "cross-checks: DISAGREEMENTS, see the WARNING lines");

  if (!o.keep) {
    remove_files();
    remove_catalogue_files();
    if (madedir && ::chdir("/") == 0) ::rmdir(o.dir.c_str());
  }
  return warnings == 0 ? 0 : 1;
}
