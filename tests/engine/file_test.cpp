#include "engine/file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/engine/testutil.h"

namespace quill {
namespace {

using namespace test;
using FileSharing = InTempDir;

TEST(File, OpensCreatesReadsExactlyWritesZerosStopsBelowTwoGiBRefusesWrites) {
  TempDir dir;
  File f;
  EXPECT_EQ(f.open("data", Access::ReadWrite, Sharing::Shared), -1);
  ASSERT_EQ(f.create("data", Sharing::Exclusive), 0);
  // A second open or create on an open File fails and leaves it alone.
  EXPECT_EQ(f.create("other", Sharing::Shared), -1);
  ASSERT_EQ(f.writeat(0, "0123456789", 10), 0);
  char buf[24];
  EXPECT_EQ(f.readat(0, buf, 24), -1);  // only 10 are there
  EXPECT_EQ(f.readupto(6, buf, 24), 4);
  ASSERT_EQ(f.writeat(4, nullptr, 12), 0);  // overwrites 6 and extends by 6
  EXPECT_EQ(f.size(), 16);
  ASSERT_EQ(f.readat(0, buf, 16), 0);
  EXPECT_EQ(std::string(buf, 16), std::string("0123") + std::string(12, '\0'));
  EXPECT_EQ(f.readat(-1, buf, 1), -1);
  // Positions stop below 2 GiB.
  EXPECT_EQ(f.writeat(INT32_MAX - 2, "abcd", 4), -1);  // would reach 2 GiB
  EXPECT_EQ(f.writeat(INT32_MAX - 2, "ab", 2), 0);     // ends just below
  // Writes are refused when read-only or closed.
  ASSERT_EQ(File::createnew("ro"), 0);
  test::CapturedReports reports;
  File ro;
  ASSERT_EQ(ro.open("ro", Access::ReadOnly, Sharing::Exclusive), 0);
  EXPECT_EQ(ro.writeat(0, "x", 1), -1);
  EXPECT_EQ(File().writeat(0, "x", 1), -1);
  EXPECT_EQ(reports.texts(), (std::vector<std::string>{
                                 "File::write: write failed (file 'ro' opened as readonly)\n",
                                 "File::write: write failed (file '' not opened)\n"}));
}

// An exclusive holder keeps every other opener out, in this process too, and nobody truncates
// it; shared openers coexist but keep exclusive ones and truncation out.
TEST_F(FileSharing, ExclusiveKeepsEveryoneOutSharedOnlyExclusiveOnes) {
  for (Sharing held : {Sharing::Exclusive, Sharing::Shared}) {
    File f;
    ASSERT_EQ(f.create("table", held), 0);
    ASSERT_EQ(f.writeat(0, "data", 4), 0);
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

// A waiter gets the range once it is given back (whenever it began to wait).
TEST_F(FileSharing, RangeLocksConflictWaitersAreReleasedWholeFileLocksKeepTheirLength) {
  {
    File f;
    ASSERT_EQ(f.create("table", Sharing::Shared), 0);
    ASSERT_EQ(f.writeat(0, nullptr, 100), 0);
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
  ASSERT_EQ(f.unlock(0, 56), 0);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_EQ(status, 0);  // exited, and with 0
  close(ready[0]), close(ready[1]);
  // A whole-file lock remembers the length it locked.
  File g;
  ASSERT_EQ(g.create("grow", Sharing::Shared), 0);
  ASSERT_EQ(g.writeat(0, "0123456789", 10), 0);
  EXPECT_EQ(g.lock(LockMode::None, 0, 0, Wait::No), 0);
  ASSERT_EQ(g.lock(LockMode::Shared, 0, 0, Wait::Yes), 0);  // bytes 0-9
  ASSERT_EQ(g.writeat(10, "more", 4), 0);
  ASSERT_EQ(g.unlock(0, 0), 0);      // releases 0-9, not 0-13
  // Another handle may now lock the whole grown file exclusively.
  File other;
  ASSERT_EQ(other.open("grow", Access::ReadWrite, Sharing::Shared), 0);
  EXPECT_EQ(other.lock(LockMode::Exclusive, 0, 0, Wait::No), 0);
  EXPECT_EQ(other.unlock(0, 0), 0);
}

}  // namespace
}  // namespace quill
