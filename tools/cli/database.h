// The open database of one run and the records that operands name.
//
// A Session opens the five tables of the current directory for the length
// of a command (for reading, as DB_ReadMode says: beside a program that
// has it open read-only; for writing, exclusively) and closes them at its
// end; cursors of the command must be destroyed before it (declare
// them after it). Failing opens have been reported by the catalogue.
//
// An operand names a record either by code, "#12", or by its full name,
// letter case aside (NameFinder::same): "nirvana" names "Nirvana", not
// "Nírvana". A name that several records bear is refused with their codes;
// a name that none bears is refused with the records whose names compare
// equal to it in the catalogue's order (accents, punctuation aside).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/kind.h"
#include "engine/rlist.h"

namespace tracklore::cli {

class Session {
 public:
  explicit Session(bool write);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  bool ok() const { return open_; }

 private:
  bool open_ = false;
};

// Ok, or the first failure of a Session's closing of the tables: what they
// held back was not written, and the database needs recovery; the command
// must not end in success then.
quill::ErrorCode sessionclosefailure();

// A record of the title table or an attribute table.
struct Record {
  int32_t code = -1;
  std::string name;  // the full name, UTF-8
};

// The records of a kind that bear the full name, letter case aside, in
// name order.
std::vector<Record> samenamed(Kind kind, const std::string& full);
// The others whose names compare equal to it in the catalogue's order.
std::vector<Record> alike(Kind kind, const std::string& full);

// The record of a kind with the code; false when there is none.
bool readrecord(Kind kind, int32_t code, Record* found);

// Resolves an operand to one record of a kind; false, with a message on
// stderr, when it names none or several.
bool resolve(Kind kind, const std::string& operand, Record* found);

// Resolves the operand and stands the cursor (bound to the kind's table) on
// that record: 0, or 1 after the message saying why not.
int locate(Kind kind, const std::string& operand, Record* found, quill::Rlist& cursor);

// "#12" as a code; false when the operand is not of that form.
bool parsecode(const std::string& operand, int32_t* code);

// Positions a cursor bound to table 0..2 on the record with the code,
// selecting the "Code" tag; 0 or the seek's code.
quill::ErrorCode seekcode(quill::Rlist& cursor, int32_t code);

// The record the cursor stands on (a cursor over table kind 0..2, or a
// Relation's cursor over it), with its full name.
Record current(quill::Rlist& cursor, Kind kind);

// "#3", and for an album "#3 (ABBA)", with its first artist ("no artist"
// for none): so that albums of one name are told apart in messages.
std::string codelabel(Kind kind, int32_t code);
// "#3, #7" (or "#3 (ABBA), #7 (Queen)"), for messages.
std::string codelist(Kind kind, const std::vector<Record>& records);

// "album \"Abbey Road\" (#3)", for messages.
std::string describe(Kind kind, const Record& record);

// Prints "tracklore-cli: text" on stderr; returns 1, the failure status.
int failure(const std::string& text);

}  // namespace tracklore::cli
