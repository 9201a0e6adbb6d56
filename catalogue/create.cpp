// Making a new, empty database in a directory the user picks.
#include <strings.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "catalogue/buildtable.h"
#include "catalogue/host.h"
#include "catalogue/mainfile.h"
#include "catalogue/maintenance.h"
#include "catalogue/optionaltable.h"
#include "catalogue/schema.h"
#include "catalogue/tablefiles.h"
#include "catalogue/tableset.h"
#include "catalogue/translate.h"
#include "engine/datafile.h"
#include "engine/errors.h"
#include "engine/file.h"
#include "engine/maintain.h"

namespace tracklore {

namespace {

// Windows finds "*.db1" in any letter case; so does this.
bool anydatafile() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(".", error)) {
    std::string name = entry.path().filename().string();
    if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".db1") == 0) return true;
  }
  return false;
}

// A main table under one of the fixed names would be overwritten by that
// table (or overwrite it) during creation.
bool clasheswithfixed(const std::string& title) {
  for (int index = 1; index < kAllTables; ++index)
    if (strcasecmp(title.c_str(), fixedname(index)) == 0) return true;
  return strcasecmp(title.c_str(), buildingname(NameTable)) == 0 ||
         strcasecmp(title.c_str(), buildingname(ScanFileTable)) == 0;
}

int check(quill::ErrorCode result, const char* table) {
  return DB_CheckResult(result, table, "create");
}

// The order in which the tables are created: the optional tables last, as
// a database made without them gets them later.
constexpr int kCreateOrder[kAllTables] = {TitleTable, ArtistTable, ArtistRows, SongTable,
                                          SongRows,   NameTable,   ScanFileTable};

// Creation empties each table's file in turn: a table that cannot be made
// must be found before the first one is emptied. The existing files must
// open for writing (held elsewhere, read-only or not a file, they cannot be
// replaced) and the directory must take new files. 0, or -1 after saying
// which file stands in the way.
int cancreate() {
  for (int index : kCreateOrder) {
    const char* name = DB_TableName(index);
    const std::string path = unwritablefile(name, HeldFile::Unwritable);
    if (path.empty()) continue;
    quill::warning(
        DB_Tr("Catalogue",
              "Operation create failed on Datafile \"%s\".\nThe file %s cannot be written; "
              "nothing was changed."),
        name, path.c_str());
    return -1;
  }
  char probe[16];
  if (!quill::tmpcreate(probe, "")) {
    quill::warning(DB_Tr("Catalogue",
                         "Operation create failed: no file can be made in this directory; nothing "
                         "was changed."));
    return -1;
  }
  // A probe left behind is a stray temporary file, which verify removes.
  (void)quill::File::removefile(probe);
  return 0;
}

std::string namelist(const int* first, const int* last) {
  std::string list;
  for (const int* index = first; index != last; ++index)
    list += (list.empty() ? "" : ", ") + std::string(DB_TableName(*index));
  return list.empty() ? DB_Tr("Catalogue", "none") : list;
}

// After creation stopped at the table at position failed of the order: the
// tables before it are new and empty, those after it untouched.
void reportmixture(int failed) {
  quill::warning(DB_Tr("Catalogue",
                       "Creation stopped at table \"%s\", which is unfinished.\nReplaced by new "
                       "empty tables: %s.\nLeft as they were: %s."),
                 DB_TableName(kCreateOrder[failed]),
                 namelist(kCreateOrder, kCreateOrder + failed).c_str(),
                 namelist(kCreateOrder + failed + 1, kCreateOrder + kAllTables).c_str());
}

// Creation in the current directory under the main name in force.
int createhere() {
  if (anydatafile()) {
    Answer answer = DB_Host().question(
        DB_Tr(
            "Catalogue",
            "A database (or remains thereof) already seems to exist in this directory.\nIf you go "
            "ahead and create a new database, the current one will be overwritten.\nAre you sure "
            "you want to proceed?"),
        DB_Tr("Catalogue", "Create database"), Buttons::OKCancel, Icon::Question,
        DefaultButton::Refuse);
    if (answer != Answer::OK) return -1;
  }
  // The database open until now (here or elsewhere) may have held back
  // writes: its loss is told before anything is created.
  DB_Close();
  if (DB_CheckClose() != 0) return -1;

  WaitCursor wait;
  if (cancreate() != 0) return -1;
  for (int n = 0; n < kAllTables; ++n) {
    const char* name = DB_TableName(kCreateOrder[n]);
    if (check(buildtable(name, kCreateOrder[n]), name) != 0) {
      reportmixture(n);
      return -1;
    }
  }
  return DB_Reindex(nullptr, nullptr);
}

}  // namespace

int DB_Create() {
  const FileRequest request = mainfilerequest(DB_Tr("Catalogue", "Choose directory where database will be created"),
                                              DB_Tr("Catalogue", "Database main files (*.db1)|*.db1||"), "db1");
  std::string path;
  if (!DB_Host().savefile(request, &path)) return -1;
  if (clasheswithfixed(splitchosen(path).title)) return -1;
  if (takemainfile(path, ExtensionCase::Exact) != 0) return -1;
  return createhere();
}

int DB_CreateIn(const std::string& folder) {
  std::error_code error;
  std::filesystem::current_path(folder, error);
  if (error) {
    quill::warning(DB_Tr("Catalogue", "Operation create failed: the folder %s cannot be entered (%s); nothing was "
                   "changed."),
                   folder.c_str(), error.message().c_str());
    return -1;
  }
  if (DB_SetMainName(kDefaultMainName) != 0) return -1;
  return createhere();
}

}  // namespace tracklore
