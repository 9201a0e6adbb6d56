#include "engine/rlist.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>

#include "engine/datafile.h"
#include "engine/index.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

using namespace test;
using RlistShared = InTempDir;

constexpr int kName = 0, kCode = 1, kMark = 2, kAux = 3;
constexpr int kByName = 0, kByCode = 1;

std::string name_of(Rlist& r) { return reinterpret_cast<const char*>(r.field(kName).data()); }

// What a move returned and the name it left the cursor on ("-": none), as "NextRecord Zoo".
std::string landed(ErrorCode rc, Rlist& r) {
  return std::string(rc == Ok ? "Ok" : errname(rc)) + " " + (r.valid() ? name_of(r) : "-");
}

// Seeks the cursor's order for a text and its NUL.
ErrorCode seektext(Rlist& r, const std::string& text, SeekMode mode, SeekWhich which = SeekWhich::First) {
  return r.seek(reinterpret_cast<const uint8_t*>(text.c_str()), static_cast<int>(text.size()) + 1, mode, which);
}

std::vector<std::string> names_in_order(Rlist& r) {
  std::vector<std::string> out;
  for (ErrorCode rc = r.first(); rc == Ok; rc = r.skip(1)) out.push_back(name_of(r));
  return out;
}

// A new names table "t" of n records "Name 0".."Name n-1".
void make_filled(int n) {
  ASSERT_EQ(make_names("t"), Ok);
  DataFile table;
  ASSERT_EQ(table.open("t"), Ok);
  Rlist r(&table);
  for (int i = 0; i < n; ++i) ASSERT_EQ(add(r, "Name " + std::to_string(i), i), Ok);
}

class RlistFilled : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(make_names("t"), Ok);
    ASSERT_EQ(table.open("t"), Ok);
    r = std::make_unique<Rlist>(&table);
    for (const char* n : {"Track 10", "abba", "Track 2", "Zoo", "track 1", "Blue Moon"}) ASSERT_EQ(add(*r, n), Ok);
  }
  // Closes the table, which must then pass the check.
  void expect_sound() {
    r.reset();
    (void)table.close();
    EXPECT_TRUE(test::sound("t"));
  }
  TempDir dir;
  DataFile table;
  std::unique_ptr<Rlist> r;
};

TEST_F(RlistFilled, SerialsPhysicalOrderAndScans) {
  EXPECT_EQ(table.header().serial, 6);
  ASSERT_EQ(r->last(), Ok);
  EXPECT_EQ(r->field(kCode).aslong(), 5);
  EXPECT_EQ(landed(r->go(GoHow::Absolute, 10), *r), "TooFar Blue Moon");  // record 5
  ASSERT_EQ(r->go(GoHow::Absolute, 1), Ok);
  EXPECT_EQ(landed(r->skip(-5), *r), "TooFar Track 10");  // record 0
  EXPECT_EQ(r->moved(), -1);
  EXPECT_EQ(r->skip(2), Ok);
  EXPECT_EQ(r->moved(), 2);
  EXPECT_EQ(landed(r->go(GoHow::FromEnd, -1), *r), "Ok track 1");  // record 4
  r->unset();
  EXPECT_EQ(r->skip(1), NoCurrentRecord);
  // A scan visits every record, reporting progress; two scans share the bar.
  test::ProgressLog log;
  Progress progress{test::ProgressLog::add, &log, 0, 12, 0};
  int visited = 0;
  auto count = [](Rlist&, int32_t, void* cookie) { return ++*static_cast<int*>(cookie), 0; };
  ASSERT_EQ(r->scan(count, &visited, &progress), 0);
  ASSERT_EQ(r->scan(count, &visited, &progress), 0);
  EXPECT_EQ(std::make_pair(visited, progress.done), std::make_pair(12, 12));
  // Fewer records than steps: only the start and the end of the whole bar.
  EXPECT_EQ(log.values, (std::vector<int>{0, 50, 100}));
  EXPECT_EQ(r->scan([](Rlist&, int32_t i, void*) { return i == 2 ? 1 : 0; }, nullptr, nullptr), -1);
}

TEST_F(RlistFilled, SeekModesAndSelection) {
  ASSERT_EQ(r->select(kByName), 0);
  EXPECT_EQ(landed(seektext(*r, "blue mo", SeekMode::Prefix), *r), "Ok Blue Moon");
  EXPECT_EQ(landed(seektext(*r, "m", SeekMode::AtOrAfter, SeekWhich::Any), *r), "NextRecord track 1");
  EXPECT_EQ(landed(seektext(*r, "Nothing", SeekMode::Equal), *r), "NotFound track 1");  // not moved
  EXPECT_EQ(landed(seektext(*r, "zz", SeekMode::AtOrAfter, SeekWhich::Any), *r), "PrevRecord Zoo");
  ASSERT_EQ(r->select(kByCode), 0);
  EXPECT_EQ(landed(r->seek(test::be32(3).data(), 4, SeekMode::Equal, SeekWhich::First), *r), "Ok Zoo");
  // Selecting the same tag keeps the current record, another drops it.
  ASSERT_EQ(r->select(kByName), 0);
  ASSERT_EQ(r->first(), Ok);
  EXPECT_EQ(landed(r->select(kByName) == 0 ? Ok : BadParam, *r), "Ok abba");
  EXPECT_EQ(landed(r->select(kByCode) == 0 ? Ok : BadParam, *r), "Ok -");
  EXPECT_EQ(r->recno(), -1);
  for (int tag : {2, -2}) EXPECT_EQ(r->select(tag), -1) << tag;
}

TEST_F(RlistFilled, UpdateTouchesOnlyChangedTagsDeleteEveryTag) {
  const int32_t stamp = table.stamp();
  ASSERT_EQ(r->go(GoHow::Absolute, 1), Ok);  // abba
  r->field(kAux).set(99L);
  ASSERT_EQ(r->flush(), Ok);
  EXPECT_EQ(table.stamp(), stamp);  // no tag uses Aux
  r->field(kName).set("Mamma Mia");
  ASSERT_EQ(r->go(GoHow::Absolute, 0), Ok);  // leaving the record saves it
  EXPECT_EQ(table.stamp(), stamp + 1);
  ASSERT_EQ(r->select(kByName), 0);
  EXPECT_EQ(names_in_order(*r),
            (std::vector<std::string>{"Blue Moon", "Mamma Mia", "track 1", "Track 2", "Track 10", "Zoo"}));
  ASSERT_EQ(r->go(GoHow::Absolute, 1), Ok);
  EXPECT_EQ(r->field(kAux).aslong(), 99);

  // Deletions in physical order (twice: nothing changes), then in tag order.
  ASSERT_EQ(r->select(-1), 0);
  ASSERT_EQ(r->go(GoHow::Absolute, 2), Ok);  // Track 2
  ASSERT_EQ(r->del(), Ok);
  EXPECT_TRUE(r->isdeleted());
  EXPECT_EQ(r->del(), Ok);
  EXPECT_EQ(table.nlive(), 5);
  ASSERT_EQ(r->select(kByName), 0);
  ASSERT_EQ(seektext(*r, "Track 1", SeekMode::Equal), Ok);
  ErrorCode out = Ok;
  ASSERT_EQ(r->del(&out), Ok);
  EXPECT_EQ(landed(out, *r), "NextRecord Track 10");  // the cursor stands on the next entry
  ASSERT_EQ(r->last(), Ok);
  ASSERT_EQ(r->del(&out), Ok);
  EXPECT_EQ(landed(out, *r), "PrevRecord Track 10");
  EXPECT_EQ(names_in_order(*r), (std::vector<std::string>{"Blue Moon", "Mamma Mia", "Track 10"}));
  EXPECT_EQ(r->count(), 3);
  expect_sound();
}

// A cursor stood on a record without the tree must move through the tree
// as one that searched its way there, even after the pages have changed.
TEST_F(RlistFilled, StandingOnARecordMovesAsASearchDoes) {
  std::mt19937 rng(5);
  ASSERT_EQ(table.defersync(true), 0);
  for (int i = 0; i < 300; ++i) ASSERT_EQ(add(*r, "Name " + std::to_string(rng() % 1000)), Ok);
  Rlist searched(&table);
  for (int round = 0; round < 400; ++round) {
    const int tag = static_cast<int>(rng() % 2);
    ASSERT_EQ(r->select(tag), 0);
    ASSERT_EQ(searched.select(kByCode), 0);
    const int32_t recno = static_cast<int32_t>(rng() % static_cast<uint32_t>(table.nrecs()));
    if (round % 7 == 0 && r->gorecord(recno) == Ok) {
      ASSERT_EQ(r->del(), Ok);  // the trees change under a later hint
      continue;
    }
    ASSERT_EQ(round % 5 == 0 ? add(searched, "Added") : Ok, Ok);
    const bool live = searched.seek(test::be32(recno).data(), 4, SeekMode::Equal, SeekWhich::First) == Ok;
    ASSERT_EQ(r->gorecord(recno), live ? Ok : NotFound) << recno;
    if (!live) {
      EXPECT_FALSE(r->valid());
      continue;
    }
    ASSERT_EQ(r->recno(), recno);
    if (tag == kByName) {
      const std::vector<uint8_t> key(r->keyptr(kByName), r->keyptr(kByName) + r->keysize(kByName));
      ASSERT_EQ(searched.select(kByName), 0);
      // Equal names: the record itself among them.
      ASSERT_EQ(searched.seek(key.data(), static_cast<int>(key.size()), SeekMode::Equal, SeekWhich::First), Ok);
      while (searched.recno() != recno) ASSERT_EQ(searched.skip(1), Ok);
    }
    const int n = static_cast<int>(rng() % 7) - 3;
    const ErrorCode want = searched.skip(n), got = r->skip(n);
    EXPECT_EQ(std::make_tuple(got, r->recno(), r->moved()),
              std::make_tuple(want, searched.recno(), searched.moved()));
  }
  EXPECT_EQ(r->gorecord(table.nrecs()), NotFound);
  EXPECT_EQ(r->gorecord(-1), NotFound);
  (void)searched.bind(nullptr);
  expect_sound();
}

// A tagged field never set keys its empty value, with a warning.
TEST_F(RlistFilled, AppendWarnsAboutAnUnsetTaggedField) {
  CapturedReports reports;
  Rlist fresh(&table);
  fresh.field(kMark).set("x");
  ASSERT_EQ(fresh.append(), Ok);
  EXPECT_EQ(reports.text(), "Rlist::append: field 0 has not been set in file 't' (and tags depend on it)\n");
  ASSERT_EQ(fresh.select(kByName), 0);
  ASSERT_EQ(fresh.first(), Ok);  // "?" is no letter: the empty name sorts first
  EXPECT_EQ(name_of(fresh), std::string(29, '?'));
}

// An empty table, or a tree emptied by another cursor, has nothing to stand on.
TEST_F(RlistFilled, NothingToStandOnInAnEmptiedTreeOrAnEmptyTable) {
  ASSERT_EQ(r->select(kByName), 0);
  ASSERT_EQ(r->first(), Ok);
  Rlist other(&table);
  for (ErrorCode rc = other.first(); rc == Ok; rc = other.skip(1)) ASSERT_EQ(other.del(), Ok);
  for (auto move : {&Rlist::first, &Rlist::last}) {
    ASSERT_EQ(r->go(GoHow::Absolute, 0), Ok);
    EXPECT_EQ(landed(((*r).*move)(), *r), "NoCurrentRecord -");
    EXPECT_EQ(r->recno(), -1);
  }
  EXPECT_EQ(r->skip(1), NoCurrentRecord);
  EXPECT_EQ(r->count(), 0);
  EXPECT_EQ(seektext(*r, "Zoo", SeekMode::Prefix), NotFound);
  ASSERT_EQ(make_names("e"), Ok);
  DataFile empty;
  ASSERT_EQ(empty.open("e"), Ok);
  Rlist e(&empty);
  EXPECT_EQ(std::make_pair(e.first(), e.recno()), std::make_pair(TooFar, -1));
}

// Read-only, the table refuses changes; without its index, it takes them and
// leaves the index out of date.
TEST(RlistTables, ReadOnlyRefusesChangesWithoutIndexOutdatesTheIndex) {
  TempDir dir;
  make_filled(1);
  {
    DataFile table;
    ASSERT_EQ(table.open("t", {.readonly = true}), Ok);
    Rlist r(&table);
    EXPECT_EQ(add(r, "Two"), WriteFailed);
    ASSERT_EQ(r.first(), Ok);
    EXPECT_EQ(r.del(), WriteFailed);
    EXPECT_EQ(rename(r, "Three"), WriteFailed);
    EXPECT_EQ(table.nrecs(), 1);
  }
  {
    DataFile table;
    ASSERT_EQ(table.open("t", {.noindex = true}), Ok);
    Rlist r(&table);
    ASSERT_EQ(add(r, "Four"), Ok);
    EXPECT_EQ(std::make_pair(r.select(kByName), r.selected()), std::make_pair(Ok, -1));  // physical order
  }
  EXPECT_EQ(test::opens("t"), IndexOutOfDate);
}

// A write failing anywhere in an append, update, delete or deferred-sync batch leaves the old
// or new table, or an index reported out of date, and is never reported as success. A failed
// page write ends the process, so each attempt runs in a child.
TEST(RlistFaults, EveryFailedWriteIsSafe) {
  test::DirContents start;  // the table before each attempt
  {
    TempDir dir;
    make_filled(40);
    start = test::dir_contents();
  }
  // Few cached pages: changed ones are evicted (written) mid-batch.
  const auto batch = [](DataFile& table, Rlist& r) {
    table.index()->setcachepages(4);
    ErrorCode rc = table.defersync(true) == 0 ? Ok : WriteFailed;
    for (int i = 0; i < 60 && rc == Ok; ++i) rc = add(r, "Batch " + std::to_string(i * 37 % 60), i);
    return rc == Ok && r.go(GoHow::Absolute, 20) == Ok ? r.del() : rc;
  };
  // Held exclusively, the index pages reach the file at the sync; a batch ends at the
  // deferral's end, or is left to the close.
  const auto synced = [](DataFile& table, ErrorCode rc) { return table.sync() != 0 && rc == Ok ? WriteFailed : rc; };
  const std::pair<const char*, std::function<ErrorCode(DataFile&, Rlist&)>> ops[] = {
      {"append", [&](DataFile& t, Rlist& r) { return synced(t, add(r, "Fresh")); }},
      {"update", [&](DataFile& t, Rlist& r) { return synced(t, rename(r, "Renamed")); }},
      {"delete", [&](DataFile& t, Rlist& r) { return synced(t, r.del()); }},
      {"batch", [&](DataFile& t, Rlist& r) {
         ErrorCode rc = batch(t, r);
         return synced(t, t.defersync(false) != 0 && rc == Ok ? WriteFailed : rc);
       }},
      {"batch ended by the close", [&](DataFile& t, Rlist& r) {
         const ErrorCode rc = batch(t, r);
         return t.close() != Ok && rc == Ok ? WriteFailed : rc;
       }},
  };
  for (const auto& [name, op] : ops) {
    for (int failat = 1; failat < 400; ++failat) {
      TempDir dir;
      for (const auto& [file, bytes] : start) test::write_all(file, bytes);
      const int code = test::run_child([&] {
        DataFile table;
        if (table.open("t") != Ok) _exit(4);
        Rlist r(&table);
        (void)r.select(kByName);
        (void)r.go(GoHow::Absolute, 7);
        CapturedReports quiet;
        int writes = 0;
        File::set_write_fault([&](const File&, int32_t, int32_t) { return ++writes == failat; });
        const ErrorCode rc = op(table, r);
        if (writes < failat) _exit(rc == Ok ? 0 : 3);
        _exit(rc == Ok ? 1 : 2);
      });
      const std::string where = std::string(name) + ", write " + std::to_string(failat);
      ASSERT_TRUE(code != -1 && code != 4) << where;
      ASSERT_NE(code, 3) << where << ": failed without a fault";
      const ErrorCode open = test::opens("t");
      EXPECT_TRUE(open == Ok || open == IndexOutOfDate) << where << ": " << errname(open);
      if (open == Ok) { EXPECT_TRUE(test::sound("t")) << where; }
      if (code == 0) {  // done without meeting the fault: every write was tried
        EXPECT_GE(failat - 1, 4) << name << " wrote too little to be a real test";
        break;
      }
      // A fault met must not be reported as success (255: the process ended).
      EXPECT_NE(code, 1) << where;
    }
  }
}

// Several processes append, update and delete in one shared table at once.
TEST_F(RlistShared, ConcurrentProcessesKeepTheTableConsistent) {
  ASSERT_EQ(make_names("t"), Ok);
  constexpr int kProcs = 4, kEach = 60;
  for (int p = 0; p < kProcs; ++p) {
    if (fork() != 0) continue;
    DataFile table;
    if (table.open("t", {.shared = true}) != Ok) _exit(1);
    Rlist r(&table);
    const std::string me = "P" + std::to_string(p);
    for (int i = 0; i < kEach; ++i) {
      if (add(r, me + " " + std::to_string(i), p) != Ok) _exit(2);
      if (i % 5 == 0 && rename(r, me + " renamed " + std::to_string(i)) != Ok) _exit(3);
      if (i % 7 == 0 && r.del() != Ok) _exit(4);
    }
    _exit(0);
  }
  for (int p = 0, status = 0; p < kProcs; ++p) {
    wait(&status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_TRUE(test::sound("t"));
  DataFile table;
  ASSERT_EQ(table.open("t", {.readonly = true}), Ok);
  const Header& h = table.header();
  EXPECT_EQ(std::tie(h.nrecs, h.serial, h.ndeleted),
            std::make_tuple(kProcs * kEach, kProcs * kEach, kProcs * ((kEach + 6) / 7)));
  Rlist r(&table);
  std::set<int32_t> serials;
  std::map<long, int> per_process;
  for (ErrorCode rc = r.first(); rc == Ok; rc = r.skip(1)) {
    serials.insert(r.field(kCode).aslong());
    ++per_process[r.field(kAux).aslong()];
  }
  EXPECT_EQ(serials.size(), static_cast<size_t>(kProcs * kEach));
  EXPECT_EQ(per_process, (std::map<long, int>{{0, kEach}, {1, kEach}, {2, kEach}, {3, kEach}}));
}

// A shared table locks for every change (the index lock, then the header's) and every read (the
// open, which checks the index against the counters, and each tree operation). A lock the system
// refuses refuses the call (TryAgain) with nothing written or read from a half-changed table; the
// locks are given back, so the next call goes on.
TEST_F(RlistShared, ACallWhoseLockIsRefusedIsRefusedUnchanged) {
  make_filled(5);
  const std::vector<unsigned char> data = test::read_all("t.db1");
  const std::pair<const char*, std::function<ErrorCode(Rlist&)>> calls[] = {
      {"add", [](Rlist& r) { return add(r, "Fresh"); }},
      {"update", [](Rlist& r) { return rename(r, "Renamed"); }},
      {"delete", [](Rlist& r) { return r.del(); }},
      {"skip", [](Rlist& r) { return r.skip(1); }},
      {"seek", [](Rlist& r) { return seektext(r, "Name 3", SeekMode::Equal); }},
      {"seekrank", [](Rlist& r) { return r.seekrank(2); }},
      {"before", [](Rlist& r) { return r.before() == -1 ? TryAgain : Ok; }},
  };
  for (const auto& [name, call] : calls) {
    for (const char* lockfile : {".idx", ".db1"}) {
      SCOPED_TRACE(std::string(name) + ", lock of " + lockfile + " refused");
      DataFile table;
      {
        test::RefusedCalls nolock(File::Call::Lock, ENOLCK, 1, lockfile);
        EXPECT_EQ(table.open("t", {.shared = true}), TryAgain);
        EXPECT_FALSE(table.isopen());
      }
      ASSERT_EQ(table.open("t", {.shared = true}), Ok);
      Rlist r(&table);
      (void)r.select(kByName);
      ASSERT_EQ(r.first(), Ok);
      {
        test::RefusedCalls nolock(File::Call::Lock, ENOLCK, 1, lockfile);
        const ErrorCode rc = call(r);
        // A read takes only the index's lock.
        EXPECT_TRUE(nolock.met() ? rc == TryAgain : std::string(lockfile) == ".db1") << errname(rc);
      }
      EXPECT_EQ(test::read_all("t.db1"), data);
      EXPECT_EQ(table.nrecs(), 5);
      EXPECT_EQ(call(r), Ok);
      (void)table.close();
      EXPECT_TRUE(test::sound("t"));
      test::write_all("t.db1", data);
      ASSERT_EQ(DataFile::reindex("t"), Ok);
    }
  }
}

}  // namespace
}  // namespace quill
