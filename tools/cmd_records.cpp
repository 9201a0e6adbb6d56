// quill append / load / list / seek / update / delete: working with records.
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "engine/datafile.h"
#include "engine/rlist.h"
#include "tools/commands.h"
#include "tools/tableio.h"

namespace quilltool {

using namespace quill;

namespace {

// The choice that the word names, if any.
template <class Choice>
std::optional<Choice> pick(const std::string& word,
                           std::initializer_list<std::pair<const char*, Choice>> choices) {
  for (const auto& [name, choice] : choices)
    if (word == name) return choice;
  return std::nullopt;
}

// Opens a table for the command: exclusively, with its index. 0, or the
// command's exit status once the failure is said.
int opentable(DataFile& table, const std::string& base, bool write) {
  const ErrorCode rc = table.open(base.c_str(), {.readonly = !write});
  return rc == Ok ? 0 : fail("open " + base, rc);
}

bool split_tabs(const std::string& line, std::vector<std::string>* cells) {
  cells->clear();
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    cells->push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return true;
    start = tab + 1;
  }
}

}  // namespace

int cmd_append(const Args& args) {
  if (args.size() < 2) return usage_error("append takes BASE FIELD=VALUE...");
  DataFile table;
  if (int status = opentable(table, args[0], true); status != 0) return status;
  Rlist cursor(&table);
  if (!assign(cursor, table.header(), Args(args.begin() + 1, args.end()))) return 1;
  if (ErrorCode rc = cursor.append(); rc != Ok) return fail("append", rc);
  std::printf("%s\n", recordline(cursor).c_str());
  return 0;
}

int cmd_load(const Args& args) {
  if (args.size() != 2) return usage_error("load takes BASE FILE");
  std::ifstream in(args[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "quill: cannot read %s\n", args[1].c_str());
    return 1;
  }
  DataFile table;
  if (int status = opentable(table, args[0], true); status != 0) return status;
  // Many appends: force the data to disk once at the end, not per record.
  ErrorCode rc = table.defersync(true);
  if (rc != Ok) return fail("append", rc);
  Rlist cursor(&table);
  const Header& h = table.header();
  std::vector<int> columns;  // every field the engine does not assign itself
  for (int f = 0; f < h.nfields; ++f)
    if (h.fields[static_cast<size_t>(f)].type != 'X') columns.push_back(f);

  std::string line;
  std::vector<std::string> cells;
  long lineno = 0, loaded = 0;
  while (std::getline(in, line)) {
    ++lineno;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    split_tabs(line, &cells);
    if (cells.size() != columns.size()) {
      std::fprintf(stderr, "quill: %s:%ld: %zu values for %zu fields; %ld records loaded\n",
                   args[1].c_str(), lineno, cells.size(), columns.size(), loaded);
      return 1;
    }
    for (size_t i = 0; i < columns.size(); ++i)
      if (!setfield(cursor.field(columns[i]), cells[i])) {
        std::fprintf(stderr, "quill: %s:%ld: %ld records loaded\n", args[1].c_str(), lineno, loaded);
        return 1;
      }
    rc = cursor.append();
    if (rc != Ok) return fail(args[1] + ":" + std::to_string(lineno) + ": append", rc);
    ++loaded;
  }
  rc = table.close(table.sync() == 0 ? Ok : WriteFailed);
  if (rc != Ok) return fail("load", rc);
  std::printf("%ld records loaded\n", loaded);
  return 0;
}

int cmd_list(const Args& args) {
  std::string base, tag;
  bool reverse = false, deleted = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--tag" && i + 1 < args.size()) tag = args[++i];
    else if (args[i] == "--reverse") reverse = true;
    else if (args[i] == "--deleted") deleted = true;
    else if (base.empty()) base = args[i];
    else return usage_error("list: unexpected argument '" + args[i] + "'");
  }
  if (base.empty()) return usage_error("list takes BASE");
  DataFile table;
  ErrorCode rc = table.open(base.c_str(), {.readonly = true, .noindex = tag.empty()});
  if (rc != Ok) return fail("open " + base, rc);
  Rlist cursor(&table);
  if (!tag.empty()) {
    int t = findtag(table.header(), tag);
    if (t < 0) return usage_error("no tag '" + tag + "'");
    (void)cursor.select(t);  // findtag found it
  }
  for (rc = reverse ? cursor.last() : cursor.first(); rc == Ok; rc = cursor.skip(reverse ? -1 : 1))
    if (deleted || !cursor.isdeleted()) std::printf("%s\n", recordline(cursor).c_str());
  return 0;
}

int cmd_seek(const Args& args) {
  std::string base, tag, mode = "prefix", which = "first";
  Args values;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--tag" && i + 1 < args.size()) tag = args[++i];
    else if (args[i] == "--mode" && i + 1 < args.size()) mode = args[++i];
    else if (args[i] == "--which" && i + 1 < args.size()) which = args[++i];
    else if (base.empty()) base = args[i];
    else values.push_back(args[i]);
  }
  if (base.empty() || tag.empty() || values.empty())
    return usage_error("seek takes BASE --tag T VALUE...");
  const std::optional<SeekMode> seekmode = pick<SeekMode>(
      mode,
      {{"prefix", SeekMode::Prefix}, {"equal", SeekMode::Equal}, {"after", SeekMode::AtOrAfter}});
  if (!seekmode) return usage_error("--mode is prefix, equal or after");
  const std::optional<SeekWhich> seekwhich = pick<SeekWhich>(
      which, {{"first", SeekWhich::First}, {"last", SeekWhich::Last}, {"any", SeekWhich::Any}});
  if (!seekwhich) return usage_error("--which is first, last or any");

  DataFile table;
  if (int status = opentable(table, base, false); status != 0) return status;
  int t = findtag(table.header(), tag);
  if (t < 0) return usage_error("no tag '" + tag + "'");
  std::vector<uint8_t> key;
  if (!searchkey(table, t, values, &key)) return 1;
  Rlist cursor(&table);
  (void)cursor.select(t);  // findtag found it
  const ErrorCode rc = cursor.seek(key.data(), static_cast<int>(key.size()), *seekmode, *seekwhich);
  if (rc == NotFound) return fail("seek", rc);
  std::printf("%s\t%s\n", errname(rc), recordline(cursor).c_str());
  return 0;
}

int cmd_update(const Args& args) {
  long recno;
  if (args.size() < 3 || !parse_int(args[1], recno)) return usage_error("update takes BASE RECNO FIELD=VALUE...");
  DataFile table;
  if (int status = opentable(table, args[0], true); status != 0) return status;
  if (recno < 0 || recno >= table.nrecs()) return fail("record " + args[1], NotFound);
  Rlist cursor(&table);
  ErrorCode rc = cursor.go(GoHow::Absolute, static_cast<int32_t>(recno));
  if (rc != Ok || !cursor.loaded()) return fail("record " + args[1], rc != Ok ? rc : GeneralError);
  if (cursor.isdeleted()) return fail("record " + args[1] + " is deleted", NotFound);
  if (!assign(cursor, table.header(), Args(args.begin() + 2, args.end()))) return 1;
  rc = cursor.flush();
  if (rc != Ok) return fail("update", rc);
  std::printf("%s\n", recordline(cursor).c_str());
  return 0;
}

int cmd_delete(const Args& args) {
  if (args.size() < 2) return usage_error("delete takes BASE RECNO...");
  DataFile table;
  if (int status = opentable(table, args[0], true); status != 0) return status;
  Rlist cursor(&table);
  for (size_t i = 1; i < args.size(); ++i) {
    long recno;
    if (!parse_int(args[i], recno)) return usage_error("'" + args[i] + "' is not a record number");
    if (recno < 0 || recno >= table.nrecs()) return fail("record " + args[i], NotFound);
    ErrorCode rc = cursor.go(GoHow::Absolute, static_cast<int32_t>(recno));
    if (rc == Ok) rc = cursor.del();
    if (rc != Ok) return fail("delete " + args[i], rc);
  }
  return 0;
}

}  // namespace quilltool
