// The open database of one run and the records that operands name.
//
// A Session opens the five tables of the current directory for the length
// of a command (read-only or for writing, exclusively) and closes them at
// its end; cursors of the command must be destroyed before it (declare
// them after it). Failing opens have been reported by the catalogue.
//
// An operand names a record either by code, "#12", or by its exact name:
// the typed name is capitalised as the catalogue stores it, the records
// whose names sort equal to it are found through the "Name" tag, and those
// whose stored name is byte for byte the same are the matches. A name that
// several records share is refused with their codes; a name that matches
// nothing is refused with the records that differ from it only in letter
// case, accents or punctuation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// A record of the title table or an attribute table.
struct Record {
  int32_t code = -1;
  std::string name;  // as stored
};

// The records of a kind whose name sorts equal to the stored form given,
// in name order: those with exactly that name, and the others.
struct NameMatches {
  std::vector<Record> exact;
  std::vector<Record> similar;
};
NameMatches findname(int kind, const std::string& stored);

// Resolves an operand to one record of a kind; false, with a message on
// stderr, when it names none or several.
bool resolve(int kind, const std::string& operand, Record* found);

// Resolves the operand and stands the cursor (bound to the kind's table) on
// that record: 0, or 1 after the message saying why not.
int locate(int kind, const std::string& operand, Record* found, quill::Rlist& cursor);

// "#12" as a code; false when the operand is not of that form.
bool parsecode(const std::string& operand, int32_t* code);

// Positions a cursor bound to table 0..2 on the record with the code,
// selecting the "Code" tag; 0 or the seek's code.
quill::ErrorCode seekcode(quill::Rlist& cursor, int32_t code);

// The Name field of the cursor's record as stored, and its code.
std::string storedname(quill::Rlist& cursor);
Record current(quill::Rlist& cursor);

// "#3, #7", for messages.
std::string codelist(const std::vector<Record>& records);

// "album \"Abbey Road\" (#3)", for messages.
std::string describe(int kind, const Record& record);

// Prints "tracklore-cli: text" on stderr; returns 1, the failure status.
int failure(const std::string& text);

}  // namespace tracklore::cli
