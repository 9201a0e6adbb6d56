// Room ahead of durable appends (DataFile::makeroom): what an append writes
// then overwrites blocks the file holds already, and its sync carries no
// change of the file's length.
#include <algorithm>
#include <cstdint>

#include "engine/datafile.h"

namespace quill {

namespace {

// Room costs a sync when it is made and one at close: a short open pays
// that back only over several appends, so it lengthens the file as it goes.
constexpr int32_t kAppendsBeforeRoom = 8;
// Room for as many records again as the open has appended, up to this.
constexpr int64_t kMostRoom = 1 << 20;

}  // namespace

void DataFile::makeroom(int32_t recno) {
  const Header& h = *header_;
  const int64_t end = int64_t{h.datastart} + (int64_t{recno} + 1) * h.reclen;
  room_.written = std::max(room_.written, end);
  if (!exclusive_ || deferhead_ || file_.readonly() || room_.failed) return;
  ++room_.appends;
  if (end <= room_.end || room_.appends <= kAppendsBeforeRoom) return;
  const int32_t length = buffer_.size();
  if (length < 0) return;
  room_.trim = true;
  room_.end = length;
  if (end <= length) return;  // a tail an interrupted open left
  const int64_t more = std::min(int64_t{room_.appends} * h.reclen, kMostRoom);
  const int64_t target = std::min(end + more, int64_t{INT32_MAX});
  if (buffer_.write(length, nullptr, static_cast<int32_t>(target - length)) != 0 ||
      buffer_.sync() != 0) {
    room_.failed = true;
    return;
  }
  room_.end = target;
}

// Counted records stay, and so does a record whose append failed after it
// was written: its counters may have reached the disk all the same.
void DataFile::trimroom() {
  if (!room_.trim) return;
  const int64_t end = std::max(room_.written, int64_t{recoffset(header_->nrecs)});
  // Room left on disk is an uncounted tail, which the next append
  // overwrites and a pack drops: forcing its removal is only tidiness.
  if (buffer_.size() > end && buffer_.truncate(static_cast<int32_t>(end)) == 0)
    (void)buffer_.sync();
}

}  // namespace quill
