// tracklore-cli scan: catalogue music folders from their files' tags.
//
// Without folders it rescans the folders the database remembers. Folders
// are remembered in full (made absolute), so that a rescan from another
// working directory finds the same paths.
//
// Safe to repeat (what is there is left as it is, an interrupted scan is
// completed) and safe to interrupt (batches of albums reach the disk
// whole). The summary goes to stdout, the bar to a terminal's stderr, and
// with --report one line per skipped file, copy, album left alone or name
// stored otherwise to FILE. Folders that hold no audio file are an error:
// an unmounted share must not pass for a scan that found nothing new.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/scanrun.h"
#include "tags/folderreader.h"
#include "tools/cli/commands.h"
#include "tools/cli/database.h"
#include "tools/cli/scanprogress.h"

namespace tracklore::cli {

namespace {

std::string usersplace(const Options& options, const std::string& path) {
  if (options.directory.empty() || path.empty() || path[0] == '/' || options.startdir.empty()) return path;
  return options.startdir + "/" + path;
}

// The folder's path from the root, without "." and ".." steps or a
// trailing slash.
std::string absolutefolder(const std::string& folder) {
  std::string path = std::filesystem::absolute(folder).lexically_normal().string();
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string joined(const std::vector<std::string>& folders) {
  std::string text;
  for (const std::string& f : folders) text += (text.empty() ? "" : ", ") + f;
  return text;
}

}  // namespace

int cmd_scan(const Options& options, TerminalHost&) {
  std::vector<std::string> roots;
  for (const std::string& operand : options.operands) {
    const std::string root = usersplace(options, operand);
    struct stat st;
    if (stat(root.c_str(), &st) != 0) return failure("cannot scan " + operand + ": " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) return failure("cannot scan " + operand + ": not a folder");
    roots.push_back(absolutefolder(root));
  }
  std::ofstream report;
  if (options.report) {
    report.open(usersplace(options, *options.report), std::ios::out | std::ios::trunc);
    if (!report) return failure("cannot write " + *options.report + ": " + std::strerror(errno));
  }
  const WriteMode mode = options.dryrun ? WriteMode::DryRun : WriteMode::Write;
  Session session(mode == WriteMode::Write);
  if (!session.ok()) return 1;
  // A missing remembered folder (an unmounted drive) is walked all the
  // same: the scan says so and changes nothing below it.
  if (roots.empty()) roots = DB_ScannedFolders();
  if (roots.empty()) return failure("no folder to rescan: the database remembers none; give the folders to scan");
  std::vector<std::string> shown = options.operands.empty() ? roots : options.operands;

  tags::FolderReader reader(roots, options.hidden);
  const bool terminal = isatty(STDERR_FILENO) != 0;
  ScanBar bar(terminal, terminal ? reader.countfiles() : 0);
  ScanNotes notes([&](const std::string& line) {
    if (report.is_open()) report << line << '\n';
  });
  ScanRunOptions run;
  run.mode = mode;
  run.folders = roots;
  run.hidden = options.hidden;
  run.preferfiles = options.preferfiles;
  run.progress = [&](const ScanCounts& counts) {
    bar.update(counts.filesread);
    return true;
  };
  ScanSummary summary;
  const int rc = DB_ScanMusic(reader, notes, run, &summary);
  bar.settle(summary.counts.filesread);
  std::fputs(DB_ScanSummaryText(summary, notes, mode).c_str(), stdout);
  if (report.is_open() && !report.flush()) failure("the report could not be written in full");
  if (rc == 0 && summary.noaudio())
    return failure("no audio file found in " + joined(shown) +
                   (notes.hiddenentries > 0 ? " (hidden files and folders are read with --hidden)" : ""));
  if (rc != 0)
    return failure("scan stopped at album " + summary.failedalbum + " after " +
                   std::to_string(summary.counts.filesread) + (summary.counts.filesread == 1 ? " file: " : " files: ") +
                   DB_FailureText(summary.error) +
                   "; tracklore-cli recover takes back the unfinished batch, and a second scan "
                   "completes the rest");
  return 0;
}

}  // namespace tracklore::cli
