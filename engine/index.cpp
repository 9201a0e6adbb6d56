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

ErrorCode Index::readhdr() {
  uint8_t h[kIndexHeaderLen];
  // The store's header length comes from the file: only ours fits the buffer.
  if (store_.hlen() != kIndexHeaderLen || store_.readheader(h) != Ok) return BadIndex;
  count_ = getles32(h);
  created_ = getles32(h + 4);
  stamp_ = getles32(h + 8);
  return Ok;
}

ErrorCode Index::writehdr() {
  uint8_t h[kIndexHeaderLen];
  if (store_.hlen() != kIndexHeaderLen) return BadIndex;
  putle32(h, static_cast<uint32_t>(count_));
  putle32(h + 4, static_cast<uint32_t>(created_));
  putle32(h + 8, static_cast<uint32_t>(stamp_));
  return store_.writeheader(h);
}

ErrorCode Index::openfile(const char* path, Access access, Sharing sharing) {
  return store_.open(path, access, sharing) == Ok ? Ok : IndexOpen;
}

ErrorCode Index::createfile(const char* path) {
  return store_.create(path, Sharing::Exclusive) == Ok ? Ok : IndexCreate;
}

ErrorCode Index::create(int32_t created, int32_t stamp, int pagesize) {
  const std::vector<TagInfo>& tags = owner_->tinfo();
  if (tags.empty()) return Ok;
  std::vector<SlotSetup> slots;
  for (const TagInfo& tag : tags) {
    int size = pagesize_for(tag, pagesize);
    if (size > MultiFile::kMaxPageSize) return BadParam;
    slots.push_back({size, kTreeInfoLen});
  }
  if (ErrorCode rc = store_.setupwr(kIndexHeaderLen, slots); rc != Ok) return rc;
  count_ = 0;
  created_ = created;
  stamp_ = stamp;
  if (writehdr() != Ok) return WriteFailed;
  for (size_t t = 0; t < tags.size(); ++t) {
    uint8_t info[kTreeInfoLen];
    encode_treeinfo(info, tags[t].keylen, kEntryDataLen, tags[t].varlen ? 0 : 1, 0);
    if (store_.writearea(static_cast<int>(t), info) != Ok) return WriteFailed;
  }
  createtrees();
  return store_.flush();
}

ErrorCode Index::open() {
  // Trees that cannot be read, or were built for other tags (a tag was
  // added), under a header that does not claim to be in step are the trace
  // of an interrupted change: out of date, not damaged.
  auto unusable = [&] {
    return readstamp() == Ok && !uptodate() ? IndexOutOfDate : BadIndex;
  };
  if (store_.setuprd() != Ok || readhdr() != Ok) return unusable();
  if (!matches()) return stamp_ != owner_->header().stamp ? IndexOutOfDate : BadIndex;
  createtrees();
  for (const auto& tree : trees_)
    if (tree->damaged() != nullptr) return unusable();
  return Ok;
}

bool Index::matches() {
  const std::vector<TagInfo>& tags = owner_->tinfo();
  if (tags.empty()) return true;
  if (store_.hlen() != kIndexHeaderLen || store_.nslots() != static_cast<int>(tags.size()))
    return false;
  for (int t = 0; t < store_.nslots(); ++t) {
    const SlotDescr& slot = store_.slot(t);
    uint8_t info[kTreeInfoLen];
    if (slot.arealen != kTreeInfoLen || store_.readarea(t, info) != Ok) return false;
    int keylen = getles16(info), datalen = getles16(info + 2), fixed = getles16(info + 4);
    int height = getles16(info + 6);
    const TagInfo& tag = tags[static_cast<size_t>(t)];
    if (keylen != tag.keylen || datalen != kEntryDataLen || fixed != (tag.varlen ? 0 : 1))
      return false;
    // A height beyond what 2 GiB of pages could hold, or a page too small
    // for four entries, can only come from damage.
    if (height < 0 || height > 40 || slot.pagesize < min_pagesize(keylen, fixed)) return false;
    if ((slot.root == -1) != (height == 0)) return false;
  }
  return true;
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
    Comparator cmp = compare_ == compare ? comparatorfor(&kd) : compare_;
    trees_[static_cast<size_t>(t)] = std::make_unique<Btree>(&store_, t, cmp, continues_, &kd);
  }
}

bool Index::uptodate() {
  return count_ == owner_->header().nrecs - owner_->header().ndeleted &&
         stamp_ == owner_->header().stamp;
}

// Held exclusively, the header in memory is the one on disk: reading it
// again would only cost a system call per change.
ErrorCode Index::setstamp(int32_t stamp, CountChange how, int32_t value, Force force) {
  if (!store_.exclusive() && readhdr() != Ok) return BadIndex;
  if (how == CountChange::Set) count_ = value;
  else if (how == CountChange::Add) count_ += value;
  if (stamp != 0) stamp_ = stamp;
  if (writehdr() != Ok) return WriteFailed;
  return force == Force::Now ? store_.flush() : Ok;
}

ErrorCode Index::setwriteback(bool on) {
  if (!on) return store_.setwriteback(false);
  if (store_.writeback()) return Ok;
  if (!store_.exclusive()) return BadParam;
  // On disk: unfinished, and forced there before any page can follow. In
  // memory (written back last): the true header.
  const int32_t truestamp = stamp_;
  stamp_ = INT32_MIN;
  ErrorCode rc = writehdr();
  if (rc == Ok) rc = store_.sync();
  stamp_ = truestamp;
  if (rc != Ok) return rc;
  if (ErrorCode on_rc = store_.setwriteback(true); on_rc != Ok) return on_rc;
  return writehdr();
}

ErrorCode Index::commit(int32_t stamp, CountChange how, int32_t value) {
  if (store_.flush() != Ok) return WriteFailed;
  return setstamp(stamp, how, value);
}

ErrorCode Index::mark(int32_t stamp) {
  if (!store_.exclusive() && readhdr() != Ok) return BadIndex;
  stamp_ = stamp;
  if (writehdr() != Ok) return WriteFailed;
  return store_.flush();
}

ErrorCode Index::readstamp() {
  int hlen = 0;
  std::vector<uint8_t> h;
  if (store_.readfront(&hlen, &h) != Ok || hlen != kIndexHeaderLen) return BadIndex;
  count_ = getles32(h.data());
  created_ = getles32(h.data() + 4);
  stamp_ = getles32(h.data() + 8);
  return Ok;
}

int32_t Index::count() {
  if (!store_.exclusive() && readhdr() != Ok) return -1;
  return count_;
}

}  // namespace quill
