// Keeping aside and writing back the records a whole step appended.
#include "catalogue/undotail.h"

#include <algorithm>
#include <climits>
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

// Copies n bytes from one file's place to the other's, adding them to *crc.
int copy(quill::File& from, quill::File& to, int64_t n, int32_t reclen, uint32_t* crc) {
  std::vector<uint8_t> buffer;
  for (int64_t left = n / reclen; left > 0;) {
    const int32_t bytes = chunkof(static_cast<int32_t>(std::min<int64_t>(left, INT32_MAX)), reclen);
    buffer.resize(static_cast<size_t>(bytes));
    if (from.read(buffer.data(), bytes) != 0 || to.write(buffer.data(), bytes) != 0) return -1;
    *crc = crc32(buffer.data(), buffer.size(), *crc);
    left -= bytes / reclen;
  }
  return 0;
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
  if (file.write(head, kHeadLength) != 0 || table.file().seek(table.recoffset(tail.first)) != 0 ||
      copy(table.file(), file, int64_t{tail.count} * reclen, reclen, &crc) != 0)
    return -1;
  quill::putle32(head + 20, crc);
  if (file.seek(20) != 0 || file.write(head + 20, 4) != 0 || file.sync() != 0) return -1;
  return file.close();
}

// The kept file of the tail, open with its head read and checked against
// the step and the table's record length.
bool openkept(const Tail& tail, int32_t created, int32_t reclen, const std::string& name,
              quill::File* file, uint32_t* crc) {
  uint8_t head[kHeadLength];
  if (file->open(name.c_str(), quill::Access::ReadOnly, quill::Sharing::Shared,
                 quill::Links::Refuse) != 0 ||
      file->read(head, kHeadLength) != 0 || std::memcmp(head, kMagic, 4) != 0)
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
    std::vector<uint8_t> buffer;
    for (int32_t left = tail.count; left > 0;) {
      const int32_t bytes = chunkof(left, reclen);
      buffer.resize(static_cast<size_t>(bytes));
      if (file.read(buffer.data(), bytes) != 0) return false;
      sum = crc32(buffer.data(), buffer.size(), sum);
      left -= bytes / reclen;
    }
    if (sum != crc) return false;
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
    // reads them, and a crash leaves them for recovery to cut off.
    if (table.file().seek(table.recoffset(tail.first)) != 0 ||
        copy(file, table.file(), int64_t{tail.count} * table.header().reclen, table.header().reclen,
             &sum) != 0 ||
        table.file().sync() != 0) {
      *why = textf(DB_Tr("Catalogue", "cannot write %s"), DB_TableName(tail.table));
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
