// The catalogue workloads on SQLite, with tables of the catalogue's shape
// and the indexes a careful user would make:
//   album(code INTEGER PRIMARY KEY, name COLLATE NOCASE, ok, aux)
//   artist / song(code INTEGER PRIMARY KEY, name COLLATE NOCASE, refcount)
//   album_artist / album_song(album, seq, artist / song), keyed by
//     (album, seq) WITHOUT ROWID, with an index on the artist / song
//   an index on every name.
// The import reads the same file with the same parser and does the same
// work per link as the catalogue: find the artist or song by name (a map of
// the names met so far, then the name index), create it when new, add the
// row, raise the reference count; then the album's mark and first artist.
// One transaction.
#include <cstring>
#include <map>
#include <string>

#include "bench/catalogue.h"
#include "bench/measure.h"
#include "bench/sqlite_util.h"
#include "tools/cli/albumcsv.h"

namespace bench {

namespace {

constexpr const char* kDb = "sq_catalogue.db";

const char* const kSchema[] = {
    "CREATE TABLE album(code INTEGER PRIMARY KEY, name TEXT NOT NULL COLLATE NOCASE, "
    "ok TEXT NOT NULL, aux INTEGER NOT NULL)",
    "CREATE TABLE artist(code INTEGER PRIMARY KEY, name TEXT NOT NULL COLLATE NOCASE, "
    "refcount INTEGER NOT NULL)",
    "CREATE TABLE song(code INTEGER PRIMARY KEY, name TEXT NOT NULL COLLATE NOCASE, "
    "refcount INTEGER NOT NULL)",
    "CREATE TABLE album_artist(album INTEGER NOT NULL, seq INTEGER NOT NULL, artist INTEGER NOT "
    "NULL, PRIMARY KEY(album, seq)) WITHOUT ROWID",
    "CREATE TABLE album_song(album INTEGER NOT NULL, seq INTEGER NOT NULL, song INTEGER NOT "
    "NULL, PRIMARY KEY(album, seq)) WITHOUT ROWID",
    "CREATE INDEX album_name ON album(name)",
    "CREATE INDEX artist_name ON artist(name)",
    "CREATE INDEX song_name ON song(name)",
    "CREATE INDEX album_artist_artist ON album_artist(artist)",
    "CREATE INDEX album_song_song ON album_song(song)",
};

std::string makedb(const SqliteOptions& options) {
  remove_db(kDb);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(kDb, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    std::string error = std::string("sqlite3_open: ") + sqlite3_errmsg(db);
    sqlite3_close(db);
    return error;
  }
  std::string error = exec(db, "PRAGMA page_size=4096");
  const std::string journal = "PRAGMA journal_mode=" + options.journal;
  if (error.empty()) error = exec(db, journal.c_str());
  for (const char* sql : kSchema)
    if (error.empty()) error = exec(db, sql);
  const std::string closing = closedb(db);
  return error.empty() ? closing : error;
}

template <typename Work>
CatalogueOutcome timed(const SqliteOptions& options, Work work) {
  CatalogueOutcome out;
  Stopwatch clock;
  sqlite3* db = nullptr;
  out.base.error = opensqlite(kDb, options, &db);
  if (!out.base.error.empty()) return out;
  work(db, out);
  const std::string closing = closedb(db);
  if (out.base.error.empty()) out.base.error = closing;
  out.base.seconds = clock.seconds();
  return out;
}

int64_t count(sqlite3* db, const char* table) {
  const std::string sql = std::string("SELECT count(*) FROM ") + table;
  return std::atoll(queryvalue(db, sql.c_str()).c_str());
}

// The statements of one kind of attribute (artist or song).
struct AttributeStatements {
  Stmt find;
  Stmt insert;
  Stmt link;
  Stmt raise;
  AttributeStatements(sqlite3* db, const std::string& kind, std::string& error)
      : find(db, ("SELECT code FROM " + kind + " WHERE name = ?1").c_str(), error),
        insert(db, ("INSERT INTO " + kind + "(code, name, refcount) VALUES(?1, ?2, 0)").c_str(),
               error),
        link(db, ("INSERT INTO album_" + kind + "(album, seq, " + kind + ") VALUES(?1, ?2, ?3)")
                     .c_str(),
             error),
        raise(db, ("UPDATE " + kind + " SET refcount = refcount + 1 WHERE code = ?1").c_str(),
              error) {}
};

// Runs a statement that returns no rows; false (error set) on failure.
bool run(Stmt& s, std::string& error) {
  const int rc = s.step();
  s.reset();
  if (rc == SQLITE_DONE) return true;
  if (error.empty()) error = s.errmsg();
  return false;
}

void importfile(sqlite3* db, const std::string& csv, CatalogueOutcome& out) {
  std::string& error = out.base.error;
  std::FILE* in = tracklore::cli::openinput(csv);
  tracklore::cli::Plan plan;
  const bool planned = in != nullptr && tracklore::cli::makeplan(in, &plan);
  if (in != nullptr) std::fclose(in);
  if (!planned) {
    error = "the import file was refused";
    return;
  }
  Stmt album(db, "INSERT INTO album(code, name, ok, aux) VALUES(?1, ?2, '*', -1)", error);
  Stmt mark(db, "UPDATE album SET ok = ?2, aux = ?3 WHERE code = ?1", error);
  AttributeStatements kinds[2] = {{db, "artist", error}, {db, "song", error}};
  if (!error.empty()) return;
  std::map<std::string, int64_t> known[2];
  int64_t made[2] = {0, 0};
  int64_t code = 0;
  for (const tracklore::cli::PlannedAlbum& a : plan.albums) {
    album.bind(1, code);
    album.bind(2, a.name);
    if (!run(album, error)) return;
    int64_t seq[2] = {0, 0};
    int64_t first = -1;
    for (const tracklore::cli::Link& l : a.links) {
      const int k = tracklore::relationof(l.kind);
      AttributeStatements& s = kinds[k];
      auto it = known[k].find(l.name);
      int64_t attr;
      if (it != known[k].end()) {
        attr = it->second;
      } else {
        s.find.bind(1, l.name);
        if (s.find.step() == SQLITE_ROW) {
          attr = s.find.integer(0);
        } else {
          attr = made[k]++;
          s.insert.bind(1, attr);
          s.insert.bind(2, l.name);
          if (!run(s.insert, error)) return;
        }
        s.find.reset();
        known[k][l.name] = attr;
      }
      s.link.bind(1, code);
      s.link.bind(2, seq[k]++);
      s.link.bind(3, attr);
      s.raise.bind(1, attr);
      if (!run(s.link, error) || !run(s.raise, error)) return;
      if (k == 0 && first < 0) first = attr;
    }
    mark.bind(1, code);
    mark.bind(2, std::string(seq[0] > 0 && seq[1] > 0 ? " " : "*"));
    mark.bind(3, first);
    if (!run(mark, error)) return;
    ++code;
  }
  out.base.done = code;
}

}  // namespace

CatalogueOutcome SqliteCatalogue::import(const std::string& csv) {
  CatalogueOutcome out;
  out.base.error = makedb(options_);
  if (!out.base.error.empty()) return out;
  out = timed(options_, [&](sqlite3* db, CatalogueOutcome& o) {
    o.base.error = exec(db, "BEGIN");
    if (o.base.error.empty()) importfile(db, csv, o);
    if (o.base.error.empty()) o.base.error = exec(db, "COMMIT");
  });
  if (!out.base.error.empty()) return out;
  sqlite3* db = nullptr;
  out.base.error = opensqlite(kDb, options_, &db);
  if (!out.base.error.empty()) return out;
  out.albums = count(db, "album");
  out.artists = count(db, "artist");
  out.songs = count(db, "song");
  out.artistrows = count(db, "album_artist");
  out.songrows = count(db, "album_song");
  closedb(db);
  return out;
}

// One list per code: its rows' codes and names into the checksum, weighed
// by position where the list has an order of its own.
CatalogueOutcome SqliteCatalogue::lists(const char* sql, const std::vector<int32_t>& codes,
                                        bool ordered) {
  return timed(options_, [&](sqlite3* db, CatalogueOutcome& o) {
    Stmt q(db, sql, o.base.error);
    if (!q.ok()) return;
    for (int32_t code : codes) {
      q.bind(1, static_cast<int64_t>(code));
      uint64_t pos = 0;
      while (q.step() == SQLITE_ROW) {
        o.base.sum += rowsum(q.integer(0), q.text(1)) * (ordered ? 2 * pos + 1 : 1);
        ++pos;
        ++o.base.rows;
      }
      q.reset();
    }
  });
}

CatalogueOutcome SqliteCatalogue::songlists(const Catalogue& c) {
  return lists(
      "SELECT s.code, s.name FROM album_song a JOIN song s ON s.code = a.song "
      "WHERE a.album = ?1 ORDER BY a.seq",
      c.songlists, true);
}

CatalogueOutcome SqliteCatalogue::xrefs(const Catalogue& c) {
  return lists(
      "SELECT al.code, al.name FROM album_song a JOIN album al ON al.code = a.album "
      "WHERE a.song = ?1",
      c.xrefs, false);
}

CatalogueOutcome SqliteCatalogue::typeahead(const Catalogue& c) {
  return timed(options_, [&](sqlite3* db, CatalogueOutcome& o) {
    Stmt q(db, "SELECT code, name FROM artist WHERE name >= ?1 ORDER BY name LIMIT 13",
           o.base.error);
    if (!q.ok()) return;
    for (const std::string& typed : c.typeahead) {
      q.bind(1, typed);
      int rows = 0;
      while (q.step() == SQLITE_ROW) {
        // Every row's name is read, as the Quillstore side reads it.
        const char* shown = q.text(1);
        if (rows == 0 && startswith_nocase(shown, typed)) ++o.base.found;
        o.base.sum += std::strlen(shown);
        ++rows;
      }
      q.reset();
      o.base.rows += rows;
      if (rows < kTypeaheadRows + 1) ++o.base.shortfall;
    }
  });
}

}  // namespace bench
