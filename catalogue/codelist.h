// CodeList: the BrowseSource over a fixed list of records of one table,
// given by their codes (the finds of a search), in the list's order.
//
// Its cursor() stands on the record of the current code (tag "Code"). A
// code whose record has gone since the list was made is passed over as if
// it were not in the list. skip never leaves the list: at either end it
// returns non-zero, stays on the first or last record, and moved() tells
// how far it went. seek and select are not supported; span, before and
// seekrank are exact. The table must stay open while the list lives.
#pragma once

#include <cstdint>
#include <vector>

#include "catalogue/browse.h"
#include "engine/datafile.h"
#include "engine/rlist.h"

namespace tracklore {

class CodeList : public BrowseSource {
 public:
  CodeList(quill::DataFile& table, std::vector<int32_t> codes);

  ErrorCode first() override;
  ErrorCode last() override;
  ErrorCode skip(int n) override;
  quill::Rlist& cursor() override { return cursor_; }
  int moved() const override { return moved_; }
  bool valid() const override { return at_ >= 0; }
  int32_t recno() const override { return at_ >= 0 ? cursor_.recno() : -1; }
  int32_t span() override { return static_cast<int32_t>(codes_.size()); }
  int32_t before() override { return at_; }
  ErrorCode seekrank(int32_t n) override;

  const std::vector<int32_t>& codes() const { return codes_; }

 private:
  quill::Rlist cursor_;
  std::vector<int32_t> codes_;
  int32_t at_ = -1;  // index of the current code, -1 none
  int moved_ = 0;

  // Stands on the record of codes_[i]; false when it has gone.
  bool standon(int32_t i);
  // From index i on in direction step (+1, -1), the first code whose record
  // is there: stands on it and returns true.
  bool findfrom(int32_t i, int step);
};

}  // namespace tracklore
