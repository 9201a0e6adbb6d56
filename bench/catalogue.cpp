#include "bench/catalogue.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "bench/measure.h"
#include "tools/cli/csv.h"

namespace bench {

namespace {

// A name of at most `longest` characters that the pool does not hold yet.
std::string freshname(Prng& rng, size_t longest, std::unordered_set<std::string>& taken) {
  for (;;) {
    std::string name = make_name(rng);
    if (name.size() <= longest && taken.insert(name).second) return name;
  }
}

// `count` distinct numbers below `n` (n >= count).
std::vector<int32_t> distinct(Prng& rng, int count, int32_t n) {
  std::vector<int32_t> out;
  while (static_cast<int>(out.size()) < count) {
    const int32_t v = static_cast<int32_t>(rng.below(static_cast<uint64_t>(n)));
    bool seen = false;
    for (int32_t o : out) seen = seen || o == v;
    if (!seen) out.push_back(v);
  }
  return out;
}

// Pool members get their codes where they first appear, as the import
// hands them out.
int32_t codefor(int32_t member, std::unordered_map<int32_t, int32_t>& codes,
                std::vector<std::string>& names, const std::vector<std::string>& pool) {
  auto [it, fresh] = codes.emplace(member, static_cast<int32_t>(names.size()));
  if (fresh) names.push_back(pool[member]);
  return it->second;
}

const WorkloadInfo kInfo[kCatalogueWorkloads] = {
    {0, "import", "d CSV import of the whole catalogue"},
    {0, "songs", "a 10,000 albums' songs in order"},
    {0, "xref", "b 10,000 songs' albums (cross-ref.)"},
    {0, "typeahead", "c 10,000 type-aheads, artist + next 12"},
};
const char kLetters[kCatalogueWorkloads] = {'d', 'a', 'b', 'c'};

std::string fmt64(const char* what, int64_t q, int64_t s, int64_t want) {
  char buf[200];
  std::snprintf(buf, sizeof buf, "%s: Quillstore %" PRId64 ", SQLite %" PRId64 ", expected %" PRId64,
                what, q, s, want);
  return buf;
}

std::vector<std::string> crosscheck(int id, const Catalogue& c, const CatalogueOutcome& q,
                                    const CatalogueOutcome& s) {
  std::vector<std::string> w;
  if (!q.base.error.empty()) w.push_back("Quillstore failed: " + q.base.error);
  if (!s.base.error.empty()) w.push_back("SQLite failed: " + s.base.error);
  if (!w.empty()) return w;
  auto expect = [&](const char* what, int64_t a, int64_t b, int64_t want) {
    if (a != want || b != want) w.push_back(fmt64(what, a, b, want));
  };
  const int64_t queries = kCatalogueQueries;
  switch (id) {
    case C_Import:
      expect("albums", q.albums, s.albums, c.nalbums);
      expect("artists", q.artists, s.artists, static_cast<int64_t>(c.artists.size()));
      expect("songs", q.songs, s.songs, static_cast<int64_t>(c.songs.size()));
      expect("artist rows", q.artistrows, s.artistrows, c.artistlinks);
      expect("song rows", q.songrows, s.songrows, c.songlinks);
      break;
    case C_SongList:
      expect("songs listed", q.base.rows, s.base.rows, queries * 10);
      if (q.base.sum != s.base.sum) w.push_back("the song lists differ (checksums)");
      break;
    case C_Xref: {
      // One count per song code in one block: a map's node per song, freed
      // here, would leave the allocator hundreds of thousands of chunks to
      // sort inside the next timed run (its opening's first allocations).
      int64_t want = 0;
      std::vector<int64_t> uses(c.songs.size(), 0);
      for (const CatalogueAlbum& a : c.albums)
        for (int32_t song : a.songs) ++uses[static_cast<size_t>(song)];
      for (int32_t song : c.xrefs) want += uses[static_cast<size_t>(song)];
      expect("albums listed", q.base.rows, s.base.rows, want);
      if (q.base.sum != s.base.sum) w.push_back("the albums listed differ (checksums)");
      break;
    }
    case C_Typeahead:
      expect("type-aheads that landed on a matching name", q.base.found, s.base.found, queries);
      // The name orders differ (natural against case-blind), so a window
      // near the end of the list may be cut short on one side only.
      if (std::llabs(q.base.rows - s.base.rows) >
          kTypeaheadRows * (q.base.shortfall + s.base.shortfall))
        w.push_back(fmt64("names read", q.base.rows, s.base.rows, q.base.rows));
      break;
    default:
      break;
  }
  return w;
}

}  // namespace

Catalogue Catalogue::generate(int32_t albums, uint64_t seed) {
  Prng rng(seed * 0x9E3779B97F4A7C15ull + 7);
  Catalogue c;
  c.nalbums = albums;
  const int32_t nartists = albums / 3 > 3 ? albums / 3 : 3;
  const int32_t nsongs = albums * 8 > 10 ? albums * 8 : 10;
  std::vector<std::string> artistpool;
  std::vector<std::string> songpool;
  std::unordered_set<std::string> taken;
  // The catalogue's Name fields hold 50 (artist) and 60 (song) characters.
  for (int32_t i = 0; i < nartists; ++i) artistpool.push_back(freshname(rng, 50, taken));
  taken.clear();
  for (int32_t i = 0; i < nsongs; ++i) songpool.push_back(freshname(rng, 60, taken));
  std::unordered_map<int32_t, int32_t> artistcode;
  std::unordered_map<int32_t, int32_t> songcode;
  c.albums.resize(static_cast<size_t>(albums));
  for (CatalogueAlbum& a : c.albums) {
    a.name = make_name(rng);
    for (int32_t m : distinct(rng, static_cast<int>(rng.range(1, 3)), nartists))
      a.artists.push_back(codefor(m, artistcode, c.artists, artistpool));
    for (int32_t m : distinct(rng, 10, nsongs))
      a.songs.push_back(codefor(m, songcode, c.songs, songpool));
    c.artistlinks += static_cast<int64_t>(a.artists.size());
    c.songlinks += static_cast<int64_t>(a.songs.size());
  }
  for (int k = 0; k < kCatalogueQueries; ++k) {
    c.songlists.push_back(static_cast<int32_t>(rng.below(static_cast<uint64_t>(albums))));
    c.xrefs.push_back(static_cast<int32_t>(rng.below(c.songs.size())));
    c.typeahead.push_back(make_prefix(rng, c.artists[rng.below(c.artists.size())]));
  }
  return c;
}

bool Catalogue::writecsv(const std::string& path) const {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  using tracklore::cli::csvrecord;
  std::string text = csvrecord({"album", "kind", "position", "name", "album_code"});
  bool ok = true;
  for (size_t i = 0; i < albums.size(); ++i) {
    const CatalogueAlbum& a = albums[i];
    const std::string code = std::to_string(i);
    for (size_t k = 0; k < a.artists.size(); ++k)
      text += csvrecord({a.name, "artist", std::to_string(k), artists[a.artists[k]], code});
    for (size_t k = 0; k < a.songs.size(); ++k)
      text += csvrecord({a.name, "song", std::to_string(k), songs[a.songs[k]], code});
    if (text.size() > (1u << 20)) {
      ok = ok && std::fwrite(text.data(), 1, text.size(), f) == text.size();
      text.clear();
    }
  }
  ok = ok && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

int catalogue_workload(const std::string& text) {
  for (int id = 0; id < kCatalogueWorkloads; ++id)
    if (text == kInfo[id].name || (text.size() == 1 && text[0] == kLetters[id])) return id;
  return -1;
}

CatalogueOutcome CatalogueSide::run(int id, const Catalogue& c, const std::string& csv) {
  switch (id) {
    case C_Import: return import(csv);
    case C_SongList: return songlists(c);
    case C_Xref: return xrefs(c);
    case C_Typeahead: return typeahead(c);
    default: return {};
  }
}

void remove_quill_catalogue() {
  for (const char* table : {"maindb", "attr001", "attr002", "rel001", "rel002", "fullname"})
    for (const char* ext : {".db1", ".idx"})
      ::unlink((std::string("qs_catalogue/") + table + ext).c_str());
  ::rmdir("qs_catalogue");
}

void remove_catalogue_files() {
  remove_quill_catalogue();
  for (const char* f : {"catalogue.csv", "sq_catalogue.db", "sq_catalogue.db-wal",
                        "sq_catalogue.db-shm", "sq_catalogue.db-journal"})
    ::unlink(f);
}

int run_catalogue(int32_t albums, uint64_t seed, const std::vector<int>& chosen,
                  const SqliteOptions& sqlite) {
  Stopwatch gen;
  const Catalogue c = Catalogue::generate(albums, seed);
  const std::string csv = "catalogue.csv";
  if (!c.writecsv(csv)) {
    std::printf("  WARNING: cannot write %s\n", csv.c_str());
    return 1;
  }
  std::printf("\ncatalogue: %d albums, %zu artists, %zu songs, %" PRId64 " artist and %" PRId64
              " song rows; import file %.1f MiB (generated in %.2f s)\n",
              albums, c.artists.size(), c.songs.size(), c.artistlinks, c.songlinks,
              mib(filesize(csv)), gen.seconds());
  print_table_head();
  QuillCatalogue quill;
  SqliteCatalogue lite(sqlite);
  CatalogueSide* sides[2] = {&quill, &lite};
  std::set<int> run(chosen.begin(), chosen.end());
  run.insert(C_Import);
  int warnings = 0;
  std::vector<std::pair<int, CatalogueOutcome>> details;
  for (int id : run) {
    ReportRow row;
    row.info = &kInfo[id];
    CatalogueOutcome outs[2];
    for (int k = 0; k < 2; ++k) {
      settle_disk();
      reset_peak();
      outs[k] = sides[k]->run(id, c, csv);
      outs[k].base.ran = true;
      outs[k].base.peak_mib = peak_mib();
    }
    row.quill = outs[0].base;
    row.sqlite = outs[1].base;
    row.warnings = crosscheck(id, c, outs[0], outs[1]);
    print_table_row(row);
    for (const std::string& w : row.warnings) std::printf("  WARNING: %s\n", w.c_str());
    warnings += static_cast<int>(row.warnings.size());
    details.emplace_back(id, outs[0]);
  }
  for (const auto& [id, q] : details)
    if (!q.base.note.empty()) std::printf("  %c Quillstore: %s\n", kLetters[id], q.base.note.c_str());
  return warnings;
}

}  // namespace bench
