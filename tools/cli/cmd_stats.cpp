// tracklore-cli stats: what the catalogue holds, and the purge of what no
// album uses.
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/journal.h"
#include "catalogue/schema.h"
#include "catalogue/statistics.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"

namespace tracklore::cli {

namespace {

void printentries(const char* heading, const std::vector<StatsEntry>& entries) {
  std::printf("%s: %zu\n", heading, entries.size());
  for (const StatsEntry& e : entries) std::printf("  #%ld\t%s\n", static_cast<long>(e.code), e.name.c_str());
}

}  // namespace

int cmd_stats(const Options& options, TerminalHost&) {
  if (options.purge == Choice::No) return usageerror("stats takes --purge, not --keep");
  const bool purge = options.purge == Choice::Yes;
  Session session(purge);
  if (!session.ok()) return 1;
  if (purge) {
    int deleted = 0;
    const ErrorCode rc = DB_PurgeUnused(&deleted);
    if (rc != quill::Ok)
      return failure("the purge failed (" + DB_FailureText(rc) + ")" +
                     (DB_HasUnfinishedEdit() ? "; tracklore-cli recover takes back what it deleted"
                                             : ""));
    std::printf("Deleted %d artists and songs that no album used.\n", deleted);
  }
  CatalogueStats stats;
  if (const ErrorCode rc = DB_Statistics(&stats); rc != quill::Ok)
    return failure("the statistics failed (" + DB_FailureText(rc) + ")");
  std::printf("Albums: %ld\nArtists: %ld\nSongs: %ld\n", static_cast<long>(stats.records[0]),
              static_cast<long>(stats.records[1]), static_cast<long>(stats.records[2]));
  std::printf("Links to artists: %lld\nLinks to songs: %lld\n",
              static_cast<long long>(stats.links[0]), static_cast<long long>(stats.links[1]));
  printentries("Albums without artists", stats.withoutartists);
  printentries("Albums without songs", stats.withoutsongs);
  printentries("Artists no album uses", stats.unused[0]);
  printentries("Songs no album uses", stats.unused[1]);
  std::printf("Artists on the most albums:\n");
  for (const StatsEntry& e : stats.topartists)
    std::printf("  %ld\t#%ld\t%s\n", static_cast<long>(e.albums), static_cast<long>(e.code),
                e.name.c_str());
  return 0;
}

}  // namespace tracklore::cli
