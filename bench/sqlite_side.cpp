#include "bench/sqlite_side.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "bench/measure.h"
#include "bench/sqlite_util.h"

namespace bench {

namespace {

// With `each`, every insert is timed on its own.
void append_all(Stmt& insert, const std::vector<Album>& albums, int64_t firstcode, Outcome& out,
                std::vector<double>* each = nullptr) {
  int64_t code = firstcode;
  for (const Album& a : albums) {
    Stopwatch one;
    insert.bind(1, code);
    insert.bind(2, a.name);
    insert.bind(3, a.tracks);
    int rc = insert.step();
    insert.reset();
    if (rc != SQLITE_DONE) {
      out.error = "INSERT: " + insert.errmsg();
      return;
    }
    if (each) each->push_back(one.seconds());
    ++out.found;
    ++out.done;
    ++code;
  }
}

}  // namespace

std::string SqliteSide::settings() const {
  char buf[600];
  std::snprintf(buf, sizeof buf,
                "SQLite %s: page_size=4096, cache_size=-%d (%d KiB), journal_mode=%s, "
                "synchronous=FULL, locking_mode=EXCLUSIVE, temp_store=default, prepared "
                "statements;\n  code %s; name index COLLATE NOCASE (SQLite has no natural text "
                "order: scans and prefix seeks walk the case-blind index order)",
                sqlite3_libversion(), options_.cache_kib, options_.cache_kib,
                options_.journal.c_str(),
                options_.codekey ? "is the INTEGER PRIMARY KEY" : "has an index of its own");
  return buf;
}

int64_t SqliteSide::mainsize() const {
  int64_t size = filesize(main_);
  if (size < 0) return -1;
  for (const char* suffix : {"-wal", "-journal"}) {
    int64_t extra = filesize(main_ + suffix);
    if (extra > 0) size += extra;
  }
  return size;
}

std::string SqliteSide::make_db(const std::string& path, bool indexes) const {
  remove_db(path);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    std::string error = std::string("sqlite3_open ") + path + ": " + sqlite3_errmsg(db);
    sqlite3_close(db);
    return error;
  }
  std::string error = exec(db, "PRAGMA page_size=4096");
  std::string journal = "PRAGMA journal_mode=" + options_.journal;
  if (error.empty()) error = exec(db, journal.c_str());
  const char* table =
      options_.codekey
          ? "CREATE TABLE album(code INTEGER PRIMARY KEY, name TEXT NOT NULL COLLATE NOCASE, "
            "tracks INTEGER NOT NULL)"
          : "CREATE TABLE album(code INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE, "
            "tracks INTEGER NOT NULL)";
  if (error.empty()) error = exec(db, table);
  if (error.empty() && indexes) error = exec(db, "CREATE INDEX album_name ON album(name)");
  if (error.empty() && indexes && !options_.codekey)
    error = exec(db, "CREATE INDEX album_code ON album(code)");
  std::string closing = closedb(db);
  return error.empty() ? closing : error;
}

std::string SqliteSide::opendb(const std::string& path, sqlite3** db) const {
  return opensqlite(path, options_, db);
}

void SqliteSide::timed(const std::string& path, Outcome& out,
                       const std::function<void(sqlite3*)>& work) const {
  Stopwatch clock;
  sqlite3* db = nullptr;
  out.error = opendb(path, &db);
  if (!out.error.empty()) return;
  work(db);
  std::string error = closedb(db);
  out.seconds = clock.seconds();
  if (out.error.empty()) out.error = error;
}

namespace {

// Live rows as the table and each index count them; -1 when they disagree.
int64_t countlive(const std::string& path, bool codekey, std::string& error) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    error = std::string("sqlite3_open ") + path + ": " + sqlite3_errmsg(db);
    sqlite3_close(db);
    return -1;
  }
  int64_t live = std::atoll(queryvalue(db, "SELECT count(*) FROM album NOT INDEXED").c_str());
  std::vector<const char*> checks = {"SELECT count(*) FROM album INDEXED BY album_name"};
  if (!codekey) checks.push_back("SELECT count(*) FROM album INDEXED BY album_code");
  for (const char* sql : checks) {
    int64_t n = std::atoll(queryvalue(db, sql).c_str());
    if (n != live) {
      error = std::string(sql) + " gives " + std::to_string(n) + ", the table " +
              std::to_string(live);
      live = -1;
      break;
    }
  }
  sqlite3_close(db);
  return live;
}

}  // namespace

// Every album appended in one transaction to a new database at path, its
// indexes made before the appends or, with indexlast, after them.
Outcome SqliteSide::appendall(const std::string& path, bool indexlast, const Dataset& d) {
  Outcome out;
  out.error = make_db(path, !indexlast);
  if (!out.error.empty()) return out;

  timed(path, out, [&](sqlite3* db) {
    Stmt insert(db, "INSERT INTO album(code, name, tracks) VALUES(?1, ?2, ?3)", out.error);
    if (out.error.empty()) out.error = exec(db, "BEGIN");
    if (out.error.empty()) append_all(insert, d.albums, 0, out);
    if (out.error.empty() && indexlast)
      out.error = exec(db, "CREATE INDEX album_name ON album(name)");
    if (out.error.empty() && indexlast && !options_.codekey)
      out.error = exec(db, "CREATE INDEX album_code ON album(code)");
    if (out.error.empty()) out.error = exec(db, "COMMIT");
  });
  if (out.error.empty()) out.live = countlive(path, options_.codekey, out.error);
  return out;
}

Outcome SqliteSide::append(const Dataset& d) { return appendall(main_, false, d); }

Outcome SqliteSide::bulkload(const Dataset& d) {
  Outcome out = appendall(bulk_, true, d);
  remove_db(bulk_);
  return out;
}

Outcome SqliteSide::lookup(const Dataset& d) {
  Outcome out;
  timed(main_, out, [&](sqlite3* db) {
    Stmt find(db,
              options_.codekey ? "SELECT code, name FROM album WHERE code = ?1"
                               : "SELECT code, name FROM album INDEXED BY album_code "
                                 "WHERE code = ?1",
              out.error);
    for (size_t i = 0; out.error.empty() && i < d.lookups.size(); ++i) {
      int32_t code = d.lookups[i];
      find.bind(1, code);
      ++out.done;
      if (find.step() == SQLITE_ROW && find.integer(0) == code) {
        ++out.found;
        out.sum += rowsum(code, find.text(1));
      } else {
        ++out.missed;
      }
      find.reset();
    }
  });
  return out;
}

Outcome SqliteSide::prefix(const Dataset& d) {
  Outcome out;
  timed(main_, out, [&](sqlite3* db) {
    // A seek: the first row at or after the prefix in index order, which
    // then has to begin with it.
    Stmt seek(db,
              "SELECT code, name FROM album INDEXED BY album_name WHERE name >= ?1 "
              "ORDER BY name LIMIT 1",
              out.error);
    for (size_t i = 0; out.error.empty() && i < d.prefixes.size(); ++i) {
      const std::string& p = d.prefixes[i];
      seek.bind(1, p);
      ++out.done;
      if (seek.step() == SQLITE_ROW && startswith_nocase(seek.text(1), p)) {
        ++out.found;
      } else {
        ++out.missed;
        if (endsindigit(p)) ++out.nummissed;
      }
      seek.reset();
    }
  });
  return out;
}

Outcome SqliteSide::scan(const Dataset&) {
  Outcome out;
  timed(main_, out, [&](sqlite3* db) {
    Stmt all(db, "SELECT code, name FROM album INDEXED BY album_name ORDER BY name", out.error);
    int rc = SQLITE_DONE;
    if (out.error.empty()) {
      while ((rc = all.step()) == SQLITE_ROW) {
        ++out.rows;
        out.sum += rowsum(all.integer(0), all.text(1));
      }
      if (rc != SQLITE_DONE) out.error = "SELECT: " + all.errmsg();
    }
    out.done = out.rows;
  });
  return out;
}

Outcome SqliteSide::window(const Dataset& d) {
  Outcome out;
  timed(main_, out, [&](sqlite3* db) {
    std::string sql =
        "SELECT code, name FROM album INDEXED BY album_name WHERE name >= ?1 "
        "ORDER BY name LIMIT " + std::to_string(kWindowRows + 1);
    Stmt seek(db, sql.c_str(), out.error);
    for (size_t i = 0; out.error.empty() && i < d.windows.size(); ++i) {
      const std::string& p = d.windows[i];
      seek.bind(1, p);
      ++out.done;
      if (seek.step() != SQLITE_ROW || !startswith_nocase(seek.text(1), p)) {
        ++out.missed;
        if (endsindigit(p)) ++out.nummissed;
        seek.reset();
        continue;
      }
      ++out.found;
      ++out.rows;
      out.sum += rowsum(seek.integer(0), seek.text(1));
      int more = 0;
      while (seek.step() == SQLITE_ROW) ++more;
      out.rows += more;
      if (more < kWindowRows) ++out.shortfall;
      seek.reset();
    }
  });
  return out;
}

Outcome SqliteSide::durable(const Dataset& d) {
  Outcome out;
  std::vector<double> each;
  timed(main_, out, [&](sqlite3* db) {
    // The program keeps its own serial counter, as Quillstore's header does.
    int64_t firstcode = std::atoll(
        queryvalue(db, "SELECT coalesce(max(code) + 1, 0) FROM album").c_str());
    Stmt insert(db, "INSERT INTO album(code, name, tracks) VALUES(?1, ?2, ?3)", out.error);
    // No BEGIN: every INSERT is a transaction of its own, committed durably.
    if (out.error.empty()) append_all(insert, d.durable, firstcode, out, &each);
    latencies(each, out);
  });
  if (out.error.empty()) out.live = countlive(main_, options_.codekey, out.error);
  return out;
}

Outcome SqliteSide::pack(const Dataset& d) {
  Outcome out;
  timed(main_, out, [&](sqlite3* db) {
    // Every statement finalised before the VACUUM.
    {
      Stmt del(db, "DELETE FROM album WHERE code = ?1", out.error);
      if (out.error.empty()) out.error = exec(db, "BEGIN");
      for (size_t i = 0; out.error.empty() && i < d.deletions.size(); ++i) {
        del.bind(1, d.deletions[i]);
        ++out.done;
        int rc = del.step();
        del.reset();
        if (rc != SQLITE_DONE) out.error = "DELETE: " + del.errmsg();
        else if (sqlite3_changes(db) == 1) ++out.found;
        else ++out.missed;
      }
      if (out.error.empty()) out.error = exec(db, "COMMIT");
    }
    if (out.error.empty()) out.error = exec(db, "VACUUM");
  });
  if (out.error.empty()) out.live = countlive(main_, options_.codekey, out.error);
  return out;
}

}  // namespace bench
