#include "engine/rbuf.h"

#include <cstring>

#include "engine/bytes.h"
#include "engine/datafile.h"

namespace quill {

// ---- Field ----------------------------------------------------------------

const char* Field::basename() const {
  DataFile* table = owner_ ? owner_->datafile() : nullptr;
  return table ? table->basename_or_none() : "<not opened>";
}

int32_t Field::aslong() const {
  switch (type()) {
    case 'L': case 'X': return get4(data_);
    case 'S': return get2(data_);
    default:
      warning("Field::aslong: field '%s[%d]' is not integer\n", basename(), number_);
      return -1;
  }
}

int16_t Field::asint() const {
  switch (type()) {
    case 'L': case 'X': return static_cast<int16_t>(get4(data_) & 0xFFFF);
    case 'S': return get2(data_);
    default:
      warning("Field::asint: field '%s[%d]' is not integer\n", basename(), number_);
      return -1;
  }
}

int Field::can_write() const {
  if (type() == 'X' && owner_->serialprot()) {
    warning("Field::can_write: cannot change serial field #%d in file '%s'\n", number_, basename());
    return 0;
  }
  return 1;
}

void Field::set(const char* text) {
  if (!can_write()) return;
  if (type() == 'C') {
    size_t n = std::min(std::strlen(text), static_cast<size_t>(length()));
    std::memcpy(data_, text, n);
    std::memset(data_ + n, 0, static_cast<size_t>(length()) - n);
    data_[length() - 1] = 0;
  } else {
    warning("Field::set: can't set '%s[%d]' (type '%c') with character string \"%s\"\n",
            basename(), number_, type(), text);
  }
  setflag(1);
}

void Field::set(long value) {
  if (!can_write()) return;
  switch (type()) {
    case 'L': case 'X': put4(data_, static_cast<int32_t>(value)); break;
    case 'S': put2(data_, static_cast<int>(value & 0xFFFF)); break;
    default:
      warning("Field::set: can't set '%s[%d]' (type '%c') with long %ld\n", basename(), number_,
              type(), value);
      return;
  }
  setflag(1);
}

void Field::set(int value) {
  if (!can_write()) return;
  switch (type()) {
    case 'L': case 'X': put4(data_, value); break;
    case 'S': put2(data_, value & 0xFFFF); break;
    default:
      warning("Field::set: can't set '%s[%d]' (type '%c') with integer %d\n", basename(), number_,
              type(), value);
      return;
  }
  setflag(1);
}

void Field::clear() {
  switch (type()) {
    case 'C':
      std::memset(data_, '?', static_cast<size_t>(length()) - 1);
      data_[length() - 1] = 0;
      break;
    case 'D': putdouble(data_, -1.0); break;
    case 'F': putfloat(data_, -1.0f); break;
    default: std::memset(data_, 0xFF, static_cast<size_t>(length())); break;
  }
}

// ---- Rbuf -----------------------------------------------------------------

// Nobody to tell here: an owner that must know flushes and unlocks first.
Rbuf::~Rbuf() {
  if (fileopen()) {
    (void)flush();
    (void)unlock();
  }
}

void Rbuf::init(const std::vector<FieldDescr>* descriptors, int count, int length, int statlen,
                DataFile* table) {
  table_ = table;
  reclen_ = length;
  statlen_ = statlen;
  locked_ = 0;
  serialprot_ = 1;
  buffer_.assign(static_cast<size_t>(length), 0);
  fields_.clear();
  fields_.reserve(static_cast<size_t>(count));
  int at = 0;
  for (int k = 0; k < count; ++k) {
    const FieldDescr* d = &(*descriptors)[static_cast<size_t>(k)];
    fields_.emplace_back(this, d, k, buffer_.data() + at);
    at += d->length;
  }
  (void)clear();  // clearing fields cannot fail
  setloaded(false);
}

void Rbuf::release() {
  marked_ = false;
  fields_.clear();
  buffer_.clear();
  reclen_ = statlen_ = 0;
  loaded_ = locked_ = 0;
  table_ = nullptr;
  offset_ = -1;
}

bool Rbuf::fileopen() const { return table_ != nullptr && table_->isopen(); }

bool Rbuf::seekrecord(const char* op, const char* attempt) {
  if (!fileopen()) {
    warning("Rbuf::%s: attempt to %s a closed DataFile\n", op, attempt);
    return false;
  }
  return offset_ >= 0;
}

ErrorCode Rbuf::readbuf(uint8_t* buffer) {
  if (!seekrecord("readbuf", "read from")) return GeneralError;
  return fileresult(table_->readat(offset_, buffer, reclen_));
}

ErrorCode Rbuf::putbuf(const uint8_t* buffer) {
  // Told before the seek: the watch may read the record where it is now.
  if (table_ != nullptr && table_->isopen()) table_->towrite(offset_);
  if (!seekrecord("writebuf", "write to")) return GeneralError;
  return fileresult(table_->writeat(offset_, buffer, reclen_));
}

ErrorCode Rbuf::writebuf(const uint8_t* buffer) {
  if (putbuf(buffer) != Ok) return GeneralError;
  return fileresult(table_->flush());
}

ErrorCode Rbuf::load(Force force) {
  if (force == Force::Yes) loaded_ = 0;
  if (loaded_) return Ok;
  setloaded(false);
  if (readbuf(buffer_.data()) != 0) return clear();
  loaded_ = 1;
  onload();
  return Ok;
}

ErrorCode Rbuf::flush(Force force) {
  if (force == Force::No) {
    if (!loaded_ || !marked_) return Ok;
    bool any = false;
    for (const Field& f : fields_) any = any || f.isset();
    if (!any) return Ok;
  }
  ErrorCode rc = write();
  if (rc != Ok) return rc;
  clearflags();
  return Ok;
}

void Rbuf::setloaded(bool value) {
  loaded_ = value ? 1 : 0;
  clearflags();
}

void Rbuf::clearflags() {
  if (!marked_) return;
  for (Field& f : fields_) f.setflag(0);
  marked_ = false;
}

ErrorCode Rbuf::clear() {
  for (Field& f : fields_) f.clear();
  return GeneralError;
}

void Rbuf::setstatus(const char* bytes, int n) {
  std::memcpy(status(), bytes, static_cast<size_t>(std::min(n, statlen_)));
}

void Rbuf::assign_serials() {
  if (!serialprot_) return;
  for (Field& f : fields_)
    if (f.type() == 'X') {
      put4(f.data(), table_->header().serial);
      f.setflag(1);
    }
}

ErrorCode Rbuf::lock(LockMode mode) {
  if (mode == LockMode::None) return Ok;
  if (locked_) return TryAgain;
  if (offset_ == -1) return NoCurrentRecord;
  if (table_->lockrange(mode, offset_, reclen_) != 0) return TryAgain;
  locked_ = 1;
  lockedoff_ = offset_;
  return Ok;
}

ErrorCode Rbuf::unlock() {
  if (!locked_) return Ok;
  if (table_->unlockrange(lockedoff_, reclen_) != 0) return GeneralError;
  locked_ = 0;
  return Ok;
}

ErrorCode Rbuf::write() { return writebuf(buffer_.data()) != Ok ? WriteFailed : Ok; }

}  // namespace quill
