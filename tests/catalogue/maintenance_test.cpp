// Pack and reindex of the whole database: order, progress lines, one percentage, failures.
#include "catalogue/maintenance.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "catalogue/schema.h"
#include "catalogue/tablefiles.h"
#include "catalogue/tableset.h"
#include "engine/maintain.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

namespace fs = std::filesystem;

class MaintenanceTest : public CatalogueTest {
 protected:
  void populate() {
    const std::vector<int32_t> albums = some(TitleTable, 30);
    for (int i = 0; i < 40; ++i)
      ASSERT_EQ(link(i % 2, albums[static_cast<size_t>(i % 30)], add(1 + i % 2, ("Item " + std::to_string(i)).c_str())),
                quill::Ok);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(DB_DeleteArticle(*at(TitleTable, albums[static_cast<size_t>(i)])), quill::Ok);
    for (int t = 0; t < kTables; ++t) ASSERT_GT(DB_Table(t).header().ndeleted, 0) << t;
  }
  ProgressLog log_;
};

// The progress lines of a pass over the tables, in its order.
std::vector<std::string> passlines(const std::string& verb) {
  std::vector<std::string> lines;
  const char* const tables[] = {"albums", "artists", "album artists", "songs",
                                "album songs", "full names", "scanned files"};
  for (int i = 0; i < 7; ++i)
    lines.push_back(verb + " table " + std::to_string(i + 1) + " of 7: " + tables[i]);
  return lines;
}
const std::vector<std::string> kPackLines = passlines("Packing");
const std::vector<std::string> kReindexLines = passlines("Reindexing");

// One percentage runs over all the tables; a table that fails stops the pass there.
TEST_F(MaintenanceTest, OnePercentageRunsOverAllTheTablesAndAFailingTableStopsThePass) {
  DB_Close();
  // Empty tables are shown all the same.
  EXPECT_EQ(DB_Pack(&ProgressLog::callback, &log_), 0);
  EXPECT_EQ(log_.lines(), kPackLines);
  EXPECT_EQ(log_.last(), 0);
  ASSERT_EQ(DB_Reindex(nullptr, nullptr), 0);
  ASSERT_EQ(DB_Open(), 0);
  populate();
  DB_Close();
  log_.calls.clear();
  EXPECT_EQ(DB_Reindex(&ProgressLog::callback, &log_), 0);
  EXPECT_EQ(log_.lines(), kReindexLines);
  EXPECT_TRUE(log_.rising());
  // With the right total the last table ends exactly at 100.
  EXPECT_EQ(log_.last(), 100);
  // The optional tables are empty here: the last table with records is rel002.
  const auto last = std::find_if(log_.calls.begin(), log_.calls.end(),
                                 [](const auto& call) { return call.first == kReindexLines[4]; });
  EXPECT_LT(std::prev(last)->second, 100);

  reports_expected_ = true;  // the one below is the test's only report
  log_.calls.clear();
  quill::set_rename_fault(
      [](const char*, const char* to) { return std::strstr(to, "attr002") != nullptr; });
  EXPECT_EQ(DB_Pack(&ProgressLog::callback, &log_), -1);
  quill::set_rename_fault({});
  EXPECT_EQ(reports_.texts(), std::vector<std::string>{"Operation pack failed on Datafile \"attr002\".\nReturn value: DataCreate."});
  EXPECT_EQ(DB_IsOpen(), 0);
  EXPECT_EQ(log_.lines().back(), kPackLines[3]);
  // Packed before the failure; untouched from it on.
  const char* const order[] = {"maindb", "attr001", "rel001", "attr002", "rel002"};
  for (int i = 0; i < 5; ++i) {
    quill::DataFile table;
    ASSERT_EQ(table.open(order[i], {.readonly = true, .noindex = true}), quill::Ok) << order[i];
    EXPECT_EQ(table.header().ndeleted == 0, i < 3) << order[i];
  }

  log_.calls.clear();
  EXPECT_EQ(DB_Pack(&ProgressLog::callback, &log_), 0);
  EXPECT_TRUE(log_.rising());
  EXPECT_EQ(log_.last(), 100);
  EXPECT_EQ(DB_IsOpen(), 0);
}

// A pass is refused before its first table, nothing packed, when it may not write a table's files,
// when a table is a link (a new file renamed over it would leave the file it leads to stale), or if
// the disk has no room to rebuild one (twice its size), saying how much more is needed.
TEST_F(MaintenanceTest, APassThatCannotReplaceEveryTableIsRefusedBeforeItsFirstTable) {
  populate();
  DB_Close();
  reports_expected_ = true;
  const auto refused = [&](int rc) {
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(log_.text, nullptr);
    quill::DataFile titles;
    ASSERT_EQ(titles.open("maindb", {.readonly = true, .noindex = true}), quill::Ok);
    EXPECT_GT(titles.header().ndeleted, 0);
  };
  fs::permissions(dir_.file("rel002.idx"), fs::perms(0444));
  {
    ModesBindRoot modes;
    refused(DB_Reindex(&ProgressLog::callback, &log_));
    fs::permissions(dir_.file("rel002.idx"), fs::perms(0644));
    fs::permissions(dir_.file("attr001.db1"), fs::perms(0444));
    refused(DB_Pack(&ProgressLog::callback, &log_));
  }
  fs::permissions(dir_.file("attr001.db1"), fs::perms(0644));
  EXPECT_EQ(reports_.texts(), (std::vector<std::string>{
                                 "Operation reindex refused on Datafile \"rel002\".\nThe file rel002.idx cannot be written; nothing was changed.",
                                 "Operation pack refused on Datafile \"attr001\".\nThe file attr001.db1 cannot be written; nothing was changed."}));
  reports_.clear();

  // Room for every table but the largest (the first in the pass's order), which lacks a byte.
  std::string largest;
  int64_t most = 0;
  for (const std::string table : {"maindb", "attr001", "rel001", "attr002", "rel002", "fullname"}) {
    const int64_t twice = 2 * static_cast<int64_t>(fs::file_size(table + ".db1") + fs::file_size(table + ".idx"));
    if (twice > most) std::tie(most, largest) = std::pair(twice, table);
  }
  quill::File::set_free_space([&](const char*) { return most - 1; });
  refused(DB_Pack(&ProgressLog::callback, &log_));
  quill::File::set_free_space({});
  EXPECT_EQ(DB_FailureText(DB_CheckedResult()), "the disk is full: 1 MB more are needed");
  EXPECT_EQ(reports_.texts(),
            std::vector<std::string>{"Operation pack failed on Datafile \"" + largest + "\": the disk is full: 1 MB more are needed."});

  fs::create_directory(dir_.file("elsewhere"));
  fs::rename(dir_.file("attr001.db1"), dir_.file("elsewhere/attr001.db1"));
  fs::create_symlink(dir_.file("elsewhere/attr001.db1"), dir_.file("attr001.db1"));
  refused(DB_Pack(&ProgressLog::callback, &log_));
  EXPECT_TRUE(fs::is_symlink(dir_.file("attr001.db1")));
  EXPECT_NE(reports_.texts().back().find("attr001.db1 is a symbolic link"), std::string::npos);
  // A full disk met afterwards lacks an amount nobody measured.
  quill::File other;
  ASSERT_EQ(other.create("other", quill::Sharing::Exclusive), 0);
  quill::test::RefusedCalls full(quill::File::Call::Write, ENOSPC);
  EXPECT_EQ(other.writeat(0, "x", 1), -1);
  EXPECT_EQ(DB_FailureText(quill::DiskFull), "the disk is full");
}

TEST_F(MaintenanceTest, StrayFilesGoUnlessHeldAndAHeldTableIsNotUnwritable) {
  DB_Close();
  for (const char* name : {"tmp03ab.db1", "tmpf0fzz.idx", "tmp10cqq", "tmp1cqq", "tmp0gab.idx",
                           "tmp00abc.idx", "tmp03ab.txt"})
    std::ofstream(dir_.file(name)) << "x";
  quill::File pass;  // a pass at work in another process
  ASSERT_EQ(pass.create(dir_.file("tmp20eyy.db1").c_str(), quill::Sharing::Exclusive), 0);
  EXPECT_EQ(DB_Reindex(nullptr, nullptr), 0);
  for (const char* gone : {"tmp03ab.db1", "tmpf0fzz.idx", "tmp10cqq"})
    EXPECT_FALSE(fs::exists(dir_.file(gone))) << gone;
  // Held, or not one of the engine's names.
  for (const char* kept : {"tmp20eyy.db1", "tmp1cqq", "tmp0gab.idx", "tmp00abc.idx", "tmp03ab.txt"})
    EXPECT_TRUE(fs::exists(dir_.file(kept))) << kept;

  // Held by another program is not read-only for pack and reindex (they wait), but is for create.
  quill::File holder;
  ASSERT_EQ(holder.open(dir_.file("rel001.db1").c_str(), quill::Access::ReadWrite,
                        quill::Sharing::Exclusive), 0);
  EXPECT_EQ(unwritablefile("rel001", HeldFile::Writable), "");
  EXPECT_EQ(unwritablefile("rel001", HeldFile::Unwritable), "rel001.db1");
  (void)holder.close();
  fs::permissions(dir_.file("rel001.idx"), fs::perms(0444));
  ModesBindRoot modes;
  EXPECT_EQ(unwritablefile("rel001", HeldFile::Writable), "rel001.idx");
}

}  // namespace
}  // namespace tracklore::test
