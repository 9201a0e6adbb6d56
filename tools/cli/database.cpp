#include "tools/cli/database.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "catalogue/findname.h"
#include "catalogue/fullnames.h"
#include "catalogue/journal.h"
#include "catalogue/recover.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "tools/cli/echo.h"

namespace tracklore::cli {

using quill::Ok;
using quill::Rlist;


Session::Session(bool write) {
  if (DB_Open(write ? quill::OpenMode{} : DB_ReadMode()) == 0) {
    open_ = true;
    // An edit would be refused: say why once, before anything is done.
    if (write && DB_HasUnfinishedEdit()) {
      DB_Close();
      open_ = false;
      failure("an edit was interrupted and is still unfinished; tracklore-cli recover mends it");
    }
    return;
  }
  std::error_code ignored;
  // An interrupted change, or a pack whose reindex was declined, leaves the
  // records sound and only the index behind them: recovery mends both.
  failure("cannot open the database " + quotedtext(DB_MainName()) + " in " +
          quotedtext(std::filesystem::current_path(ignored).string()) +
          (DB_NeedsRecovery() ? "; tracklore-cli recover mends it" : ""));
}

namespace {
quill::ErrorCode g_closefailure = quill::Ok;
}  // namespace

// A destructor cannot change the command's status: main asks afterwards.
Session::~Session() {
  if (!open_) return;
  DB_Close();
  if (DB_CloseResult() != quill::Ok && g_closefailure == quill::Ok)
    g_closefailure = DB_CloseResult();
}

quill::ErrorCode sessionclosefailure() { return g_closefailure; }

int failure(const std::string& text) {
  std::fprintf(stderr, "tracklore-cli: %s\n", text.c_str());
  return 1;
}

Record current(Rlist& cursor, Kind kind) {
  return {cursor.field(F_Code).aslong(), DB_CurrentFullName(cursor, kind)};
}

std::string describe(Kind kind, const Record& record) {
  return std::string(kindword(kind, SingularForm)) + " " + quotedtext(record.name) + " (#" +
         std::to_string(record.code) + ")";
}

bool parsecode(const std::string& operand, int32_t* code) {
  if (operand.size() < 2 || operand[0] != '#') return false;
  for (size_t i = 1; i < operand.size(); ++i)
    if (operand[i] < '0' || operand[i] > '9') return false;
  errno = 0;
  long value = std::strtol(operand.c_str() + 1, nullptr, 10);
  if (errno != 0 || value > INT32_MAX) return false;
  *code = static_cast<int32_t>(value);
  return true;
}

quill::ErrorCode seekcode(Rlist& cursor, int32_t code) {
  (void)cursor.select(T_Code);  // a tag of the schema
  if (cursor.selected() != T_Code) return quill::NotFound;
  uint8_t key[4];
  quill::put4(key, code);
  return cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
}

bool readrecord(Kind kind, int32_t code, Record* found) {
  Rlist cursor(&DB_Table(kindtable(kind)));
  if (seekcode(cursor, code) != Ok) return false;
  *found = current(cursor, kind);
  return true;
}

std::vector<Record> samenamed(Kind kind, const std::string& full) {
  std::vector<Record> same;
  for (int32_t code : DB_FindSameName(kind, full)) {
    Record r;
    if (readrecord(kind, code, &r)) same.push_back(std::move(r));
  }
  return same;
}

std::vector<Record> alike(Kind kind, const std::string& full) {
  std::vector<Record> others;
  for (const NamedRecord& r : DB_FindSortingEqual(kind, DB_StoredForm(kind, full).stored)) {
    std::string name = DB_FullName(kind, r.code, r.name);
    if (!DB_SameName(name, full)) others.push_back({r.code, std::move(name)});
  }
  return others;
}

std::string codelabel(Kind kind, int32_t code) {
  std::string label = "#" + std::to_string(code);
  if (kind != Kind::Album) return label;
  Rlist album(&DB_Table(TitleTable));
  if (seekcode(album, code) != quill::Ok) return label;
  const std::string artist = DB_FirstArtistName(album);
  return label + " (" + (artist.empty() ? "no artist" : escaped(artist)) + ")";
}

std::string codelist(Kind kind, const std::vector<Record>& records) {
  std::string list;
  for (const Record& r : records) list += (list.empty() ? "" : ", ") + codelabel(kind, r.code);
  return list;
}

int locate(Kind kind, const std::string& operand, Record* found, quill::Rlist& cursor) {
  if (!resolve(kind, operand, found)) return 1;
  if (seekcode(cursor, found->code) != quill::Ok) return failure("cannot read " + describe(kind, *found));
  return 0;
}

bool resolve(Kind kind, const std::string& operand, Record* found) {
  const char* word = kindword(kind, SingularForm);
  int32_t code;
  if (parsecode(operand, &code)) {
    if (readrecord(kind, code, found)) return true;
    failure(std::string("no ") + word + " has the code #" + std::to_string(code));
    return false;
  }
  const std::string full = DB_FullForm(operand).text;
  std::vector<Record> same = samenamed(kind, full);
  if (same.size() == 1) {
    *found = std::move(same.front());
    return true;
  }
  if (same.size() > 1) {
    failure(std::string("several ") + kindword(kind, PluralForm) + " are named " + quotedtext(full) +
            ": " + codelist(kind, same) + "; name one by its code");
    return false;
  }
  std::string text = std::string("no ") + word + " is named " + quotedtext(full);
  const std::vector<Record> similar = alike(kind, full);
  if (!similar.empty()) {
    std::string list;
    for (const Record& r : similar)
      list += (list.empty() ? "" : ", ") + quotedtext(r.name) + " " + codelabel(kind, r.code);
    text += " (similar: " + list + ")";
  }
  failure(text);
  return false;
}

}  // namespace tracklore::cli
