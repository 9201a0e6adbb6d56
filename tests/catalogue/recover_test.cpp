// Recovery: of itself cut short, of journal entries torn, foreign, lost or of earlier formats, of
// counters and stray files, and its advice when it cannot mend. (Edits cut short: the disk-full's.)
#include "catalogue/recover.h"

#include <filesystem>
#include <fstream>

#include "catalogue/journal.h"
#include "catalogue/maintenance.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"
#include "engine/check.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

namespace fs = std::filesystem;

class RecoverTest : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    makesharedalbums();
    DB_Close();
    savefiles("pristine");
  }
};

// Recovery cut short at any write, even after its pack renumbered the records, is recovered again.
TEST_F(RecoverTest, AnInterruptedRecoveryIsRecoveredAgain) {
  // A deleted row ahead of the album's others, so that the pack renumbers.
  ASSERT_EQ(DB_Open(), 0);
  ASSERT_EQ(unlink(0, first_, 0, PurgeMode::Keep), quill::Ok);
  DB_Close();
  const Snapshot before = snapshot();
  // Every table written, the intent not yet marked done.
  ASSERT_TRUE(runcut([&] { return link(0, first_, artists_[0], 0); }, 2, Counted::Journal));
  savefiles("cut");
  auto recover = [] { return DB_Recover(nullptr, nullptr, nullptr) == 0 ? quill::Ok : quill::GeneralError; };
  const int stride = quill::test::sweepset().stride;
  for (int n = 1;; n += stride) {
    restorefiles("cut");
    const bool cut = runcut(recover, n, Counted::All, false);
    ASSERT_EQ(DB_Recover(nullptr, nullptr, nullptr), 0) << "recovery cut before write " << n;
    ASSERT_EQ(snapshot(), before) << "recovery cut before write " << n;
    if (!cut) break;
  }
}

// A damaged entry is the lost journal's case below.
TEST_F(RecoverTest, TornDamagedOrForeignEntriesAreIgnoredAndAnUnfinishedOneRefusesEdits) {
  auto write = [](const std::vector<uint8_t>& b, size_t n) {
    std::ofstream("maindb.jnl", std::ios::binary).write(reinterpret_cast<const char*>(b.data()), n);
  };
  IntentEntry entry;
  entry.operation = "link";
  entry.counts.push_back({ArtistRows, 0, 0});  // would empty rel001
  // Left by an earlier database of the same name: not this one's.
  write(encodeintent(entry), encodeintent(entry).size());
  EXPECT_FALSE(DB_NeedsRecovery());
  tablescreated(entry.created);
  const std::vector<uint8_t> bytes = encodeintent(entry);
  IntentEntry read;
  write(bytes, bytes.size() - 1);
  EXPECT_FALSE(readintent("maindb.jnl", &read));
  const Snapshot before = snapshot();
  std::vector<std::string> log;
  EXPECT_EQ(DB_Recover(nullptr, nullptr, &log), 0);
  EXPECT_TRUE(log.empty()) << log.front();
  EXPECT_EQ(snapshot(), before);

  // Whole: a new edit must not overwrite what recovery needs.
  write(bytes, bytes.size());
  ASSERT_EQ(DB_Open(), 0);
  EXPECT_EQ(link(0, first_, artists_[3], 0), NeedsRecovery);
  DB_Close();
  EXPECT_EQ(snapshot(), before);
  EXPECT_TRUE(DB_NeedsRecovery());
  ASSERT_EQ(DB_Recover(nullptr, nullptr, &log), 0);
  EXPECT_FALSE(DB_NeedsRecovery());
}

// An edit cut short whose journal entry is then lost: recovery mends but does not call it success.
TEST_F(RecoverTest, AChangeCutShortWithItsJournalLostIsReportedLost) {
  const std::function<void()> losses[] = {
      [] { fs::remove("maindb.jnl"); },
      [] {
        std::fstream journal("maindb.jnl", std::ios::in | std::ios::out | std::ios::binary);
        journal.seekp(13);
        journal.put('?');
      },
  };
  for (const std::function<void()>& lose : losses) {
    restorefiles("pristine");
    ASSERT_TRUE(runcut([&] { return link(0, first_, artists_[3], 0); }, 4));
    lose();
    std::vector<std::string> log;
    EXPECT_EQ(DB_Recover(nullptr, nullptr, &log), -2);
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("an interrupted change could not be undone"), std::string::npos)
        << log.back();
    // Whole again all the same.
    EXPECT_EQ(DB_Recover(nullptr, nullptr, nullptr), 0);
  }
}

// Counters come to agree with the records and stray files go; what recovery cannot mend itself, it
// says how to mend.
TEST_F(RecoverTest, CountersAgreeStrayFilesGoAndWhatCannotBeMendedIsExplained) {
  // A torn append past the counted records (legal; recovery drops it), a deleted count one off.
  std::ofstream("rel001.db1", std::ios::binary | std::ios::app).write("partial", 7);
  {
    std::fstream f("attr002.db1", std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(12);
    const char one[4] = {1, 0, 0, 0};
    f.write(one, 4);
  }
  std::ofstream("tmp203ab.idx") << "left by a pack";
  std::vector<std::string> problems;
  ASSERT_EQ(quill::checktable("rel001", &problems), 0);
  ASSERT_NE(quill::checktable("attr002", &problems), 0);

  std::vector<std::string> log;
  EXPECT_EQ(DB_Recover(nullptr, nullptr, &log), 0);
  EXPECT_FALSE(fs::exists("tmp203ab.idx"));
  EXPECT_EQ(log, (std::vector<std::string>{"attr002: deleted-record count 1 set to 0", "reindexed attr002",
                                           "rel001: dropped an unfinished append past the last counted record",
                                           "reindexed rel001", "removed the temporary file tmp203ab.idx"}));
  // Every table's integrity check comes first; a question fails the test.
  EXPECT_EQ(DB_Verify(nullptr, nullptr), 0);

  {
    // The first song's status byte, neither live nor deleted.
    std::fstream f("attr002.db1", std::ios::binary | std::ios::in | std::ios::out);
    uint8_t head[36];
    f.read(reinterpret_cast<char*>(head), sizeof head);
    f.seekp(quill::getle32(head + 28) + quill::getle16(head + 34) - 1);
    f.put('X');
  }
  std::string advice;
  EXPECT_EQ(DB_Recover(nullptr, nullptr, &log, &advice), -1);
  EXPECT_NE(advice.find("pack the database"), std::string::npos) << advice;
  ASSERT_EQ(DB_Pack(nullptr, nullptr), 0);
  ASSERT_EQ(DB_Reindex(nullptr, nullptr), 0);
  EXPECT_EQ(DB_Recover(nullptr, nullptr, nullptr), 0);

  reports_expected_ = true;
  fs::rename("rel001.db1", "elsewhere.db1");
  EXPECT_EQ(DB_Recover(nullptr, nullptr, &log, &advice), -1);
  EXPECT_EQ(advice.rfind("Put the missing file back", 0), 0u) << advice;
}

// An entry as an earlier version wrote it: its first `times` creation times, magic digit `version`.
std::vector<uint8_t> olderentry(const IntentEntry& entry, int times, char version) {
  std::vector<uint8_t> bytes = encodeintent(entry);
  const size_t first = 12 + 1 + entry.operation.size() + static_cast<size_t>(times) * 4;
  bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(first),
              bytes.begin() + static_cast<std::ptrdiff_t>(12 + 1 + entry.operation.size() + kAllTables * 4));
  bytes[3] = static_cast<uint8_t>(version);
  const uint32_t length = static_cast<uint32_t>(bytes.size() - 12);
  quill::putle32(bytes.data() + 4, length);
  quill::putle32(bytes.data() + 8, crc32(bytes.data() + 12, length));
  return bytes;
}

// A journal left by the version before the name table, on a database of five tables, is still this
// database's to undo after the writable open that added the name table; one of the version before
// the scan file table is read with that table's creation time 0.
TEST_F(RecoverTest, EntriesOfEarlierFormatsAreReadAndUndone) {
  for (const char* ext : {".db1", ".idx"}) ASSERT_TRUE(fs::remove(std::string("fullname") + ext));
  const Snapshot before = snapshot();
  ASSERT_EQ(DB_Open({.readonly = true}), 0);
  IntentEntry entry;
  entry.operation = "link";
  tablescreated(entry.created);
  ASSERT_EQ(entry.created[NameTable], 0);
  // Takes back a row appended after the entry was written.
  quill::DataFile& songrows = DB_Table(SongRows);
  entry.counts.push_back({SongRows, songrows.nrecs(), songrows.header().ndeleted});
  DB_Close();
  IntentEntry read, six = entry;
  for (int t = 0; t < kAllTables; ++t) six.created[t] = 100 + t;
  const std::vector<uint8_t> sixbytes = olderentry(six, 6, '2');
  ASSERT_TRUE(decodeintent(sixbytes.data(), sixbytes.size(), &read));
  EXPECT_EQ(std::pair(read.created[NameTable], read.created[ScanFileTable]),
            std::pair(100 + NameTable, 0));
  ASSERT_EQ(read.counts.size(), 1u);
  EXPECT_EQ(read.counts[0].nrecs, entry.counts[0].nrecs);
  // As the version before the name table wrote it: magic "TLJ1", five creation times.
  const std::vector<uint8_t> bytes = olderentry(entry, 5, '1');
  std::ofstream("maindb.jnl", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));

  ASSERT_EQ(DB_Open(), 0);
  EXPECT_TRUE(DB_Table(NameTable).isopen());
  // An append of the interrupted edit, written behind the journal's back.
  rawrow(1, second_, 2, songs_[1]);
  DB_Close();
  EXPECT_TRUE(DB_NeedsRecovery());
  std::vector<std::string> log;
  ASSERT_EQ(DB_Recover(nullptr, nullptr, &log), 0);
  EXPECT_EQ(log.at(0), "undid an unfinished link (0 records put back)");
  EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace tracklore::test
