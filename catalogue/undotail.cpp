// Keeping aside and writing back the records a whole step appended.
#include "catalogue/undotail.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "catalogue/history.h"
#include "catalogue/journal.h"
#include "catalogue/tableset.h"
#include "catalogue/text.h"
#include "catalogue/translate.h"
#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/file.h"

namespace tracklore {

namespace {

constexpr char kMagic[4] = {'T', 'L', 'T', '1'};
constexpr int32_t kHeadLength = 24;
// Records are copied this many bytes at a time at most.
constexpr int32_t kChunk = 1 << 20;

struct Tail {
  int table;
  int32_t first, count;
};

// The tables the step grew, with the records it appended.
std::vector<Tail> tailsof(const HistoryStep& step) {
  std::vector<Tail> tails;
  for (const IntentEntry::Counts& was : step.before.counts)
    for (const IntentEntry::Counts& now : step.after.counts)
      if (now.table == was.table && now.nrecs > was.nrecs)
        tails.push_back({was.table, was.nrecs, now.nrecs - was.nrecs});
  return tails;
}

// Whole records of reclen bytes, at most kChunk bytes, of the n left.
int32_t chunkof(int32_t n, int32_t reclen) {
  const int32_t records = std::max(1, kChunk / reclen);
  return std::min(n, records) * reclen;
}

// Passes the tail's count records, a chunk at a time, from read to write,
// adding them to *crc. Both take (i, n, bytes): n records from the tail's
// i-th on, true when done.
template <class Read, class Write>
int copy(int32_t count, int32_t reclen, const Read& read, const Write& write, uint32_t* crc) {
  std::vector<uint8_t> buffer;
  for (int32_t i = 0; i < count;) {
    const int32_t bytes = chunkof(count - i, reclen);
    const int32_t n = bytes / reclen;
    buffer.resize(static_cast<size_t>(bytes));
    if (!read(i, n, buffer.data()) || !write(i, n, buffer.data())) return -1;
    *crc = crc32(buffer.data(), buffer.size(), *crc);
    i += n;
  }
  return 0;
}

// The kept file's side of a copy: records at their place after its head.
auto keptreader(quill::File& file, int32_t reclen) {
  return [&file, reclen](int32_t i, int32_t n, uint8_t* bytes) {
    return file.readat(kHeadLength + int64_t{i} * reclen, bytes, n * reclen) == 0;
  };
}

int keep(const Tail& tail, int32_t created, const std::string& name) {
  quill::DataFile& table = DB_Table(tail.table);
  const int32_t reclen = table.header().reclen;
  quill::File file;
  if (file.create(name.c_str(), quill::Sharing::Exclusive, quill::Links::Refuse) != 0) return -1;
  uint8_t head[kHeadLength] = {};
  std::memcpy(head, kMagic, 4);
  quill::putle32(head + 4, static_cast<uint32_t>(created));
  quill::putle32(head + 8, static_cast<uint32_t>(tail.first));
  quill::putle32(head + 12, static_cast<uint32_t>(tail.count));
  quill::putle32(head + 16, static_cast<uint32_t>(reclen));
  uint32_t crc = 0;
  const auto fromtable = [&](int32_t i, int32_t n, uint8_t* bytes) {
    return table.readrecords(tail.first + i, n, bytes) == quill::Ok;
  };
  const auto tokept = [&](int32_t i, int32_t n, const uint8_t* bytes) {
    return file.writeat(kHeadLength + int64_t{i} * reclen, bytes, n * reclen) == 0;
  };
  if (file.writeat(0, head, kHeadLength) != 0 || copy(tail.count, reclen, fromtable, tokept, &crc) != 0)
    return -1;
  quill::putle32(head + 20, crc);
  if (file.writeat(20, head + 20, 4) != 0 || file.sync() != 0) return -1;
  return file.close();
}

// The kept file of the tail, open with its head read and checked against
// the step and the table's record length.
bool openkept(const Tail& tail, int32_t created, int32_t reclen, const std::string& name,
              quill::File* file, uint32_t* crc) {
  uint8_t head[kHeadLength];
  if (file->open(name.c_str(), quill::Access::ReadOnly, quill::Sharing::Shared, quill::Links::Refuse) != 0 ||
      file->readat(0, head, kHeadLength) != 0 || std::memcmp(head, kMagic, 4) != 0)
    return false;
  *crc = quill::getle32(head + 20);
  return static_cast<int32_t>(quill::getle32(head + 4)) == created &&
         static_cast<int32_t>(quill::getle32(head + 8)) == tail.first &&
         static_cast<int32_t>(quill::getle32(head + 12)) == tail.count &&
         static_cast<int32_t>(quill::getle32(head + 16)) == reclen && reclen > 0 &&
         file->size() == kHeadLength + int64_t{tail.count} * reclen;
}

}  // namespace

std::string DB_TailName(size_t place, int table) {
  return DB_HistoryName() + "." + std::to_string(place) + "." + std::to_string(table);
}

int DB_KeepTail(const HistoryStep& step, size_t place) {
  for (const Tail& tail : tailsof(step))
    if (keep(tail, step.before.created[tail.table], DB_TailName(place, tail.table)) != 0) {
      DB_DropTail(place);
      return -1;
    }
  return 0;
}

bool DB_TailKept(const HistoryStep& step, size_t place) {
  for (const Tail& tail : tailsof(step)) {
    quill::File file;
    uint32_t crc = 0, sum = 0;
    const int32_t reclen = DB_Table(tail.table).header().reclen;
    if (!openkept(tail, step.before.created[tail.table], reclen, DB_TailName(place, tail.table),
                  &file, &crc))
      return false;
    const auto nowhere = [](int32_t, int32_t, const uint8_t*) { return true; };
    if (copy(tail.count, reclen, keptreader(file, reclen), nowhere, &sum) != 0 || sum != crc)
      return false;
  }
  return true;
}

int DB_PutTailBack(const HistoryStep& step, size_t place, bool touched[kAllTables],
                   std::string* why) {
  for (const Tail& tail : tailsof(step)) {
    const std::string name = DB_TailName(place, tail.table);
    quill::DataFile table;
    if (table.opendata(DB_TableName(tail.table), {}) != quill::Ok) {
      *why = textf(DB_Tr("Catalogue", "cannot open %s"), DB_TableName(tail.table));
      return -1;
    }
    quill::File file;
    uint32_t crc = 0, sum = 0;
    if (!openkept(tail, step.before.created[tail.table], table.header().reclen, name, &file, &crc)) {
      *why = textf(DB_Tr("Catalogue", "%s is missing or damaged"), name.c_str());
      (void)table.close(quill::GeneralError);  // the failure is told by why
      return -1;
    }
    // Past the counted records: until the counts are put back nothing
    // reads them, and a crash leaves them for recovery to cut off. Records
    // that do not sum as kept are refused there, before anything counts them.
    const int32_t reclen = table.header().reclen;
    const auto totable = [&](int32_t i, int32_t n, const uint8_t* bytes) {
      return table.writerecords(tail.first + i, n, bytes) == quill::Ok;
    };
    const bool copied = copy(tail.count, reclen, keptreader(file, reclen), totable, &sum) == 0;
    const bool damaged = copied && sum != crc;
    if (!copied || damaged || table.sync() != quill::Ok) {
      *why = damaged ? textf(DB_Tr("Catalogue", "%s is missing or damaged"), name.c_str())
                     : textf(DB_Tr("Catalogue", "cannot write %s"), DB_TableName(tail.table));
      (void)table.close(quill::GeneralError);  // the failure is told by why
      return -1;
    }
    touched[tail.table] = true;
    (void)table.close();  // written and synced above
  }
  return 0;
}

void DB_DropTail(size_t place) {
  for (int t = 0; t < kAllTables; ++t) std::remove(DB_TailName(place, t).c_str());
}

}  // namespace tracklore
