// searchbench: the word search over a catalogue of many song names.
//
// Makes a catalogue of S songs (default 1,000,000) whose names are one to
// five words drawn from a vocabulary of common words and made-up ones, a
// hundredth of them in Cyrillic (kept in full in the name table, searched
// through their transliteration). Then it times the first search, which
// reads every name into memory, and each of a set of searches afterwards
// (the median of 21 runs), and prints the memory the kept names take.
// Last, the first search after each of a row of single edits (add, rename,
// link, merge, delete, undo, redo): what a user waits for after an edit.
//
//   searchbench [--songs S] [--dir DIR] [--keep]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "bench/scratchcatalogue.h"
#include "catalogue/batch.h"
#include "catalogue/edits.h"
#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/merge.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/search.h"
#include "catalogue/searchfold.h"
#include "catalogue/tableset.h"
#include "catalogue/undo.h"
#include "engine/datafile.h"
#include "engine/rlist.h"

namespace {

using namespace tracklore;

constexpr bench::ScratchBench kBench{.program = "searchbench", .unit = "songs", .count = 1000000,
                                     .least = 1, .table = SongTable};

const char* const kCommon[] = {"Love", "Night", "Blue", "Heart", "Song", "Dance", "Rain",
                               "Girl", "Time", "Home", "Fire", "Moon", "Wall", "Road",
                               "Dream", "Live", "Remix", "Version", "Part", "Theme"};
const char* const kSyllables[] = {"ka", "lo", "mi", "ra", "ten", "vor", "shi", "bel",
                                  "dan", "gu", "ny", "ph", "ex", "qua", "zo", "st"};
const char* const kCyrillic[] = {"Мумий", "Тролль", "Звезда", "Ночь", "Город", "Песня"};

std::string madeword(std::mt19937_64& random) {
  std::string w;
  const int n = 2 + static_cast<int>(random() % 3);
  for (int i = 0; i < n; ++i) w += kSyllables[random() % 16];
  w[0] = static_cast<char>(w[0] - 'a' + 'A');
  return w;
}

std::string songname(std::mt19937_64& random, const std::vector<std::string>& vocabulary) {
  std::string name;
  const int words = 1 + static_cast<int>(random() % 5);
  for (int i = 0; i < words; ++i) {
    if (i > 0) name += ' ';
    name += random() % 3 == 0 ? kCommon[random() % 20] : vocabulary[random() % vocabulary.size()];
  }
  return name;
}

// The Latin names go straight into the table, indexed once at the end;
// the Cyrillic ones through the catalogue, which keeps their full names.
bool fill(int songs) {
  std::mt19937_64 random(1);
  std::vector<std::string> vocabulary;
  for (int i = 0; i < 50000; ++i) vocabulary.push_back(madeword(random));
  const int cyrillic = songs / 100;
  {
    quill::DataFile table;
    if (table.open(fixedname(SongTable), {.noindex = true}) != quill::Ok) return false;
    if (table.defersync(true) != quill::Ok) return false;
    quill::Rlist cursor(&table);
    for (int i = 0; i < songs - cyrillic; ++i) {
      cursor.field(F_Name).set(songname(random, vocabulary).c_str());
      cursor.field(F_RefCount).set(0L);
      if (cursor.append() != quill::Ok) return false;
    }
    if (table.defersync(false) != quill::Ok) return false;
    if (table.close() != quill::Ok) return false;
  }
  if (quill::DataFile::reindex(fixedname(SongTable)) != quill::Ok || DB_Open() != 0) return false;
  CatalogueBatch batch({.perbatch = 1000, .operation = "import"});
  quill::Rlist cursor(&DB_Table(SongTable));
  for (int i = 0; i < cyrillic; ++i) {
    const std::string name = std::string(kCyrillic[random() % 6]) + " " + kCyrillic[random() % 6];
    if (DB_InsertRecord(Kind::Song, name, cursor) != quill::Ok || batch.unitdone() != quill::Ok)
      return false;
  }
  return batch.finish() == quill::Ok;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// One edit of each kind in turn, each followed by a search that must take
// it in; the songs it works on come from an earlier search. Every cursor
// goes with its step: an undo closes the tables.
bool editsandsearches() {
  std::vector<int32_t> codes;
  (void)DB_SearchCodes(DB_SearchWords("kalora"), Kind::Song, &codes);
  if (codes.size() < 2) return false;
  const int32_t keep = codes[0], other = codes[1];
  int32_t added = -1, album = -1;
  std::string message;
  const auto songat = [](quill::Rlist& songs, int32_t code) {
    CodeLookup lookup;
    return lookup.find(SongTable, code) == quill::Ok &&
           songs.gorecord(lookup.cursor(SongTable).recno()) == quill::Ok;
  };
  struct Step {
    const char* edit;
    const char* sought;  // a search that finds what the edit changed
    std::function<bool()> apply;
  };
  const Step steps[] = {
      {"add", "zebrafinch", [&] {
         quill::Rlist songs(&DB_Table(SongTable));
         if (DB_InsertRecord(Kind::Song, "Zebrafinch Love", songs) != quill::Ok) return false;
         added = songs.field(F_Code).aslong();
         return true;
       }},
      {"rename", "quagga", [&] {
         quill::Rlist songs(&DB_Table(SongTable));
         (void)songs.select(T_Name);
         return songat(songs, added) &&
                DB_RenameRecord(songs, Kind::Song, "Quagga Love", true) == quill::Ok;
       }},
      {"link", "kalora", [&] {
         quill::Rlist titles(&DB_Table(TitleTable));
         if (DB_InsertRecord(Kind::Album, "Bench Album", titles) != quill::Ok) return false;
         album = titles.field(F_Code).aslong();
         std::unique_ptr<Relation> list = DB_GetArticleAttributes(1, album);
         return DB_AddLink(*list, album, -1, keep, titles) == quill::Ok;
       }},
      {"merge", "kalora", [&] {
         return DB_MergeRecords(Kind::Song, keep, other, nullptr) == quill::Ok;
       }},
      {"delete", "quagga", [&] {
         quill::Rlist songs(&DB_Table(SongTable));
         (void)songs.select(T_Name);
         return songat(songs, added) && DB_DeleteAttribute(songs, Kind::Song) == quill::Ok;
       }},
      {"undo", "quagga", [&] { return DB_Undo(UndoWay::Undo, &message) == 0 && DB_Open() == 0; }},
      {"redo", "quagga", [&] { return DB_Undo(UndoWay::Redo, &message) == 0 && DB_Open() == 0; }},
  };
  // The same search once more: what the first spent on catching up is
  // the difference.
  std::printf("%-10s %-12s %8s %10s %10s\n", "edit", "then search", "found", "first ms", "again ms");
  bench::Stopwatch clock;
  for (const Step& step : steps) {
    if (!step.apply()) {
      std::fprintf(stderr, "searchbench: the %s failed\n", step.edit);
      return false;
    }
    double ms[2];
    for (double& m : ms) {
      clock.restart();
      (void)DB_SearchCodes(DB_SearchWords(step.sought), Kind::Song, &codes);
      m = clock.seconds() * 1000;
    }
    std::printf("%-10s %-12s %8zu %10.1f %10.1f\n", step.edit, step.sought, codes.size(), ms[0], ms[1]);
  }
  return true;
}

// The first search, which reads the names; then the set of searches, and
// the first search after each edit.
bool measure(int) {
  std::vector<int32_t> codes;
  bench::Stopwatch clock;
  if (DB_SearchCodes(DB_SearchWords("love"), Kind::Song, &codes) != quill::Ok) return false;
  std::printf("first search (reads the names): %.2f s; names kept: %.1f MiB\n", clock.seconds(),
              bench::mib(static_cast<int64_t>(DB_SearchMemory())));

  const char* const queries[] = {"love",  "kalora", "blue night", "zzzz", "l",
                                 "тролль", "mumij troll", "ka lo mi ra"};
  std::printf("%-14s %10s %12s\n", "search", "found", "median ms");
  for (const char* query : queries) {
    const std::vector<std::string> words = DB_SearchWords(query);
    std::vector<double> times;
    for (int run = 0; run < 21; ++run) {
      clock.restart();
      if (DB_SearchCodes(words, Kind::Song, &codes) != quill::Ok) return false;
      times.push_back(clock.seconds());
    }
    std::printf("%-14s %10zu %12.1f\n", query, codes.size(), median(times) * 1000);
  }
  if (!editsandsearches()) return false;
  std::printf("names kept after the edits: %.1f MiB\n",
              bench::mib(static_cast<int64_t>(DB_SearchMemory())));
  return true;
}

}  // namespace

int main(int argc, char** argv) { return bench::runscratch(kBench, fill, measure, argc, argv); }
