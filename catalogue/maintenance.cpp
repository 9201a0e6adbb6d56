// Pack and reindex of the whole database, table by table.
#include "catalogue/maintenance.h"

#include <cstdint>
#include <cstdio>

#include "catalogue/openwait.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/datafile.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

// The order in which the tables are processed and numbered 1 to 5.
constexpr int kPassOrder[kTables] = {TitleTable, ArtistTable, ArtistRows, SongTable, SongRows};

// The longest line holds the main table's name (127 characters).
constexpr int kLineSize = 64 + kMainNameSize;

struct Pass {
  const char* line;       // progress line format: number, count, name
  const char* operation;  // for DB_CheckResult
  quill::ErrorCode (*run)(const char* base, quill::Progress* progress);
  bool pertag;  // one walk over the records per tag
  char* text;   // the pass's own line buffer
};

int runpass(const Pass& pass, ProgressCallback callback, void* context) {
  if (DB_Open(0, 1, 0, 1) != 0) return -1;
  int64_t total = 0;
  for (int index = 0; index < kTables; ++index) {
    quill::DataFile& table = DB_Table(index);
    total += int64_t{table.nrecs()} * (pass.pertag ? table.header().ntags : 1);
  }
  DB_Close();

  quill::Progress progress;
  progress.report = callback;
  progress.argument = context;
  progress.step = 100;
  progress.total = static_cast<int32_t>(total > INT32_MAX ? INT32_MAX : total);
  progress.done = 0;

  OpenWait wait;
  for (int n = 0; n < kTables; ++n) {
    const char* name = DB_TableName(kPassOrder[n]);
    if (context != nullptr) {
      std::snprintf(pass.text, kLineSize, pass.line, n + 1, kTables, name);
      *static_cast<const char**>(context) = pass.text;
    }
    // Others may take the tables between the steps: wait for them as an open does.
    ErrorCode rc = wait.run(name, [&] { return pass.run(name, &progress); });
    if (wait.busy()) return DB_ReportBusy(name);
    if (DB_CheckResult(rc, name, pass.operation) != 0) return -1;
  }
  return 0;
}

}  // namespace

int DB_Pack(ProgressCallback callback, void* context) {
  static char text[kLineSize];
  const Pass pass{"Packing table %d of %d [%s]", "pack", &quill::DataFile::pack, false, text};
  return runpass(pass, callback, context);
}

int DB_Reindex(ProgressCallback callback, void* context) {
  static char text[kLineSize];
  const Pass pass{"Reindexing table %d of %d [%s]", "reindex", &quill::DataFile::reindex, true,
                  text};
  return runpass(pass, callback, context);
}

}  // namespace tracklore
