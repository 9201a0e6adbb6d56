#include "engine/file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "tests/engine/testutil.h"

namespace quill {
namespace {

using test::TempDir;

// A file held exclusively with the block cache on and its syncs deferred:
// the mode in which writes are gathered and changes held in the cache.
void createdeferred(File& f, const char* name) {
  ASSERT_EQ(f.create(name, Sharing::Exclusive), 0);
  f.setreadcache(true);
  f.defersync(true);
}

std::string ondisk(const char* name) {
  auto bytes = test::read_all(name);
  return std::string(bytes.begin(), bytes.end());
}

TEST(File, OpensCreatesReadsExactlyWritesZerosStopsBelowTwoGiBRefusesWrites) {
  TempDir dir;
  File f;
  EXPECT_EQ(f.open("data", Access::ReadWrite, Sharing::Shared), -1);
  ASSERT_EQ(f.create("data", Sharing::Exclusive), 0);
  // A second open or create on an open File fails and leaves it alone.
  EXPECT_EQ(f.create("other", Sharing::Shared), -1);
  ASSERT_EQ(f.write("0123456789", 10), 0);
  ASSERT_EQ(f.seek(0), 0);
  char buf[24];
  EXPECT_EQ(f.read(buf, 24), -1);  // only 10 remain
  ASSERT_EQ(f.seek(4), 0);
  ASSERT_EQ(f.write(nullptr, 12), 0);  // overwrites 6 and extends by 6
  EXPECT_EQ(f.size(), 16);
  ASSERT_EQ(f.seek(0), 0);
  ASSERT_EQ(f.read(buf, 16), 0);
  EXPECT_EQ(std::string(buf, 4), "0123");
  for (int i = 4; i < 16; ++i) EXPECT_EQ(buf[i], 0);
  EXPECT_EQ(f.seek(-1), -1);
  // Positions stop below 2 GiB.
  ASSERT_EQ(f.seek(INT32_MAX - 2), 0);
  EXPECT_EQ(f.write("abcd", 4), -1);  // would reach 2 GiB
  EXPECT_EQ(f.write("ab", 2), 0);     // ends just below
  EXPECT_EQ(f.seekrel(10), -1);
  // Writes are refused when read-only or closed.
  ASSERT_EQ(File::createnew("ro"), 0);
  test::CapturedReports reports;
  File ro;
  ASSERT_EQ(ro.open("ro", Access::ReadOnly, Sharing::Exclusive), 0);
  EXPECT_EQ(ro.write("x", 1), -1);
  EXPECT_EQ(reports.text(), "File::write: write failed (file 'ro' opened as readonly)\n");
  File closed;
  reports.clear();
  EXPECT_EQ(closed.write("x", 1), -1);
  EXPECT_EQ(reports.text(), "File::write: write failed (file '' not opened)\n");
}

// An exclusive holder keeps every other opener out, in this process too, and nobody truncates
// it; shared openers coexist but keep exclusive ones and truncation out.
TEST(FileSharing, ExclusiveKeepsEveryoneOutSharedOnlyExclusiveOnes) {
  TempDir dir;
  for (Sharing held : {Sharing::Exclusive, Sharing::Shared}) {
    File f;
    ASSERT_EQ(f.create("table", held), 0);
    ASSERT_EQ(f.write("data", 4), 0);
    const bool shared = held == Sharing::Shared;
    EXPECT_EQ(test::run_child([shared] {
                File g, h;
                if ((g.open("table", Access::ReadOnly, Sharing::Shared) == 0) != shared) _exit(1);
                if (h.open("table", Access::ReadWrite, Sharing::Exclusive) == 0) _exit(2);
                if (h.create("table", Sharing::Shared) == 0) _exit(3);
              }),
              0);
    File g;
    EXPECT_EQ(g.open("table", Access::ReadOnly, Sharing::Shared) == 0, shared);
    EXPECT_EQ(f.size(), 4);
  }
}

TEST(FileSharing, RangeLocksConflictWaitersAreReleasedWholeFileLocksKeepTheirLength) {
  TempDir dir;
  {
    File f;
    ASSERT_EQ(f.create("table", Sharing::Shared), 0);
    ASSERT_EQ(f.write(nullptr, 100), 0);
  }
  File f;
  ASSERT_EQ(f.open("table", Access::ReadWrite, Sharing::Shared), 0);
  ASSERT_EQ(f.lock(LockMode::Exclusive, 0, 56, Wait::No), 0);

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t pid = fork();
  if (pid == 0) {
    File g;
    if (g.open("table", Access::ReadWrite, Sharing::Shared) != 0) _exit(1);
    if (g.lock(LockMode::Shared, 0, 56, Wait::No) == 0) _exit(2);   // conflicts, no waiting
    if (g.lock(LockMode::Exclusive, 60, 10, Wait::No) != 0) _exit(3);  // a disjoint range is free
    char c = 'r';
    if (::write(ready[1], &c, 1) != 1) _exit(4);
    if (g.lock(LockMode::Exclusive, 0, 56, Wait::Yes) != 0) _exit(5);   // waits for the parent
    _exit(0);
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0);  // still waiting
  ASSERT_EQ(f.unlock(0, 56), 0);
  waitpid(pid, &status, 0);
  EXPECT_EQ(status, 0);  // exited, and with 0
  close(ready[0]);
  close(ready[1]);
  // A whole-file lock remembers the length it locked.
  File g;
  ASSERT_EQ(g.create("grow", Sharing::Shared), 0);
  ASSERT_EQ(g.write("0123456789", 10), 0);
  EXPECT_EQ(g.lock(LockMode::None, 0, 0, Wait::No), 0);
  ASSERT_EQ(g.lock(LockMode::Shared, 0, 0, Wait::Yes), 0);  // bytes 0-9
  ASSERT_EQ(g.write("more", 4), 0);
  ASSERT_EQ(g.unlock(0, 0), 0);      // releases 0-9, not 0-13
  // Another handle may now lock the whole grown file exclusively.
  File other;
  ASSERT_EQ(other.open("grow", Access::ReadWrite, Sharing::Shared), 0);
  EXPECT_EQ(other.lock(LockMode::Exclusive, 0, 0, Wait::No), 0);
  EXPECT_EQ(other.unlock(0, 0), 0);
}

// Random overwrites, appends and reads over a file larger than the block cache (dirty blocks
// are evicted while others wait): every read, sync and the close agree with a plain model.
TEST(File, ChangesHeldInTheBlockCacheReachTheFileInOrder) {
  TempDir dir;
  File f;
  ASSERT_NO_FATAL_FAILURE(createdeferred(f, "held"));
  std::mt19937 rng(8);
  auto pick = [&rng](int64_t n) { return static_cast<int32_t>(rng() % static_cast<uint64_t>(n)); };
  std::string model(File::kReadCacheBytes + (1 << 20), '\0');
  for (size_t i = 0; i < model.size(); ++i) model[i] = static_cast<char>('a' + i % 23);
  ASSERT_EQ(f.write(model.data(), static_cast<int32_t>(model.size())), 0);
  // Anywhere, or often near the end, where appends are still gathered.
  auto where = [&](int32_t n) {
    const int64_t room = static_cast<int64_t>(model.size()) - n;
    return pick(4) == 0 ? static_cast<int32_t>(room - pick(std::min<int64_t>(room, 12000)))
                        : pick(room);
  };
  std::string back(20, '\0');
  // Two changed blocks in a row that wrap round the end of the cache: one run, copied together.
  const int32_t wrap = File::kReadCacheBytes - 10;
  ASSERT_EQ(f.seek(wrap), 0);
  ASSERT_EQ(f.read(back.data(), 20), 0);
  ASSERT_EQ(f.seek(wrap), 0);
  ASSERT_EQ(f.write("round the cache's end", 20), 0);
  model.replace(static_cast<size_t>(wrap), 20, "round the cache's end", 20);
  int64_t written = 0;  // where the last overwrite began
  // The sanitizer pass takes the reduced set: its cost is in the model's copies.
  const int steps = 12000 / test::sweepset().stride;
  for (int step = 0; step < steps; ++step) {
    const int what = pick(10);
    if (what < 4) {  // read, filling the cache (or, long, around it)
      const int32_t n = 1 + pick(pick(4) == 0 ? 40000 : 9000);
      const int32_t at = where(n);
      back.assign(static_cast<size_t>(n), '\0');
      ASSERT_EQ(f.seek(at), 0);
      ASSERT_EQ(f.read(back.data(), n), 0);
      ASSERT_EQ(back, model.substr(static_cast<size_t>(at), static_cast<size_t>(n))) << step;
    } else if (what < 9) {  // overwrite, one to three blocks
      const int32_t n = 1 + pick(what == 8 ? 9000 : 70);
      const int32_t at = where(n);
      std::string bytes(static_cast<size_t>(n), static_cast<char>('A' + pick(26)));
      ASSERT_EQ(f.seek(at), 0);
      ASSERT_EQ(f.write(bytes.data(), n), 0);
      model.replace(static_cast<size_t>(at), bytes.size(), bytes);
      written = at;
    } else if (pick(20) == 0) {
      // Half of them hold back the changes in the 4 KiB blocks wholly inside a range around
      // the last overwrite: the rest is on disk, and they follow at a later sync or the close.
      const int64_t from = std::max<int64_t>(0, written - pick(8192)), to = written + pick(8192);
      const bool holding = pick(2) == 0;
      ASSERT_EQ(holding ? f.syncexcept({from, to}) : f.sync(), 0);
      const size_t lo = std::min<size_t>(model.size(), holding ? (from + 4095) / 4096 * 4096 : 0);
      const size_t hi = std::min<size_t>(model.size(), holding ? to / 4096 * 4096 : 0);
      std::string disk = ondisk("held");
      ASSERT_EQ(disk.size(), model.size()) << step;
      if (hi > lo) disk.replace(lo, hi - lo, model, lo, hi - lo);
      ASSERT_EQ(disk, model) << step;
    } else {  // append
      std::string bytes(static_cast<size_t>(1 + pick(300)), static_cast<char>('0' + pick(10)));
      ASSERT_EQ(f.seek(static_cast<int32_t>(model.size())), 0);
      ASSERT_EQ(f.write(bytes.data(), static_cast<int32_t>(bytes.size())), 0);
      model += bytes;
      if (pick(8) == 0) {
        ASSERT_EQ(f.size(), static_cast<int32_t>(model.size()));  // gathered bytes counted
      }
    }
  }
  ASSERT_EQ(f.close(), 0);
  EXPECT_EQ(ondisk("held"), model);
}

// A change held in a cached block over bytes still waiting in a gathered write: when the block
// is evicted first, the older gathered bytes must not land on top of it afterwards.
TEST(File, HeldChangesOutliveOlderGatheredBytesFailedGatheredWritesFailTheSync) {
  TempDir dir;
  File f;
  ASSERT_NO_FATAL_FAILURE(createdeferred(f, "held"));
  std::string expected(File::kReadCacheBytes + 8192, 'a');
  ASSERT_EQ(f.write(expected.data(), static_cast<int32_t>(expected.size())), 0);
  ASSERT_EQ(f.sync(), 0);
  char back[8];
  ASSERT_EQ(f.seek(0), 0);
  ASSERT_EQ(f.read(back, 8), 0);    // block 0 cached, block 1 not
  ASSERT_EQ(f.seek(4090), 0);
  ASSERT_EQ(f.write("xxxxxxxxxx", 10), 0);  // across both: gathered
  ASSERT_EQ(f.seek(4090), 0);
  ASSERT_EQ(f.write("NEW", 3), 0);  // inside block 0: held there
  expected.replace(4090, 10, "NEWxxxxxxx");
  ASSERT_EQ(f.seek(File::kReadCacheBytes), 0);
  ASSERT_EQ(f.read(back, 8), 0);    // takes block 0's place in the cache
  ASSERT_EQ(f.close(), 0);
  EXPECT_EQ(ondisk("held"), expected);
  // Gathered writes that fail when the deferral ends (here beyond the file size limit, in a
  // child) are lost: the next sync must say so rather than succeed.
  EXPECT_EQ(test::run_child([] {
              signal(SIGXFSZ, SIG_IGN);
              const rlimit limit = {2, 2};
              File limited;
              if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
              if (limited.create("limited", Sharing::Exclusive) != 0) _exit(2);
              limited.defersync(true);
              if (limited.write("lost", 4) != 0) _exit(3);
              limited.defersync(false);
              if (limited.sync() != -1) _exit(1);
              // A close whose writes fail still lets the file go.
              limited.defersync(true);
              if (limited.write("lost", 4) != 0 || limited.close() != -1) _exit(4);
              File again;
              _exit(again.open("limited", Access::ReadWrite, Sharing::Exclusive) == 0 ? 0 : 5);
            }),
            0);
}

// A write the disk refused where the caller could not hear of it (gathered,
// flushed at the sync), or a sync the disk refused: the sync fails, and so
// does every later one until the close, though the disk has room again by
// then. Told as a full disk.
TEST(File, AWriteOrSyncTheDiskRefusedFailsEverySyncUntilTheClose) {
  for (File::Call refused : {File::Call::Write, File::Call::Sync}) {
    TempDir dir;
    File f;
    ASSERT_NO_FATAL_FAILURE(createdeferred(f, "full"));
    ASSERT_EQ(f.write("gathered", 8), 0);
    {
      test::RefusedCalls full(refused, ENOSPC);
      EXPECT_EQ(f.sync(), -1);
      EXPECT_TRUE(full.met());
    }
    EXPECT_EQ(File::lastwriteerror(), ENOSPC);
    EXPECT_EQ(writeresult(WriteFailed), DiskFull);
    EXPECT_TRUE(f.failed());
    EXPECT_EQ(f.sync(), -1) << "a sync after a refused one claimed success";
    ASSERT_EQ(f.write("again", 5), 0);
    EXPECT_EQ(f.sync(), -1);
    (void)f.close();
    ASSERT_EQ(f.open("full", Access::ReadWrite, Sharing::Exclusive), 0);
    EXPECT_FALSE(f.failed());
  }
}

}  // namespace
}  // namespace quill
