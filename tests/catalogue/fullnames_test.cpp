// Full names in the name table; a database made without that table opens as before and gets it.
#include "catalogue/fullnames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/maintenance.h"
#include "catalogue/nametable.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

namespace fs = std::filesystem;

std::string times(int n, const std::string& piece) { return n == 0 ? "" : piece + times(n - 1, piece); }

class FullNamesTest : public CatalogueTest {
 protected:
  size_t entries(int kind, int32_t code) {
    std::vector<int32_t> recnos;
    EXPECT_EQ(DB_NameEntries(kindoftable(kind), code, &recnos), quill::Ok);
    return recnos.size();
  }
  std::string shown(int kind, int32_t code) { return DB_CurrentFullName(*at(kind, code), kindoftable(kind)); }
};

// Renames, a reopen and names of one entry (or none) are the model tests'; here the cuts between
// parts.
TEST_F(FullNamesTest, LongNamesComeBackWholeInPartsCutBetweenCharacters) {
  struct Case { int kind; std::string name; size_t parts; /* entries of at most 120 bytes */ };
  const std::vector<Case> cases = {
      {SongTable, times(255, "é"), 5},  // 510 bytes
      {SongTable, times(255, "語"), 7},  // 765 bytes, 40 characters a part
      // 763 bytes: a part of 120 bytes would end inside the 40th euro sign.
      {SongTable, "a" + times(254, "€"), 7},
      {TitleTable, times(255, "🎉"), 9},  // stored as the stand-in
  };
  for (const Case& c : cases) {
    const int32_t code = add(c.kind, c.name.c_str());
    EXPECT_EQ(shown(c.kind, code), c.name);
    EXPECT_EQ(entries(c.kind, code), c.parts) << c.name;
  }
  // Every entry is whole and needed: verification finds nothing (a question would fail the test).
  DB_Close();
  EXPECT_EQ(DB_Verify(nullptr, nullptr), 0);
}

// A database of five tables opens as before and gets its name table only when held for writing
// where a new file can be made.
TEST_F(FullNamesTest, ADatabaseOfFiveTablesGetsItsNameTableWhenHeldForWriting) {
  const int32_t plain = add(ArtistTable, "Plain");
  DB_Close();
  for (const char* ext : {".db1", ".idx"}) ASSERT_TRUE(fs::remove(dir_.file(std::string("fullname") + ext)));
  // Shared, another program may hold it too: nothing is added, and a name that would need an entry
  // keeps its stored form alone.
  ASSERT_EQ(DB_Open({.shared = true}), 0);
  EXPECT_FALSE(DB_Table(NameTable).isopen());
  EXPECT_EQ(shown(ArtistTable, plain), "Plain");
  const int32_t shared = add(ArtistTable, "Мумий Тролль");
  EXPECT_EQ(shown(ArtistTable, shared), "Mumij Troll'");
  DB_Close();
  EXPECT_FALSE(DB_NameTableThere());

  // In a directory that takes no new file it still opens for writing, says so, and keeps stored
  // names only.
  reports_expected_ = true;
  fs::permissions(dir_.path(), fs::perms(0555));
  {
    ModesBindRoot modes;
    EXPECT_EQ(DB_Open(), 0);
  }
  fs::permissions(dir_.path(), fs::perms(0755));
  ASSERT_EQ(reports_.texts().size(), 1u);
  EXPECT_NE(reports_.texts()[0].find("Names are kept in their stored form only"), std::string::npos);
  EXPECT_FALSE(DB_Table(NameTable).isopen());
  EXPECT_EQ(shown(ArtistTable, add(ArtistTable, "Мумий Тролль")), "Mumij Troll'");
  EXPECT_FALSE(fs::exists(dir_.file(std::string(kNewNameTable) + ".db1")));
  DB_Close();

  ASSERT_EQ(DB_Open(), 0);
  ASSERT_TRUE(DB_Table(NameTable).isopen());
  const int32_t full = add(ArtistTable, "Мумий Тролль");
  EXPECT_EQ(shown(ArtistTable, full), "Мумий Тролль");
  DB_Close();
  EXPECT_FALSE(fs::exists(dir_.file(std::string(kNewNameTable) + ".db1")));
  EXPECT_EQ(DB_Verify(nullptr, nullptr), 0);
  EXPECT_EQ(reports_.texts().size(), 1u);
}

}  // namespace
}  // namespace tracklore::test
