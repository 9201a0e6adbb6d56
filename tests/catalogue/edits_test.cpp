// The edits: numbering, reference counts, first artists, purging, moves, and the whole-record
// rules.
#include "catalogue/edits.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/batch.h"
#include "catalogue/browse.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/file.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

using V = std::vector<int32_t>;

class EditsTest : public CatalogueTest {
 protected:
  int32_t aux(int32_t album) { return number(TitleTable, album, F_AuxAttr); }
  int32_t refs(int kind, int32_t code) { return number(kind, code, F_RefCount); }
};

TEST_F(EditsTest, NoRowGoesPastTheLargestPosition) {
  const V s = some(SongTable, 2);
  const int32_t album = album_with(1, {s[0]});
  // Only the last row counts; the rows between need not exist.
  quill::Rlist row(&DB_Table(SongRows));
  row.field(F_Title).set(static_cast<long>(album));
  row.field(F_Seq).set(kMaxSeq);
  row.field(F_Attr).set(static_cast<long>(s[0]));
  ASSERT_EQ(row.append(), quill::Ok);
  const auto before = rows(1, album);
  EXPECT_EQ(link(1, album, s[1]), ListFull);
  EXPECT_EQ(link(1, album, s[1], 0), ListFull);  // making room would wrap the last row
  EXPECT_EQ(rows(1, album), before);
  EXPECT_EQ(refs(SongTable, s[1]), 0);
}

// A list that links again sees the rows added after its own last one, by another list or by itself
// making room.
TEST_F(EditsTest, AListLinkingAgainSeesTheRowsAddedSinceItsLast) {
  const V s = some(SongTable, 5);
  const int32_t album = add(TitleTable, "Album");
  auto list = DB_GetArticleAttributes(1, album);
  auto titles = at(TitleTable, album);
  ASSERT_EQ(DB_AddLink(*list, album, -1, s[0], *titles), quill::Ok);
  ASSERT_EQ(link(1, album, s[1]), quill::Ok);
  ASSERT_EQ(DB_AddLink(*list, album, -1, s[2], *titles), quill::Ok);
  ASSERT_EQ(DB_AddLink(*list, album, 0, s[3], *titles), quill::Ok);
  ASSERT_EQ(DB_AddLink(*list, album, -1, s[4], *titles), quill::Ok);
  EXPECT_EQ(rows(1, album), (Rows{{0, s[3]}, {1, s[0]}, {2, s[1]}, {3, s[2]}, {4, s[4]}}));
}

// A missing attribute, a position below the end marker, another album's cursor, no current row, a
// list by attribute: refused, nothing changed.
TEST_F(EditsTest, RefusedCallsChangeNothing) {
  const V s = some(SongTable, 2);
  const int32_t album = album_with(1, {s[0], s[1]}), other = add(TitleTable, "Other");
  const auto before = rows(1, album);
  EXPECT_EQ(link(1, album, s[1] + 50, 0), quill::NotFound);
  EXPECT_EQ(link(1, album, s[1], -2), quill::BadParam);
  const int32_t artist = add(ArtistTable, "Artist");
  auto list = DB_GetArticleAttributes(0, other);
  auto wrong = at(TitleTable, album);
  EXPECT_EQ(DB_AddLink(*list, other, -1, artist, *wrong), quill::BadParam);
  auto title = at(TitleTable, other);
  EXPECT_EQ(DB_RemoveLink(*list, *title, PurgeMode::Keep), quill::NoCurrentRecord);
  auto byattr = DB_GetArticlesFromAttribute(1, s[0]);
  ASSERT_EQ(byattr->first(), quill::Ok);
  EXPECT_EQ(DB_RemoveLink(*byattr, *wrong, PurgeMode::Keep), quill::BadParam);
  EXPECT_EQ(std::tuple(rows(1, album), rows(0, other).size(), refs(ArtistTable, artist), aux(album)),
            std::tuple(before, 0u, 0, -1));
}

TEST_F(EditsTest, PurgeAskAsksWithTheNamesOwnWords) {
  const int32_t lone = album_with(1, some(SongTable, 1));
  host_.answer(Answer::Cancel);
  ASSERT_EQ(unlink(1, lone, 0, PurgeMode::Ask), quill::Ok);
  // The name as it was given ("item 0"), not as stored ("Item 0").
  EXPECT_EQ(host_.messages, (std::vector<ScriptedHost::Message>{
                                {"There are no more references to \"item 0\".\n"
                                 "Would you like to purge (delete) it from the database?",
                                 "Confirm purge", Buttons::OKCancel, Icon::Question}}));
  EXPECT_GE(host_.waitshown, 1);
}

// The journal is the program's own file: a link in its place must not make an edit write where it
// leads, nor a pipe make every edit wait.
TEST_F(EditsTest, AJournalThatIsNotARegularFileRefusesTheEditUnwritten) {
  const int32_t album = add(TitleTable, "Album"), song = add(SongTable, "Song");
  const std::string journal = dir_.file("maindb.jnl");
  const std::string outside = dir_.file("outside.txt");
  std::ofstream(outside) << "kept";
  reports_expected_ = true;
  for (bool symlink : {true, false}) {
    std::filesystem::remove(journal);
    if (symlink)
      std::filesystem::create_symlink(outside, journal);
    else
      ASSERT_EQ(mkfifo(journal.c_str(), 0644), 0);
    EXPECT_EQ(link(1, album, song), quill::BadParam) << symlink;
    EXPECT_TRUE(rows(1, album).empty()) << symlink;
  }
  std::ifstream in(outside);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept");
  EXPECT_NE(reports_.texts().back().find("is not a regular file"), std::string::npos);
  std::filesystem::remove(journal);
}

TEST_F(EditsTest, ARowThatCannotGoKeepsItsCountAndItsAttribute) {
  const int32_t song = add(SongTable, "Song");
  const int32_t album = album_with(1, {song});
  EXPECT_EQ(withfailingwrites("rel002.idx", [&] { return unlink(1, album, 0, PurgeMode::Silent); }),
            quill::WriteFailed);
  EXPECT_EQ(std::tuple(exists(SongTable, song), refs(SongTable, song), attrs(1, album)),
            std::tuple(true, 1, V{song}));
}

TEST_F(EditsTest, InsertTrimsAndFoldsBlanksRefusesNoNameAndSavesAPendingChange) {
  FullTable songs(DB_Table(SongTable));
  EXPECT_EQ(DB_InsertRecord(Kind::Song, " \t  ", songs.cursor()), EmptyName);
  EXPECT_EQ(DB_InsertRecord(Kind::Artist, "x", songs.cursor()), quill::BadParam);
  ASSERT_EQ(DB_InsertRecord(Kind::Song, "  dark \t  side  ", songs.cursor()), quill::Ok);
  const int32_t song = songs.cursor().field(F_Code).aslong();
  EXPECT_EQ(DB_RenameRecord(*at(SongTable, song), Kind::Song, "   ", true), EmptyName);
  EXPECT_EQ(text(SongTable, song, F_Name), "Dark Side");
  EXPECT_EQ(DB_Table(SongTable).nrecs(), 1);
  // Inserting saves a change pending on the cursor.
  songs.cursor().field(F_Name).set("Renamed");
  ASSERT_EQ(DB_InsertRecord(Kind::Song, "second", songs.cursor()), quill::Ok);
  EXPECT_EQ(std::pair(text(SongTable, song, F_Name), text(SongTable, song + 1, F_Name)),
            std::pair(std::string("Renamed"), std::string("Second")));
}

TEST_F(EditsTest, ASharedAttributeIsRenamedOnConsentAndNotFreedWhileUsed) {
  const int32_t song = add(SongTable, "Old");
  album_with(1, {song}, "X");
  auto cursor = at(SongTable, song);
  EXPECT_EQ(DB_RenameRecord(*cursor, Kind::Song, "once used", false), quill::Ok);
  album_with(1, {song}, "Y");
  cursor = at(SongTable, song);
  EXPECT_EQ(DB_RenameRecord(*cursor, Kind::Song, "twice used", false), NeedsConfirmation);
  EXPECT_EQ(text(SongTable, song, F_Name), "Once Used");
  // Albums are renamed without question.
  auto title = at(TitleTable, add(TitleTable, "Album"));
  EXPECT_EQ(DB_RenameRecord(*title, Kind::Album, "new title", false), quill::Ok);
  // A count of zero does not free an attribute still in use.
  cursor = at(SongTable, song);
  cursor->field(F_RefCount).set(0L);
  ASSERT_EQ(cursor->flush(), quill::Ok);
  EXPECT_EQ(DB_DeleteAttribute(*cursor, Kind::Song), StillReferenced);
  EXPECT_TRUE(exists(SongTable, song));
  EXPECT_EQ(DB_DeleteAttribute(*cursor, Kind::Album), quill::BadParam);
}

TEST_F(EditsTest, AFailedRenameReadsTheRecordBack) {
  const int32_t album = add(TitleTable, "Album");
  auto title = at(TitleTable, album);
  EXPECT_NE(withfailingwrites("maindb.db1",
                              [&] { return DB_RenameRecord(*title, Kind::Album, "other", false); }),
            quill::Ok);
  EXPECT_EQ(std::tuple(std::string(reinterpret_cast<const char*>(title->field(F_Name).data())),
                       title->field(F_Name).isset(), text(TitleTable, album, F_Name)),
            std::tuple("Album", false, "Album"));
}

TEST_F(EditsTest, AnAlbumWhoseRowsCannotGoStays) {
  const V s = some(SongTable, 2);
  const int32_t album = album_with(1, s);
  auto title = at(TitleTable, album);
  EXPECT_EQ(withfailingwrites("rel002.db1", [&] { return DB_DeleteArticle(*title); }),
            quill::WriteFailed);
  EXPECT_EQ(std::pair(exists(TitleTable, album), rows(1, album)),
            std::pair(true, Rows{{0, s[0]}, {1, s[1]}}));
}

// An edit forces its tables once, at the end of its intent: renumbering the rows of a long album
// costs no sync per row (it cost over a thousand here before).
TEST_F(EditsTest, AnEditOfALongAlbumCostsAFewSyncs) {
  int32_t album = -1;
  {
    CatalogueBatch batch;
    album = album_with(1, some(SongTable, 300));
    ASSERT_EQ(batch.finish(), quill::Ok);
  }
  const int32_t extra = add(SongTable, "Extra");
  const std::pair<const char*, std::function<quill::ErrorCode()>> edits[] = {
      {"move", [&] {
         Standing s = stand(1, album, 5);
         return DB_MoveLink(*s.list, LinkMove::Down, *s.album);
       }},
      {"link", [&] { return link(1, album, extra, 0); }},
      {"unlink", [&] { return unlink(1, album, 0, PurgeMode::Keep); }},
      {"delete album", [&] { return DB_DeleteArticle(*at(TitleTable, album)); }},
  };
  for (const auto& [name, edit] : edits) {
    SyncCounter counter;
    EXPECT_EQ(edit(), quill::Ok) << name;
    EXPECT_LE(counter.syncs, 32) << name;  // at most five for each of its tables, two for the journal
  }
}

}  // namespace
}  // namespace tracklore::test
