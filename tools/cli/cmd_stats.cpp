// tracklore-cli stats: what the catalogue holds, and the purge of what no
// album uses.
#include <cstdint>
#include <cstdio>
#include <string>

#include "catalogue/journal.h"
#include "catalogue/schema.h"
#include "catalogue/statistics.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"

namespace tracklore::cli {

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
  std::fputs(DB_StatisticsReport(stats, SIZE_MAX).c_str(), stdout);
  return 0;
}

}  // namespace tracklore::cli
