// tracklore-cli create / pack / reindex / verify: the whole-database
// operations, which open and close the tables themselves.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue/host.h"
#include "catalogue/maintenance.h"
#include "catalogue/recover.h"
#include "catalogue/tableset.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/echo.h"
#include "tools/cli/progress.h"

namespace tracklore::cli {

namespace {

// Runs a pass, pass (callback, context), with its progress lines on stderr.
template <typename Pass>
int withprogress(TerminalHost& host, Pass pass) {
  ProgressView view(isatty(STDERR_FILENO) != 0);
  host.setprogress(&view);
  const int result = pass(&ProgressView::report, view.context());
  view.settle();
  host.setprogress(nullptr);
  return result;
}

// A failed pass's message, naming recover when the database was left (or
// found) needing it.
int passfailure(const char* pass) {
  return failure(DB_PassFailureText(pass) + (DB_NeedsRecovery() ? "; tracklore-cli recover mends it" : ""));
}

std::string here() {
  std::error_code ignored;
  return std::filesystem::current_path(ignored).string();
}

int reindex(TerminalHost& host) {
  if (withprogress(host, DB_Reindex) != 0) return passfailure("Reindex");
  std::printf("Reindex succeeded.\n");
  return 0;
}

}  // namespace

int cmd_create(const Options&, TerminalHost& host) {
  const int asked = host.questions();
  const int accepted = host.accepted();
  const int result = DB_Create();
  if (result == 0) {
    // The folder's name is the user's: a control character in it must not
    // act on the terminal.
    std::printf("created an empty database %s in %s\n", quotedtext(DB_MainName()).c_str(),
                escaped(here()).c_str());
    return 0;
  }
  if (host.questions() > asked && host.accepted() == accepted)
    return failure("a database (or what remains of one) is already here; nothing was created");
  return failure(DB_PassFailureText("Creation"));
}

int cmd_pack(const Options&, TerminalHost& host) {
  if (withprogress(host, DB_Pack) != 0) return passfailure("Pack");
  std::printf("Pack succeeded.\n");
  // A packed database cannot be used before its reindex. The program asks
  // because its user may choose to wait; a command line never gains by it,
  // and a script that is not asked must not be left with stale indexes.
  return reindex(host);
}

int cmd_reindex(const Options&, TerminalHost& host) { return reindex(host); }

namespace {

// Verification's own exit statuses: 0 when no problem remains, 1 when some
// do, 2 when it could not run (or had to stop).
enum : int { NothingRemains = 0, ProblemsRemain = 1, CouldNotRun = 2 };

std::string plural(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

void printsummary(const VerifySummary& s) {
  if (s.found == 0 && s.unchecked == 0) {
    std::printf("Verification complete: no problems found.\n");
    return;
  }
  std::string text = "Verification complete: " + plural(s.found, "problem") + " found, " +
                     std::to_string(s.corrected) + " corrected";
  if (s.failed > 0) text += ", " + plural(s.failed, "correction") + " failed";
  text += ".\n";
  if (s.uncorrectable > 0)
    text += plural(s.uncorrectable, "duplicate code") + " cannot be corrected automatically.\n";
  if (s.unchecked > 0)
    text += plural(s.unchecked, "table") +
            " not fully checked after a failed correction: reindex (tracklore-cli reindex), "
            "then verify again.\n";
  std::fputs(text.c_str(), stdout);
}

}  // namespace

int cmd_verify(const Options& options, TerminalHost& host) {
  // Where no question can be answered Yes nothing is written, so the
  // tables need not be writable.
  const bool neveryes = options.answer == Choice::No ||
                        (options.answer == Choice::Ask && isatty(STDIN_FILENO) == 0);
  const VerifyAccess access = neveryes ? VerifyAccess::ReadOnly : VerifyAccess::Repair;
  VerifySummary summary;
  const int result = withprogress(host, [&](ProgressCallback callback, void* context) {
    return DB_Verify(callback, context, access, &summary);
  });
  if (result == -1) {
    passfailure("Verification");
    return CouldNotRun;
  }
  if (result != 0) {
    failure("Verification stopped: an index does not match its records; reindex "
            "(tracklore-cli reindex), then verify again");
    return CouldNotRun;
  }
  printsummary(summary);
  return summary.corrected == summary.found && summary.unchecked == 0 ? NothingRemains
                                                                      : ProblemsRemain;
}

}  // namespace tracklore::cli
