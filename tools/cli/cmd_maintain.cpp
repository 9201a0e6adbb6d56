// tracklore-cli create / pack / reindex / verify: the whole-database
// operations, which open and close the tables themselves.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/tableset.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/progress.h"

namespace tracklore::cli {

namespace {

// Runs a pass with its progress lines on stderr.
int withprogress(TerminalHost& host, int (*pass)(ProgressCallback, void*)) {
  ProgressView view(isatty(STDERR_FILENO) != 0);
  host.setprogress(&view);
  const int result = pass(&ProgressView::report, view.context());
  view.settle();
  host.setprogress(nullptr);
  return result;
}

std::string here() {
  std::error_code ignored;
  return std::filesystem::current_path(ignored).string();
}

int reindex(TerminalHost& host) {
  if (withprogress(host, DB_Reindex) != 0)
    return failure("Reindex failed. Check if a file is open or locked");
  std::printf("Reindex succeeded.\n");
  return 0;
}

}  // namespace

int cmd_create(const Options&, TerminalHost& host) {
  const int asked = host.questions();
  const int accepted = host.accepted();
  const int result = DB_Create();
  if (result == 0) {
    std::printf("created an empty database \"%s\" in %s\n", DB_MainName(), here().c_str());
    return 0;
  }
  if (host.questions() > asked && host.accepted() == accepted)
    return failure("a database (or what remains of one) is already here; nothing was created");
  return failure("Creation failed. Check if a file is open or locked");
}

int cmd_pack(const Options&, TerminalHost& host) {
  if (withprogress(host, DB_Pack) != 0) return failure("Pack failed. Check if a file is open or locked");
  std::printf("Pack succeeded.\n");
  // As the program does: a packed database has to be reindexed before use.
  if (DB_Host().message("Before you can use this database, you need to reindex it.\nDo you want "
                        "to reindex the database?",
                        "Success", Buttons::YesNo, Icon::Question) == Answer::Yes)
    return reindex(host);
  std::printf("The database must be reindexed before use (tracklore-cli reindex).\n");
  return 0;
}

int cmd_reindex(const Options&, TerminalHost& host) { return reindex(host); }

int cmd_verify(const Options&, TerminalHost& host) {
  const int asked = host.questions() + host.notices();
  const int accepted = host.accepted();
  if (withprogress(host, DB_Verify) != 0)
    return failure("Verification failed. Check if a file is open or locked");
  const int found = host.questions() + host.notices() - asked;
  const int corrected = host.accepted() - accepted;
  if (found == 0) {
    std::printf("Verification complete: no problems found.\n");
    return 0;
  }
  std::printf("Verification complete: %d problem%s found, %d corrected.\n", found,
              found == 1 ? "" : "s", corrected);
  // Problems left in place are a failure for whoever scripts the check.
  return corrected == found ? 0 : 1;
}

}  // namespace tracklore::cli
