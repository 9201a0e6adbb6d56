// tracklore-cli: the music catalogue from the command line, for scripts and
// maintenance without the windowed program.
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

#include "catalogue/host.h"
#include "catalogue/journal.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/errors.h"
#include "tools/cli/args.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"
#include "tools/cli/terminalhost.h"

using namespace tracklore;
using namespace tracklore::cli;

namespace {

// The main table's stem names a file of the database directory; the fixed
// tables' names are taken.
bool validstem(const std::string& stem) {
  if (stem.empty() || stem.size() >= static_cast<size_t>(kMainNameSize)) return false;
  if (stem.find('/') != std::string::npos || stem == "." || stem == "..") return false;
  for (int index = 1; index < kAllTables; ++index)
    if (strcasecmp(stem.c_str(), fixedname(index)) == 0) return false;
  return true;
}

// The engine's and catalogue's messages name tables and records; what the
// user or a file put in a name must not reach the terminal raw.
int safereporter(quill::ReportLevel level, const char* title, const char* text) {
  return quill::stderr_reporter(level, title, escaped(text, LineBreaks::Keep).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  quill::install_alloc_check();
  quill::reporter = safereporter;
  Options options;
  std::string error;
  if (!parseargs(argc, argv, &options, &error)) return usageerror(error);
  if (options.help || options.command == "help") {
    printusage(stdout);
    return 0;
  }
  if (options.command.empty()) {
    printusage(stderr);
    return 2;
  }
  if (!validstem(options.mainname))
    return usageerror("--main takes a file name without extension or directory, other than the "
                      "fixed tables' names");
  // Paths the command takes (scan's folders) are the user's, not -C's.
  if (char* here = getcwd(nullptr, 0)) {
    options.startdir = here;
    std::free(here);
  }
  if (!options.directory.empty() && chdir(options.directory.c_str()) != 0) {
    std::fprintf(stderr, "tracklore-cli: cannot work in %s: %s\n", quotedtext(options.directory).c_str(),
                 std::strerror(errno));
    return 1;
  }
  // validstem has refused a name too long to take.
  (void)DB_SetMainName(options.mainname.c_str());

  TerminalHost host(options.answer, options.purge, isatty(STDIN_FILENO) != 0);
  DB_SetHost(&host);
  // An edit that fails once it has begun changing its tables (its tables
  // could not be written out at its end) is left for recovery to take back.
  int status = runcommand(options, host);
  DB_SetHost(nullptr);
  if (const ErrorCode closed = sessionclosefailure(); closed != quill::Ok)
    status = failure("the database could not be closed cleanly (" + DB_FailureText(closed) +
                     "); tracklore-cli recover mends it");
  else if (status != 0 && DB_LeftUnfinishedEdit())
    status = failure("the change was left unfinished; tracklore-cli recover takes it back");
  return status;
}
