// The quill tool end to end, run as a separate process.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/engine/testutil.h"
#include "tests/tools/run.h"

namespace {

using quill::test::read_all;
using quill::test::TempDir;
using quill::test::write_all;

using tooltest::Whole;

void expect(const std::vector<tooltest::Step>& steps) { tooltest::play(QUILL_PATH, steps); }

void build_albums() {
  std::ofstream("names.txt")
      << "Track 10\t*\t1\nTrack 2\t*\t2\ntrack 1\t \t3\nTrack 12\t*\t4\nBlue Moon\t \t5\n"
             "Track 100\t*\t6\nabba\t*\t7\n";
  ASSERT_NO_FATAL_FAILURE(expect({{"create t"}, {"add-field t C 56 Name"}, {"add-field t X 0 Code"},
                                  {"add-field t C 2 Mark"}, {"add-field t L 0 Aux"}, {"add-tag t ByName Name"},
                                  {"add-tag t ByCode Code"}, {"reindex t"},
                                  {"load t names.txt", 0, "7 records loaded\n", Whole}}));
}

TEST(Quill, BuildFillQueryAndMaintainATable) {
  TempDir dir;
  build_albums();
  expect({{"info t", 0, "reclen    67"},
          {"info t", 0, "hdrlen    186"},
          {"info t", 0, "field 0 (Name) length 56 flags 0x0110"},
          {"list t --tag ByName", 0,
           "6\tabba\t6\t*\t7\n4\tBlue Moon\t4\t \t5\n2\ttrack 1\t2\t \t3\n1\tTrack 2\t1\t*\t2\n"
           "0\tTrack 10\t0\t*\t1\n3\tTrack 12\t3\t*\t4\n5\tTrack 100\t5\t*\t6\n", Whole},
          {"list t --tag ByCode --reverse", 0, "6\tabba\t6\t*\t7\n5\tTrack 100"},
          {"seek t --tag ByName --which last 'Track 1'", 0, "0 (Ok)\t5\tTrack 100\t5\t*\t6\n", Whole},
          {"seek t --tag ByName 'blue'", 0, "0 (Ok)\t4\tBlue Moon\t4\t \t5\n", Whole},
          {"seek t --tag 1 --mode equal 3", 0, "0 (Ok)\t3\tTrack 12\t3\t*\t4\n", Whole},
          {"seek t --tag ByName --mode equal Nothing", 1, "quill: seek: NotFound\n"},
          {"update t 6 Name=Zappa Aux=70"}, {"delete t 1 3"}, {"check t"},
          {"list t --tag ByName", 0,
           "4\tBlue Moon\t4\t \t5\n2\ttrack 1\t2\t \t3\n0\tTrack 10\t0\t*\t1\n5\tTrack 100\t5\t*\t6\n"
           "6\tZappa\t6\t*\t70\n", Whole},
          {"list t --deleted", 0, "3\tTrack 12"},
          // Pack and reindex are the engine's; here only their wiring.
          {"pack t"}, {"reindex t"}});
  // What an interrupted append leaves is noted, not a problem.
  auto db1 = read_all("t.db1");
  db1.resize(db1.size() + 30, 'z');
  write_all("t.db1", db1);
  expect({{"check t", 0, "t: note: 30 bytes past the last counted record"},
          {"tree t ByName", 0, "height 1"},
          {"tree t ByName", 0, "\"Blue Moon\"  -> record 2"},
          {"tree t ByName", 0, "free list:"}});
}

TEST(Quill, TreesOfSeveralLevelsAndErrorsNamingTheCode) {
  TempDir dir;
  std::string lines;
  for (int i = 0; i < 300; ++i) lines += std::to_string((i * 37) % 300) + "\n";
  std::ofstream("n.txt") << lines;
  expect({{"create t --pagesize 64"}, {"add-field t L 0 N"}, {"add-tag t ByN N"}, {"reindex t"}, {"load t n.txt"},
          {"tree t ByN", 0, "level 3"},
          {"tree t ByN", 0, "children:"},
          {"check t"},
          // Errors name the code.
          {"info nothing", 1, "quill: open nothing: DataOpen\n"},
          {"frobnicate", 2}, {"create u"},
          {"add-field u Q 4 Odd", 1, "normalize: invalid type 'Q' supplied for field 'Odd'"},
          {"add-field u Q 4 Odd", 1, "BadParam"},
          {"add-field u L 0 N"},
          {"append u N=abc", 1}, {"append u Nope=1", 1}});
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
      const tooltest::Finished run = tooltest::run(QUILL_PATH, command);
      EXPECT_FALSE(run.signalled) << command << " in round " << round << ": " << run.out << run.err;
    }
  }
}

}  // namespace
