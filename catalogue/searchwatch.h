// What changed in the tables since the search read a kind's names.
//
// The search (search.h) reads each kind's names once and then keeps them
// up to date record by record. The tables' watch (datafile.h) tells it of
// every record this process's cursors change, in the kind's table and in
// the name table, and the search reads just those again. A change the
// watch did not tell of (another process, a pack, a reindex, a recovery,
// the tables closed and opened) leaves the counters and stamps other than
// the last told change left them, or the tables' generation moved: then
// the kind is read in full again. Every change of a record's name moves
// them: an append or a delete its counts, a change of its Name (a key) or
// of its name-table entries (whose Part, a key field, is set on every
// rewrite) its stamp.
//
// An undo (undo.h) writes its records with the tables closed, where no
// watch sees them; it names them afterwards (DB_SearchUndone), so that
// the names carry over to the next open when the tables are then as it
// left them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/history.h"
#include "catalogue/kind.h"
#include "catalogue/journal.h"
#include "engine/datafile.h"

namespace tracklore {

// What tells that a table changed; all 0 for a table not open.
struct TableStamp {
  int32_t created = 0, nrecs = 0, ndeleted = 0, stamp = 0;
  bool operator==(const TableStamp&) const = default;
};

// One kind's record of changes.
class KindChanges {
 public:
  explicit KindChanges(Kind kind) : recordtable_(kindtable(kind)) {}

  // From now on the names are as the tables are: nothing changed.
  void start();
  // Whether the records told of since start() are all that changed.
  bool complete();
  // Forgets the records told of; the tables stay as they were seen.
  void settled();

  // The records of the kind's table, and the entries of the name table,
  // that changed (in the order told, repeats included).
  const std::vector<int32_t>& records() const { return records_; }
  const std::vector<int32_t>& entries() const { return entries_; }

  // The watch's two calls, for table index `table` of the set.
  void changing(int table, const quill::DataFile& file);
  void changed(int table, const quill::DataFile& file, int32_t recno);
  // As DB_SearchUndone.
  void undone(const TableState& before, const TableState& after, const IntentEntry& wrote);

 private:
  int recordtable_;  // the kind's table index
  bool valid_ = false;
  uint32_t generation_ = 0;
  // Left by an undo: the generation then (the tables closed), and the
  // directory and main table it wrote; good for the one open that follows.
  bool carried_ = false;
  std::string place_;
  TableStamp table_, names_;
  std::vector<int32_t> records_, entries_;

  TableStamp& stampfor(int table) { return table == recordtable_ ? table_ : names_; }
  bool watches(int table) const;
  // Past this many records read again, reading them all costs less.
  void bound();
};

// Kind 0..2's record; the first call sets the watch on the kind tables
// and the name table.
KindChanges& DB_SearchChanges(Kind kind);

// Told by an undo or redo that wrote the records of `wrote` (its images,
// and those past the smaller of each table's counts) with the tables
// closed, which were as `before` when it closed them and are as `after`
// now.
void DB_SearchUndone(const TableState& before, const TableState& after, const IntentEntry& wrote);

}  // namespace tracklore
