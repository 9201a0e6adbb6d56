// The undo history: the last finished edits, each with the records it
// changed as they were before and as it left them, kept in one file beside
// the tables (the main table's stem + ".hst") so that it outlives the
// program.
//
// Every journalled edit (journal.h) adds a step when its intent ends in
// success: its intent already holds the before-state (the counts of the
// tables it may grow or shrink and the bytes of every record it may
// change); the after-state is read from the tables then, with the records
// it appended. A completeness mark set on leaving an album joins the step
// of the edit made there. Undo (undo.h) puts a step's before-state back,
// redo its after-state. Steps past the current place (undone ones) go when
// a new edit is recorded. At most kHistorySteps are kept.
//
// A whole scan or import is one step (wholestep.h): the counts of the
// tables and the records it wrote over, as they were and as it left them;
// not the records it appended, which undo keeps aside (undotail.h) while
// the step is undone. A batch outside one (verification's corrections)
// declares counts only and changes derived values it does not image: it is
// recorded as a barrier that undo refuses to pass, so nothing older is
// ever undone behind it; so is a scan whose images would pass kStepBytes.
//
// The file also holds the tables' state (creation time, record and deleted
// counts, change stamp) as the last recorded step, undo or redo left them.
// A change the history did not see (another program's shared edit, a pack,
// a reindex, a table made anew) makes the tables differ from it, and undo
// and redo refuse from then until the next recorded edit starts a new
// history.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/journal.h"
#include "catalogue/schema.h"

namespace tracklore {

constexpr size_t kHistorySteps = 50;
// The file is written whole at every edit: the oldest steps go while the
// steps together pass this many bytes.
constexpr size_t kHistoryBytes = 48u << 20;
// A whole step's images of the records it wrote over, at most: twice that
// (before and after) fits the file.
constexpr size_t kStepBytes = 16u << 20;

struct HistoryStep {
  // before.operation: the edit's name ("link"); after.operation: what it
  // did, for the messages ("link of 'Karma Police' to 'OK Computer'").
  IntentEntry before;
  IntentEntry after;
  bool undoable() const;
  // A whole scan or import (not a barrier): its before-state holds the
  // tables' counts, and no image of the records it appended.
  bool whole() const;
};

// Each table's creation time, record count, deleted count and stamp.
struct TableState {
  int32_t values[kAllTables][4] = {};
  bool operator==(const TableState& other) const;
};
// From the open tables, or from their files when the database is closed.
TableState currenttablestate();

// The steps are kept encoded (two intent entries each): a new edit adds
// one without decoding the others.
struct History {
  std::vector<std::vector<uint8_t>> steps;
  size_t position = 0;  // steps before it are done, from it on undone
  TableState tables;
};
std::vector<uint8_t> encodestep(const HistoryStep& step);
// False when the bytes are not one whole step whose checksums match.
bool decodestep(const std::vector<uint8_t>& bytes, HistoryStep* step);

std::string DB_HistoryName();
// False when there is no history or its file is not a whole one.
bool loadhistory(History* history);
// Written whole to a new file that then replaces the old: 0 or -1.
int savehistory(const History& history);

// The hooks of the outermost active intent: at its begin, and at its end
// after a success has been marked done. A history that cannot be written
// is removed, so that undo never acts on a stale one.
void historybegin();
void historyrecord(const IntentEntry& before);

// While on, a whole scan or import is being gathered into one step: the
// intents inside it add none of their own.
void historygathering(bool on);
bool historygathering();
// Adds a finished step whose edit began with the tables in state `from`,
// after the steps done (the undone ones go, with the records kept aside
// for them).
void historyadd(const HistoryStep& step, const TableState& from);

// The record's bytes as they are now in the open table; false when they
// cannot be read.
bool readrecord(int table, int32_t recno, std::vector<uint8_t>* bytes);

}  // namespace tracklore
