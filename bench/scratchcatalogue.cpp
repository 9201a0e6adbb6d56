#include "bench/scratchcatalogue.h"

#include <unistd.h>

#include <cstdio>

#include "bench/fixedhost.h"
#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/tableset.h"

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

}  // namespace bench
