#include "bench/sqlite_util.h"

namespace bench {

std::string opensqlite(const std::string& path, const SqliteOptions& options, sqlite3** db) {
  *db = nullptr;
  if (sqlite3_open_v2(path.c_str(), db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    std::string error = std::string("sqlite3_open ") + path + ": " + sqlite3_errmsg(*db);
    sqlite3_close(*db);
    *db = nullptr;
    return error;
  }
  // Exclusive locking first: in WAL mode it then keeps the WAL index in
  // process memory instead of a shared-memory file.
  std::string error = exec(*db, "PRAGMA locking_mode=EXCLUSIVE");
  std::string journal = "PRAGMA journal_mode=" + options.journal;
  if (error.empty()) error = exec(*db, journal.c_str());
  if (error.empty()) error = exec(*db, "PRAGMA synchronous=FULL");
  std::string cache = "PRAGMA cache_size=-" + std::to_string(options.cache_kib);
  if (error.empty()) error = exec(*db, cache.c_str());
  if (error.empty() && queryvalue(*db, "PRAGMA journal_mode") != options.journal)
    error = "journal_mode " + options.journal + " refused";
  if (!error.empty()) {
    sqlite3_close(*db);
    *db = nullptr;
  }
  return error;
}

}  // namespace bench
