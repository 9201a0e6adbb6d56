#include "engine/datafile.h"

#include <climits>
#include <ctime>
#include <cstring>

#include "engine/index.h"

namespace quill {

std::string stradd(const std::string& base, const char* extension) { return base + extension; }

namespace {

// How a table's files are opened for the mode: both files alike.
Access accessof(OpenMode mode) { return mode.readonly ? Access::ReadOnly : Access::ReadWrite; }
Sharing sharingof(OpenMode mode) { return mode.shared ? Sharing::Shared : Sharing::Exclusive; }

}  // namespace

DataFile::DataFile() = default;

// Nobody to tell here: an owner that must know closes first.
DataFile::~DataFile() { (void)close(); }

const char* DataFile::basename_or_none() const {
  return base_.empty() ? "<not opened>" : base_.c_str();
}

ErrorCode DataFile::opendata(const char* base, OpenMode mode) {
  std::string path = stradd(base, ".db1");
  if (file_.open(path.c_str(), accessof(mode), sharingof(mode)) != 0) return DataOpen;
  header_ = std::make_unique<Header>();
  base_ = base;
  if (!mode.shared) buffer_.setreadcache(true);
  if (header_->read(buffer_) != 0) return close(BadData);
  return Ok;
}

ErrorCode DataFile::open(const char* base, OpenMode mode) {
  ErrorCode rc = opendata(base, mode);
  if (rc != Ok) return rc;
  const bool shared = mode.shared;
  exclusive_ = !shared;
  bool with_index = header_->ntags > 0 && !mode.noindex;
  if (with_index) {
    rc = open_index(accessof(mode), sharingof(mode));
    if (rc != Ok) return close(rc);
  }
  // Shared, another opener may be changing the table: the index is checked
  // against the counters under the locks that keep such a change out; a
  // lock that cannot be had refuses the open.
  if (shared) {
    if (with_index && lockindex(LockMode::Shared) != Ok) return close(TryAgain);
    if (lockheader(LockMode::Shared) != Ok) {
      if (with_index) (void)unlockindex();  // the close below drops it anyway
      return close(TryAgain);
    }
  }
  init_finfo_tinfo();
  if (with_index) rc = check_index();
  // Locks that the system will not release go with the close.
  if (shared) {
    (void)unlockheader();
    if (with_index) (void)unlockindex();
  }
  return rc == Ok ? Ok : close(rc);
}

ErrorCode DataFile::_create(const char* base) {
  std::string path = stradd(base, ".db1");
  if (file_.create(path.c_str(), Sharing::Exclusive) != 0) return DataCreate;
  header_ = std::make_unique<Header>();
  base_ = base;
  exclusive_ = 1;
  return Ok;
}

ErrorCode DataFile::create(const char* base, int namelen, int pagesize) {
  DataFile table;
  ErrorCode rc = table._create(base);
  if (rc != Ok) return rc;
  Header& h = *table.header_;
  h = Header();
  h.namelen = static_cast<uint16_t>(namelen == 0 ? kDefaultNameLen : namelen);
  h.pagesize = static_cast<uint16_t>(pagesize == 0 ? kDefaultPageSize : pagesize);
  h.created = static_cast<int32_t>(std::time(nullptr));
  h.lengths();
  if (h.write(table.buffer_) != 0) return table.close(DataCreate);
  return table.close(Ok);
}

ErrorCode DataFile::close(ErrorCode code) {
  // What a batch held back goes to disk in order before the files close;
  // when that fails the close says so, as the sync would have.
  ErrorCode rc = Ok;
  if (header_ && file_.isopen() && batchpending()) rc = sync();
  // After a failed write the file holds what it holds: nothing more is
  // written to it, and the next open finds it out of date.
  if (header_ && file_.isopen() && !buffer_.failed()) trimroom();
  if (index_ && buffer_.failed()) index_->store().abandon();
  room_ = {};
  headdirty_ = false;
  deferhead_ = false;
  header_.reset();
  index_.reset();
  base_.clear();
  finfo_.clear();
  tinfo_.clear();
  exclusive_ = 0;
  // What the buffer holds goes first; the descriptor goes whatever failed.
  const bool written = buffer_.close() == 0;
  if ((file_.close() != 0 || !written) && rc == Ok) rc = writeresult(WriteFailed);
  return code != Ok ? code : rc;
}

ErrorCode DataFile::refresh() {
  if (exclusive_) return Ok;
  return header_->readhead(buffer_);
}

int32_t DataFile::nrecs() {
  if (refresh() != 0) return -1;
  return header_->nrecs;
}

int32_t DataFile::nlive() {
  if (refresh() != 0) return -1;
  return header_->nrecs - header_->ndeleted;
}

int32_t DataFile::stamp() {
  if (refresh() != 0) return -1;
  return header_->stamp;
}

ErrorCode DataFile::lockheader(LockMode mode) {
  return fileresult(buffer_.lock(mode, 0, kHeadLen, Wait::Yes), TryAgain);
}
ErrorCode DataFile::unlockheader() {
  return fileresult(buffer_.unlock(0, kHeadLen), TryAgain);
}

void DataFile::init_finfo_tinfo() {
  const Header& h = *header_;
  finfo_.assign(h.nfields, FieldInfo{});
  uint16_t offset = 0;
  for (int f = 0; f < h.nfields; ++f) {
    finfo_[f].offset = offset;
    offset = static_cast<uint16_t>(offset + h.fields[f].length);
  }

  tinfo_.assign(h.ntags, TagInfo{});
  const char* path = file_.name().c_str();
  int limit = h.effective_pagesize() / 4;
  for (int t = 0; t < h.ntags; ++t) {
    const TagNode& node = h.tags[t];
    if (node.comps.empty())
      fatal("Bad tag descriptor in file %s (tag #%d without components)", path, t);
    TagInfo& info = tinfo_[t];
    info.keyoff = t == 0 ? 0 : static_cast<uint16_t>(tinfo_[t - 1].keyoff + tinfo_[t - 1].keylen);
    int keylen = 0;
    for (Component c : node.comps) {
      if (c.field < 0 || c.field >= h.nfields)
        fatal("Bad tag descriptor in file %s (tag #%d refers to nonexistent field %d)", path, t,
              c.field);
      const FieldDescr& field = h.fields[c.field];
      finfo_[c.field].intag = 1;
      // A length beyond the field would make the key reach into the next
      // field; it can only come from a damaged file.
      if (c.length <= 0 || c.length > field.length) c.length = field.length;
      keylen += c.length;
      if (field.type == 'C') {
        bool var = c.flags & CF_VAR, fixed = c.flags & CF_FIXED;
        if (var == fixed) {
          c.flags &= ~(CF_VAR | CF_FIXED);
          if (c.length > 12) c.flags |= CF_VAR;
        }
        if (c.flags & CF_VAR) info.varlen = 1;
        bool binary = (c.flags & CF_BINARY) && !(c.flags & CF_COLLATE);
        if (!binary) c.flags = static_cast<uint16_t>((c.flags | CF_COLLATE) & ~CF_BINARY);
      }
      info.comps.push_back(c);
    }
    if (keylen > limit)
      fatal("Total length of tag #%d (%d bytes) is too long; should not exceed %d bytes", t,
            keylen, limit);
    info.keylen = static_cast<uint16_t>(keylen);
  }
}

int DataFile::makekey(int t, const uint8_t* record, uint8_t* key) const {
  const TagInfo& info = tinfo_[t];
  int length = 0;
  for (const Component& c : info.comps) {
    const uint8_t* from = record + finfo_[c.field].offset;
    int n = c.length;
    // Only text ends at a NUL: a number keeps its flag as written, but all
    // its bytes go into the key (a zero byte is part of its value).
    if ((c.flags & CF_VAR) && header_->fields[c.field].type == 'C') {
      // Up to and including the first NUL; exactly the component's length
      // when it holds none, so that the key never reaches past the field.
      const void* nul = std::memchr(from, 0, static_cast<size_t>(c.length));
      if (nul != nullptr) n = static_cast<int>(static_cast<const uint8_t*>(nul) - from) + 1;
    }
    std::memcpy(key + length, from, static_cast<size_t>(n));
    length += n;
  }
  return info.varlen ? length : info.keylen;
}

ErrorCode DataFile::open_index(Access access, Sharing sharing) {
  index_.reset(new Index(this));
  std::string path = stradd(base_, ".idx");
  if (index_->openfile(path.c_str(), access, sharing) != Ok) {
    index_.reset();
    return IndexOpen;
  }
  return Ok;
}

ErrorCode DataFile::check_index() {
  // Shared: the counters read before the locks were taken may be stale.
  if (refresh() != 0) return BadData;
  if (ErrorCode rc = index_->open(); rc != Ok) return rc;
  return index_->uptodate() ? Ok : IndexOutOfDate;
}

ErrorCode DataFile::lockindex(LockMode mode) { return index_ ? index_->store().lock(mode) : Ok; }
ErrorCode DataFile::unlockindex() { return index_ ? index_->store().unlock() : Ok; }

bool DataFile::recordspan(int32_t first, int32_t n, int64_t* at, int32_t* length) const {
  const int64_t start = header_->datastart + int64_t{first} * header_->reclen;
  const int64_t bytes = int64_t{n} * header_->reclen;
  if (first < 0 || n < 0 || start + bytes > INT32_MAX) return false;
  *at = start;
  *length = static_cast<int32_t>(bytes);
  return true;
}

ErrorCode DataFile::readrecords(int32_t first, int32_t n, void* bytes) {
  int64_t at = 0;
  int32_t length = 0;
  if (!recordspan(first, n, &at, &length)) return GeneralError;
  return buffer_.read(at, bytes, length) == 0 ? Ok : GeneralError;
}

ErrorCode DataFile::writerecords(int32_t first, int32_t n, const void* bytes) {
  int64_t at = 0;
  int32_t length = 0;
  if (!recordspan(first, n, &at, &length)) return WriteFailed;
  return buffer_.write(at, bytes, length) == 0 ? Ok : WriteFailed;
}

ErrorCode DataFile::writeheader() { return header_->write(buffer_); }

int32_t DataFile::length() { return buffer_.size(); }

ErrorCode DataFile::cuttail() {
  const int64_t end = recoffset(header_->nrecs);
  if (buffer_.size() <= end) return Ok;
  return buffer_.truncate(static_cast<int32_t>(end)) == 0 && buffer_.sync() == 0 ? Ok
                                                                                 : WriteFailed;
}

}  // namespace quill
