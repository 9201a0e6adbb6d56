// A power cut at and between every sync point of every kind of change: the table opens, or
// reports its index out of date or bad and passes the check after a reindex; every returned
// change is there, the one in flight whole or absent. Each cut is judged in a child, so that a
// fatal error is seen as one. How many cuts and seeds: test::sweepset().
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <set>
#include <utility>

#include "engine/bytes.h"
#include "engine/index.h"
#include "engine/maintain.h"
#include "engine/rlist.h"
#include "tests/engine/powercut.h"
#include "tests/engine/testutil.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using namespace test;
using InterruptedTraces = InTempDir;

constexpr int kAux = 3;
constexpr int kSetupRecords = 60;

// Small pages, so that a few dozen records make trees of several levels.
void make_table() {
  ASSERT_EQ(test::make_names("t", 256), Ok);
  DataFile table;
  ASSERT_EQ(table.open("t"), Ok);
  Rlist r(&table);
  for (int i = 0; i < kSetupRecords; ++i)
    ASSERT_EQ(add(r, "Name " + std::to_string(i * 37 % kSetupRecords), i), Ok);
  for (int i = 3; i < kSetupRecords; i += 7) {
    ASSERT_EQ(r.go(GoHow::Absolute, i), Ok);
    ASSERT_EQ(r.del(), Ok);
  }
}

// The counted records of a data file as they lie on disk.
struct Records {
  int32_t datastart = 0;
  std::vector<std::vector<unsigned char>> recs;
};

bool read_records(const std::string& base, Records* out) {
  const Header h = test::header_of(base);
  out->datastart = h.datastart;
  out->recs.clear();
  for (int32_t i = 0; i < h.nrecs; ++i) {
    out->recs.push_back(test::record_at(base, i));
    if (out->recs.back().empty()) return false;
  }
  return h.reclen > 0;
}

// Record by record: as before the call in flight or as after it. A record rewritten in place can be
// torn where it crosses a 512-byte sector (no order of writes prevents that); each sector's part
// must then be old or new. What differs, or nothing.
std::string mismatch(const Records& s, const Records& a, const Records& b) {
  if (s.recs.size() != a.recs.size() && s.recs.size() != b.recs.size())
    return std::to_string(s.recs.size()) + " records, expected " + std::to_string(a.recs.size()) +
           " or " + std::to_string(b.recs.size());
  for (size_t i = 0; i < s.recs.size(); ++i) {
    const auto& r = s.recs[i];
    const auto* old = i < a.recs.size() ? &a.recs[i] : nullptr;
    const auto* fresh = i < b.recs.size() ? &b.recs[i] : nullptr;
    if ((old && r == *old) || (fresh && r == *fresh)) continue;
    bool torn = old && fresh && old->size() == r.size() && fresh->size() == r.size();
    const size_t start = static_cast<size_t>(s.datastart) + i * r.size();
    for (size_t k = 0; torn && k < r.size();) {
      size_t n = std::min(r.size() - k, 512 - (start + k) % 512);
      torn = std::memcmp(&r[k], &(*old)[k], n) == 0 || std::memcmp(&r[k], &(*fresh)[k], n) == 0;
      k += n;
    }
    if (!torn) return "record " + std::to_string(i) + " is neither as before nor as after";
  }
  return "";
}

// Judges the files in the current directory; the reason goes to stderr.
int judge(const Records& before, const Records& after) {
  auto fail = [](const std::string& why) { std::fprintf(stderr, "%s\n", why.c_str()); return 1; };
  const ErrorCode rc = test::opens("t");
  if (rc != Ok && rc != IndexOutOfDate && rc != BadIndex) return fail(std::string("opens with ") + errname(rc));
  if (rc != Ok) {
    if (ErrorCode re = DataFile::reindex("t"); re != Ok) return fail(std::string("reindex: ") + errname(re));
    if (ErrorCode again = test::opens("t"); again != Ok) return fail(std::string("reindexed: ") + errname(again));
  }
  if (auto sound = test::sound("t"); !sound) return fail(std::string("check: ") + sound.message());
  Records s;
  if (!read_records("t", &s)) return fail("records unreadable");
  if (const std::string why = mismatch(s, before, after); !why.empty()) return fail(why);

  // Whatever an interrupted append left is overwritten, never counted.
  {
    DataFile table;
    if (table.open("t") != Ok) return fail("cannot open to append");
    Rlist r(&table);
    if (add(r, "Afterwards", 1) != Ok) return fail("append afterwards fails");
  }
  if (auto sound = test::sound("t"); !sound) return fail(std::string("check after an append: ") + sound.message());
  Records later;
  if (!read_records("t", &later) || later.recs.size() != s.recs.size() + 1)
    return fail("the append afterwards did not add exactly one record");
  return 0;
}

// One kind of change: `calls` calls, each one a unit whose return is noted.
struct Scenario {
  const char* name;
  int calls = 1;
  bool opentable = true;    // the calls work through a cursor on the open table
  bool everyevent = false;  // cut after every write and sync, not only around syncs
  bool shared = false;      // the table opened shared: every change goes through to both files
  std::function<void(DataFile& table, Rlist* r, int call)> run;
};

void sweep(const Scenario& scenario) {
  TempDir dir;
  make_table();
  if (::testing::Test::HasFatalFailure()) return;
  std::vector<Records> snaps(1);
  ASSERT_TRUE(read_records("t", &snaps[0]));
  std::vector<int64_t> returned;
  PowerCut cut;
  {
    DataFile table;
    std::unique_ptr<Rlist> r;
    if (scenario.opentable) {
      ASSERT_EQ(table.open("t", {.shared = scenario.shared}), Ok);
      r = std::make_unique<Rlist>(&table);
    }
    returned.push_back(cut.now());
    for (int call = 0; call < scenario.calls; ++call) {
      scenario.run(table, r.get(), call);
      if (::testing::Test::HasFatalFailure()) return;
      returned.push_back(cut.now());
      snaps.emplace_back();
      ASSERT_TRUE(read_records("t", &snaps.back()));
    }
  }
  const int64_t end = cut.now();
  // The data syncs that a call costs once the table is in use, that the
  // first call of an open costs, and closing (RELIABILITY.md quotes them).
  const std::string name = scenario.name;
  const size_t last = returned.size() - 1;
  ::testing::Test::RecordProperty(name + "_syncs_per_call", cut.syncs(returned[last - 1], returned[last]));
  if (last > 1) {
    ::testing::Test::RecordProperty(name + "_syncs_first_call", cut.syncs(returned[0], returned[1]));
    ::testing::Test::RecordProperty(name + "_syncs_at_close", cut.syncs(returned[last], end));
  }
  std::vector<int64_t> points(scenario.everyevent ? static_cast<size_t>(end - returned[0] + 1) : 0);
  std::iota(points.begin(), points.end(), returned[0]);
  if (!scenario.everyevent) points = cut.cutpoints(returned[0], end);
  const int seeds = test::sweepset().seeds;
  int tried = 0, varied = 0;  // varied: cut points whose outcome the seed or the mode changes
  for (int64_t at : test::sweeppoints(points)) {
    size_t done = 0;
    while (done + 1 < returned.size() && returned[done + 1] <= at) ++done;
    const Records& before = snaps[done];
    const Records& after = snaps[std::min(done + 1, snaps.size() - 1)];
    std::set<test::DirContents> outcomes;
    for (int seed = 0; seed < seeds; ++seed)
      for (CutMode mode : {CutMode::Pages, CutMode::Sectors}) {
        fs::remove_all("cut");
        fs::create_directory("cut");
        cut.materialise(at, static_cast<uint64_t>(seed), mode, "cut");
        ++tried;
        test::DirContents landed;
        for (const auto& e : fs::directory_iterator("cut"))
          landed[e.path().filename()] = test::read_all(e.path());
        outcomes.insert(std::move(landed));
        const int code = test::run_child([&] {
          File::set_observer(nullptr);
          if (chdir("cut") != 0) _exit(3);
          _exit(judge(before, after));
        });
        ASSERT_EQ(code, 0) << scenario.name << ": cut at event " << at << " of " << end << " (call " << done
            << " done), seed " << seed << ", mode "
            << (mode == CutMode::Pages ? "pages" : "sectors");
      }
    varied += outcomes.size() > 1 ? 1 : 0;
  }
  EXPECT_GT(tried, 0);
  // A simulator that landed every write whatever the seed would pass any order of writes. Only
  // the whole sweep is sure to meet a cut that the seed changes; the reduced one may miss it.
  if (test::sweepset().stride == 1 && seeds > 1) EXPECT_GT(varied, 0) << scenario.name;
  ::testing::Test::RecordProperty(std::string(scenario.name) + "_cuts_tried", tried);
}

// Updates, deletions, a batch, appends (enough that the file is lengthened ahead of them
// twice, and the close cuts it back) and the changes that exchange a new file for the table's.
// Without a page cache each changed page reaches the file at once: only the mark that the index
// is unfinished covers it, also after a sync half way. A sync whose first page write fails
// keeps that mark: pages and header go out again in their order.
TEST(PowerCutSweep, EveryKindOfChange) {
  const auto update = [](DataFile&, Rlist* r, int call) {
    ASSERT_EQ(r->go(GoHow::Absolute, 1 + 20 * call), Ok);
    ASSERT_EQ(rename(*r, "Renamed " + std::to_string(call)), Ok);
  };
  const auto remove = [](DataFile&, Rlist* r, int call) {
    ASSERT_EQ(r->go(GoHow::Absolute, 6 + 20 * call), Ok);
    ASSERT_EQ(r->del(), Ok);
  };
  const auto append = [](Rlist* r, int call) { ASSERT_EQ(add(*r, "Fresh " + std::to_string(call), 100 + call), Ok); };
  sweep({.name = "update", .calls = 3, .run = update});
  sweep({.name = "delete", .calls = 3, .run = remove});
  // A batch with deferred sync is durable at its end: until then every record is as before or as
  // after. It ends as the catalogue ends its batches and edits, with the deferral's end as its only
  // sync: a sync inside it would cover a step the end left out.
  sweep({.name = "batch", .run = [](DataFile& table, Rlist* r, int) {
           (void)table.defersync(true);
           for (int i = 0; i < 8; ++i) ASSERT_EQ(add(*r, "Batch " + std::to_string(i), i), Ok);
           for (int k = 0; k < 4; ++k) {
             ASSERT_EQ(r->go(GoHow::Absolute, 8 + 12 * k), Ok);
             ASSERT_EQ(k % 2 ? r->del() : rename(*r, "Batch renamed " + std::to_string(k)), Ok);
           }
           ASSERT_EQ(table.defersync(false), Ok);
         }});
  sweep({.name = "append_room", .calls = 20, .everyevent = true, .run = [&](DataFile& table, Rlist* r, int call) {
           append(r, call);
           if (call == 10) { ASSERT_GT(fs::file_size("t.db1"), table.recoffset(table.nrecs())); }
         }});
  sweep({.name = "append_evicting", .calls = 3, .everyevent = true, .run = [&](DataFile& table, Rlist* r, int call) {
           if (call == 0) table.index()->setcachepages(0);
           append(r, call);
           ASSERT_EQ(call == 1 ? table.sync() : 0, 0);
         }});
  sweep({.name = "append_failed_sync", .calls = 3, .everyevent = true, .run = [&](DataFile& table, Rlist* r, int call) {
           append(r, call);
           if (call != 1) return;
           bool failed = false;
           File::set_write_fault([&](const File& file, int32_t, int32_t) {
             return file.name().ends_with(".idx") && !std::exchange(failed, true);
           });
           const ErrorCode rc = table.sync();
           File::set_write_fault({});
           ASSERT_TRUE(failed);
           ASSERT_EQ(rc, WriteFailed);
           ASSERT_EQ(table.sync(), 0);
         }});
  // Shared, each change forces its steps to disk in turn, the index's among them.
  sweep({.name = "append_shared", .calls = 3, .everyevent = true, .shared = true,
         .run = [&](DataFile&, Rlist* r, int call) { append(r, call); }});
  sweep({.name = "update_shared", .calls = 3, .shared = true, .run = update});
  sweep({.name = "delete_shared", .calls = 3, .shared = true, .run = remove});
  const std::pair<const char*, std::function<ErrorCode()>> exchanges[] = {
      {"pack", [] { return DataFile::pack("t"); }},
      {"reindex", [] { return DataFile::reindex("t"); }},
      {"insert_field", [] { return insert_field("t", -1, {'L', 4, "Extra"}, FieldGroup::Record); }},
      {"insert_tag", [] { return insert_tag("t", -1, TagNode{{{kAux, 0, 0}}, "ByAux"}); }}};
  for (const auto& [name, change] : exchanges)
    sweep({.name = name, .opentable = false,
           .run = [&](DataFile&, Rlist*, int) { ASSERT_EQ(change(), Ok); }});
}

// A data file shorter than its counted records is damage; a longer one is an interrupted
// append's trace, noted by the check and dropped by a pack. An index marked out of date before
// its new pages were lost is out of date, not damaged; bytes past every page are only noted.
TEST_F(InterruptedTraces, AreToldFromDamageInTheDataFileAndTheIndex) {
  make_table();
  const auto data = test::read_all("t.db1");
  // Room made ahead of the appends is cut off at close.
  const Header h = test::header_of("t");
  ASSERT_EQ(data.size(), static_cast<size_t>(h.datastart) + static_cast<size_t>(h.nrecs) * h.reclen);
  test::write_all("t.db1", {data.begin(), data.begin() + static_cast<long>(data.size() / 2)});
  EXPECT_EQ(test::opens("t"), BadData);
  EXPECT_EQ(test::opens("t", {.readonly = true, .noindex = true}), BadData);
  std::vector<std::string> notes;
  for (size_t extra : {size_t{20}, size_t{44 * 2}, size_t{44 * 2 + 7}}) {
    auto longer = data;
    longer.resize(data.size() + extra, 'z');
    test::write_all("t.db1", longer);
    ASSERT_EQ(test::opens("t"), Ok) << extra;
    EXPECT_TRUE(test::sound("t", &notes)) << extra;
    EXPECT_THAT(notes, testing::ElementsAre(testing::HasSubstr("interrupted append"))) << extra;
  }
  ASSERT_EQ(DataFile::pack("t"), Ok);
  ASSERT_EQ(DataFile::reindex("t"), Ok);
  EXPECT_TRUE(test::sound("t", &notes));
  EXPECT_THAT(notes, testing::IsEmpty());

  const auto whole = test::read_all("t.idx");
  auto idx = whole;
  putle32(&idx[12], getle32(&idx[12]) + 1);  // the stamp
  idx.resize(idx.size() - 256);
  test::write_all("t.idx", idx);
  EXPECT_EQ(test::opens("t"), IndexOutOfDate);
  // The same loss under a header in step with the data file is damage.
  putle32(&idx[12], getle32(&idx[12]) - 1);
  test::write_all("t.idx", idx);
  EXPECT_EQ(test::opens("t"), BadIndex);

  idx = whole;
  idx.resize(idx.size() + 100, 0);
  test::write_all("t.idx", idx);
  EXPECT_TRUE(test::sound("t", &notes));
  EXPECT_THAT(notes, testing::ElementsAre(testing::HasSubstr("100 bytes that belong to no page")));
}

}  // namespace
}  // namespace quill
