// The search's record of what changed, told by the tables' watch and by
// the undo.
#include "catalogue/searchwatch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "catalogue/schema.h"
#include "catalogue/sparecursors.h"
#include "catalogue/tableset.h"

namespace tracklore {

namespace {

TableStamp stampof(const quill::DataFile& table) {
  if (!table.isopen() || !table.has_header()) return {};
  const quill::Header& h = table.header();
  return {h.created, h.nrecs, h.ndeleted, h.stamp};
}

// As the table stands on disk: its counters read again unless it is held
// exclusively (when those in memory are the truth).
TableStamp currentstamp(quill::DataFile& table) {
  if (!table.isopen() || table.refresh() != quill::Ok) return {};
  return stampof(table);
}

TableStamp stampin(const TableState& state, int table) {
  const int32_t* v = state.values[table];
  return {v[0], v[1], v[2], v[3]};
}

// Where the database lies: the one open after an undo must be its own.
std::string databaseplace() {
  std::error_code error;
  return (std::filesystem::current_path(error) / DB_MainName()).string();
}

int setindex(const quill::DataFile& file) {
  for (int t = 0; t < kAllTables; ++t)
    if (&file == &DB_Table(t)) return t;
  return -1;
}

KindChanges& changesof(Kind kind) {
  static KindChanges changes[3] = {KindChanges(Kind::Album), KindChanges(Kind::Artist),
                                   KindChanges(Kind::Song)};
  return changes[kindtable(kind)];
}

class SearchWatch final : public quill::ChangeWatch {
 public:
  void changing(quill::DataFile& file, int32_t) override {
    const int table = setindex(file);
    for (const Kind kind : kKinds) changesof(kind).changing(table, file);
  }
  void changed(quill::DataFile& file, int32_t recno) override {
    const int table = setindex(file);
    for (const Kind kind : kKinds) changesof(kind).changed(table, file, recno);
  }
};

}  // namespace

void KindChanges::start() {
  valid_ = true;
  carried_ = false;
  generation_ = DB_TablesGeneration();
  table_ = currentstamp(DB_Table(recordtable_));
  names_ = currentstamp(DB_Table(NameTable));
  settled();
}

bool KindChanges::complete() {
  if (!valid_) return false;
  if (carried_) {
    // Only the open that follows the undo, of the database it wrote.
    if (DB_TablesGeneration() != generation_ + 1 || databaseplace() != place_) return false;
    carried_ = false;
    generation_ = DB_TablesGeneration();
  }
  return generation_ == DB_TablesGeneration() && table_ == currentstamp(DB_Table(recordtable_)) &&
         names_ == currentstamp(DB_Table(NameTable));
}

void KindChanges::settled() {
  records_.clear();
  entries_.clear();
}

bool KindChanges::watches(int table) const { return table == recordtable_ || table == NameTable; }

void KindChanges::changing(int table, const quill::DataFile& file) {
  if (!valid_ || !watches(table)) return;
  // Changed since the last change told of, and not by this process.
  if (stampfor(table) != stampof(file)) valid_ = false;
}

void KindChanges::changed(int table, const quill::DataFile& file, int32_t recno) {
  if (!valid_ || !watches(table)) return;
  (table == recordtable_ ? records_ : entries_).push_back(recno);
  stampfor(table) = stampof(file);
  bound();
}

void KindChanges::undone(const TableState& before, const TableState& after,
                         const IntentEntry& wrote) {
  // The undo's own close is the one step of the generation since the
  // names were last brought up to date, or since the open after another
  // undo.
  if (!valid_ || DB_TablesGeneration() != generation_ + (carried_ ? 2 : 1) ||
      (carried_ && databaseplace() != place_) ||
      table_ != stampin(before, recordtable_) || names_ != stampin(before, NameTable)) {
    valid_ = false;
    return;
  }
  for (const IntentEntry::Image& image : wrote.images)
    if (watches(image.table)) (image.table == recordtable_ ? records_ : entries_).push_back(image.recno);
  // Records appended by the edit undone, or by the redo.
  for (const int table : {recordtable_, +NameTable}) {
    const int32_t was = before.values[table][1], now = after.values[table][1];
    for (int32_t recno = std::min(was, now); recno < std::max(was, now); ++recno)
      (table == recordtable_ ? records_ : entries_).push_back(recno);
  }
  table_ = stampin(after, recordtable_);
  names_ = stampin(after, NameTable);
  generation_ = DB_TablesGeneration();
  carried_ = true;
  place_ = databaseplace();
  bound();
}

void KindChanges::bound() {
  const size_t most = std::max<size_t>(1000, static_cast<size_t>(std::max(table_.nrecs, 0)) / 8);
  if (records_.size() + entries_.size() <= most) return;
  valid_ = false;
  settled();
}

KindChanges& DB_SearchChanges(Kind kind) {
  static SearchWatch watch;
  static const bool set = [] {
    for (const int table : {+TitleTable, +ArtistTable, +SongTable, +NameTable})
      DB_Table(table).setchangewatch(&watch);
    return true;
  }();
  (void)set;
  return changesof(kind);
}

void DB_SearchUndone(const TableState& before, const TableState& after, const IntentEntry& wrote) {
  for (const Kind kind : kKinds) changesof(kind).undone(before, after, wrote);
}

}  // namespace tracklore
