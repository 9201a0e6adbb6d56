// recoverbench: how long recovery takes after an import killed part way.
//
// Makes a catalogue of A albums' CSV (1 to 3 artists and 10 songs each,
// drawn from pools shared between albums), imports it with the command
// line's import in a child process that ends itself, as kill -9 would, just
// before the journal write that would mark batch B+1 done: B batches of
// 1,000 albums are kept, the next one is taken back, and the reference
// counts that the import raised on artists and songs of earlier batches
// (held in memory until the end, see batch.h) are wrong on disk. Then it
// times DB_Recover and prints its log.
//
//   recoverbench [--albums A] [--batches B] [--dir DIR] [--keep]
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "bench/scratchcatalogue.h"
#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/recover.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/file.h"
#include "tools/cli/albumcsv.h"
#include "tools/cli/importplan.h"

namespace {

using namespace tracklore;

bool writecsv(const std::string& path, int albums) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr) return false;
  std::mt19937_64 random(1);
  const uint64_t artists = static_cast<uint64_t>(albums) / 4 + 1;
  const uint64_t songs = static_cast<uint64_t>(albums) * 6 + 1;
  std::fprintf(out, "album,kind,position,name\n");
  for (int a = 0; a < albums; ++a) {
    const int n = 1 + static_cast<int>(random() % 3);
    for (int p = 0; p < n; ++p)
      std::fprintf(out, "Album %d,artist,%d,Artist %llu\n", a, p,
                   static_cast<unsigned long long>(random() % artists));
    for (int p = 0; p < 10; ++p)
      std::fprintf(out, "Album %d,song,%d,Song %llu\n", a, p,
                   static_cast<unsigned long long>(random() % songs));
  }
  return std::fclose(out) == 0;
}

// The import, ended before the journal's write number `last`.
[[noreturn]] void killedimport(const std::string& csv, int last) {
  int writes = 0;
  quill::File::set_write_fault([&](const quill::File& file, int32_t, int32_t) {
    const std::string& name = file.name();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".jnl") == 0 && ++writes == last)
      _exit(9);
    return false;
  });
  std::FILE* in = cli::openinput(csv);
  cli::Plan plan;
  if (in == nullptr || !cli::makeplan(in, &plan) || DB_Open() != 0) _exit(1);
  cli::ImportTally tally;
  cli::ImportStop stop;
  // Killed part-way, as intended, it never returns; if it does, the exit says so.
  (void)cli::importplan(plan, &tally, &stop);
  _exit(2);  // the import ran to its end: nothing to recover
}

struct Options {
  int albums = 100000;
  int batches = 43;
  std::string dir;
  bool keep = false;
};

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool value = i + 1 < argc;
    if (a == "--albums" && value) o.albums = std::atoi(argv[++i]);
    else if (a == "--batches" && value) o.batches = std::atoi(argv[++i]);
    else if (a == "--dir" && value) o.dir = argv[++i];
    else if (a == "--keep") o.keep = true;
    else return false;
  }
  return o.albums > 0 && o.batches >= 0 && o.batches * 1000 < o.albums;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, o)) {
    std::fprintf(stderr, "usage: recoverbench [--albums A] [--batches B] [--dir DIR] [--keep]\n"
                         "  B batches of 1000 albums kept, B * 1000 < A\n");
    return 2;
  }
  bench::ScratchCatalogue scratch("recoverbench", o.dir, o.keep);
  if (!scratch.made()) return 1;
  if (DB_Close(), !writecsv("import.csv", o.albums)) {
    std::fprintf(stderr, "recoverbench: cannot write import.csv\n");
    return 1;
  }

  bench::Stopwatch clock;
  const pid_t child = fork();
  if (child == 0) killedimport("import.csv", 2 * o.batches + 2);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 9) {
    std::fprintf(stderr, "recoverbench: the import was not cut short (status %d)\n", status);
    return 1;
  }
  std::printf("import of %d albums killed after %.1f s\n", o.albums, clock.seconds());

  bench::settle_disk();
  std::vector<std::string> log;
  clock.restart();
  const int rc = DB_Recover(nullptr, nullptr, &log);
  const double seconds = clock.seconds();
  for (const std::string& line : log) std::printf("  %s\n", line.c_str());
  if (DB_Open({.readonly = true}) == 0) {
    std::printf("albums kept: %d\n", DB_Table(TitleTable).nlive());
    DB_Close();
  }
  std::printf("recovery: %.2f s, result %d\n", seconds, rc);
  return rc == 0 ? 0 : 1;
}
