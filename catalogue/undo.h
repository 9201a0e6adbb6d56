// Undo and redo of the last edits, from the undo history (history.h).
//
// DB_Undo (way, message) takes back the last edit done (Undo) or does
// again the last one undone (Redo) on the database of the current
// directory, which must be open for writing, held exclusively. Before
// anything changes it checks that the tables are exactly as the history
// left them: every table's counts and stamp, and the step's records as the
// step expects them. It then writes the records as they are into the
// intent journal (journal.h), closes the database, puts the step's other
// state back (recover.h's DB_PutBack), drops the records an undone append
// left past the end, reindexes the tables written and marks the journal
// entry done: a crash part way is recovered like any other edit, by
// DB_Recover taking the undo back. The database is left closed: the
// caller opens it again.
//
// Returns 0 with message "Undone: link of 'Karma Police' to 'OK Computer'"
// (or "Redone: ..."); 1 with the reason in message when nothing changed:
// nothing to undo or redo, the last change is a verification's
// corrections or a scan too large to image (which are not undoable, and
// nothing older is undone past them), the records a scan added cannot be
// kept aside or are no longer kept, or the catalogue changed in a way the
// history did not see; -1 when a write failed after the journal entry was
// written (the database then needs recovery).
//
// A whole scan or import (wholestep.h) is undone with the records it
// appended first kept aside (undotail.h) and cut off the tables only once
// the journal entry is done; redone, with them written back first.
#pragma once

#include <string>

namespace tracklore {

enum class UndoWay { Undo, Redo };

[[nodiscard]] int DB_Undo(UndoWay way, std::string* message);

}  // namespace tracklore
