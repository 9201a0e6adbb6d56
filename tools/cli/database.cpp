#include "tools/cli/database.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "catalogue/findname.h"
#include "catalogue/journal.h"
#include "catalogue/recover.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "tools/cli/cp1252.h"
#include "tools/cli/echo.h"
#include "tools/cli/names.h"

namespace tracklore::cli {

using quill::Ok;
using quill::Rlist;


Session::Session(bool write) {
  if (DB_Open({.readonly = !write}) == 0) {
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

Session::~Session() {
  if (open_) DB_Close();
}

int failure(const std::string& text) {
  std::fprintf(stderr, "tracklore-cli: %s\n", text.c_str());
  return 1;
}

std::string storedname(Rlist& cursor) {
  const quill::Field& field = cursor.field(F_Name);
  const char* data = reinterpret_cast<const char*>(field.data());
  return std::string(data, strnlen(data, static_cast<size_t>(field.length())));
}

Record current(Rlist& cursor) { return {cursor.field(F_Code).aslong(), storedname(cursor)}; }

std::string describe(int kind, const Record& record) {
  return std::string(KindNames[kind][SingularForm]) + " " + inquotes(record.name) + " (#" +
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
  cursor.select(T_Code);
  if (cursor.selected() != T_Code) return quill::NotFound;
  uint8_t key[4];
  quill::put4(key, code);
  return cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any);
}

NameMatches findname(int kind, const std::string& stored) {
  NameMatches matches;
  for (const NamedRecord& r : DB_FindSortingEqual(kind, stored))
    (r.name == stored ? matches.exact : matches.similar).push_back({r.code, r.name});
  return matches;
}

std::string codelist(const std::vector<Record>& records) {
  std::string list;
  for (const Record& r : records) list += (list.empty() ? "#" : ", #") + std::to_string(r.code);
  return list;
}

int locate(int kind, const std::string& operand, Record* found, quill::Rlist& cursor) {
  if (!resolve(kind, operand, found)) return 1;
  if (seekcode(cursor, found->code) != quill::Ok) return failure("cannot read " + describe(kind, *found));
  return 0;
}

bool resolve(int kind, const std::string& operand, Record* found) {
  const char* word = KindNames[kind][SingularForm];
  int32_t code;
  if (parsecode(operand, &code)) {
    Rlist cursor(&DB_Table(kind));
    if (seekcode(cursor, code) != Ok) {
      failure(std::string("no ") + word + " has the code #" + std::to_string(code));
      return false;
    }
    *found = current(cursor);
    return true;
  }
  std::string stored, problem;
  if (!fromutf8(operand, &stored, &problem)) {
    failure(std::string("no ") + word + " can be named " + quotedtext(operand) + ": " + problem);
    return false;
  }
  stored = capitalised(stored);
  NameMatches matches = findname(kind, stored);
  if (matches.exact.size() == 1) {
    *found = matches.exact.front();
    return true;
  }
  if (matches.exact.size() > 1) {
    failure(std::string("several ") + KindNames[kind][PluralForm] + " are named " + inquotes(stored) +
            ": " + codelist(matches.exact) + "; name one by its code");
    return false;
  }
  std::string text = std::string("no ") + word + " is named " + inquotes(stored);
  if (!matches.similar.empty()) {
    std::string similar;
    for (const Record& r : matches.similar)
      similar += (similar.empty() ? "" : ", ") + inquotes(r.name) + " #" + std::to_string(r.code);
    text += " (similar: " + similar + ")";
  }
  failure(text);
  return false;
}

}  // namespace tracklore::cli
