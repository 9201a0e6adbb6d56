#include "bench/scratchcatalogue.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "bench/fixedhost.h"
#include "bench/measure.h"
#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/tableset.h"
#include "engine/datafile.h"

namespace bench {

ScratchCatalogue::ScratchCatalogue(const char* program, const std::string& dir, bool keep)
    : dir_(dir.empty() ? std::filesystem::temp_directory_path() /
                             (std::string(program) + "-" + std::to_string(getpid()))
                       : std::filesystem::path(dir)),
      keep_(keep) {
  static FixedHost host;
  tracklore::DB_SetHost(&host);
  std::error_code error;
  std::filesystem::create_directories(dir_, error);
  std::filesystem::current_path(dir_, error);
  made_ = !error && tracklore::DB_Create() == 0;
  if (!made_) std::fprintf(stderr, "%s: cannot make the catalogue in %s\n", program, dir_.c_str());
}

ScratchCatalogue::~ScratchCatalogue() {
  (void)tracklore::DB_Close();  // nothing of it is kept unless asked
  if (keep_) return;
  std::error_code error;
  std::filesystem::current_path("/", error);
  std::filesystem::remove_all(dir_, error);
}

namespace {

struct Options {
  int count;
  std::string dir;
  bool keep = false;
};

bool parse(int argc, char** argv, const ScratchBench& bench, Options& o) {
  const std::string countoption = std::string("--") + bench.unit;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool value = i + 1 < argc;
    if (a == countoption && value) o.count = std::atoi(argv[++i]);
    else if (a == "--dir" && value) o.dir = argv[++i];
    else if (a == "--keep") o.keep = true;
    else return false;
  }
  return o.count >= bench.least;
}

}  // namespace

int runscratch(const ScratchBench& bench, bool (*fill)(int n), bool (*measure)(int n), int argc,
               char** argv) {
  Options o{bench.count};
  if (!parse(argc, argv, bench, o)) {
    // The count's placeholder is its unit's initial: [--albums A].
    std::fprintf(stderr, "usage: %s [--%s %c] [--dir DIR] [--keep]\n", bench.program, bench.unit,
                 std::toupper(static_cast<unsigned char>(bench.unit[0])));
    return 2;
  }
  ScratchCatalogue scratch(bench.program, o.dir, o.keep);
  Stopwatch clock;
  if (!scratch.made()) return 1;
  if (tracklore::DB_Close(), !fill(o.count)) {
    std::fprintf(stderr, "%s: cannot fill the catalogue\n", bench.program);
    return 1;
  }
  std::printf("catalogue of %d %s made in %.1f s\n", tracklore::DB_Table(bench.table).nlive(),
              bench.unit, clock.seconds());
  return measure(o.count) ? 0 : 1;
}

}  // namespace bench
