#include "catalogue/codelist.h"

#include <utility>

#include "catalogue/schema.h"
#include "engine/bytes.h"

namespace tracklore {

using quill::Ok;

CodeList::CodeList(quill::DataFile& table, std::vector<int32_t> codes)
    : cursor_(&table), codes_(std::move(codes)) {
  (void)cursor_.select(T_Code);  // a tag of the schema
}

bool CodeList::standon(int32_t i) {
  uint8_t key[4];
  quill::put4(key, codes_[static_cast<size_t>(i)]);
  if (cursor_.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any) != Ok) return false;
  at_ = i;
  return true;
}

bool CodeList::findfrom(int32_t i, int step) {
  for (; i >= 0 && i < span(); i += step)
    if (standon(i)) return true;
  return false;
}

ErrorCode CodeList::first() {
  moved_ = 0;
  if (findfrom(0, 1)) return Ok;
  at_ = -1;
  return quill::NotFound;
}

ErrorCode CodeList::last() {
  moved_ = 0;
  if (findfrom(span() - 1, -1)) return Ok;
  at_ = -1;
  return quill::NotFound;
}

ErrorCode CodeList::skip(int n) {
  moved_ = 0;
  if (at_ < 0) return quill::NoCurrentRecord;
  const int step = n < 0 ? -1 : 1;
  for (int left = n < 0 ? -n : n; left > 0; --left) {
    const int32_t from = at_;
    if (!findfrom(at_ + step, step)) {
      standon(from);  // the end: back on the last one reached
      return quill::TooFar;
    }
    moved_ += step;
  }
  return Ok;
}

ErrorCode CodeList::seekrank(int32_t n) {
  moved_ = 0;
  if (n < 0) n = 0;
  if (n >= span()) n = span() - 1;
  if (findfrom(n, 1) || findfrom(n, -1)) return Ok;
  at_ = -1;
  return quill::NotFound;
}

}  // namespace tracklore
