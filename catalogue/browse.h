// BrowseSource: a list of records that the user interface walks and
// positions; FullTable: that list over every live record of one table.
//
// first / last -> 0 when the list has a record to stand on.
// skip (n) -> 0 when all n moves (negative: backward) were made.
// cursor () -> the engine cursor whose current record is the list's current
//   item; its fields are read (and changed) through it.
// moved () -> how many records the last skip actually moved.
// seek (key, key length, mode, which) -> positions by a search key of the
//   selected tag (engine/keys.h; modes and which of engine/modes.h).
// select (tag) -> chooses the order: a tag, or -1 for physical order.
//   A list in an order of its own refuses both with GeneralError.
// valid () -> the list has a current item.
// recno () -> the record number of the list's own current record, -1 none.
// span () -> about how many records the list holds; before () -> about how
//   many come before the current one; seekrank (n) -> stands on the record
//   with about n before it (0 or an engine code). Estimates, for showing
//   where a window stands; exact at the first and the last record. A list
//   that cannot tell answers -1.
//
// FullTable passes every operation to its one cursor, with its arguments and
// result. A new FullTable has no tag selected; its user selects one. Seeking
// without a tag is refused with BadParam.
#pragma once

#include <cstdint>

#include "engine/errors.h"
#include "engine/rlist.h"

namespace tracklore {

using quill::ErrorCode;

class BrowseSource {
 public:
  virtual ~BrowseSource() = default;
  virtual ErrorCode first() = 0;
  virtual ErrorCode last() = 0;
  virtual ErrorCode skip(int n) = 0;
  virtual quill::Rlist& cursor() = 0;
  virtual int moved() const = 0;
  virtual ErrorCode seek(const uint8_t* /*key*/, int /*keylen*/, quill::SeekMode /*mode*/,
                         quill::SeekWhich /*which*/) {
    return quill::GeneralError;
  }
  virtual ErrorCode select(int /*tag*/) { return quill::GeneralError; }
  virtual bool valid() const = 0;
  virtual int32_t recno() const = 0;
  virtual int32_t span() { return -1; }
  virtual int32_t before() { return -1; }
  virtual ErrorCode seekrank(int32_t) { return quill::GeneralError; }
};

class FullTable : public BrowseSource {
 public:
  explicit FullTable(quill::DataFile& table) : cursor_(&table) {}

  ErrorCode first() override { return cursor_.first(); }
  ErrorCode last() override { return cursor_.last(); }
  ErrorCode skip(int n) override { return cursor_.skip(n); }
  quill::Rlist& cursor() override { return cursor_; }
  int moved() const override { return cursor_.moved(); }
  ErrorCode seek(const uint8_t* key, int keylen, quill::SeekMode mode,
                 quill::SeekWhich which) override {
    if (cursor_.selected() < 0) return quill::BadParam;
    return cursor_.seek(key, keylen, mode, which);
  }
  ErrorCode select(int tag) override { return cursor_.select(tag); }
  bool valid() const override { return cursor_.valid(); }
  int32_t recno() const override { return cursor_.recno(); }
  int32_t span() override { return cursor_.count(); }
  int32_t before() override { return cursor_.before(); }
  ErrorCode seekrank(int32_t n) override { return cursor_.seekrank(n); }

 private:
  quill::Rlist cursor_;
};

}  // namespace tracklore
