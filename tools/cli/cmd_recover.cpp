// tracklore-cli recover: mends, in one step, a database that a crash or a
// killed command left unfinished, and says what it did.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/recover.h"
#include "catalogue/storedform.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/progress.h"

namespace tracklore::cli {

int cmd_recover(const Options&, TerminalHost& host) {
  ProgressView view(isatty(STDERR_FILENO) != 0);
  host.setprogress(&view);
  std::vector<std::string> done;
  const int result = DB_Recover(&ProgressView::report, view.context(), &done);
  view.settle();
  host.setprogress(nullptr);
  for (const std::string& line : done) std::printf("%s\n", DB_StoredToUtf8(line).c_str());
  if (result != 0) return failure("the database could not be made whole; see above");
  std::printf(done.empty() ? "Nothing needed mending: the database is whole.\n"
                           : "Recovery complete: the database is whole.\n");
  return 0;
}

}  // namespace tracklore::cli
