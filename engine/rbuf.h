// Rbuf: one record of a data file in memory, with a typed Field per field.
//
// The buffer is reclen bytes (or arealen for the header record); the last
// statlen bytes are the status area. Rbuf reads and writes the record at its
// current offset as a whole, tracks which fields were set since the record
// was read, hands out serial numbers and takes non-waiting record locks.
// Subclasses override two hooks: onload() after a read and write() to save.
//
// Field reads a field as an integer and writes strings and integers with the
// conversions of its type letter; serial ("X") fields are the engine's.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/descr.h"
#include "engine/errors.h"
#include "engine/modes.h"
#include "engine/noncopyable.h"

namespace quill {

class DataFile;
class Rbuf;

class Field {
 public:
  Field(Rbuf* owner, const FieldDescr* descr, int number, uint8_t* data)
      : owner_(owner), descr_(descr), number_(number), data_(data) {}

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  char type() const { return descr_->type; }
  int length() const { return descr_->length; }
  const std::string& name() const { return descr_->name; }
  int number() const { return number_; }
  bool isset() const { return set_ != 0; }
  void setflag(int value);

  int32_t aslong() const;
  int16_t asint() const;
  int can_write() const;
  void set(const char* text);
  void set(long value);
  void set(int value);
  void clear();

 private:
  Rbuf* owner_;
  const FieldDescr* descr_;
  int number_;
  uint8_t* data_;
  int set_ = 0;

  const char* basename() const;
};

class Rbuf : NonCopyable {
 public:
  Rbuf() = default;
  virtual ~Rbuf();

  // Binds the buffer: count, length and status length are the record group
  // (nfields, reclen, statlen) or the header record's (nareas, arealen, areastat).
  void init(const std::vector<FieldDescr>* descriptors, int count, int length, int statlen,
            DataFile* table);

  Field& field(int k) { return fields_[static_cast<size_t>(k)]; }
  int nfields() const { return static_cast<int>(fields_.size()); }
  int reclen() const { return reclen_; }
  uint8_t* buffer() { return buffer_.data(); }
  const uint8_t* buffer() const { return buffer_.data(); }
  uint8_t* status() { return buffer_.data() + reclen_ - statlen_; }
  DataFile* datafile() const { return table_; }
  int32_t offset() const { return offset_; }
  void setoffset(int32_t offset) { offset_ = offset; }
  bool loaded() const { return loaded_ != 0; }
  bool locked() const { return locked_ != 0; }

  ErrorCode readbuf(uint8_t* buffer);
  // Writes the record and forces it to disk.
  ErrorCode writebuf(const uint8_t* buffer);
  // Writes the record only: the caller forces it together with what must
  // reach the disk in the same step.
  ErrorCode putbuf(const uint8_t* buffer);
  // Yes reads even a loaded buffer again, or writes even an unchanged one.
  enum class Force { No, Yes };
  ErrorCode load(Force force = Force::No);
  ErrorCode flush(Force force = Force::No);
  void setloaded(bool value);
  ErrorCode clear();
  void setstatus(const char* bytes, int n);
  void assign_serials();
  ErrorCode lock(LockMode mode);
  ErrorCode unlock();
  bool serialprot() const { return serialprot_ != 0; }

  // Hooks: after a successful read, and to save the buffer.
  virtual void onload() {}
  virtual ErrorCode write();

 protected:
  // Releases the buffer and fields (the owner has flushed and unlocked).
  void release();

 private:
  std::vector<Field> fields_;
  std::vector<uint8_t> buffer_;
  int reclen_ = 0;
  int statlen_ = 0;
  int loaded_ = 0;
  int locked_ = 0;
  int32_t lockedoff_ = -1;
  int serialprot_ = 0;
  DataFile* table_ = nullptr;
  int32_t offset_ = -1;
  // Whether a field may have been set since the flags were last cleared:
  // most moves flush a buffer that nothing changed, and need not look at
  // every field to learn it.
  bool marked_ = false;
  friend class Field;

  void clearflags();
  bool fileopen() const;
  // Puts the file at the record, warning (as op) about a closed file.
  bool seekrecord(const char* op, const char* attempt);
};

inline void Field::setflag(int value) {
  set_ = value;
  if (value != 0) owner_->marked_ = true;
}

}  // namespace quill
