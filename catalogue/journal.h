// The intent journal: makes each catalogue edit all-or-nothing across the
// tables it touches.
//
// An edit touches several tables (a move renumbers rows and raises and
// lowers a count, deleting an album removes its rows and purges artists and
// songs). Before it changes a table it writes, into the database's one
// journal file (the main table's stem + ".jnl", beside the tables), what
// undoing it needs: the record and deleted counts of every table it may
// grow or shrink, and the bytes of every existing record it may change.
// The entry carries a CRC-32 and is synced before the first table write;
// after the last table write the edit marks it done. An entry left
// unfinished by a crash is undone by DB_Recover (recover.h); until then
// every edit is refused with NeedsRecovery, since writing a new entry would
// lose the old one's undo.
//
// Intents nest: one begun while another is active adds and writes nothing,
// so the outer one declares everything the inner edits touch.
//
// Between the entry's sync and the mark, the tables the outermost intent
// declared defer their syncs (deferredsync.h): the entry takes back any
// part of the edit a crash leaves, so a move on a long album costs a few
// syncs per table instead of several per renumbered row.
//
// A batch (a scan, an import: batch.h) declares counts only, one intent per
// batch: its appends vanish when the counts are put back, and the reference
// counts and first artists it raised on existing records are derived values
// that the verification ending every recovery recomputes from the rows.
//
// The journal is kept only while the database is held exclusively for
// writing: a shared open has no single writer to own it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/deferredsync.h"
#include "catalogue/results.h"
#include "catalogue/schema.h"

namespace tracklore {

// What an unfinished edit needs to be undone.
struct IntentEntry {
  struct Counts {
    int table = 0;  // 0..6 of the table set
    int32_t nrecs = 0;
    int32_t ndeleted = 0;
  };
  struct Image {
    int table = 0;
    int32_t recno = 0;
    std::vector<uint8_t> bytes;  // the whole record, status byte included
  };
  std::string operation;  // for the recovery's report: "move", "import"
  // The creation times of the tables (0 for a name table not there): an
  // entry left by an earlier database of the same name is not this one's
  // to undo.
  int32_t created[kAllTables] = {};
  std::vector<Counts> counts;
  std::vector<Image> images;
};

// The journal file of the database named by DB_MainName, in the current
// directory.
std::string DB_JournalName();

// The CRC-32 of n bytes, continuing one of the bytes before them (0 for
// none): the journal's and the history's checksums.
uint32_t crc32(const uint8_t* p, size_t n, uint32_t running = 0);

// Serialised entry (magic, body length, CRC-32 of the body, body) and back.
std::vector<uint8_t> encodeintent(const IntentEntry& entry);
// False when the bytes are not one whole entry with a matching checksum.
bool decodeintent(const uint8_t* data, size_t size, IntentEntry* entry);

// Reads the journal: true with the entry when it holds an unfinished one;
// false when there is no journal, the entry is done, torn or fails its
// checksum (a torn entry was never synced, so its edit had not begun).
bool readintent(const std::string& path, IntentEntry* entry);
// What the journal holds, for a recovery that finds tables changed part
// way: Missing (no file) and Damaged (an entry whose bytes are all there
// but wrong, or no entry at all) say the undo of a change was lost; Torn
// (cut short at its end, or emptied for an entry being written) is the
// trace of an entry that was never synced, so of no change begun.
enum class JournalState { Missing, Unfinished, Done, Torn, Damaged };
JournalState journalstate(const std::string& path);
// Marks the entry done (its magic overwritten and synced): 0 or -1.
int markdone(const std::string& path);
// Writes a new entry in place of the journal's, synced: 0 or -1 (errno of
// the open in quill::File::lastopenerror()). Both wait a moment for a
// program that is only looking at the journal (every command looks for an
// unfinished edit before it opens the tables).
int writeentry(const std::string& path, const std::vector<uint8_t>& bytes);
// The tables' creation times, from the open tables or from their files.
void tablescreated(int32_t created[kAllTables]);
// The entry was written for the database that is here now.
bool belongshere(const IntentEntry& entry);

// One edit's intent, begun before its first table write.
class Intent {
 public:
  // Who forces the declared tables to disk while the intent is active.
  enum class Syncs {
    AtEnd,     // end(), once: the tables' syncs are deferred until then
    ByCaller,  // a batch (batch.h), which makes its own durable points
  };
  explicit Intent(const char* operation, Syncs syncs = Syncs::AtEnd);
  // An intent begun and never ended counts as a failed edit.
  ~Intent();
  Intent(const Intent&) = delete;
  Intent& operator=(const Intent&) = delete;

  // Declares what the edit may change; only the outermost intent keeps it.
  void counts(int table);
  void record(int table, int32_t recno);
  // The record of the kind with this code, when there is one, and its
  // name-table entries.
  void coded(Kind kind, int32_t code);
  // The name table's counts and the entries of the record of the kind with
  // this code, which the edit may rewrite or remove. Entries that cannot be
  // listed could not be put back: begin() then refuses the edit.
  void fullname(Kind kind, int32_t code);
  // Every row of the album in relation r with the attributes they link to,
  // the album's record, the counts of both tables, and the name-table
  // entries of the album and those attributes.
  void album(int r, int32_t title);

  // Writes and syncs the entry, then defers the declared tables' syncs: 0,
  // NeedsRecovery (an unfinished entry is there), WriteFailed, or the read
  // failure that kept a declared record's name entries from being listed.
  // A nested or unjournaled intent returns 0.
  ErrorCode begin();
  // After the edit with its result: forces the declared tables to disk and
  // returns the result, or the failure of that. The entry is marked done
  // when the edit succeeded, or failed without changing anything declared;
  // otherwise (and when the tables could not be forced) it stays for
  // recovery.
  ErrorCode end(ErrorCode result);

 private:
  bool outer_;
  Syncs syncs_;
  bool active_ = false;
  ErrorCode unlisted_ = quill::Ok;  // why name entries could not be declared
  DeferredSync deferred_;
  IntentEntry entry_;
  // The records imaged so far, (table << 32 | recno): a rescan's intent
  // declares tens of thousands.
  std::unordered_set<uint64_t> imaged_;
  bool changed() const;
  // Bit t set for each table the entry declares.
  uint32_t declaredtables() const;
};

// True when the journal holds an edit of this database that a crash
// interrupted.
bool DB_HasUnfinishedEdit();
// True when an edit of this process failed after it had begun changing its
// tables, its entry left for recovery to take back. Unlike
// DB_HasUnfinishedEdit it needs no look at the journal, which another
// program may be writing once this one has closed the tables.
bool DB_LeftUnfinishedEdit();

}  // namespace tracklore
