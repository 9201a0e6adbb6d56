// Pack and reindex of the whole database, table by table.
#include "catalogue/maintenance.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "catalogue/progress.h"
#include "catalogue/recover.h"
#include "catalogue/openwait.h"
#include "catalogue/schema.h"
#include "catalogue/tablefiles.h"
#include "catalogue/tableset.h"
#include "engine/datafile.h"
#include "engine/diskroom.h"
#include "engine/errors.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

// The order in which the tables are processed and numbered 1 to 5, then
// the optional tables that the database has.
constexpr int kPassOrder[kAllTables] = {TitleTable, ArtistTable, ArtistRows, SongTable,
                                        SongRows,   NameTable,   ScanFileTable};

// The longest line holds the main table's name (127 characters).
constexpr int kLineSize = 64 + kMainNameSize;

struct Pass {
  const char* line;       // progress line format: number, count, name
  const char* operation;  // for DB_CheckResult
  quill::ErrorCode (*run)(const char* base, quill::Progress* progress);
  bool pertag;  // one walk over the records per tag
  char* text;   // the pass's own line buffer
};

// The pass renames its new file over the table's: a file that cannot be
// written in place must not be replaced that way. 0, or -1 after the
// refusal is shown.
int writable(const Pass& pass, const char* name) {
  const std::string link = linkedfile(name);
  if (!link.empty()) {
    quill::warning("Operation %s refused on Datafile \"%s\".\nThe file %s is a symbolic link, "
                   "which the new file would replace; nothing was changed. Put the table's "
                   "files themselves in the database's folder first.",
                   pass.operation, name, link.c_str());
    return -1;
  }
  const std::string path = unwritablefile(name, HeldFile::Writable);
  if (path.empty()) return 0;
  quill::warning("Operation %s refused on Datafile \"%s\".\nThe file %s cannot be written; "
                 "nothing was changed.",
                 pass.operation, name, path.c_str());
  return -1;
}

int runpass(const Pass& pass, ProgressCallback callback, void* context) {
  if (DB_Open({.readonly = true, .noindex = true}) != 0) return -1;
  int64_t total = 0;
  for (int index = 0; index < kAllTables; ++index) {
    quill::DataFile& table = DB_Table(index);
    if (table.isopen()) total += int64_t{table.nrecs()} * (pass.pertag ? table.header().ntags : 1);
  }
  int order[kAllTables];
  int tables = 0;
  for (int index : kPassOrder)
    if (DB_Table(index).isopen()) order[tables++] = index;
  DB_Close();
  DB_RemoveStrayFiles();
  for (int n = 0; n < tables; ++n)
    if (writable(pass, DB_TableName(order[n])) != 0) return -1;
  // Refused before the first table rather than after some were rebuilt.
  for (int n = 0; n < tables; ++n) {
    const char* name = DB_TableName(order[n]);
    if (quill::roomlacking(name) > 0) return DB_CheckResult(quill::DiskFull, name, pass.operation);
  }

  quill::Progress progress;
  progress.report = callback;
  progress.argument = context;
  progress.step = 100;
  progress.total = static_cast<int32_t>(total > INT32_MAX ? INT32_MAX : total);
  progress.done = 0;

  OpenWait wait;
  for (int n = 0; n < tables; ++n) {
    const char* name = DB_TableName(order[n]);
    if (context != nullptr) {
      std::snprintf(pass.text, kLineSize, pass.line, n + 1, tables, tablecontent(order[n]));
      *static_cast<const char**>(context) = pass.text;
    }
    // The scan reports only as records go by: an empty table would pass
    // without its line ever being shown.
    if (callback != nullptr) callback(context, progresspercent(progress));
    // Others may take the tables between the steps: wait for them as an open does.
    ErrorCode rc = wait.run([&] { return pass.run(name, &progress); });
    if (wait.busy()) return DB_ReportBusy(name);
    if (DB_CheckResult(rc, name, pass.operation) != 0) return -1;
  }
  return 0;
}

}  // namespace

int DB_Pack(ProgressCallback callback, void* context) {
  static char text[kLineSize];
  const Pass pass{"Packing table %d of %d: %s", "pack", &quill::DataFile::pack, false, text};
  return runpass(pass, callback, context);
}

int DB_Reindex(ProgressCallback callback, void* context) {
  static char text[kLineSize];
  const Pass pass{"Reindexing table %d of %d: %s", "reindex", &quill::DataFile::reindex, true,
                  text};
  return runpass(pass, callback, context);
}

std::string DB_PassFailureText(const char* pass) {
  if (DB_CheckedResult() == quill::DiskFull)
    return std::string(pass) + " failed: " + DB_FailureText(quill::DiskFull);
  if (const std::string missing = DB_MissingTableFile(); !missing.empty())
    return std::string(pass) + " failed: the table file " + missing + " is missing";
  // A pass stopped half-way (or a crash before it) leaves indexes behind
  // their records or an edit unfinished: recovery, not a retry, mends that.
  if (DB_NeedsRecovery()) return std::string(pass) + " failed: the database needs recovery";
  return std::string(pass) + " failed. Check if a file is open or locked";
}

}  // namespace tracklore
