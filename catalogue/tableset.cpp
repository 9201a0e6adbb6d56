#include "catalogue/tableset.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue/host.h"
#include "catalogue/mainfile.h"
#include "catalogue/openwait.h"
#include "catalogue/optionaltable.h"
#include "catalogue/schema.h"
#include "catalogue/sparecursors.h"
#include "catalogue/translate.h"
#include "engine/errors.h"

namespace tracklore {

namespace {

struct TableSetState {
  quill::DataFile tables[kAllTables];
  int open = 0;
  ErrorCode openresult = quill::Ok;
  Refusal refusal = Refusal::None;
  ErrorCode closeresult = quill::Ok;
  ErrorCode checkresult = quill::Ok;
  std::string checkedtable;  // the table DB_CheckResult was last given
  char mainname[kMainNameSize] = "maindb";
};

// Built at first use and destroyed at exit, which closes any open table.
TableSetState& state() {
  static TableSetState set;
  return set;
}

// The order in which the tables are opened.
constexpr int kOpenOrder[kTables] = {TitleTable, ArtistTable, ArtistRows, SongTable, SongRows};

// A table opened and found to be of the schema's shape: 0, or -1 after it
// was reported and the set closed (busy: -1 after saying so).
int opentable(OpenWait& wait, int index, quill::OpenMode mode) {
  const char* name = DB_TableName(index);
  ErrorCode rc = wait.open(DB_Table(index), name, mode);
  state().openresult = rc;
  state().refusal = wait.refusal();
  if (wait.busy()) {
    DB_Close();
    return DB_ReportBusy(name);
  }
  if (wait.refusal() == Refusal::NotAllowed) {
    DB_Close();
    return DB_ReportNotAllowed(name, rc);
  }
  if (DB_CheckResult(rc, name, "open") != 0) return -1;
  // Every later step reads fields and tags by number: a table of another
  // shape would hand it fields that do not exist.
  const std::string difference = schemadifference(index, DB_Table(index).header());
  if (!difference.empty()) {
    quill::warning(DB_Tr("Catalogue",
                         "Operation open failed on Datafile \"%s\".\nIt is not a table of a music "
                         "database: %s."),
                   name, difference.c_str());
    DB_Close();
    return -1;
  }
  return 0;
}

// An optional table after the five: opened when it is there; made first
// when it is not and the five are held for writing by this process alone
// (no other program can then be adding it too). Read-only or shared, a
// database without it works as before (every full name its stored one, no
// file a scan catalogued remembered), and so does one where it cannot be
// made (a directory that takes no new file), which is said once.
int openoptionaltable(OpenWait& wait, int index, quill::OpenMode mode) {
  if (!DB_OptionalTableThere(index)) {
    if (mode.readonly || mode.shared) return 0;
    const ErrorCode rc = DB_AddOptionalTable(index);
    if (rc != quill::Ok) {
      quill::warning(
          DB_Tr("Catalogue", "Operation create failed on Datafile \"%s\".\nReturn value: %s.\n%s"),
          DB_TableName(index), quill::errname(rc),
          index == NameTable
              ? DB_Tr("Catalogue", "Names are kept in their stored form only until it can be made.")
              : DB_Tr("Catalogue", "Scans remember no file until it can be made."));
      return 0;
    }
  }
  return opentable(wait, index, mode);
}

}  // namespace

quill::DataFile& DB_Table(int index) { return state().tables[index]; }

int DB_IsOpen() { return state().open; }

ErrorCode DB_OpenResult() { return state().openresult; }

Refusal DB_OpenRefusal() { return state().refusal; }

bool DB_IsReadOnly() {
  quill::DataFile& title = DB_Table(TitleTable);
  return title.isopen() && title.readonly();
}

const char* DB_MainName() { return state().mainname; }

int DB_SetMainName(const char* name) {
  size_t length = std::strlen(name);
  if (length >= kMainNameSize) return -1;
  std::memcpy(state().mainname, name, length + 1);
  return 0;
}

const char* DB_TableName(int index) {
  return index == TitleTable ? DB_MainName() : fixedname(index);
}

int DB_CheckResult(ErrorCode result, const char* table, const char* operation) {
  state().checkresult = result;
  state().checkedtable = table;
  if (result == quill::Ok) return 0;
  const std::string missing = DB_MissingTableFile();
  if (!missing.empty())
    quill::warning(
        DB_Tr("Catalogue", "Operation %s failed on Datafile \"%s\": its file %s is missing."),
        operation, table, missing.c_str());
  else if (result == quill::DiskFull)
    quill::warning(DB_Tr("Catalogue", "Operation %s failed on Datafile \"%s\": %s."), operation,
                   table, DB_FailureText(result).c_str());
  else
    quill::warning(DB_Tr("Catalogue", "Operation %s failed on Datafile \"%s\".\nReturn value: %s."),
                   operation, table, quill::errname(result));
  DB_Close();
  return -1;
}

int DB_Open(quill::OpenMode mode, MainFile main) {
  DB_DropSpareCursors();
  state().openresult = quill::Ok;
  state().refusal = Refusal::None;
  state().checkresult = quill::Ok;
  if (main == MainFile::Ask) {
    const FileRequest request = mainfilerequest(
        DB_Tr("Catalogue", "Choose database main file"),
        DB_Tr("Catalogue", "Database main files (maindb.db1)|maindb.db1|All Files (*.*)|*.*||"),
        "");
    std::string path;
    if (!DB_Host().openfile(request, &path)) return -1;
    if (takemainfile(path, ExtensionCase::Any) != 0) return -1;
  }
  // Reopening an object that is still open would strand its cursors' view
  // of the old files; start from a closed set instead.
  if (state().open) {
    DB_Close();
    if (DB_CheckClose() != 0) return -1;
  }
  OpenWait wait;
  for (int index : kOpenOrder)
    if (opentable(wait, index, mode) != 0) return -1;
  if (openoptionaltable(wait, NameTable, mode) != 0) return -1;
  if (openoptionaltable(wait, ScanFileTable, mode) != 0) return -1;
  state().open = 1;
  return 0;
}

quill::OpenMode DB_ReadMode() {
  // Only a hint: whoever comes between is waited for as by any open.
  for (int index = 0; index < kAllTables; ++index) {
    quill::File probe;
    const std::string path = std::string(DB_TableName(index)) + ".db1";
    if (probe.open(path.c_str(), quill::Access::ReadOnly, quill::Sharing::Exclusive) != 0 &&
        quill::File::lastopenerror() == EWOULDBLOCK)
      return kReadBeside;
  }
  return {.readonly = true};
}

int DB_Close() {
  DB_DropSpareCursors();
  ErrorCode first = quill::Ok;
  constexpr int kCloseOrder[] = {TitleTable, ArtistTable, ArtistRows,
                                 SongTable,  SongRows,    NameTable, ScanFileTable};
  for (int index : kCloseOrder) {
    const ErrorCode rc = DB_Table(index).close();
    if (rc != quill::Ok && first == quill::Ok) first = rc;
  }
  state().closeresult = first;
  state().open = 0;
  return 0;
}

ErrorCode DB_CloseResult() { return state().closeresult; }

int DB_CheckClose() {
  const ErrorCode rc = state().closeresult;
  if (rc == quill::Ok) return 0;
  quill::warning(DB_Tr("Catalogue", "The database could not be closed cleanly: %s.\nWhat it still held was "
                                    "not written, so it needs recovery: open it again and recover it "
                                    "when asked."),
                 DB_FailureText(rc).c_str());
  return -1;
}

ErrorCode DB_CheckedResult() { return state().checkresult; }

std::string DB_MissingTableFile() {
  if (state().checkresult != quill::DataOpen) return "";
  const std::string file = state().checkedtable + ".db1";
  std::error_code error;
  return std::filesystem::exists(file, error) || error ? "" : file;
}

}  // namespace tracklore
