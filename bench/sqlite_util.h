// Small helpers for SQLite in quillbench: prepared statements, statements
// run once, and opening a database with the benchmark's settings.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "bench/sqlite_side.h"

namespace bench {

// A prepared statement, finalized when it goes out of scope.
class Stmt {
 public:
  Stmt(sqlite3* db, const char* sql, std::string& error) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK && error.empty())
      error = std::string("prepare \"") + sql + "\": " + sqlite3_errmsg(db);
  }
  ~Stmt() { sqlite3_finalize(stmt_); }
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  void bind(int i, int64_t v) { sqlite3_bind_int64(stmt_, i, v); }
  void bind(int i, const std::string& text) {
    sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() { return sqlite3_step(stmt_); }
  void reset() { sqlite3_reset(stmt_); }
  int64_t integer(int col) { return sqlite3_column_int64(stmt_, col); }
  const char* text(int col) { return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col)); }
  std::string errmsg() const { return sqlite3_errmsg(db_); }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

inline std::string exec(sqlite3* db, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return {};
  std::string error = std::string(sql) + ": " + (message ? message : sqlite3_errmsg(db));
  sqlite3_free(message);
  return error;
}

// The text of the first column of the first row of a statement.
inline std::string queryvalue(sqlite3* db, const char* sql) {
  std::string error;
  Stmt s(db, sql, error);
  if (!s.ok() || s.step() != SQLITE_ROW) return {};
  const char* t = s.text(0);
  return t ? t : "";
}

inline std::string closedb(sqlite3* db) {
  if (sqlite3_close(db) != SQLITE_OK) return std::string("sqlite3_close: ") + sqlite3_errmsg(db);
  return {};
}

// The database file and its journals.
inline void remove_db(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) ::unlink((path + suffix).c_str());
}

// Opens an existing database with the settings every workload uses
// (sqlite_side.h); the error text, empty on success.
std::string opensqlite(const std::string& path, const SqliteOptions& options, sqlite3** db);

}  // namespace bench
