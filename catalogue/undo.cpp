#include "catalogue/undo.h"

#include <cstdio>
#include <vector>

#include "catalogue/history.h"
#include "catalogue/journal.h"
#include "catalogue/recover.h"
#include "catalogue/results.h"
#include "catalogue/searchwatch.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "catalogue/undotail.h"
#include "engine/datafile.h"
#include "engine/file.h"

namespace tracklore {

namespace {

using quill::DataFile;

// The open tables hold exactly the counts and records of the state.
bool tablesare(const IntentEntry& state) {
  for (const IntentEntry::Counts& c : state.counts) {
    DataFile& t = DB_Table(c.table);
    if (!t.isopen() || t.nrecs() != c.nrecs || t.header().ndeleted != c.ndeleted) return false;
  }
  for (const IntentEntry::Image& image : state.images) {
    DataFile& t = DB_Table(image.table);
    if (!t.isopen() || image.recno >= t.nrecs() || image.bytes.size() != t.header().reclen)
      return false;
    std::vector<uint8_t> now(image.bytes.size());
    if (t.readrecord(image.recno, now.data()) != quill::Ok || now != image.bytes) return false;
  }
  return true;
}

// The journal entry that lets recovery take the step back again: 0 or -1.
int writeintent(const IntentEntry& entry) { return writeentry(DB_JournalName(), encodeintent(entry)); }

int reindex(const bool touched[kAllTables]) {
  for (int t = 0; t < kAllTables; ++t)
    if (touched[t] && DataFile::reindex(DB_TableName(t)) != quill::Ok) return -1;
  return 0;
}

// Records an undone append left past the counted end go, so that the
// table's file is as the edit found it. Only once the journal entry is
// done: until then recovery may need them, where the step kept no image of
// them (a whole scan's). Cut or not, the undo is whole: the next append
// writes over them.
void cut(const IntentEntry& state) {
  for (const IntentEntry::Counts& c : state.counts) {
    DataFile table;
    if (table.opendata(DB_TableName(c.table), {}) != quill::Ok) continue;
    // A cut that fails or does not last is made again by the next undo's.
    (void)table.cuttail();
    (void)table.close();
  }
}

}  // namespace

int DB_Undo(UndoWay way, std::string* message) {
  const bool redo = way == UndoWay::Redo;
  History history;
  const bool any = loadhistory(&history) &&
                   (redo ? history.position < history.steps.size() : history.position > 0);
  if (!any) {
    *message = redo ? DB_Tr("Catalogue", "There is nothing to redo.")
                    : DB_Tr("Catalogue", "There is nothing to undo.");
    return 1;
  }
  HistoryStep step;
  if (!decodestep(history.steps[redo ? history.position : history.position - 1], &step)) {
    *message = textf(DB_Tr("Catalogue", "The undo history %s is damaged: nothing changed."),
                     DB_HistoryName().c_str());
    return 1;
  }
  if (!step.undoable()) {
    const std::string& what =
        step.after.operation.empty() ? step.before.operation : step.after.operation;
    // A scan or import described is one whose images passed kStepBytes.
    const bool large = (step.before.operation == "scan" || step.before.operation == "import") &&
                       what != step.before.operation;
    *message = textf(large ? DB_Tr("Catalogue",
                                   "The last change, the %s, cannot be undone (it rewrote "
                                   "more records than the undo history keeps), nor "
                                   "anything before it.")
                           : DB_Tr("Catalogue",
                                   "The last change, the %s, cannot be undone, nor anything "
                                   "before it."),
                     what.c_str());
    return 1;
  }
  if (!DB_IsOpen() || DB_IsReadOnly() || !DB_Table(TitleTable).exclusive()) {
    *message = DB_Tr("Catalogue", "The database must be open for writing, by this program alone.");
    return 1;
  }
  const IntentEntry& now = redo ? step.before : step.after;
  const IntentEntry& wanted = redo ? step.after : step.before;
  const std::string what = step.after.operation;
  if (!(currenttablestate() == history.tables) || !tablesare(now)) {
    *message = textf(redo ? DB_Tr("Catalogue",
                                  "The catalogue has changed since the %s (by another "
                                  "program, a pack, a reindex or a recovery): it can "
                                  "no longer be redone.")
                          : DB_Tr("Catalogue",
                                  "The catalogue has changed since the %s (by another "
                                  "program, a pack, a reindex or a recovery): it can "
                                  "no longer be undone."),
                     what.c_str());
    return 1;
  }
  // The records a whole scan appended are kept aside before anything
  // changes, and must be there, whole, to be written back.
  const size_t place = redo ? history.position : history.position - 1;
  if (step.whole() && !redo && DB_KeepTail(step, place) != 0) {
    *message = textf(DB_Tr("Catalogue",
                           "Cannot keep the records the %s added aside (beside %s): "
                           "nothing changed."),
                     what.c_str(), DB_HistoryName().c_str());
    return 1;
  }
  if (step.whole() && redo && !DB_TailKept(step, place)) {
    *message = textf(DB_Tr("Catalogue",
                           "The records the %s added, kept aside beside %s, are missing "
                           "or damaged: it can no longer be redone."),
                     what.c_str(), DB_HistoryName().c_str());
    return 1;
  }
  IntentEntry journal = now;
  journal.operation = redo ? "redo" : "undo";
  if (DB_HasUnfinishedEdit() || writeintent(journal) != 0) {
    if (step.whole() && !redo) DB_DropTail(place);
    *message = textf(DB_Tr("Catalogue", "Cannot write the journal %s: nothing changed."),
                     DB_JournalName().c_str());
    return 1;
  }
  DB_Close();
  // Tables not whole on disk are recovery's: the entry just written puts
  // them back as they were.
  if (DB_CloseResult() != quill::Ok) {
    *message = redo ? DB_Tr("Catalogue",
                            "The database could not be closed cleanly before the "
                            "redo: nothing changed. Recover the database "
                            "(tracklore-cli recover).")
                    : DB_Tr("Catalogue",
                            "The database could not be closed cleanly before the "
                            "undo: nothing changed. Recover the database "
                            "(tracklore-cli recover).");
    return -1;
  }
  bool touched[kAllTables] = {};
  std::vector<std::string> log;
  std::string why;
  int restored = 0;
  if ((step.whole() && redo && DB_PutTailBack(step, place, touched, &why) != 0) ||
      DB_PutBack(wanted, touched, &log, &restored) != 0 || reindex(touched) != 0 ||
      markdone(DB_JournalName()) != 0) {
    if (why.empty() && !log.empty()) why = log.back();
    const std::string shownwhy = why.empty() ? "" : ": " + why;
    *message = textf(redo ? DB_Tr("Catalogue",
                                  "The redo of the %s failed part way%s. Recover the "
                                  "database (tracklore-cli recover) to take it back.")
                          : DB_Tr("Catalogue",
                                  "The undo of the %s failed part way%s. Recover the "
                                  "database (tracklore-cli recover) to take it back."),
                     what.c_str(), shownwhy.c_str());
    return -1;
  }
  cut(wanted);
  if (step.whole() && redo) DB_DropTail(place);
  history.position = redo ? history.position + 1 : history.position - 1;
  const TableState before = history.tables;
  history.tables = currenttablestate();
  DB_SearchUndone(before, history.tables, wanted);
  // Without its history the undo is still whole: only further undo is lost.
  if (savehistory(history) != 0) {
    std::remove(DB_HistoryName().c_str());
    DB_DropTail(place);
  }
  *message = textf(redo ? DB_Tr("Catalogue", "Redone: %s") : DB_Tr("Catalogue", "Undone: %s"),
                   what.c_str());
  return 0;
}

}  // namespace tracklore
