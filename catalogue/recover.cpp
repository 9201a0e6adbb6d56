// Recovery: undo the unfinished edit, settle the counters, reindex, tidy,
// verify, check.
#include "catalogue/recover.h"

#include <cstdint>
#include <cstdio>

#include "catalogue/host.h"
#include "catalogue/journal.h"
#include "catalogue/optionaltable.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/check.h"
#include "engine/datafile.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

using quill::DataFile;
using quill::Ok;

struct Log {
  std::vector<std::string>* lines;
  void add(const std::string& line) {
    if (lines != nullptr) lines->push_back(line);
  }
};

std::string named(int table) { return DB_TableName(table); }

// The tables of this database: the five, and each optional one that is there.
bool present(int t) { return !DB_OptionalTable(t) || DB_OptionalTableThere(t); }

// Puts back what the entry recorded; marks every table it wrote touched.
int undo(const IntentEntry& entry, bool touched[kAllTables], Log& log) {
  int restored = 0;
  for (int t = 0; t < kAllTables; ++t) {
    const IntentEntry::Counts* counts = nullptr;
    for (const IntentEntry::Counts& c : entry.counts)
      if (c.table == t) counts = &c;
    bool images = false;
    for (const IntentEntry::Image& image : entry.images) images = images || image.table == t;
    if (counts == nullptr && !images) continue;

    DataFile table;
    ErrorCode rc = table.opendata(named(t).c_str(), {});
    if (rc != Ok) {
      log.add("cannot open " + named(t) + " to undo the unfinished " + entry.operation + ": " +
              quill::errname(rc));
      return -1;
    }
    quill::Header& h = table.header();
    for (const IntentEntry::Image& image : entry.images) {
      if (image.table != t || image.bytes.size() != h.reclen) continue;
      if (table.file().seek(table.recoffset(image.recno)) != 0 ||
          table.file().write(image.bytes.data(), static_cast<int32_t>(image.bytes.size())) != 0)
        return table.close(-1);
      ++restored;
    }
    if (counts != nullptr) {
      h.nrecs = counts->nrecs;
      h.ndeleted = counts->ndeleted;
    }
    // The index has seen the edit: it must read as out of date.
    ++h.stamp;
    if (table.writehead() != 0 || table.sync() != 0) return table.close(-1);
    table.close();
    touched[t] = true;
  }
  log.add("undid an unfinished " + entry.operation + " (" + std::to_string(restored) +
          " records put back)");
  return 0;
}

// The deleted count is made true. A file shorter than its counted records
// does not open (the engine refuses it), so counted records are whole here.
// *tail: records lie past the counted end.
int settle(int t, bool* touched, bool* tail, Log& log) {
  const std::string name = named(t);
  DataFile table;
  ErrorCode rc = table.opendata(name.c_str(), {});
  if (rc != Ok) {
    log.add("cannot open " + name + ": " + quill::errname(rc));
    return -1;
  }
  quill::Header& h = table.header();
  quill::File& file = table.file();
  const int64_t size = file.size();
  if (size < h.datastart || h.reclen == 0) {
    log.add(name + " is shorter than its header");
    return table.close(-1);
  }
  *tail = size > h.datastart + int64_t{h.nrecs} * h.reclen;
  bool dirty = false;
  file.setreadcache(true);
  int32_t deleted = 0;
  for (int32_t i = 0; i < h.nrecs; ++i) {
    char status = ' ';
    if (file.seek(table.recoffset(i) + h.reclen - 1) != 0 || file.read(&status, 1) != 0)
      return table.close(-1);
    if (status == '*') ++deleted;
  }
  if (deleted != h.ndeleted) {
    log.add(name + ": deleted-record count " + std::to_string(h.ndeleted) + " set to " +
            std::to_string(deleted));
    h.ndeleted = deleted;
    dirty = true;
  }
  if (dirty) {
    ++h.stamp;
    if (table.writehead() != 0 || table.sync() != 0) return table.close(-1);
  }
  table.close();
  *touched = *touched || dirty;
  return 0;
}

// An append that never finished (or one undone): a pack copies the counted
// records only. It renumbers records, so it runs only once no undo by
// record number can be repeated.
int droptail(int t, Log& log) {
  const std::string name = named(t);
  const ErrorCode rc = DataFile::pack(name.c_str());
  if (rc != Ok) {
    log.add("cannot drop the uncounted records past the end of " + name + ": " +
            quill::errname(rc));
    return -1;
  }
  log.add(name + ": dropped an unfinished append past the last counted record");
  return 0;
}

int reindex(int t, bool touched, quill::Progress* progress, Log& log) {
  const std::string name = named(t);
  std::vector<std::string> problems;
  if (!touched && quill::checktable(name.c_str(), &problems) == 0) return 0;
  // Each table's own percentages: the engine takes its total from the first.
  quill::Progress each = *progress;
  ErrorCode rc = DataFile::reindex(name.c_str(), &each);
  if (rc != Ok) {
    log.add("cannot reindex " + name + ": " + quill::errname(rc));
    return -1;
  }
  log.add("reindexed " + name + (problems.empty() ? "" : " (" + problems.front() + ")"));
  return 0;
}

// Says Yes to every correction verification offers, and notes what it was
// asked; the rest goes to the host that was installed.
class Consenting : public Host {
 public:
  explicit Consenting(Host& inner) : inner_(inner) {}
  Answer message(const char* text, const char* title, Buttons buttons, Icon) override {
    if (buttons == Buttons::OK) {
      unmended.push_back(std::string(title) + ": " + text);
      return Answer::OK;
    }
    corrected.push_back(title);
    return buttons == Buttons::OKCancel ? Answer::OK : Answer::Yes;
  }
  bool openfile(const FileRequest&, std::string*) override { return false; }
  bool savefile(const FileRequest&, std::string*) override { return false; }
  void waitcursor(bool on) override { inner_.waitcursor(on); }
  void drain() override { inner_.drain(); }

  std::vector<std::string> corrected;
  std::vector<std::string> unmended;

 private:
  Host& inner_;
};

int verify(ProgressCallback callback, void* context, Log& log) {
  Host& installed = DB_Host();
  Consenting consenting(installed);
  DB_SetHost(&consenting);
  const int rc = DB_Verify(callback, context);
  DB_SetHost(&installed);
  if (rc != 0) {
    log.add("verification could not open the database");
    return -1;
  }
  if (!consenting.corrected.empty()) {
    std::string line = "verification corrected " + std::to_string(consenting.corrected.size()) +
                       " problem(s):";
    for (const std::string& title : consenting.corrected) line += " " + title + ";";
    line.pop_back();
    log.add(line);
  }
  for (const std::string& notice : consenting.unmended)
    log.add("verification found what it cannot correct: " + notice);
  return consenting.unmended.empty() ? 0 : -1;
}

}  // namespace

int DB_Recover(ProgressCallback callback, void* context, std::vector<std::string>* lines) {
  Log log{lines};
  // Waits, like every open, for a program that still holds the database
  // (one just killed lets go a moment later); says so when it stays held.
  if (DB_Open({.readonly = true, .noindex = true}) != 0) {
    log.add("cannot open the database");
    return -1;
  }
  DB_Close();
  bool touched[kAllTables] = {};

  const std::string journal = DB_JournalName();
  IntentEntry entry;
  bool unfinished = readintent(journal, &entry);
  if (unfinished && !belongshere(entry)) {
    log.add("set aside an unfinished " + entry.operation + " of an earlier database in " +
            journal);
    if (markdone(journal) != 0) return -1;
    unfinished = false;
  }
  if (unfinished && undo(entry, touched, log) != 0) return -1;

  bool tails[kAllTables] = {};
  for (int t = 0; t < kAllTables; ++t)
    if (present(t) && settle(t, &touched[t], &tails[t], log) != 0) return -1;

  quill::Progress progress;
  progress.report = callback;
  progress.argument = context;
  progress.step = 100;
  for (int t = 0; t < kAllTables; ++t)
    if (present(t) && reindex(t, touched[t], &progress, log) != 0) return -1;
  // Only now is the undo complete on disk; a crash before this point
  // repeats it, which puts back the same bytes at the same places.
  if (unfinished && markdone(journal) != 0) {
    log.add("cannot mark the undone edit in " + journal);
    return -1;
  }
  for (int t = 0; t < kAllTables; ++t)
    if (tails[t] && (droptail(t, log) != 0 || reindex(t, true, &progress, log) != 0)) return -1;

  std::vector<std::string> removed;
  DB_RemoveStrayFiles(&removed);
  for (const std::string& name : removed) log.add("removed the temporary file " + name);

  if (verify(callback, context, log) != 0) return -1;

  int result = 0;
  for (int t = 0; t < kAllTables; ++t) {
    if (!present(t)) continue;
    std::vector<std::string> problems;
    if (quill::checktable(named(t).c_str(), &problems) == 0) continue;
    for (const std::string& problem : problems)
      log.add("integrity check of " + named(t) + ": " + problem);
    result = -1;
  }
  return result;
}

bool DB_NeedsRecovery() {
  if (DB_HasUnfinishedEdit()) return true;
  for (int t = 0; t < kAllTables; ++t) {
    if (!present(t)) continue;
    DataFile table;
    const ErrorCode rc = table.open(named(t).c_str(), {.readonly = true});
    if (rc == quill::IndexOutOfDate || rc == quill::BadIndex || rc == quill::IndexOpen) return true;
  }
  return false;
}

}  // namespace tracklore
