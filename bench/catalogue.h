// The catalogue workloads of quillbench: the music catalogue itself on
// Quillstore (its five tables, made and read through the catalogue's own
// functions) against SQLite tables of the same shape.
//
// The generated catalogue: A albums, each with 1 to 3 artists and 10 songs,
// drawn from pools of A/3 artists and 8A songs, so that artists recur often
// and songs now and then (a song on several albums). It is written once as
// the CSV file that `tracklore-cli import` reads (one record per link,
// artists before songs, the album's number as album_code); both engines
// import that file, and the catalogue they build is what the queries read.
//
// Codes: the import makes albums in the file's order and an artist or song
// where it first appears, and both engines number from 0 in that order, so
// a code names the same album, artist or song on both sides.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/dataset.h"
#include "bench/sqlite_side.h"
#include "bench/workload.h"

namespace bench {

constexpr int kCatalogueQueries = 10000;
constexpr int kTypeaheadRows = 12;  // names read after the one found

struct CatalogueAlbum {
  std::string name;
  std::vector<int32_t> artists;  // codes, in the album's order
  std::vector<int32_t> songs;
};

struct Catalogue {
  int32_t nalbums = 0;
  std::vector<CatalogueAlbum> albums;  // album i has code i
  std::vector<std::string> artists;    // artist code -> name
  std::vector<std::string> songs;      // song code -> name
  int64_t artistlinks = 0;
  int64_t songlinks = 0;
  std::vector<int32_t> songlists;      // album codes whose songs are listed
  std::vector<int32_t> xrefs;          // song codes whose albums are listed
  std::vector<std::string> typeahead;  // starts of artist names

  static Catalogue generate(int32_t albums, uint64_t seed);
  // Writes the import file; false when it cannot be written.
  bool writecsv(const std::string& path) const;
};

enum CatalogueWorkload {
  C_Import = 0,     // (d) CSV import of the whole catalogue
  C_SongList = 1,   // (a) an album's songs in order
  C_Xref = 2,       // (b) the albums of a song
  C_Typeahead = 3,  // (c) prefix seek + the next 12 artist names
};
constexpr int kCatalogueWorkloads = 4;

// Names for --only ("import", "songs", "xref", "typeahead") and their
// letters ("d", "a", "b", "c"); -1 when unknown.
int catalogue_workload(const std::string& text);

// What one engine saw in one catalogue workload; compared between the
// engines and with what the generated catalogue holds.
struct CatalogueOutcome {
  Outcome base;           // time, memory, error, rows, sum, found, shortfall
  int64_t albums = -1;    // records of each table after the import
  int64_t artists = -1;
  int64_t songs = -1;
  int64_t artistrows = -1;
  int64_t songrows = -1;
};

class CatalogueSide {
 public:
  virtual ~CatalogueSide() = default;
  virtual CatalogueOutcome import(const std::string& csv) = 0;
  virtual CatalogueOutcome songlists(const Catalogue& c) = 0;
  virtual CatalogueOutcome xrefs(const Catalogue& c) = 0;
  virtual CatalogueOutcome typeahead(const Catalogue& c) = 0;
  CatalogueOutcome run(int id, const Catalogue& c, const std::string& csv);
};

// The Quillstore catalogue lives in the directory qs_catalogue, the SQLite
// one in sq_catalogue.db; both below the current directory.
class QuillCatalogue : public CatalogueSide {
 public:
  CatalogueOutcome import(const std::string& csv) override;
  CatalogueOutcome songlists(const Catalogue& c) override;
  CatalogueOutcome xrefs(const Catalogue& c) override;
  CatalogueOutcome typeahead(const Catalogue& c) override;

 private:
  CatalogueOutcome lists(const std::vector<int32_t>& codes, bool bytitle);
};

class SqliteCatalogue : public CatalogueSide {
 public:
  explicit SqliteCatalogue(const SqliteOptions& options) : options_(options) {}
  CatalogueOutcome import(const std::string& csv) override;
  CatalogueOutcome songlists(const Catalogue& c) override;
  CatalogueOutcome xrefs(const Catalogue& c) override;
  CatalogueOutcome typeahead(const Catalogue& c) override;

 private:
  SqliteOptions options_;
  CatalogueOutcome lists(const char* sql, const std::vector<int32_t>& codes, bool ordered);
};

// Runs the chosen catalogue workloads (import first whenever one runs: the
// others read what it built) on a catalogue of `albums` albums, prints
// their rows under the engine workloads' and returns the number of
// warnings.
int run_catalogue(int32_t albums, uint64_t seed, const std::vector<int>& chosen,
                  const SqliteOptions& sqlite);

// The files the catalogue workloads leave in the current directory: the
// Quillstore catalogue's, and all of them.
void remove_quill_catalogue();
void remove_catalogue_files();

}  // namespace bench
