// Creating a database: the tables byte for byte, the dialog, the name rules, the question, failures.

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "catalogue/maintenance.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/datafile.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

namespace fs = std::filesystem;

// No database to begin with; any engine report fails the test unless expected.
class CreateTest : public CatalogueTest {
 protected:
  void SetUp() override {
    DB_Close();
    (void)DB_SetMainName("maindb");
  }
  size_t files() const {
    return static_cast<size_t>(std::ranges::distance(fs::directory_iterator(dir_.path())));
  }
};

// Every table's fields, lengths and tags (whole fields without flags); creation time set aside.
const char* const kTitles =
    "45420200000000000000000000000000000000000200000010000004ba0000000400430001000000ba000000"
    "0000000000000000020002004e616d6500000000000000000000000043003800436f64650000000000000000"
    "00000000580004004f4b5f6669656c640000000000000000430002004175785f617474720000000000000000"
    "4c0004004e616d650000000000000000000000000100000000000000436f6465000000000000000000000000"
    "01000100000000000d0a";
// The attribute tables differ only in the name's length.
const char* const kArtists =
    "45420200000000000000000000000000000000000200000010000004a600000003003c0001000000a6000000"
    "0000000000000000020002004e616d6500000000000000000000000043003300436f64650000000000000000"
    "00000000580004005265665f636f756e74000000000000004c0004004e616d65000000000000000000000000"
    "0100000000000000436f646500000000000000000000000001000100000000000d0a";
const char* const kSongs =
    "45420200000000000000000000000000000000000200000010000004a60000000300460001000000a6000000"
    "0000000000000000020002004e616d6500000000000000000000000043003d00436f64650000000000000000"
    "00000000580004005265665f636f756e74000000000000004c0004004e616d65000000000000000000000000"
    "0100000000000000436f646500000000000000000000000001000100000000000d0a";
const char* const kRelations =
    "45420200000000000000000000000000000000000200000010000004ac00000003000b0001000000ac000000"
    "0000000000000000020003005469746c6500000000000000000000004c000400536571000000000000000000"
    "0000000053000200417474720000000000000000000000004c0004005469742b536571000000000000000000"
    "02000000000000000100000000004174747200000000000000000000000001000200000000000d0a";

TEST_F(CreateTest, KeepingTheProposalMakesTheDatabaseThere) {
  host_.choose(dir_.file("maindb.db1"));
  EXPECT_EQ(DB_Create(), 0);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0].described(),
            (std::vector<std::string>{"save", "Choose directory where database will be created",
                                      "Database main files (*.db1)|*.db1||", "db1", "maindb.db1"}));
  const std::pair<const char*, const char*> golden[] = {
      {"maindb", kTitles}, {"attr001", kArtists}, {"attr002", kSongs}, {"rel001", kRelations}, {"rel002", kRelations}};
  for (const auto& [name, bytes] : golden) {
    std::vector<unsigned char> b = quill::test::read_all(dir_.file(std::string(name) + ".db1"));
    ASSERT_GE(b.size(), 20u) << name;
    std::fill(b.begin() + 16, b.begin() + 20, 0);
    EXPECT_EQ(quill::test::hex(b), bytes) << name;
  }
  // The five tables and the two optional ones, two files (data and index) each.
  EXPECT_EQ(files(), 14u);
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_EQ(host_.waitshown, 1);
  EXPECT_EQ(DB_IsOpen(), 0);  // left for the shell to open
}

// The usual main name whatever was in force; a folder it cannot enter is refused.
TEST_F(CreateTest, CreationInAGivenFolderAsksNothingAndUsesTheUsualName) {
  (void)DB_SetMainName("music");
  fs::create_directory(dir_.file("Tracklore"));
  EXPECT_EQ(DB_CreateIn(dir_.file("Tracklore")), 0);
  EXPECT_TRUE(host_.dialogs.empty());
  EXPECT_STREQ(DB_MainName(), "maindb");
  EXPECT_EQ(fs::current_path(), fs::path(dir_.file("Tracklore")));
  reports_expected_ = true;
  EXPECT_EQ(DB_CreateIn(dir_.file("missing")), -1);
  EXPECT_NE(reports_.text().find("the folder " + dir_.file("missing") + " cannot be entered"),
            std::string::npos);
  EXPECT_EQ(fs::current_path(), fs::path(dir_.file("Tracklore")));
}

// Cancelled, an extension other than exactly ".db1", a title too long, a fixed table's name (the
// main table would be made and then overwritten): refused before anything is written or asked.
TEST_F(CreateTest, RefusedChoicesChangeNothing) {
  host_.choose(std::nullopt);
  for (const char* name : {"music.DB1", "music", "music.db", "attr001.db1", "REL002.db1"})
    host_.choose(dir_.file(name));
  host_.choose(dir_.file(std::string(128, 'a') + ".db1"));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(DB_Create(), -1) << i;
  EXPECT_EQ(files(), 0u);
  EXPECT_EQ(host_.waitshown, 0);
  EXPECT_STREQ(DB_MainName(), "maindb");
  EXPECT_TRUE(host_.messages.empty());
  // Only the name too long is told; its words are proved where opening asks.
  EXPECT_EQ(reports_.texts().size(), 1u);
  reports_.clear();
  // 127 characters still fit.
  const std::string fits(127, 'b');
  host_.choose(dir_.file(fits + ".db1"));
  EXPECT_EQ(DB_Create(), 0);
  EXPECT_EQ(std::string(DB_MainName()), fits);
}

TEST_F(CreateTest, AnyDataFileInTheDirectoryRaisesTheQuestion) {
  std::ofstream(dir_.file("unrelated.DB1")) << "x";
  host_.choose(dir_.file("music.db1"));
  host_.answer(Answer::Cancel);
  EXPECT_EQ(DB_Create(), -1);
  EXPECT_EQ(host_.messages,
            (std::vector<ScriptedHost::Message>{
                {"A database (or remains thereof) already seems to exist in this directory.\n"
                 "If you go ahead and create a new database, the current one will be overwritten.\n"
                 "Are you sure you want to proceed?",
                 "Create database", Buttons::OKCancel, Icon::Question}}));
  // Declined: nothing written, but the name is already taken.
  EXPECT_EQ(files(), 1u);
  EXPECT_STREQ(DB_MainName(), "music");

  host_.choose(dir_.file("music.db1"));
  host_.answer(Answer::OK);
  EXPECT_EQ(DB_Create(), 0);
  EXPECT_EQ(files(), 15u);
}

TEST_F(CreateTest, ATableThatCannotBeMadeStopsCreationBeforeAnythingChanges) {
  reports_expected_ = true;
  host_.choose(dir_.file("maindb.db1"));
  ASSERT_EQ(DB_Create(), 0);
  ASSERT_EQ(DB_Open(), 0);
  add(TitleTable, "Kept");
  DB_Close();
  // Another holder of rel001 keeps it from being made again.
  quill::File holder;
  ASSERT_EQ(holder.open(dir_.file("rel001.db1").c_str(), quill::Access::ReadWrite,
                        quill::Sharing::Exclusive), 0);
  host_.choose(dir_.file("maindb.db1"));
  host_.answer(Answer::OK);
  EXPECT_EQ(DB_Create(), -1);
  (void)holder.close();
  EXPECT_EQ(reports_.texts(),
            (std::vector<std::string>{"Operation create failed on Datafile \"rel001\".\nThe file "
                                      "rel001.db1 cannot be written; nothing was changed."}));
  ASSERT_EQ(DB_Open(), 0);
  EXPECT_EQ(DB_Table(TitleTable).nlive(), 1);
}

TEST_F(CreateTest, AStepThatFailsAllTheSameNamesTheTablesReplaced) {
  reports_expected_ = true;
  host_.choose(dir_.file("maindb.db1"));
  EXPECT_EQ(withfailingwrites("rel001.db1", [] { return DB_Create(); }), -1);
  ASSERT_EQ(reports_.texts().size(), 2u);
  EXPECT_EQ(reports_.texts()[1],
            "Creation stopped at table \"rel001\", which is unfinished.\nReplaced by new empty "
            "tables: maindb, attr001.\nLeft as they were: attr002, rel002, fullname, scanfile.");
}

}  // namespace
}  // namespace tracklore::test
