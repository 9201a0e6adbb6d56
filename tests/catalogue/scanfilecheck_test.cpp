// Verification of the scan file table: a torn entry and the mark of an album that is gone are
// dropped; a whole entry stays.
#include <gtest/gtest.h>

#include <utility>

#include "catalogue/maintenance.h"
#include "catalogue/scanfiles.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

void append(int kind, int32_t id, int part, const char* text) {
  quill::Rlist cursor(&DB_Table(ScanFileTable));
  cursor.field(F_Kind).set(kind);
  cursor.field(F_FileId).set(static_cast<long>(id));
  cursor.field(F_Part).set(part);
  for (int f = F_FileAlbum; f < F_FileText; ++f) cursor.field(f).set(0);
  cursor.field(F_FileText).set(text);
  ASSERT_EQ(cursor.append(), quill::Ok);
}

class ScanFileCheckTest : public CatalogueTest {};

TEST_F(ScanFileCheckTest, TornEntriesAndMarksOfGoneAlbumsAreDropped) {
  ASSERT_EQ(scanfiles({tagsof("m/a", "1.mp3", "One", "A", "X", "", 1)}), quill::Ok);
  const int32_t whole = DB_Table(ScanFileTable).nlive();
  append(FileEntryKind, 900, 1, "a part 1 without its part 0");
  append(AlbumEntryKind, 12345, 0, "");
  DB_Close();

  VerifySummary readonly;
  ASSERT_EQ(DB_Verify(nullptr, nullptr, VerifyAccess::ReadOnly, &readonly), 0);
  EXPECT_EQ(std::pair(readonly.found, readonly.corrected), std::pair(2, 0));
  VerifySummary repaired;
  ASSERT_EQ(DB_Verify(nullptr, nullptr, VerifyAccess::Repair, &repaired), 0);
  EXPECT_EQ(std::pair(repaired.found, repaired.corrected), std::pair(2, 2));
  ASSERT_EQ(DB_Open(), 0);
  EXPECT_EQ(DB_Table(ScanFileTable).nlive(), whole);
  ScanFiles files;
  ASSERT_EQ(files.load(), quill::Ok);
  ASSERT_NE(files.file("m/a/1.mp3"), nullptr);
  EXPECT_EQ(files.folders(), std::vector<std::string>{"m"});
}

}  // namespace
}  // namespace tracklore::test
