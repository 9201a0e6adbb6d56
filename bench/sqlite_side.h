// The SQLite side of quillbench: the same workloads, written the way a
// program that owns its database would use SQLite.
//
// Databases (in the current directory): sq_albums.db for workloads 1 and
// 3-8, sq_bulk.db for workload 2. Schema:
//   album(code INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE,
//         tracks INTEGER NOT NULL)
//   album_name ON album(name), album_code ON album(code)
// SQLite has no natural text order (numbers by value, punctuation ignored),
// so the name index orders case-blind (NOCASE); scans and prefix seeks walk
// that index. With --sqlite-code-key, code is the INTEGER PRIMARY KEY
// instead (the table itself is the code index, one index fewer to keep).
//
// Every connection: prepared statements, locking_mode=EXCLUSIVE, the journal
// mode chosen (WAL by default: one fsync of the log per commit, the best
// SQLite offers for small durable transactions), synchronous=FULL, and a
// page cache of the same size as Quillstore's index page cache. The bulk
// workloads run in one transaction; the durable appends commit one by one.
#pragma once

#include <functional>
#include <string>

#include "bench/workload.h"

struct sqlite3;

namespace bench {

struct SqliteOptions {
  std::string journal = "wal";  // wal or delete
  bool codekey = false;         // code as INTEGER PRIMARY KEY
  int cache_kib = 4096;         // page cache, KiB
};

class SqliteSide : public Side {
 public:
  explicit SqliteSide(const SqliteOptions& options) : options_(options) {}

  const char* name() const override { return "SQLite"; }
  std::string settings() const override;

  BENCH_SIDE_OVERRIDES;

 private:
  SqliteOptions options_;
  std::string main_ = "sq_albums.db";
  std::string bulk_ = "sq_bulk.db";

  std::string make_db(const std::string& path, bool indexes) const;
  std::string opendb(const std::string& path, sqlite3** db) const;
  // Opens the database at path, runs the work on it and closes it, all on
  // the clock; out keeps the first error.
  void timed(const std::string& path, Outcome& out,
             const std::function<void(sqlite3*)>& work) const;
  Outcome appendall(const std::string& path, bool indexlast, const Dataset& d);
};

}  // namespace bench
