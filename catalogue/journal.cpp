#include "catalogue/journal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <filesystem>
#include <system_error>

#include "catalogue/history.h"
#include "catalogue/nametable.h"
#include "catalogue/relation.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/errors.h"
#include "engine/file.h"
#include "engine/rlist.h"

namespace tracklore {

namespace {

// Entries since the name table carry six creation times and may name table
// 5; an entry of the five-table format (a journal left by an earlier
// version) is still read, as one that knew no name table.
constexpr char kMagic[4] = {'T', 'L', 'J', '3'};
// An entry of a program that knew the name table but not the file table.
constexpr char kSixTableMagic[4] = {'T', 'L', 'J', '2'};
constexpr char kFiveTableMagic[4] = {'T', 'L', 'J', '1'};
constexpr char kDone[4] = {'D', 'O', 'N', 'E'};
constexpr size_t kHeadLength = 12;
// Far beyond any one edit or batch; a length field above it is damage.
constexpr uint32_t kLongestBody = 64u << 20;

void put8(std::vector<uint8_t>& out, unsigned v) { out.push_back(static_cast<uint8_t>(v)); }
void put16(std::vector<uint8_t>& out, unsigned v) {
  uint8_t b[2];
  quill::putle16(b, static_cast<uint16_t>(v));
  out.insert(out.end(), b, b + 2);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t b[4];
  quill::putle32(b, v);
  out.insert(out.end(), b, b + 4);
}

// Reads the body front to back; every take fails once the bytes run out.
struct Reader {
  const uint8_t* p;
  size_t left;
  bool take(size_t n, const uint8_t** at) {
    if (n > left) return false;
    *at = p;
    p += n;
    left -= n;
    return true;
  }
  bool u8(unsigned* v) {
    const uint8_t* at;
    if (!take(1, &at)) return false;
    *v = at[0];
    return true;
  }
  bool u16(unsigned* v) {
    const uint8_t* at;
    if (!take(2, &at)) return false;
    *v = quill::getle16(at);
    return true;
  }
  bool u32(uint32_t* v) {
    const uint8_t* at;
    if (!take(4, &at)) return false;
    *v = quill::getle32(at);
    return true;
  }
};

bool ismagic(const uint8_t* data) {
  return std::memcmp(data, kMagic, 4) == 0 || std::memcmp(data, kSixTableMagic, 4) == 0 ||
         std::memcmp(data, kFiveTableMagic, 4) == 0;
}

int depth = 0;

}  // namespace

uint32_t crc32(const uint8_t* p, size_t n, uint32_t running) {
  // By table: the records a scan appended, kept aside while it is undone,
  // run to hundreds of megabytes.
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = ~running;
  for (size_t i = 0; i < n; ++i) crc = (crc >> 8) ^ table[(crc ^ p[i]) & 0xFFu];
  return ~crc;
}

std::string DB_JournalName() { return std::string(DB_MainName()) + ".jnl"; }

std::vector<uint8_t> encodeintent(const IntentEntry& entry) {
  std::vector<uint8_t> body;
  const size_t oplength = std::min<size_t>(entry.operation.size(), 255);
  put8(body, static_cast<unsigned>(oplength));
  body.insert(body.end(), entry.operation.begin(), entry.operation.begin() + oplength);
  for (int32_t created : entry.created) put32(body, static_cast<uint32_t>(created));
  put16(body, static_cast<unsigned>(entry.counts.size()));
  for (const IntentEntry::Counts& c : entry.counts) {
    put8(body, static_cast<unsigned>(c.table));
    put32(body, static_cast<uint32_t>(c.nrecs));
    put32(body, static_cast<uint32_t>(c.ndeleted));
  }
  put32(body, static_cast<uint32_t>(entry.images.size()));
  for (const IntentEntry::Image& image : entry.images) {
    put8(body, static_cast<unsigned>(image.table));
    put32(body, static_cast<uint32_t>(image.recno));
    put16(body, static_cast<unsigned>(image.bytes.size()));
    body.insert(body.end(), image.bytes.begin(), image.bytes.end());
  }
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  put32(out, static_cast<uint32_t>(body.size()));
  put32(out, crc32(body.data(), body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

bool decodeintent(const uint8_t* data, size_t size, IntentEntry* entry) {
  if (size < kHeadLength || !ismagic(data)) return false;
  const bool five = std::memcmp(data, kFiveTableMagic, 4) == 0;
  const bool six = std::memcmp(data, kSixTableMagic, 4) == 0;
  const unsigned tables = five ? kTables : six ? NameTable + 1 : kAllTables;
  auto istable = [tables](unsigned table) { return table < tables; };
  const uint32_t length = quill::getle32(data + 4);
  if (length > kLongestBody || length > size - kHeadLength) return false;
  if (crc32(data + kHeadLength, length) != quill::getle32(data + 8)) return false;
  Reader in{data + kHeadLength, length};
  IntentEntry e;
  unsigned n8;
  const uint8_t* at;
  if (!in.u8(&n8) || !in.take(n8, &at)) return false;
  e.operation.assign(reinterpret_cast<const char*>(at), n8);
  for (unsigned t = 0; t < tables; ++t) {
    uint32_t v;
    if (!in.u32(&v)) return false;
    e.created[t] = static_cast<int32_t>(v);
  }
  unsigned ncounts;
  if (!in.u16(&ncounts)) return false;
  for (unsigned i = 0; i < ncounts; ++i) {
    unsigned table;
    uint32_t nrecs, ndeleted;
    if (!in.u8(&table) || !in.u32(&nrecs) || !in.u32(&ndeleted) || !istable(table)) return false;
    e.counts.push_back({static_cast<int>(table), static_cast<int32_t>(nrecs),
                        static_cast<int32_t>(ndeleted)});
  }
  uint32_t nimages;
  if (!in.u32(&nimages)) return false;
  for (uint32_t i = 0; i < nimages; ++i) {
    unsigned table, n;
    uint32_t recno;
    if (!in.u8(&table) || !in.u32(&recno) || !in.u16(&n) || !in.take(n, &at) || !istable(table))
      return false;
    e.images.push_back({static_cast<int>(table), static_cast<int32_t>(recno),
                        std::vector<uint8_t>(at, at + n)});
  }
  if (in.left != 0) return false;
  *entry = std::move(e);
  return true;
}

bool readintent(const std::string& path, IntentEntry* entry) {
  quill::File file;
  if (file.open(path.c_str(), quill::Access::ReadOnly, quill::Sharing::Shared, quill::Links::Refuse) != 0) return false;
  const int32_t size = file.size();
  if (size < static_cast<int32_t>(kHeadLength)) return false;
  uint8_t head[kHeadLength];
  if (file.readat(0, head, kHeadLength) != 0 || !ismagic(head)) return false;
  const uint32_t length = quill::getle32(head + 4);
  if (length > kLongestBody || length > static_cast<uint32_t>(size) - kHeadLength) return false;
  std::vector<uint8_t> bytes(kHeadLength + length);
  std::memcpy(bytes.data(), head, kHeadLength);
  if (length > 0 &&
      file.readat(kHeadLength, bytes.data() + kHeadLength, static_cast<int32_t>(length)) != 0)
    return false;
  return decodeintent(bytes.data(), bytes.size(), entry);
}

JournalState journalstate(const std::string& path) {
  quill::File file;
  if (file.open(path.c_str(), quill::Access::ReadOnly, quill::Sharing::Shared, quill::Links::Refuse) != 0) {
    // A link, a pipe or a folder in its place is no journal to read.
    std::error_code ignored;
    return std::filesystem::symlink_status(path, ignored).type() == std::filesystem::file_type::not_found
               ? JournalState::Missing
               : JournalState::Damaged;
  }
  const int32_t size = file.size();
  // Shorter than an entry's head: what a creation leaves before its write.
  if (size < static_cast<int32_t>(kHeadLength)) return JournalState::Torn;
  uint8_t head[kHeadLength];
  if (file.readat(0, head, kHeadLength) != 0) return JournalState::Damaged;
  const bool done = std::memcmp(head, kDone, 4) == 0;
  if (!done && !ismagic(head)) return JournalState::Damaged;
  const uint32_t length = quill::getle32(head + 4);
  if (length > kLongestBody) return JournalState::Damaged;
  if (length > static_cast<uint32_t>(size) - kHeadLength) return JournalState::Torn;
  if (done) return JournalState::Done;
  IntentEntry entry;
  return readintent(path, &entry) ? JournalState::Unfinished : JournalState::Damaged;
}

namespace {

bool leftunfinished = false;

// Another program's look at the journal holds its shared lock for a few
// reads: waited for (up to two seconds), not taken for a failure.
template <typename Open>
int waitingforreaders(Open open) {
  for (int tries = 0;; ++tries) {
    if (open() == 0) return 0;
    if (quill::File::lastopenerror() != EWOULDBLOCK || tries == 2000) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

int markdone(const std::string& path) {
  quill::File file;
  if (waitingforreaders([&] {
        return file.open(path.c_str(), quill::Access::ReadWrite, quill::Sharing::Exclusive, quill::Links::Refuse);
      }) != 0)
    return -1;
  if (file.writeat(0, kDone, 4) != 0 || file.sync() != 0) return -1;
  return file.close();
}

int writeentry(const std::string& path, const std::vector<uint8_t>& bytes) {
  quill::File file;
  if (waitingforreaders([&] { return file.create(path.c_str(), quill::Sharing::Exclusive, quill::Links::Refuse); }) != 0)
    return -1;
  if (file.writeat(0, bytes.data(), static_cast<int32_t>(bytes.size())) != 0 || file.sync() != 0) return -1;
  return file.close();
}

bool DB_LeftUnfinishedEdit() { return leftunfinished; }

void tablescreated(int32_t created[kAllTables]) {
  for (int t = 0; t < kAllTables; ++t) {
    created[t] = 0;
    if (DB_Table(t).isopen()) {
      created[t] = DB_Table(t).header().created;
      continue;
    }
    quill::DataFile table;
    if (table.opendata(DB_TableName(t), {.readonly = true, .shared = true}) == quill::Ok)
      created[t] = table.header().created;
  }
}

bool belongshere(const IntentEntry& entry) {
  int32_t created[kAllTables];
  tablescreated(created);
  // An entry written before an optional table was made did not touch it:
  // the table made since (at the next writable open) does not set it aside.
  for (int t = 0; t < kAllTables; ++t)
    if (created[t] != entry.created[t] && !(DB_OptionalTable(t) && entry.created[t] == 0))
      return false;
  return true;
}

bool DB_HasUnfinishedEdit() {
  IntentEntry entry;
  return readintent(DB_JournalName(), &entry) && belongshere(entry);
}

Intent::Intent(const char* operation, Syncs syncs) : outer_(depth++ == 0), syncs_(syncs) {
  entry_.operation = operation;
  active_ = outer_ && DB_IsOpen() && !DB_IsReadOnly() && DB_Table(TitleTable).exclusive();
  if (active_) tablescreated(entry_.created);
}

Intent::~Intent() {
  // Left without end(): taken as failed, so kept only if it changed something.
  if (active_) (void)end(quill::WriteFailed);
  --depth;
}

void Intent::counts(int table) {
  if (!active_ || !DB_Table(table).isopen()) return;
  for (const IntentEntry::Counts& c : entry_.counts)
    if (c.table == table) return;
  quill::DataFile& t = DB_Table(table);
  entry_.counts.push_back({table, t.nrecs(), t.header().ndeleted});
}

void Intent::record(int table, int32_t recno) {
  if (!active_ || !DB_Table(table).isopen()) return;
  quill::DataFile& t = DB_Table(table);
  if (recno < 0 || recno >= t.nrecs()) return;
  if (!imaged_.insert(static_cast<uint64_t>(table) << 32 | static_cast<uint32_t>(recno)).second) return;
  std::vector<uint8_t> bytes(t.header().reclen);
  if (t.readrecord(recno, bytes.data()) != quill::Ok)
    return;  // unreadable: the edit's own read fails the same way
  entry_.images.push_back({table, recno, std::move(bytes)});
}

void Intent::album(int r, int32_t title) {
  if (!active_) return;
  counts(rowtable(r));
  counts(attrtable(r));
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, title);
  for (ErrorCode rc = list->first(); rc == quill::Ok; rc = list->skip(1)) {
    record(rowtable(r), list->rows().recno());
    if (list->cursor().valid()) {
      record(attrtable(r), list->cursor().recno());
      fullname(attrkind(r), list->cursor().field(F_Code).aslong());
    }
  }
  coded(Kind::Album, title);
}

void Intent::fullname(Kind kind, int32_t code) {
  if (!active_ || !DB_Table(NameTable).isopen()) return;
  counts(NameTable);
  std::vector<int32_t> recnos;
  // Entries that cannot be listed are not imaged: recovery could not put
  // them back, so the edit must not start.
  if (ErrorCode rc = DB_NameEntries(kind, code, &recnos); rc != quill::Ok && unlisted_ == quill::Ok)
    unlisted_ = rc;
  for (int32_t recno : recnos) record(NameTable, recno);
}

void Intent::coded(Kind kind, int32_t code) {
  if (!active_) return;
  const int table = kindtable(kind);
  quill::Rlist cursor(&DB_Table(table));
  (void)cursor.select(T_Code);  // a tag of the schema
  uint8_t key[4];
  quill::put4(key, code);
  if (cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any) == quill::Ok)
    record(table, cursor.recno());
  fullname(kind, code);
}

ErrorCode Intent::begin() {
  if (!active_) return quill::Ok;
  if (unlisted_ != quill::Ok) {
    active_ = false;
    return unlisted_;
  }
  const std::string path = DB_JournalName();
  IntentEntry pending;
  if (readintent(path, &pending) && belongshere(pending)) {
    active_ = false;
    return NeedsRecovery;
  }
  if (writeentry(path, encodeintent(entry_)) != 0) {
    active_ = false;
    // Written through a link, the journal would overwrite whatever the
    // link leads to; a pipe would hang every edit.
    std::error_code ignored;
    const auto type = std::filesystem::symlink_status(path, ignored).type();
    if (type != std::filesystem::file_type::regular && type != std::filesystem::file_type::not_found) {
      quill::warning("The journal %s is not a regular file (a link, a pipe or a folder).\nNo "
                     "change can be made safely until it is moved away.",
                     path.c_str());
      return quill::BadParam;
    }
    return quill::writeresult(quill::WriteFailed);
  }
  historybegin();
  // Refused, the edit changes nothing and the destructor marks it done.
  return syncs_ == Syncs::AtEnd ? deferred_.begin(declaredtables()) : quill::Ok;
}

uint32_t Intent::declaredtables() const {
  uint32_t tables = 0;
  for (const IntentEntry::Counts& c : entry_.counts) tables |= 1u << c.table;
  for (const IntentEntry::Image& image : entry_.images) tables |= 1u << image.table;
  return tables;
}

bool Intent::changed() const {
  for (const IntentEntry::Counts& c : entry_.counts) {
    quill::DataFile& t = DB_Table(c.table);
    if (t.nrecs() != c.nrecs || t.header().ndeleted != c.ndeleted) return true;
  }
  for (const IntentEntry::Image& image : entry_.images) {
    quill::DataFile& t = DB_Table(image.table);
    std::vector<uint8_t> now(t.header().reclen);
    if (image.bytes.size() != now.size() || t.readrecord(image.recno, now.data()) != quill::Ok ||
        now != image.bytes)
      return true;
  }
  return false;
}

ErrorCode Intent::end(ErrorCode result) {
  if (!active_) return result;
  active_ = false;
  // Tables that may not be whole on disk are the entry's to take back.
  if (ErrorCode forced = deferred_.finish(); forced != quill::Ok) {
    leftunfinished = true;
    return result != quill::Ok ? result : forced;
  }
  if (result != quill::Ok && changed()) {
    leftunfinished = true;
    return result;
  }
  if (markdone(DB_JournalName()) != 0) {
    leftunfinished = true;
    if (result == quill::Ok) return quill::writeresult(quill::WriteFailed);
  }
  if (result == quill::Ok) historyrecord(entry_);
  return result;
}

}  // namespace tracklore
