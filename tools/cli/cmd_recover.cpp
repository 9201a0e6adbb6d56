// tracklore-cli recover: mends, in one step, a database that a crash or a
// killed command left unfinished, and says what it did.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/recover.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/progress.h"

namespace tracklore::cli {

int cmd_recover(const Options&, TerminalHost& host) {
  ProgressView view(isatty(STDERR_FILENO) != 0);
  host.setprogress(&view);
  std::vector<std::string> done;
  std::string advice;
  const int result = DB_Recover(&ProgressView::report, view.context(), &done, &advice);
  view.settle();
  host.setprogress(nullptr);
  for (const std::string& line : done) std::printf("%s\n", line.c_str());
  // A change that could not be undone is lost, even though the database is
  // whole again: a script must not take that for success.
  if (result == -2) return failure("an interrupted change could not be undone. " + advice);
  if (result != 0) return failure("the database could not be made whole; see above. " + advice);
  std::printf(done.empty() ? "Nothing needed mending: the database is whole.\n"
                           : "Recovery complete: the database is whole.\n");
  return 0;
}

}  // namespace tracklore::cli
