// landingbench: where the list's scroll bar lands in a large album table.
//
// Makes a catalogue of A albums (default 100,000) with made-up names,
// written straight into the table and indexed once at the end, as a
// reindexed table is. Then it asks the name order for the record with t
// records before it, for t across the whole table, and prints the worst
// distance from the asked rank to the record's true one (as a share of the
// table), the page reads of one landing and of one estimate of a record's
// place from a cold cache, the time of both with the pages cached, and
// whether the landings or the estimates ever run backwards.
//
//   landingbench [--albums A] [--dir DIR] [--keep]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "bench/scratchcatalogue.h"
#include "catalogue/browse.h"
#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/datafile.h"
#include "engine/index.h"
#include "engine/multifile.h"
#include "engine/rlist.h"

namespace {

using namespace tracklore;

constexpr int kSamples = 1000;

constexpr bench::ScratchBench kBench{.program = "landingbench", .unit = "albums", .count = 100000,
                                     .least = 2, .table = TitleTable};

const char* const kSyllables[] = {"ka", "lo", "mi", "ra", "ten", "vor", "shi", "bel",
                                  "dan", "gu", "ny", "ph", "ex", "qua", "zo", "st"};

std::string madename(std::mt19937_64& random) {
  std::string name;
  const int words = 1 + static_cast<int>(random() % 3);
  for (int w = 0; w < words; ++w) {
    if (w > 0) name += ' ';
    const int n = 2 + static_cast<int>(random() % 3);
    std::string word;
    for (int i = 0; i < n; ++i) word += kSyllables[random() % 16];
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    name += word;
  }
  return name;
}

bool fill(int albums) {
  std::mt19937_64 random(1);
  quill::DataFile table;
  if (table.open(DB_MainName(), {.noindex = true}) != quill::Ok) return false;
  (void)table.defersync(true);
  quill::Rlist cursor(&table);
  for (int i = 0; i < albums; ++i) {
    cursor.field(F_Name).set(madename(random).c_str());
    if (cursor.append() != quill::Ok) return false;
  }
  (void)table.defersync(false);
  if (table.close() != quill::Ok) return false;
  return quill::DataFile::reindex(DB_MainName()) == quill::Ok && DB_Open() == 0;
}

bool measure(int albums) {
  quill::DataFile& table = DB_Table(TitleTable);
  FullTable source(table);
  (void)source.select(T_Name);
  // The true rank of each album, by its code (codes are given in order
  // from 1).
  std::vector<int32_t> rank(static_cast<size_t>(albums) + 1, -1);
  int32_t r = 0;
  for (ErrorCode rc = source.first(); rc == quill::Ok; rc = source.skip(1))
    rank.at(static_cast<size_t>(source.cursor().field(F_Code).aslong())) = r++;
  quill::MultiFile& index = table.index()->store();
  const auto reads = [&] { return index.pagereads(); };

  long long worst = 0;
  long long landingreads = 0;
  long long estimatereads = 0;
  int backwards = 0;
  int32_t previous = -1;
  int32_t previousestimate = -1;
  for (int s = 0; s <= kSamples; ++s) {
    const int32_t asked = static_cast<int32_t>(static_cast<long long>(albums - 1) * s / kSamples);
    index.setcachepages(0);  // cold: every page from the file
    long long before = reads();
    (void)source.seekrank(asked);
    landingreads = std::max(landingreads, reads() - before);
    const int32_t landed = rank.at(static_cast<size_t>(source.cursor().field(F_Code).aslong()));
    worst = std::max<long long>(worst, std::abs(landed - asked));
    if (landed < previous) ++backwards;
    previous = landed;
    before = reads();
    const int32_t estimate = source.before();
    estimatereads = std::max(estimatereads, reads() - before);
    if (estimate < previousestimate) ++backwards;
    previousestimate = estimate;
    index.setcachepages(quill::MultiFile::kDefaultCachePages);
  }
  // Warm, as while the thumb is dragged: a landing and the estimate of
  // where the window then stands.
  bench::Stopwatch clock;
  for (int s = 0; s <= kSamples; ++s) {
    (void)source.seekrank(static_cast<int32_t>(static_cast<long long>(albums - 1) * s / kSamples));
    source.before();
  }
  const double warm = clock.seconds() / (kSamples + 1);
  std::printf("%d albums: worst landing %lld records (%.3f%% of the table), %d steps backwards\n",
              albums, worst, 100.0 * static_cast<double>(worst) / albums, backwards);
  std::printf("page reads, cold: %lld a landing, %lld an estimate of the place\n", landingreads,
              estimatereads);
  std::printf("warm: %.0f us a landing with its estimate\n", warm * 1e6);
  return true;
}

}  // namespace

int main(int argc, char** argv) { return bench::runscratch(kBench, fill, measure, argc, argv); }
