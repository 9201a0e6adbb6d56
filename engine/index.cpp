#include "engine/index.h"

#include <algorithm>
#include <climits>

#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/datafile.h"

namespace quill {

namespace {

constexpr int kTreeInfoLen = 8;

// TreeInfo as the area holds it: K, D, fixed flag, height (16-bit each).
void encode_treeinfo(uint8_t* p, int keylen, int datalen, int fixed, int height) {
  putle16(p, static_cast<uint16_t>(keylen));
  putle16(p + 2, static_cast<uint16_t>(datalen));
  putle16(p + 4, static_cast<uint16_t>(fixed));
  putle16(p + 6, static_cast<uint16_t>(height));
}

// The smallest page that holds four longest entries with their child
// pointers; a slot with less would split forever.
int min_pagesize(int keylen, int fixed) {
  int overhead = kEntryDataLen + (fixed ? 0 : 2);
  return 6 + 4 * (keylen + overhead) + 4 * 5;
}

}  // namespace

void IndexDeleter::operator()(Index* index) const { delete index; }

Index::Index(DataFile* owner) : owner_(owner), compare_(compare), continues_(continues) {}

Index::~Index() = default;

int Index::pagesize_for(const TagInfo& tag, int requested) {
  int R = requested == 0 ? kDefaultPageSize : requested;
  int entry = tag.keylen + kEntryDataLen;
  if (tag.varlen) return std::max(R, 4 * entry + 34);
  int m = (R - 10) / (entry + 4);
  int h = std::max(2, m / 2);
  return 2 * h * (entry + 4) + 10;
}

int Index::readhdr() {
  uint8_t h[kIndexHeaderLen];
  // The store's header length comes from the file: only ours fits the buffer.
  if (hlen() != kIndexHeaderLen || readheader(h) != 0) return -1;
  count_ = getles32(h);
  created_ = getles32(h + 4);
  stamp_ = getles32(h + 8);
  return 0;
}

int Index::writehdr() {
  uint8_t h[kIndexHeaderLen];
  if (hlen() != kIndexHeaderLen) return -1;
  putle32(h, static_cast<uint32_t>(count_));
  putle32(h + 4, static_cast<uint32_t>(created_));
  putle32(h + 8, static_cast<uint32_t>(stamp_));
  return writeheader(h);
}

int Index::create(int32_t created, int32_t stamp, int pagesize) {
  const std::vector<TagInfo>& tags = owner_->tinfo();
  if (tags.empty()) return 0;
  std::vector<SlotSetup> slots;
  for (const TagInfo& tag : tags) {
    int size = pagesize_for(tag, pagesize);
    if (size > MultiFile::kMaxPageSize) return -1;
    slots.push_back({size, kTreeInfoLen});
  }
  if (setupwr(kIndexHeaderLen, slots) != 0) return -1;
  count_ = 0;
  created_ = created;
  stamp_ = stamp;
  if (writehdr() != 0) return -1;
  for (size_t t = 0; t < tags.size(); ++t) {
    uint8_t info[kTreeInfoLen];
    encode_treeinfo(info, tags[t].keylen, kEntryDataLen, tags[t].varlen ? 0 : 1, 0);
    if (writearea(static_cast<int>(t), info) != 0) return -1;
  }
  createtrees();
  return flush();
}

int Index::open() {
  if (setuprd() != 0 || readhdr() != 0) return -1;
  if (check() != 0) return -2;
  createtrees();
  for (const auto& tree : trees_)
    if (tree->damaged() != nullptr) return -1;
  return 0;
}

int Index::check() {
  const std::vector<TagInfo>& tags = owner_->tinfo();
  if (tags.empty()) return 0;
  if (hlen() != kIndexHeaderLen || nslots() != static_cast<int>(tags.size())) return -1;
  for (int t = 0; t < nslots(); ++t) {
    uint8_t info[kTreeInfoLen];
    if (slot(t).arealen != kTreeInfoLen || readarea(t, info) != 0) return -1;
    int keylen = getles16(info), datalen = getles16(info + 2), fixed = getles16(info + 4);
    int height = getles16(info + 6);
    const TagInfo& tag = tags[static_cast<size_t>(t)];
    if (keylen != tag.keylen || datalen != kEntryDataLen || fixed != (tag.varlen ? 0 : 1))
      return -1;
    // A height beyond what 2 GiB of pages could hold, or a page too small
    // for four entries, can only come from damage.
    if (height < 0 || height > 40 || slot(t).pagesize < min_pagesize(keylen, fixed)) return -1;
    if ((slot(t).root == -1) != (height == 0)) return -1;
  }
  return 0;
}

void Index::createtrees() {
  const std::vector<TagInfo>& tags = owner_->tinfo();
  int n = static_cast<int>(tags.size());
  kds_.assign(static_cast<size_t>(n), KeyDescr{});
  trees_.clear();
  trees_.resize(static_cast<size_t>(n));
  const std::vector<FieldDescr>& fields = owner_->header().fields;
  for (int t = n - 1; t >= 0; --t) {
    KeyDescr& kd = kds_[static_cast<size_t>(t)];
    kd.comps = tags[static_cast<size_t>(t)].comps.data();
    kd.ncomps = static_cast<int>(tags[static_cast<size_t>(t)].comps.size());
    kd.fields = fields.data();
    kd.nfields = static_cast<int>(fields.size());
    trees_[static_cast<size_t>(t)] = std::make_unique<Btree>(this, t, compare_, continues_, &kd);
  }
}

int Index::uptodate() {
  return count_ == owner_->header().nrecs - owner_->header().ndeleted &&
         stamp_ == owner_->header().stamp;
}

// Held exclusively, the header in memory is the one on disk: reading it
// again would only cost a system call per change.
int Index::setstamp(int32_t stamp, int how, int32_t value, Force force) {
  if (!exclusive() && readhdr() != 0) return -1;
  if (how == 1) count_ = value;
  else if (how == 2) count_ += value;
  if (stamp != 0) stamp_ = stamp;
  if (writehdr() != 0) return -1;
  return force == Force::Now ? flush() : 0;
}

int Index::setwriteback(bool on) {
  if (!on) return MultiFile::setwriteback(false);
  if (!exclusive() || writeback()) return writeback() ? 0 : -1;
  // On disk: unfinished, and forced there before any page can follow. In
  // memory (written back last): the true header.
  const int32_t truestamp = stamp_;
  stamp_ = INT32_MIN;
  int rc = writehdr();
  if (rc == 0) rc = File::sync();
  stamp_ = truestamp;
  if (rc != 0 || MultiFile::setwriteback(true) != 0) return -1;
  return writehdr();
}

int Index::commit(int32_t stamp, int how, int32_t value) {
  if (flush() != 0) return -1;
  return setstamp(stamp, how, value);
}

int Index::mark(int32_t stamp) {
  if (!exclusive() && readhdr() != 0) return -1;
  stamp_ = stamp;
  if (writehdr() != 0) return -1;
  return flush();
}

int Index::readstamp() {
  uint8_t head[4 + kIndexHeaderLen];
  if (seek(0) != 0 || read(head, sizeof head) != 0) return -1;
  if (getles16(head + 2) != kIndexHeaderLen) return -1;
  count_ = getles32(head + 4);
  created_ = getles32(head + 8);
  stamp_ = getles32(head + 12);
  return 0;
}

int32_t Index::count() {
  if (!exclusive() && readhdr() != 0) return -1;
  return count_;
}

// ---- the data file's side ---------------------------------------------------

ErrorCode DataFile::open_index(int readonly, int shared) {
  index_.reset(new Index(this));
  std::string path = stradd(base_, ".idx");
  if (index_->File::open(path.c_str(), !readonly, !shared) != 0) {
    index_.reset();
    return IndexOpen;
  }
  return Ok;
}

ErrorCode DataFile::check_index() {
  // Shared: the counters read before the locks were taken may be stale.
  if (refresh() != 0) return BadData;
  int rc = index_->open();
  // An index built for other tags but also behind the data file's changes
  // (a tag was added) is out of date: a reindex brings it back.
  if (rc == -2 && index_->storedstamp() != header_->stamp) return IndexOutOfDate;
  // Trees that cannot be read under a header that does not claim to be in
  // step are the trace of an interrupted change: out of date, not damaged.
  if (rc == -1 && index_->readstamp() == 0 && !index_->uptodate()) return IndexOutOfDate;
  if (rc != 0) return BadIndex;
  return index_->uptodate() ? Ok : IndexOutOfDate;
}

int DataFile::defersync(bool on) {
  // A batch ends on disk, in the order a sync gives it. When that fails the
  // counters stay unwritten: they must not count records that may not be
  // on disk.
  int rc = !on && batchpending() ? sync() : 0;
  file_.defersync(on);
  deferhead_ = on && exclusive_;
  if (!index_) return rc;
  index_->defersync(on);
  // Held exclusively, the index need not reach the file before the sync.
  if (exclusive_ && index_->setwriteback(on) != 0) rc = -1;
  return rc;
}

int DataFile::writehead() {
  if (deferhead_) {
    headdirty_ = true;
    return 0;
  }
  headdirty_ = false;
  return header_->writehead(file_);
}

// Each step is on disk before the next one begins: the records before the
// counters that make them visible, and the trees (with everything else)
// before the index header that declares them in step.
int DataFile::sync() {
  int rc = file_.sync();
  if (rc == 0 && headdirty_) {
    if (header_->writehead(file_) != 0 || file_.sync() != 0) rc = -1;
    else headdirty_ = false;
  }
  if (index_ && index_->sync() != 0) rc = -1;
  return rc;
}

bool DataFile::batchpending() const {
  return deferhead_ || headdirty_ || (index_ && index_->writeback());
}

int DataFile::lockindex(LockMode mode) {
  return index_ ? index_->lock(static_cast<int>(mode), 0, 0, 1) : 0;
}
int DataFile::unlockindex() { return index_ ? index_->unlock(0, 0) : 0; }

}  // namespace quill
