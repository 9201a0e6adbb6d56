// DataFile: the order in which a table's changes reach the disk: batches
// of deferred syncs, the counters after the records they count, the index
// after both.
#include <algorithm>

#include "engine/datafile.h"
#include "engine/index.h"

namespace quill {

ErrorCode DataFile::defersync(bool on) {
  // A batch ends on disk, in the order a sync gives it. When that fails the
  // counters stay unwritten: they must not count records that may not be
  // on disk.
  ErrorCode rc = !on && batchpending() ? sync() : Ok;
  buffer_.defersync(on);
  deferhead_ = on && exclusive_;
  if (!index_) return rc;
  index_->defersync(on);
  // Held exclusively, the index need not reach the file before the sync.
  // After a failed sync it stays marked unfinished on disk.
  if (exclusive_ && !buffer_.failed() && index_->setwriteback(on) != Ok && rc == Ok)
    rc = writeresult(WriteFailed);
  return rc;
}

ErrorCode DataFile::writebackindex() {
  if (!index_ || !exclusive_ || file_.readonly() || index_->writeback()) return Ok;
  return index_->setwriteback(true);
}

ErrorCode DataFile::writehead() {
  if (deferhead_) {
    headdirty_ = true;
    return Ok;
  }
  headdirty_ = false;
  return header_->writehead(buffer_);
}

// Each step is on disk before the next one begins: the records before the
// counters that make them visible, and the trees (with everything else)
// before the index header that declares them in step.
ErrorCode DataFile::sync() {
  ErrorCode rc = fileresult(buffer_.sync(), WriteFailed);
  if (rc == Ok && headdirty_) {
    if (header_->writehead(buffer_) != Ok || buffer_.sync() != 0) rc = WriteFailed;
    else headdirty_ = false;
  }
  // Records that may not be on disk: the index must not declare itself in
  // step with them, so it stays marked unfinished, to be rebuilt.
  if (buffer_.failed()) return writeresult(WriteFailed);
  if (index_ && index_->sync() != Ok) rc = WriteFailed;
  // Once its header is written the index declares itself in step on disk:
  // changes outside a batch mark it unfinished again (writebackindex)
  // before they write back. A header still held back leaves the mark.
  if (index_ && !deferhead_ && !index_->store().headerheld() &&
      index_->setwriteback(false) != Ok) rc = WriteFailed;
  return writeresult(rc);
}

ErrorCode DataFile::syncbatch(int32_t derived) {
  if (!index_ || !index_->writeback()) return sync();
  const FileBuffer::Range held{header_->datastart,
                               recoffset(std::clamp(derived, 0, header_->nrecs))};
  if (buffer_.syncexcept(held) != 0) return writeresult(WriteFailed);
  if (headdirty_) {
    if (header_->writehead(buffer_) != Ok) return writeresult(WriteFailed);
    headdirty_ = false;
  }
  return Ok;
}

bool DataFile::batchpending() const {
  return deferhead_ || headdirty_ || (index_ && index_->writeback());
}

}  // namespace quill
