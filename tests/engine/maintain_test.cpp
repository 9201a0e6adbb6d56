// Temporary names, the file exchange, pack and reindex.
#include "engine/maintain.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "engine/bytes.h"
#include "engine/datafile.h"
#include "engine/diskroom.h"
#include "engine/rlist.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using namespace test;
using Bytes = std::vector<unsigned char>;

// "Name" C 8, "Num" L 4: 13-byte records; tags on each field.
const std::vector<FieldDescr> kFields = {{'C', 8, "Name"}, {'L', 4, "Num"}};
const std::vector<TagNode> kTags = {{{{0, 0, 0}}, "ByName"}, {{{1, 0, 0}}, "ByNum"}};
constexpr int kRecLen = 13;

using Pack = test::InTempDir;

Bytes record(const std::string& name, int32_t num, bool deleted = false) {
  Bytes r(kRecLen, 0);
  std::copy(name.begin(), name.begin() + std::min<size_t>(name.size(), 7), r.begin());
  put4(r.data() + 8, num);
  r[12] = deleted ? '*' : ' ';
  return r;
}

// Five records "r0".."r4" with numbers 40, 30, 20, 10, 0; 1 and 3 deleted.
void make_five(const std::string& base) {
  ASSERT_EQ(make_table(base, kFields, kTags), Ok);
  append_raw(base, {record("r0", 40), record("r1", 30, true), record("r2", 20),
                    record("r3", 10, true), record("r4", 0)});
}

// The same, "t", with its index: every file's bytes. The reindex counts records times tags (a
// total over several tables is the catalogue's, whose pass shows one percentage).
DirContents indexed_five() {
  make_five("t");
  ProgressLog seen;
  Progress indexing{ProgressLog::add, &seen, 0, 0, 0};
  EXPECT_EQ(DataFile::reindex("t", &indexing), Ok);
  EXPECT_EQ(std::make_tuple(indexing.total, indexing.done, seen.last()), std::make_tuple(10, 10, 100));
  EXPECT_TRUE(std::is_sorted(seen.values.begin(), seen.values.end()));
  return dir_contents();
}

// A temporary name: "tmp", the counter's low byte as n & F0 and n & 0F in hex, and two letters
// for the second.
std::string compose(unsigned n, const std::string& letters) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "tmp%x%x%s", n & 0xF0u, n & 0x0Fu, letters.c_str());
  return buffer;
}

TEST(TmpName, SkipsNamesWhoseFilesExistAndTheExchangeNeedsItsFile) {
  TempDir dir;
  EXPECT_EQ(tmpname(nullptr), nullptr);
  char a[16];
  ASSERT_NE(tmpname(a), nullptr);
  const std::string now = std::string(a).substr(std::strlen(a) - 2);
  unsigned low = 0;
  while (low < 256 && compose(low, now) != a) ++low;
  ASSERT_LT(low, 256u) << a;
  std::string next = now;  // the letters of the next second
  if (++next[1] > 'z') next = {next[0] == 'z' ? 'a' : static_cast<char>(next[0] + 1), 'a'};
  // The next three names, in this second and the next, each taken by one
  // kind of file: the bare name, the data file, the index file.
  for (const std::string& letters : {now, next}) {
    write_all(compose(low + 1, letters), {'x'});
    write_all(compose(low + 2, letters) + ".db1", {'x'});
    write_all(compose(low + 3, letters) + ".idx", {'x'});
  }
  auto before = entries();
  char b[16];
  ASSERT_NE(tmpname(b), nullptr);
  const std::string name = b;
  EXPECT_FALSE(fs::exists(name) || fs::exists(name + ".db1") || fs::exists(name + ".idx"));
  const std::string letters = name.substr(name.size() - 2);
  EXPECT_TRUE((letters != now && letters != next) || name == compose(low + 4, letters)) << name;
  EXPECT_EQ(entries(), before);  // naming creates nothing
  // The exchange with a missing new file fails and touches nothing.
  write_all("old.db1", {'O'});
  const DirContents untouched = dir_contents();
  EXPECT_FALSE(swapfiles("absent", "old", TableFile::Data));
  EXPECT_EQ(dir_contents(), untouched);
}

// A reindex covers the live records without writing the data file; a pack
// drops the deleted ones and leaves the index out of date.
TEST_F(Pack, DropsDeletedRecordsAndLeavesTheIndexOutOfDate) {
  make_five("t");
  const Bytes db1 = read_all("t.db1");
  ASSERT_EQ(DataFile::reindex("t"), Ok);
  EXPECT_EQ(read_all("t.db1"), db1);
  EXPECT_TRUE(sound("t"));  // the trees hold the live records, and only they
  const Header before = header_of("t");
  const Bytes idx = read_all("t.idx");
  // A live record whose status byte was damaged is kept, as live.
  Bytes damaged = read_all("t.db1");
  damaged[static_cast<size_t>(before.datastart + 3 * kRecLen - 1)] = 'X';
  write_all("t.db1", damaged);

  ASSERT_EQ(DataFile::pack("t"), Ok);
  const Header after = header_of("t");
  EXPECT_EQ(std::tie(after.nrecs, after.ndeleted, after.serial, after.stamp),
            std::make_tuple(3, 0, before.serial, before.stamp + 1));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(record_at("t", i), record("r" + std::to_string(2 * i), 40 - 20 * i)) << i;
  EXPECT_EQ(read_all("t.db1").size(), static_cast<size_t>(after.datastart + 3 * kRecLen));
  EXPECT_EQ(read_all("t.idx"), idx);  // only the data file is exchanged
  EXPECT_EQ(entries(), (std::set<std::string>{"t.db1", "t.idx"}));

  DataFile table;
  EXPECT_EQ(table.open("t", {.readonly = true}), IndexOutOfDate);
  EXPECT_FALSE(table.isopen());
}

TEST_F(Pack, TablesWithoutDeletionsLiveRecordsOrTags) {
  ASSERT_EQ(make_table("t", kFields), Ok);
  append_raw("t", {record("a", 1), record("b", 2)});
  Bytes expected = read_all("t.db1");
  putle32(&expected[20], getle32(&expected[20]) + 1);  // only the stamp rises
  ASSERT_EQ(DataFile::pack("t"), Ok);
  EXPECT_EQ(read_all("t.db1"), expected);
  EXPECT_EQ(entries(), (std::set<std::string>{"t.db1"}));
  // A table of deleted records only.
  ASSERT_EQ(make_table("d", kFields), Ok);
  append_raw("d", {record("a", 1, true), record("b", 2, true)});
  ASSERT_EQ(DataFile::pack("d"), Ok);
  const Header h = header_of("d");
  EXPECT_EQ(std::tie(h.nrecs, h.ndeleted, h.serial), std::make_tuple(0, 0, 2));
  EXPECT_EQ(read_all("d.db1").size(), static_cast<size_t>(h.datastart));
  // A reindex of a table without tags makes no index and leaves alone one that is there.
  ASSERT_EQ(make_table("n", kFields), Ok);
  append_raw("n", {record("a", 1)});
  EXPECT_EQ(DataFile::reindex("n"), Ok);
  EXPECT_FALSE(fs::exists("n.idx"));
  write_all("n.idx", {'?'});
  EXPECT_EQ(DataFile::reindex("n"), Ok);
  EXPECT_EQ(read_all("n.idx"), Bytes{'?'});
  EXPECT_EQ(DataFile::reindex("missing"), DataOpen);
}

TEST_F(Pack, CarriesTheHeaderRecordAcrossButNotAWrongDeletionCount) {
  ASSERT_EQ(make_table("t", kFields), Ok);
  ASSERT_EQ(insert_field("t", -1, {'L', 0, "Area"}, FieldGroup::Header), Ok);
  Header h = header_of("t");
  ASSERT_EQ(h.arealen, 4);
  Bytes b = read_all("t.db1");
  b[h.hdrlen] = 0xDE;
  b[h.hdrlen + 3] = 0xAD;
  write_all("t.db1", b);
  append_raw("t", {record("a", 1, true), record("b", 2)});
  ASSERT_EQ(DataFile::pack("t"), Ok);
  const Bytes after = read_all("t.db1");
  EXPECT_EQ((Bytes{after[h.hdrlen], after[h.hdrlen + 3]}), (Bytes{0xDE, 0xAD}));
  EXPECT_EQ(record_at("t", 0), record("b", 2));

  // A wrong deletion count is not copied into the new file.
  make_five("w");
  Bytes w = read_all("w.db1");
  putle32(&w[12], 1);  // two records are marked, the header counts one
  write_all("w.db1", w);
  ASSERT_EQ(DataFile::pack("w"), Ok);
  h = header_of("w");
  EXPECT_EQ(std::tie(h.nrecs, h.ndeleted), std::make_tuple(3, 0));
  EXPECT_EQ(read_all("w.db1").size(), static_cast<size_t>(h.datastart + 3 * kRecLen));
  EXPECT_EQ(opens("w", {.readonly = true, .noindex = true}), Ok);
}

// The copies read the old file many records at a time: records wide enough to fill several
// such reads keep their order, bytes and keys, and the progress counts every one to the end.
TEST_F(Pack, WideRecordsSpanningManyReads) {
  constexpr int kWide = 2000, kLen = kWide + 5;
  ASSERT_EQ(make_table("w", {{'C', kWide, "Name"}, {'L', 4, "Num"}},
                       {{{{0, 20, 0}}, "ByName"}, {{{1, 0, 0}}, "ByNum"}}),
            Ok);
  std::vector<Bytes> records;
  Bytes live;
  for (int i = 0; i < 700; ++i) {
    Bytes r(kLen, 0);
    const std::string name = "r" + std::to_string(i * 7 % 700);
    std::copy(name.begin(), name.end(), r.begin());
    r[kWide - 2] = static_cast<unsigned char>(i);  // a byte deep in the record
    put4(r.data() + kWide, i);
    r[kLen - 1] = i % 3 == 0 ? '*' : ' ';
    records.push_back(r);
    if (i % 3 != 0) live.insert(live.end(), r.begin(), r.end());
  }
  append_raw("w", records);
  ProgressLog seen;
  Progress packed{ProgressLog::add, &seen, 0, 0, 0};
  ASSERT_EQ(DataFile::pack("w", &packed), Ok);
  EXPECT_EQ(std::make_pair(packed.done, seen.last()), std::make_pair(700, 100));  // deleted slots are visited too
  const Header h = header_of("w");
  const Bytes after = read_all("w.db1");
  EXPECT_EQ(Bytes(after.begin() + h.datastart, after.end()), live);
  // The check matches each tree to the records, entry by entry.
  ASSERT_EQ(DataFile::reindex("w"), Ok);
  EXPECT_TRUE(sound("w"));
}

TEST_F(Pack, RefusalsOfTheOldFileAlsoByReindex) {
  EXPECT_EQ(DataFile::pack("missing"), DataOpen);
  // Records missing at the end of the file (a damaged header is refused as every open refuses it).
  ASSERT_EQ(make_table("cut", kFields), Ok);
  append_raw("cut", {record("a", 1), record("b", 2)});
  Bytes cut = read_all("cut.db1");
  cut.resize(cut.size() - 5);
  write_all("cut.db1", cut);
  EXPECT_EQ(DataFile::pack("cut"), BadData);
  EXPECT_EQ(DataFile::reindex("cut"), BadData);  // refused at open, tags or not
  EXPECT_EQ(read_all("cut.db1"), cut);

  // A table that is open elsewhere cannot be taken exclusively.
  ASSERT_EQ(make_table("busy", kFields), Ok);
  DataFile holder;
  ASSERT_EQ(holder.open("busy"), Ok);
  EXPECT_EQ(DataFile::pack("busy"), DataOpen);
  EXPECT_EQ(entries(), (std::set<std::string>{"cut.db1", "busy.db1"}));
}

TEST_F(Pack, AReadOnlyTableIsOnlyReadAndNoTemporaryFileMeansNoChange) {
  make_five("t");
  const fs::perms readonly = fs::perms::owner_read | fs::perms::group_read;
  fs::permissions("t.db1", readonly);
  ASSERT_EQ(DataFile::pack("t"), Ok);
  EXPECT_EQ(header_of("t").nrecs, 3);
  // The new file keeps the permissions of the one it replaces; so does a
  // new index, from the data file when there was no index before.
  EXPECT_EQ(fs::status("t.db1").permissions(), readonly);
  ASSERT_EQ(DataFile::reindex("t"), Ok);
  EXPECT_EQ(fs::status("t.idx").permissions(), readonly);
  const fs::perms mine = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions("t.idx", mine);
  ASSERT_EQ(DataFile::reindex("t"), Ok);
  EXPECT_EQ(fs::status("t.idx").permissions(), mine);
  EXPECT_EQ(entries(), (std::set<std::string>{"t.db1", "t.idx"}));
  // No temporary file can be made: the changes fail and touch nothing.
  make_five(dir.file("n"));
  const DirContents before = dir_contents();
  fs::create_directory("gone");
  fs::current_path("gone");
  fs::remove(fs::path(dir.path()) / "gone");
  EXPECT_EQ(DataFile::pack(dir.file("n").c_str()), DataCreate);
  EXPECT_EQ(DataFile::reindex(dir.file("n").c_str()), IndexCreate);
  EXPECT_EQ(insert_field(dir.file("n").c_str(), -1, {'L', 0, "More"}, FieldGroup::Record), DataCreate);
  fs::current_path(dir.path());
  EXPECT_EQ(dir_contents(), before);
}

TEST_F(Pack, AWriteOrMoveFailingLeavesTheTableAsItWas) {
  const DirContents before = indexed_five();
  const Header h = header_of("t");
  CapturedReports reports;
  // In the fixed header, the descriptors, the header record, the second and the last record.
  for (int32_t from : {0, kHeadLen + 3, h.hdrlen, h.datastart + kRecLen + 1, h.datastart + 2 * kRecLen + 2}) {
    WriteFault fault(from, ".db1");
    EXPECT_EQ(DataFile::pack("t"), WriteFailed) << from;
    EXPECT_EQ(dir_contents(), before) << from;
  }
  set_rename_fault([](const char*, const char*) { return true; });
  EXPECT_EQ(DataFile::pack("t"), DataCreate);
  set_rename_fault({});
  EXPECT_EQ(dir_contents(), before);
  EXPECT_EQ(opens("t"), Ok);
}

// Without room for twice the table on the disk, pack and reindex are refused before they write, and
// say how much they lack; a disk that fills up all the same during the copy is named as full.
TEST_F(Pack, WithoutRoomForTwiceTheTablePackAndReindexAreRefusedUnwritten) {
  const DirContents before = indexed_five();
  const int64_t twice = 2 * static_cast<int64_t>(fs::file_size("t.db1") + fs::file_size("t.idx"));
  for (auto rebuild : {&DataFile::pack, &DataFile::reindex}) {
    File::set_free_space([&](const char*) { return twice - 100; });
    EXPECT_EQ(rebuild("t", nullptr), DiskFull);
    EXPECT_EQ(lastroomlacking(), 100);
    EXPECT_EQ(dir_contents(), before);
    File::set_free_space([&](const char*) { return twice; });
    RefusedCalls full(File::Call::Write, ENOSPC);
    EXPECT_EQ(rebuild("t", nullptr), DiskFull);
    File::set_free_space({});
    EXPECT_EQ(dir_contents(), before);
  }
}

// A page that cannot be saved mid-change ends the process; a reindex survives
// failures in laying out the store, growing the file and the last header write.
TEST_F(Pack, AFailedReindexWriteOrMoveLeavesBothFilesAsTheyWere) {
  const DirContents before = indexed_five();
  // Where the pages begin: the length of an index with empty trees.
  ASSERT_EQ(make_table("c", kFields, kTags), Ok);
  ASSERT_EQ(DataFile::reindex("c"), Ok);
  const int32_t pagebase = static_cast<int32_t>(read_all("c.idx").size());
  fs::remove("c.db1");
  fs::remove("c.idx");

  CapturedReports reports;
  for (int32_t from : {0, 20, pagebase}) {
    WriteFault fault(from, ".idx");
    EXPECT_EQ(DataFile::reindex("t"), WriteFailed) << from;
    EXPECT_EQ(dir_contents(), before) << from;
  }

  // The index header is written when the store is laid out and again when
  // the count is stored at the end; the second write fails.
  int headerwrites = 0;
  File::set_write_fault([&headerwrites](const File& f, int32_t position, int32_t) {
    return f.name().rfind("tmp", 0) == 0 && position == 4 && ++headerwrites == 2;
  });
  EXPECT_EQ(DataFile::reindex("t"), WriteFailed);
  File::set_write_fault({});
  EXPECT_EQ(headerwrites, 2);
  EXPECT_EQ(dir_contents(), before);
  EXPECT_EQ(opens("t"), Ok);

  // A failed move is reported as IndexCreate; the index, out of date after
  // an append, stays as it was.
  append_raw("t", {record("r5", 50)});
  const DirContents appended = dir_contents();
  set_rename_fault([](const char*, const char*) { return true; });
  EXPECT_EQ(DataFile::reindex("t"), IndexCreate);
  set_rename_fault({});
  EXPECT_EQ(dir_contents(), appended);
}

}  // namespace
}  // namespace quill
