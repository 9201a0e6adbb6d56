#include "engine/filebuffer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <string>
#include <tuple>

#include "tests/engine/testutil.h"

namespace quill {
namespace {

using test::TempDir;
using FileBufferTest = test::InTempDir;

// A file held exclusively with the block cache on and its syncs deferred:
// the mode in which writes are gathered and changes held in the cache.
struct Deferred {
  File file;
  FileBuffer f{file};
  explicit Deferred(const char* name) {
    EXPECT_EQ(file.create(name, Sharing::Exclusive), 0);
    f.setreadcache(true);
    f.defersync(true);
  }
  int close() {  // the file goes even when the buffer's writes fail
    const int held = f.close();
    return file.close() == 0 ? held : -1;
  }
};

std::string ondisk(const char* name) {
  auto bytes = test::read_all(name);
  return std::string(bytes.begin(), bytes.end());
}

// Random overwrites, appends and reads over a file larger than the block cache (dirty blocks
// are evicted while others wait): every read, sync and the close agree with a plain model.
TEST_F(FileBufferTest, ChangesHeldInTheBlockCacheReachTheFileInOrder) {
  Deferred held("held");
  FileBuffer& f = held.f;
  std::mt19937 rng(8);
  auto pick = [&rng](int64_t n) { return static_cast<int32_t>(rng() % static_cast<uint64_t>(n)); };
  std::string model(FileBuffer::kReadCacheBytes + (1 << 20), '\0');
  for (size_t i = 0; i < model.size(); ++i) model[i] = static_cast<char>('a' + i % 23);
  ASSERT_EQ(f.write(0, model.data(), static_cast<int32_t>(model.size())), 0);
  // Anywhere, or often near the end, where appends are still gathered.
  auto where = [&](int32_t n) {
    const int64_t room = static_cast<int64_t>(model.size()) - n;
    return pick(4) == 0 ? static_cast<int32_t>(room - pick(std::min<int64_t>(room, 12000))) : pick(room);
  };
  std::string back(20, '\0');
  // Two changed blocks in a row that wrap round the end of the cache: one run, copied together.
  const int32_t wrap = FileBuffer::kReadCacheBytes - 10;
  ASSERT_EQ(f.read(wrap, back.data(), 20), 0);
  ASSERT_EQ(f.write(wrap, "round the cache's end", 20), 0);
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
      ASSERT_EQ(f.read(at, back.data(), n), 0);
      ASSERT_EQ(back, model.substr(static_cast<size_t>(at), static_cast<size_t>(n))) << step;
    } else if (what < 9) {  // overwrite, one to three blocks
      const int32_t n = 1 + pick(what == 8 ? 9000 : 70);
      const int32_t at = where(n);
      std::string bytes(static_cast<size_t>(n), static_cast<char>('A' + pick(26)));
      ASSERT_EQ(f.write(at, bytes.data(), n), 0);
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
      ASSERT_EQ(f.write(static_cast<int64_t>(model.size()), bytes.data(), static_cast<int32_t>(bytes.size())), 0);
      model += bytes;
      ASSERT_EQ(pick(8) == 0 ? f.size() : static_cast<int32_t>(model.size()), static_cast<int32_t>(model.size()))
          << "gathered bytes counted";
    }
  }
  ASSERT_EQ(held.close(), 0);
  EXPECT_EQ(ondisk("held"), model);
}

// A change held in a cached block over bytes still waiting in a gathered write: when the block
// is evicted first, the older gathered bytes must not land on top of it afterwards.
TEST_F(FileBufferTest, HeldChangesOutliveOlderGatheredBytes) {
  Deferred held("held");
  FileBuffer& f = held.f;
  std::string expected(FileBuffer::kReadCacheBytes + 8192, 'a');
  ASSERT_EQ(f.write(0, expected.data(), static_cast<int32_t>(expected.size())), 0);
  ASSERT_EQ(f.sync(), 0);
  char back[8];
  ASSERT_EQ(f.read(0, back, 8), 0);    // block 0 cached, block 1 not
  ASSERT_EQ(f.write(4090, "xxxxxxxxxx", 10), 0);  // across both: gathered
  ASSERT_EQ(f.write(4090, "NEW", 3), 0);  // inside block 0: held there
  expected.replace(4090, 10, "NEWxxxxxxx");
  ASSERT_EQ(f.read(FileBuffer::kReadCacheBytes, back, 8), 0);  // takes block 0's place
  ASSERT_EQ(held.close(), 0);
  EXPECT_EQ(ondisk("held"), expected);
}

// A write the disk refused where the caller could not hear of it (gathered, flushed at the
// sync or at the deferral's end), or a sync the disk refused: the sync fails, and so does every
// later one until the close (which fails too, yet lets the file go), though the disk has room
// again by then. Told as a full disk.
TEST(FileBuffer, AWriteOrSyncTheDiskRefusedFailsEverySyncUntilTheClose) {
  const std::pair<File::Call, bool> refusals[] = {  // the call; whether at the deferral's end
      {File::Call::Write, false}, {File::Call::Write, true}, {File::Call::Sync, false}};
  for (auto [refused, atend] : refusals) {
    TempDir dir;
    Deferred full("full");
    FileBuffer& f = full.f;
    ASSERT_EQ(f.write(0, "gathered", 8), 0);
    {
      test::RefusedCalls refusing(refused, ENOSPC);
      if (atend) f.defersync(false);
      EXPECT_EQ(f.sync(), -1);
      EXPECT_TRUE(refusing.met());
    }
    EXPECT_EQ(std::make_tuple(File::lastwriteerror(), writeresult(WriteFailed), f.failed()),
              std::make_tuple(ENOSPC, DiskFull, true));
    EXPECT_EQ(f.sync(), -1) << "a sync after a refused one claimed success";
    EXPECT_TRUE(f.write(8, "again", 5) == 0 && f.sync() == -1);
    test::RefusedCalls stillfull(File::Call::Write, ENOSPC);
    f.defersync(true);
    EXPECT_TRUE(f.write(16, "lost", 4) == 0 && full.close() == -1);
    ASSERT_EQ(full.file.open("full", Access::ReadWrite, Sharing::Exclusive), 0);
    EXPECT_FALSE(f.failed());
  }
}

}  // namespace
}  // namespace quill
