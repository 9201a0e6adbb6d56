// Structure change and the file exchange shared by every copy of a table.
//
// Maintenance never rewrites a table in place: the new file is built under a
// temporary name in the current directory and exchanged by renaming.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/descr.h"
#include "engine/errors.h"

namespace quill {

class DataFile;
struct Progress;

// Fills buffer (at least 16 bytes) with a temporary base name, format
// "tmp%x%x%c%c", that names no existing file; returns buffer (null for null).
char* tmpname(char* buffer);

// Makes a fresh temporary base name in buffer (at least 16 bytes) and creates
// the empty file base + extension ("" for the bare name) with O_EXCL, so that
// no existing file is ever taken over. False when no file could be made.
[[nodiscard]] bool tmpcreate(char* buffer, const char* extension);

// The two files of a table, and the extension each is named by.
enum class TableFile { Data, Index };
const char* extensionof(TableFile which);

// Moves new base + extension onto old base + extension for the table's
// file `which`, in one step: the old name always names either the
// previous file or the new one. When the new file cannot take the old name,
// the previous file stays under it and the result is false; the new file
// stays where it was, for the caller to remove.
[[nodiscard]] bool swapfiles(const char* newbase, const char* oldbase, TableFile which);

// Tests make renames fail through this hook: it is asked before every rename
// of swapfiles and makes it fail when it answers true. Empty removes it.
using RenameFault = std::function<bool(const char* from, const char* to)>;
void set_rename_fault(RenameFault hook);

// Checks a field's type and length and sets the length of a number type;
// false (with a warning) for a field that cannot be stored.
[[nodiscard]] bool normalize(FieldDescr& descriptor);
// Checks a tag against the fields of the table it is to be added to; false
// (with a warning) for one that cannot be added.
[[nodiscard]] bool normalizetag(const TagNode& tag, DataFile& old);
// Renumbers the tag components of the new header for a field inserted at
// position, so that every tag keeps naming the same fields.
void upd_tagstruct(DataFile& fresh, int position);

// How one old record becomes a record of the new file during a copy.
class RecChgDescr {
 public:
  // What the copy does to each record.
  enum Change { Copy = 0, Insert = 1 };

  // change Insert: a field inserted at position (in the group's fields) of
  // the new header.
  RecChgDescr(DataFile& fresh, DataFile& old, Change change, int position, FieldGroup group);
  RecChgDescr(const RecChgDescr&) = delete;
  RecChgDescr& operator=(const RecChgDescr&) = delete;

  // The converted record (newlen() bytes) in the descriptor's buffer.
  const uint8_t* convert(const uint8_t* oldrecord);
  uint8_t* buffer() { return buffer_.get(); }
  int oldlen() const { return oldlen_; }
  int newlen() const { return newlen_; }
  int offset() const { return offset_; }
  int count() const { return count_; }
  Change change() const { return change_; }
  const FieldDescr* field() const { return field_; }
  DataFile& fresh() const { return *fresh_; }

 private:
  std::unique_ptr<uint8_t[]> buffer_;
  int insert_ = 0;
  int offset_ = 0;
  int count_ = 0;
  uint8_t fill_ = 0;
  int oldlen_ = 0;
  int newlen_ = 0;
  const FieldDescr* field_ = nullptr;
  Change change_ = Copy;
  DataFile* fresh_ = nullptr;
};

// Gives up a copy begun by DataFile::opencopy: closes both files, removes the
// new one and returns code.
ErrorCode abandoncopy(DataFile& fresh, DataFile& old, ErrorCode code);
// Writes the header record of old at fresh's hdrlen, converted by change
// when one is given. BadData when it cannot be read, WriteFailed.
ErrorCode copyhdrrec(DataFile& fresh, DataFile& old, RecChgDescr* change);

// Position -1 appends.
ErrorCode insert_field(const char* base, int position, const FieldDescr& descriptor,
                       FieldGroup which,
                       Progress* progress = nullptr);
ErrorCode insert_tag(const char* base, int position, const TagNode& tag,
                     Progress* progress = nullptr);

}  // namespace quill
