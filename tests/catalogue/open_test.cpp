// Opening and closing: the file choice, the failure report, all or nothing, the list over a table.

#include <filesystem>

#include "catalogue/browse.h"
#include "catalogue/maintenance.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/datafile.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

namespace fs = std::filesystem;

class OpenTest : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    DB_Close();
    reports_.clear();
    reports_expected_ = true;  // each test checks them itself
  }
  void copytable(const std::string& from, const std::string& to) {
    for (const char* ext : {".db1", ".idx"})
      fs::copy_file(dir_.file(from + ext), dir_.file(to + ext), fs::copy_options::overwrite_existing);
  }
  static bool anyopen() {
    for (int i = 0; i < kTables; ++i) if (DB_Table(i).isopen()) return true;
    return false;
  }
};

// A missing table or index, or a table of another shape, is reported by name; nothing stays open.
TEST_F(OpenTest, AMissingOrMisshapenTableIsReportedByNameAndNothingStaysOpen) {
  copytable("maindb", "saved");
  copytable("attr002", "songs");
  // A table made anew under the main table's name, as any tool can.
  ASSERT_EQ(quill::DataFile::create("maindb"), quill::Ok);
  EXPECT_EQ(DB_Open(), -1);
  EXPECT_FALSE(anyopen());
  copytable("saved", "maindb");
  // The artist table in the song table's place: only a length differs.
  copytable("attr001", "attr002");
  EXPECT_EQ(DB_Reindex(nullptr, nullptr), -1);
  copytable("songs", "attr002");
  // The last table: the four before it are opened, then closed again.
  fs::rename(dir_.file("rel002.db1"), dir_.file("saved.db1"));
  EXPECT_EQ(DB_Open(), -1);
  EXPECT_FALSE(anyopen());
  fs::rename(dir_.file("saved.db1"), dir_.file("rel002.db1"));
  fs::remove(dir_.file("attr001.idx"));
  EXPECT_EQ(DB_Open(), -1);
  EXPECT_EQ(reports_.texts(),
            (std::vector<std::string>{
                "Operation open failed on Datafile \"maindb\".\nIt is not a table of a music "
                "database: it has 0 fields, not 4.",
                "Operation open failed on Datafile \"attr002\".\nIt is not a table of a music "
                "database: field 0 is Name C 51, not Name C 61.",
                "Operation open failed on Datafile \"rel002\": its file rel002.db1 is missing.",
                "Operation open failed on Datafile \"attr001\".\nReturn value: IndexOpen."}));
  EXPECT_EQ(DB_IsOpen(), 0);
  EXPECT_FALSE(anyopen());
  // Without indexes (as pack and reindex open it) the table is usable.
  EXPECT_EQ(DB_Open({.readonly = true, .noindex = true}), 0);
}

// A held table is waited for, with a word after the first second, then named as in use.
TEST_F(OpenTest, ATableHeldByAnotherOpenerIsWaitedForThenReportedAsInUse) {
  quill::File holder;
  ASSERT_EQ(holder.open(dir_.file("attr002.db1").c_str(), quill::Access::ReadOnly,
                        quill::Sharing::Exclusive), 0);
  EXPECT_EQ(DB_Open({.readonly = true}), -1);
  EXPECT_EQ(reports_.texts(), std::vector<std::string>{"Another program is using the database (table \"attr002\" is "
                                                       "held).\nTry again when it has finished."});
  EXPECT_EQ(host_.statuses.size(), 1u);
  EXPECT_FALSE(anyopen());

  // The holder lets go while the open waits for it (at its word).
  host_.onstatus = [&] { (void)holder.close(); };
  EXPECT_EQ(DB_Open({.readonly = true}), 0);
  host_.onstatus = nullptr;
}

// A file this user may only read is no file in use: the open names it at once, without a wait.
TEST_F(OpenTest, AFileThatMayNotBeWrittenOrReadIsNamedAtOnce) {
  fs::permissions(dir_.file("maindb.db1"), fs::perms(0444));
  fs::permissions(dir_.file("attr002.idx"), fs::perms(0));
  ModesBindRoot modes;
  EXPECT_EQ(DB_Open(), -1);
  EXPECT_EQ(DB_OpenRefusal(), Refusal::NotAllowed);
  EXPECT_EQ(DB_Open(kReadBeside), -1);
  EXPECT_EQ(DB_OpenRefusal(), Refusal::NotAllowed);
  EXPECT_EQ(reports_.texts(),
            (std::vector<std::string>{
                "Operation open failed on Datafile \"maindb\".\nThe file maindb.db1 cannot be "
                "written (Permission denied); nothing was changed. The database can still be "
                "opened for reading.",
                "Operation open failed on Datafile \"attr002\".\nThe file attr002.idx cannot be "
                "read (Permission denied)."}));
  EXPECT_TRUE(host_.statuses.empty());
}

TEST_F(OpenTest, AskingShowsTheDialogAndTakesTheTitleInAnyCaseRefusedChoicesChangeNothing) {
  fs::create_directory(dir_.file("other"));
  // The rules of a name are creation's test's; only those an open reports here.
  host_.choose(std::nullopt);
  host_.choose(dir_.file("other/x.txt"));
  host_.choose(dir_.file("other/" + std::string(128, 'n') + ".db1"));
  host_.choose(dir_.file("other/.db1"));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(DB_Open({}, MainFile::Ask), -1) << i;
  EXPECT_STREQ(DB_MainName(), "maindb");
  EXPECT_EQ(fs::current_path(), fs::path(dir_.path()));
  // Only the name too long says why: the user sees nothing wrong with it.
  EXPECT_EQ(reports_.texts(),
            (std::vector<std::string>{"The main file name \"" + std::string(128, 'n') +
                                      "\" is longer than the 127 characters a database's main file "
                                      "name can have: rename its files, or choose a shorter name."}));
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_FALSE(anyopen());

  // Made under an upper-case name, chosen with an upper-case extension.
  host_.choose(dir_.file("other/MAINDB.db1"));
  ASSERT_EQ(DB_Create(), 0);
  fs::current_path(dir_.path());
  (void)DB_SetMainName("maindb");

  host_.choose(dir_.file("other/MAINDB.DB1"));
  EXPECT_EQ(DB_Open({}, MainFile::Ask), 0);
  ASSERT_EQ(host_.dialogs.size(), 6u);
  EXPECT_EQ(host_.dialogs.back().described(),
            (std::vector<std::string>{"open", "Choose database main file",
                                      "Database main files (maindb.db1)|maindb.db1|All Files (*.*)|*.*||", "",
                                      "maindb.db1"}));
  EXPECT_STREQ(DB_MainName(), "MAINDB");
  EXPECT_EQ(fs::current_path(), fs::path(dir_.file("other")));
  EXPECT_EQ(DB_Table(TitleTable).base(), "MAINDB");
}

TEST_F(OpenTest, FullTableRefusesToSeekWithoutAnOrder) {
  ASSERT_EQ(DB_Open(), 0);
  for (const char* name : {"cherry", "apple", "banana"}) add(ArtistTable, name);
  FullTable artists(DB_Table(ArtistTable));
  // Refused instead of ending the process.
  const uint8_t key[] = {'B', 0};
  EXPECT_EQ(artists.seek(key, 2, quill::SeekMode::Prefix, quill::SeekWhich::First), quill::BadParam);
}

}  // namespace
}  // namespace tracklore::test
