// The power-loss simulator itself: it must find the damage that a wrong order
// of writes and syncs allows, and none where the order is right. (That a rename
// not followed by a directory sync may be lost, crash_test's pack and reindex
// sweeps find when that sync is left out.)
#include "tests/engine/powercut.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "engine/bytes.h"
#include "engine/file.h"
#include "tests/engine/testutil.h"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

constexpr int kRecord = 600;      // across sector boundaries
constexpr int kRecords = 4096;    // the records start on their own page

std::vector<char> record(int i) { return std::vector<char>(kRecord, static_cast<char>('a' + i)); }

// A toy log: a counter at offset 0, records from 4096 on. Right order:
// record, sync, counter, sync. Wrong: counter, record, one sync.
void appendlog(File& f, int i, bool right) {
  uint8_t counter[4];
  putle32(counter, static_cast<uint32_t>(i + 1));
  const auto put_record = [&] { return f.writeat(kRecords + i * kRecord, record(i).data(), kRecord); };
  ASSERT_TRUE(right ? put_record() == 0 && f.sync() == 0 && f.writeat(0, counter, 4) == 0
                    : f.writeat(0, counter, 4) == 0 && put_record() == 0);
  ASSERT_EQ(f.sync(), 0);
}

// Whether every counted record is whole in the log as materialised.
bool counted_records_whole(const std::string& path) {
  auto bytes = read_all(path);
  if (bytes.size() < 4) return true;
  uint32_t count = getle32(bytes.data());
  for (uint32_t i = 0; i < count; ++i) {
    const size_t at = kRecords + i * kRecord;
    if (bytes.size() < at + kRecord || std::memcmp(&bytes[at], record(static_cast<int>(i)).data(), kRecord) != 0)
      return false;
  }
  return true;
}

TEST(PowerCut, CatchesWritesOutOfOrderAndNothingInTheRightOrder) {
  for (CutMode mode : {CutMode::Pages, CutMode::Sectors}) {
    for (bool right : {false, true}) {
      TempDir dir;
      {
        File f;
        ASSERT_TRUE(f.create("log", Sharing::Exclusive) == 0 && f.writeat(0, nullptr, kRecords) == 0 && f.sync() == 0);
      }
      PowerCut cut;
      File f;
      ASSERT_EQ(f.open("log", Access::ReadWrite, Sharing::Exclusive), 0);
      for (int i = 0; i < 4; ++i) appendlog(f, i, right);
      int damaged = 0, tried = 0;
      for (int64_t at : cut.cutpoints(0, cut.now()))
        for (uint64_t seed = 0; seed < 8; ++seed) {
          fs::create_directory("after");
          cut.materialise(at, seed, mode, "after");
          ++tried;
          if (!counted_records_whole("after/log")) ++damaged;
          fs::remove_all("after");
        }
      EXPECT_EQ(damaged == 0, right)
          << "mode " << static_cast<int>(mode) << ": " << damaged << " of " << tried << " damaged";
    }
  }
}

}  // namespace
}  // namespace quill::test
