// Recovery: undo the unfinished edit, settle the counters, reindex, tidy,
// verify, check.
#include "catalogue/recover.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "catalogue/correctiontally.h"
#include "catalogue/host.h"
#include "catalogue/journal.h"
#include "catalogue/openwait.h"
#include "catalogue/optionaltable.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "engine/bytes.h"
#include "engine/check.h"
#include "engine/datafile.h"
#include "engine/file.h"
#include "engine/index.h"
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

// Why a table did not open: a file this user may not write by name.
std::string openfailure(const std::string& name, ErrorCode rc) {
  const std::string refused = DB_NotAllowedText(name.c_str(), rc);
  return refused.empty() ? quill::errname(rc) : refused;
}

// What a failed write of an undo was doing, for writefailed.
std::string undoing(const IntentEntry& entry, int t) {
  return textf(DB_Tr("Catalogue", "undo the unfinished %s in %s"), entry.operation.c_str(),
               named(t).c_str());
}

// A write of recovery's own that failed: -1, after saying where and why
// (a full disk by name, so that the user frees space and tries again).
int writefailed(DataFile& table, const std::string& doing, ErrorCode rc, Log& log) {
  log.add(textf(DB_Tr("Catalogue", "cannot %s: %s"), doing.c_str(),
                DB_FailureText(quill::writeresult(rc)).c_str()));
  return table.close(quill::GeneralError);
}

// The tables of this database: the five, and each optional one that is there.
bool present(int t) { return !DB_OptionalTable(t) || DB_OptionalTableThere(t); }

}  // namespace

int DB_PutBack(const IntentEntry& entry, bool touched[kAllTables], std::vector<std::string>* lines,
               int* restored) {
  Log log{lines};
  *restored = 0;
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
      log.add(textf(DB_Tr("Catalogue", "cannot open %s to undo the unfinished %s: %s"),
                    named(t).c_str(), entry.operation.c_str(), openfailure(named(t), rc).c_str()));
      return -1;
    }
    quill::Header& h = table.header();
    for (const IntentEntry::Image& image : entry.images) {
      if (image.table != t || image.bytes.size() != h.reclen) continue;
      if (table.writerecord(image.recno, image.bytes.data()) != Ok)
        return writefailed(table, undoing(entry, t), quill::WriteFailed, log);
      ++*restored;
    }
    if (counts != nullptr) {
      h.nrecs = counts->nrecs;
      h.ndeleted = counts->ndeleted;
    }
    // The index has seen the edit: it must read as out of date.
    ++h.stamp;
    rc = table.writehead();
    if (rc == Ok) rc = table.sync();
    if (rc != Ok) return writefailed(table, undoing(entry, t), rc, log);
    (void)table.close();  // written and synced above
    touched[t] = true;
  }
  return 0;
}

namespace {

// Puts back what the entry recorded; marks every table it wrote touched.
int undo(const IntentEntry& entry, bool touched[kAllTables], Log& log) {
  int restored = 0;
  if (DB_PutBack(entry, touched, log.lines, &restored) != 0) return -1;
  log.add(textf(DB_Tr("Catalogue", "undid an unfinished %s (%d records put back)"),
                entry.operation.c_str(), restored));
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
    log.add(textf(DB_Tr("Catalogue", "cannot open %s: %s"), name.c_str(),
                  openfailure(name, rc).c_str()));
    return -1;
  }
  quill::Header& h = table.header();
  const int64_t size = table.length();
  if (size < h.datastart || h.reclen == 0) {
    log.add(textf(DB_Tr("Catalogue", "%s is shorter than its header"), name.c_str()));
    return table.close(quill::GeneralError);
  }
  *tail = size > h.datastart + int64_t{h.nrecs} * h.reclen;
  bool dirty = false;
  // Opened exclusively, the table reads through its block cache: a record
  // read costs a copy, not a system call.
  int32_t deleted = 0;
  std::vector<uint8_t> record(h.reclen);
  for (int32_t i = 0; i < h.nrecs; ++i) {
    if (table.readrecord(i, record.data()) != quill::Ok) return table.close(quill::GeneralError);
    if (record.back() == '*') ++deleted;
  }
  if (deleted != h.ndeleted) {
    log.add(textf(DB_Tr("Catalogue", "%s: deleted-record count %ld set to %ld"), name.c_str(),
                  static_cast<long>(h.ndeleted), static_cast<long>(deleted)));
    h.ndeleted = deleted;
    dirty = true;
  }
  if (dirty) {
    ++h.stamp;
    rc = table.writehead();
    if (rc == Ok) rc = table.sync();
    if (rc != Ok)
      return writefailed(
          table, textf(DB_Tr("Catalogue", "correct the counters of %s"), name.c_str()), rc, log);
  }
  (void)table.close();  // what was written is synced above
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
    log.add(textf(DB_Tr("Catalogue", "cannot drop the uncounted records past the end of %s: %s"),
                  name.c_str(), DB_FailureText(rc).c_str()));
    return -1;
  }
  log.add(textf(DB_Tr("Catalogue", "%s: dropped an unfinished append past the last counted record"),
                name.c_str()));
  return 0;
}

// The tables whose index says a change was under way: marked unfinished
// (an exclusive writer's write-back), or carrying a stamp the data file
// has not reached yet (a change cut short between the two). A pack leaves
// an index behind its data file, which is no change lost.
std::vector<std::string> changedpartway() {
  std::vector<std::string> changed;
  for (int t = 0; t < kAllTables; ++t) {
    if (!present(t)) continue;
    DataFile table;
    if (table.opendata(named(t).c_str(), {.readonly = true}) != Ok) continue;
    const int32_t stamp = table.header().stamp;
    (void)table.close();  // opened only to be read
    quill::File index;
    uint8_t head[quill::kIndexHeaderLen + 4];
    if (index.open(quill::stradd(named(t), ".idx").c_str(), quill::Access::ReadOnly,
                   quill::Sharing::Shared) != 0 ||
        index.readat(0, head, sizeof head) != 0)
      continue;
    // The index header's stamp: see index.h.
    const int32_t indexstamp = quill::getles32(head + 12);
    if (indexstamp == INT32_MIN || indexstamp > stamp) changed.push_back(named(t));
  }
  return changed;
}

int reindex(int t, bool touched, quill::Progress* progress, Log& log) {
  const std::string name = named(t);
  std::vector<std::string> problems;
  if (!touched && quill::checktable(name.c_str(), &problems) == 0) return 0;
  // Each table's own percentages: the engine takes its total from the first.
  quill::Progress each = *progress;
  ErrorCode rc = DataFile::reindex(name.c_str(), &each);
  if (rc != Ok) {
    log.add(textf(DB_Tr("Catalogue", "cannot reindex %s: %s"), name.c_str(),
                  DB_FailureText(rc).c_str()));
    return -1;
  }
  log.add(problems.empty() ? textf(DB_Tr("Catalogue", "reindexed %s"), name.c_str())
                           : textf(DB_Tr("Catalogue", "reindexed %s (%s)"), name.c_str(),
                                   problems.front().c_str()));
  return 0;
}

int verify(ProgressCallback callback, void* context, Log& log) {
  Host& installed = DB_Host();
  CorrectionTally tally(installed);
  DB_SetHost(&tally);
  // Every index was checked or rebuilt just before.
  const int rc = DB_Verify(callback, context, VerifyAccess::Repair, nullptr, IndexCheck::Proved);
  DB_SetHost(&installed);
  if (rc != 0) {
    log.add(DB_Tr("Catalogue", "verification could not open the database"));
    return -1;
  }
  for (const std::string& line : tally.lines()) log.add(line);
  return tally.complete() ? 0 : -1;
}

// The steps up to the verification; 0, or -1 with the reason in the log.
int mend(ProgressCallback callback, void* context, Log& log,
         std::vector<std::string>* lost) {
  bool touched[kAllTables] = {};

  const std::string journal = DB_JournalName();
  IntentEntry entry;
  bool unfinished = readintent(journal, &entry);
  // Tables changed part way with no entry to undo the change: it stays as
  // far as it got, and what it did is made consistent below.
  if (!unfinished) {
    const JournalState state = journalstate(journal);
    if (state == JournalState::Missing || state == JournalState::Damaged)
      *lost = changedpartway();
  }
  if (unfinished && !belongshere(entry)) {
    log.add(textf(DB_Tr("Catalogue", "set aside an unfinished %s of an earlier database in %s"),
                  entry.operation.c_str(), journal.c_str()));
    if (markdone(journal) != 0) {
      log.add(textf(DB_Tr("Catalogue", "cannot set it aside: %s"),
                    DB_FailureText(quill::writeresult(quill::WriteFailed)).c_str()));
      return -1;
    }
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
    log.add(textf(DB_Tr("Catalogue", "cannot mark the undone edit in %s: %s"), journal.c_str(),
                  DB_FailureText(quill::writeresult(quill::WriteFailed)).c_str()));
    return -1;
  }
  for (int t = 0; t < kAllTables; ++t)
    if (tails[t] && (droptail(t, log) != 0 || reindex(t, true, &progress, log) != 0)) return -1;

  std::vector<std::string> removed;
  DB_RemoveStrayFiles(&removed);
  for (const std::string& name : removed)
    log.add(textf(DB_Tr("Catalogue", "removed the temporary file %s"), name.c_str()));
  return 0;
}

// The verification and the final integrity check: 0 when the database is
// whole; *statusonly tells whether every problem found was a damaged status
// byte, which a pack mends.
int prove(ProgressCallback callback, void* context, Log& log, bool* statusonly) {
  *statusonly = false;
  if (verify(callback, context, log) != 0) return -1;
  int result = 0;
  *statusonly = true;
  for (int t = 0; t < kAllTables; ++t) {
    if (!present(t)) continue;
    std::vector<std::string> problems;
    if (quill::checktable(named(t).c_str(), &problems) == 0) continue;
    for (const std::string& problem : problems) {
      log.add(textf(DB_Tr("Catalogue", "integrity check of %s: %s"), named(t).c_str(),
                    problem.c_str()));
      if (problem.find(" has status byte ") == std::string::npos) *statusonly = false;
    }
    result = -1;
  }
  return result;
}

constexpr const char* kHeldAdvice = QT_TRANSLATE_NOOP(
    "Catalogue",
    "Close the program that uses the database (or wait for it to end), then recover again.");
constexpr const char* kMissingAdvice = QT_TRANSLATE_NOOP(
    "Catalogue",
    "Put the missing file back (from where it was moved, or from a backup of the database's "
    "folder), then recover again.");
constexpr const char* kWriteAdvice = QT_TRANSLATE_NOOP(
    "Catalogue",
    "Make room on the disk and make sure the database's files may be written, then recover "
    "again. If it fails the same way, the database is damaged: keep a copy of its folder and "
    "restore it from a backup.");
constexpr const char* kDamageAdvice = QT_TRANSLATE_NOOP(
    "Catalogue",
    "The database is damaged beyond what recovery mends. Keep a copy of its folder, export what "
    "can still be read (tracklore-cli export), and restore the database from a backup, or "
    "create a new one and import the export.");
constexpr const char* kStatusAdvice = QT_TRANSLATE_NOOP(
    "Catalogue",
    "Records whose status byte is damaged are read as live: pack the database (tracklore-cli "
    "pack), which writes them so, then recover again.");
constexpr const char* kLostAdvice = QT_TRANSLATE_NOOP(
    "Catalogue",
    "The database is consistent again. Look at the albums you changed last: what that change "
    "did may be missing or half done.");

}  // namespace

int DB_Recover(ProgressCallback callback, void* context, std::vector<std::string>* lines,
               std::string* advice) {
  Log log{lines};
  auto advise = [advice](const char* text) {
    if (advice != nullptr) *advice = DB_Tr("Catalogue", text);
  };
  advise("");
  // Waits, like every open, for a program that still holds the database
  // (one just killed lets go a moment later); says so when it stays held.
  if (DB_Open({.readonly = true, .noindex = true}) != 0) {
    log.add(DB_Tr("Catalogue", "cannot open the database"));
    const ErrorCode rc = DB_OpenResult();
    advise(!DB_MissingTableFile().empty()                       ? kMissingAdvice
           : rc == quill::DataOpen || rc == quill::IndexOpen ? kHeldAdvice
                                                              : kDamageAdvice);
    return -1;
  }
  DB_Close();
  std::vector<std::string> lost;
  if (mend(callback, context, log, &lost) != 0) {
    advise(kWriteAdvice);
    return -1;
  }
  bool statusonly = false;
  if (prove(callback, context, log, &statusonly) != 0) {
    advise(statusonly ? kStatusAdvice : kDamageAdvice);
    return -1;
  }
  if (lost.empty()) return 0;
  std::string tables;
  for (const std::string& name : lost) tables += (tables.empty() ? "" : ", ") + name;
  log.add(textf(DB_Tr("Catalogue",
                      "an interrupted change could not be undone: its journal %s is "
                      "missing or damaged, and it had changed %s part way. Albums, "
                      "artists or songs it was adding, removing, renaming or "
                      "reordering may be lost or half changed."),
                DB_JournalName().c_str(), tables.c_str()));
  advise(kLostAdvice);
  return -2;
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
