// The quill tool end to end, run as a separate process.
#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <random>
#include <string>

#include "tests/engine/testutil.h"
#include "tests/tools/run.h"

namespace {

using quill::test::read_all;
using quill::test::TempDir;
using quill::test::write_all;

using Outcome = tooltest::Finished;

// Its out holds what the tool wrote to standard output and error together.
Outcome quill(const std::string& args) {
  return tooltest::runshell("timeout 20 " QUILL_PATH " " + args + " 2>&1");
}

// A refusal: status 1 and the tool's one line naming the error code.
void expect_refused(const std::string& args, const std::string& line) {
  Outcome run = quill(args);
  EXPECT_EQ(run.status, 1) << args;
  EXPECT_EQ(run.out, line) << args;
}

// Commands that must succeed, in order.
void succeed(std::initializer_list<const char*> commands) {
  for (const char* command : commands) ASSERT_EQ(quill(command).status, 0) << command;
}

void build_albums() {
  succeed({"create t", "add-field t C 56 Name", "add-field t X 0 Code", "add-field t C 2 Mark",
           "add-field t L 0 Aux", "add-tag t ByName Name", "add-tag t ByCode Code", "reindex t"});
  std::ofstream("names.txt")
      << "Track 10\t*\t1\nTrack 2\t*\t2\ntrack 1\t \t3\nTrack 12\t*\t4\nBlue Moon\t \t5\n"
             "Track 100\t*\t6\nabba\t*\t7\n";
  Outcome load = quill("load t names.txt");
  ASSERT_EQ(load.status, 0) << load.out;
  EXPECT_EQ(load.out, "7 records loaded\n");
}

TEST(Quill, BuildFillQueryAndMaintainATable) {
  TempDir dir;
  build_albums();
  Outcome info = quill("info t");
  for (const char* line :
       {"reclen    67", "hdrlen    186", "field 0 (Name) length 56 flags 0x0110"})
    EXPECT_NE(info.out.find(line), std::string::npos) << info.out;

  Outcome list = quill("list t --tag ByName");
  EXPECT_EQ(list.out,
            "6\tabba\t6\t*\t7\n4\tBlue Moon\t4\t \t5\n2\ttrack 1\t2\t \t3\n1\tTrack 2\t1\t*\t2\n"
            "0\tTrack 10\t0\t*\t1\n3\tTrack 12\t3\t*\t4\n5\tTrack 100\t5\t*\t6\n");
  EXPECT_EQ(quill("list t --tag ByCode --reverse").out.substr(0, 12), "6\tabba\t6\t*\t7");

  EXPECT_EQ(quill("seek t --tag ByName --which last 'Track 1'").out, "0 (Ok)\t5\tTrack 100\t5\t*\t6\n");
  EXPECT_EQ(quill("seek t --tag ByName 'blue'").out, "0 (Ok)\t4\tBlue Moon\t4\t \t5\n");
  EXPECT_EQ(quill("seek t --tag 1 --mode equal 3").out, "0 (Ok)\t3\tTrack 12\t3\t*\t4\n");
  expect_refused("seek t --tag ByName --mode equal Nothing", "quill: seek: NotFound\n");

  ASSERT_NO_FATAL_FAILURE(succeed({"update t 6 Name=Zappa Aux=70", "delete t 1 3"}));
  Outcome check = quill("check t");
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_EQ(quill("list t --tag ByName").out,
            "4\tBlue Moon\t4\t \t5\n2\ttrack 1\t2\t \t3\n0\tTrack 10\t0\t*\t1\n5\tTrack 100\t5\t*\t6\n"
            "6\tZappa\t6\t*\t70\n");
  EXPECT_NE(quill("list t --deleted").out.find("3\tTrack 12"), std::string::npos);

  // Pack and reindex are the engine's; here only their wiring.
  ASSERT_NO_FATAL_FAILURE(succeed({"pack t", "reindex t"}));
  // What an interrupted append leaves is noted, not a problem.
  auto db1 = read_all("t.db1");
  db1.resize(db1.size() + 30, 'z');
  write_all("t.db1", db1);
  Outcome noted = quill("check t");
  EXPECT_EQ(noted.status, 0) << noted.out;
  EXPECT_NE(noted.out.find("t: note: 30 bytes past the last counted record"), std::string::npos)
      << noted.out;

  Outcome tree = quill("tree t ByName");
  EXPECT_EQ(tree.status, 0) << tree.out;
  for (const char* part : {"height 1", "\"Blue Moon\"  -> record 2", "free list:"})
    EXPECT_NE(tree.out.find(part), std::string::npos) << tree.out;
}

TEST(Quill, TreesOfSeveralLevelsAndErrorsNamingTheCode) {
  TempDir dir;
  ASSERT_NO_FATAL_FAILURE(
      succeed({"create t --pagesize 64", "add-field t L 0 N", "add-tag t ByN N", "reindex t"}));
  std::string lines;
  for (int i = 0; i < 300; ++i) lines += std::to_string((i * 37) % 300) + "\n";
  std::ofstream("n.txt") << lines;
  ASSERT_EQ(quill("load t n.txt").status, 0);
  Outcome tree = quill("tree t ByN");
  EXPECT_EQ(tree.status, 0);
  EXPECT_NE(tree.out.find("level 3"), std::string::npos) << tree.out.substr(0, 400);
  EXPECT_NE(tree.out.find("children:"), std::string::npos);
  EXPECT_EQ(quill("check t").status, 0);

  // Errors name the code.
  expect_refused("info nothing", "quill: open nothing: DataOpen\n");
  EXPECT_EQ(quill("frobnicate").status, 2);
  ASSERT_EQ(quill("create u").status, 0);
  Outcome bad = quill("add-field u Q 4 Odd");
  EXPECT_EQ(bad.status, 1);
  for (const char* part : {"normalize: invalid type 'Q' supplied for field 'Odd'", "BadParam"})
    EXPECT_NE(bad.out.find(part), std::string::npos) << bad.out;
  ASSERT_EQ(quill("add-field u L 0 N").status, 0);
  EXPECT_EQ(quill("append u N=abc").status, 1);
  EXPECT_EQ(quill("append u Nope=1").status, 1);
}

// Damaged files give clear errors or reported problems, never a crash or a hang.
TEST(Quill, DamagedFilesNeverCrash) {
  TempDir dir;
  build_albums();
  const auto db1 = read_all("t.db1");
  const auto idx = read_all("t.idx");
  std::mt19937 random(7);
  for (int round = 0; round < 60; ++round) {
    auto d = db1;
    auto x = idx;
    auto& target = round % 2 ? x : d;
    int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) target[random() % target.size()] = static_cast<unsigned char>(random());
    if (round % 7 == 0) target.resize(random() % target.size());
    write_all("t.db1", d);
    write_all("t.idx", x);
    for (const char* command : {"check t", "list t --tag ByName", "tree t ByName", "seek t --tag 0 T"}) {
      Outcome run = quill(command);
      EXPECT_FALSE(run.signalled) << command << " in round " << round << ": " << run.out;
    }
  }
}

}  // namespace
