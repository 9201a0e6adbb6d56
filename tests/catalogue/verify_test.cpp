// Verify and repair: each kind of damage found, asked about in exact words, repaired on Yes only.

#include <tuple>

#include "catalogue/fullnames.h"
#include "catalogue/maintenance.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/btree.h"
#include "engine/bytes.h"
#include "engine/check.h"
#include "engine/index.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

using S = std::vector<int>;

class VerifyTest : public CatalogueTest {
 protected:
  // Damage is made through the engine alone (and rawrow), so the indexes stay in step.
  void setlong(int table, int32_t code, int field, long value) {
    auto cursor = at(table, code);
    cursor->field(field).set(value);
    ASSERT_EQ(cursor->flush(), quill::Ok);
  }
  // An album with rows of relation r numbered as given.
  int32_t numbered(int r, const S& numbers, const char* name = "Album") {
    const int32_t album = add(TitleTable, name);
    for (int n : numbers) {
      const int32_t attr = add(attrtable(r), ("Item " + std::to_string(n)).c_str());
      rawrow(r, album, n, attr);
      setlong(attrtable(r), attr, F_RefCount, 1);
      if (r == 0 && n == numbers.front()) setlong(TitleTable, album, F_AuxAttr, attr);
    }
    return album;
  }
  // Verifies with these answers, which must be all the questions asked, and opens again.
  void verifyanswering(const std::vector<Answer>& answers) {
    host_.messages.clear();
    for (Answer a : answers) host_.answer(a);
    DB_Close();
    EXPECT_EQ(DB_Verify(&ProgressLog::callback, &log_), 0);
    EXPECT_EQ(DB_IsOpen(), 0);
    EXPECT_EQ(DB_Open(), 0);
    ASSERT_EQ(host_.messages.size(), answers.size());
  }
  void clean() { verifyanswering({}); }
  int repair(VerifySummary* summary, int yes = 1, IndexCheck indexes = IndexCheck::First) {
    DB_Close();
    for (int i = 0; i < yes; ++i) host_.answer(Answer::Yes);
    return DB_Verify(nullptr, nullptr, VerifyAccess::Repair, summary, indexes);
  }
  void expect_question(size_t i, const std::string& text, const std::string& title) {
    ASSERT_LT(i, host_.messages.size());
    EXPECT_EQ(host_.messages[i], (ScriptedHost::Message{text, title, Buttons::YesNo, Icon::Stop}));
  }
  ProgressLog log_;
};

TEST_F(VerifyTest, AConsistentDatabaseAsksNothingAndShowsEveryLine) {
  makesharedalbums();
  clean();
  EXPECT_EQ(log_.lines(), (std::vector<std::string>{
                              "Verifying table 1 of 6: album artists (pass 1)", "Verifying table 1 of 6: album artists (pass 2)",
                              "Verifying table 2 of 6: album songs (pass 1)", "Verifying table 2 of 6: album songs (pass 2)",
                              "Verifying table 3 of 6: artists", "Verifying table 4 of 6: songs",
                              "Verifying table 5 of 6: albums", "Verifying table 6 of 6: full names"}));
  EXPECT_EQ(log_.last(), 100);
  EXPECT_TRUE(log_.rising());
}

TEST_F(VerifyTest, ARowOfADeletedSongOrAMissingAlbumIsOfferedForDeletionAndCountsFollow) {
  const Dangling d = dangling(1);
  ASSERT_NO_FATAL_FAILURE(verifyanswering({Answer::No}));
  const std::string question = "Table rel002:\nTitle code " + std::to_string(d.album) + "/0/" +
                               std::to_string(d.gone) +
                               " (\"Album\")\ncontains a reference to an unexisting song.\n"
                               "To keep the database consistent, the recomended action\n"
                               "is to delete this entry. Do you want to delete it?";
  expect_question(0, question, "Invalid attr code");
  EXPECT_EQ(rows(1, d.album).size(), 2u);

  // Yes; the gap it leaves is the sequence pass's to close.
  ASSERT_NO_FATAL_FAILURE(verifyanswering({Answer::Yes, Answer::Yes}));
  EXPECT_EQ(host_.messages[1].title, "Sequencing error");
  EXPECT_EQ(rows(1, d.album), (Rows{{0, d.kept}}));
  clean();

  const int32_t album = add(TitleTable, "Album");
  // Questions name records as the user knows them: in full.
  const int32_t artist = add(ArtistTable, "Мумий Тролль");
  ASSERT_EQ(link(0, album, artist), quill::Ok);
  rawrow(0, 99, 0, artist);
  setlong(ArtistTable, artist, F_RefCount, 2);
  rawrow(1, 50, 0, 60);  // neither side exists: asked twice, the album named as missing

  ASSERT_NO_FATAL_FAILURE(verifyanswering({Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes}));
  expect_question(0,
                  "Table rel001:\nTitle code 99/0/" + std::to_string(artist) +
                      " does not refer to a valid album.\nTo keep the database consistent, the "
                      "recomended action\nis to delete this entry. Do you want to delete it?",
                  "Invalid title code");
  EXPECT_EQ(host_.messages[1].title, "Invalid title code");
  EXPECT_NE(host_.messages[2].text.find("Title code 50/0/60 (\"*** not found ***\")\ncontains a "
                                        "reference to an unexisting song."), std::string::npos);
  // The deleted row is no longer counted.
  expect_question(3,
                  "Table attr001:\nIn artist " + std::to_string(artist) +
                      " (\"Мумий Тролль\"),\nreference count is 2 and should be 1. Correct?",
                  "Invalid reference count");
  EXPECT_EQ(number(ArtistTable, artist, F_RefCount), 1);
  EXPECT_TRUE(rows(0, 99).empty());
  clean();
}

// Gaps, duplicates, rows a moved duplicate jumps, an album starting where the last one ended.
TEST_F(VerifyTest, SequenceErrorsAreCorrectedRowByRow) {
  struct Case {
    int r;
    S before, previous;  // previous: an album "First" numbered so, made first
    std::vector<std::string> found;
    std::vector<int> order;  // where each row ends, by its place before
  };
  const Case cases[] = {
      {1, {0, 1, 1, 1, 5}, {},
       {"Duplicate sequence number 1, which can be moved to position 6.",
        "Duplicate sequence number 1, which can be moved to position 7.",
        "Found sequence 5, but should be 2.", "Found sequence 6, but should be 3.",
        "Found sequence 7, but should be 4."},
       {0, 1, 3, 4, 2}},
      {0, {1, 2}, {0, 1}, {"Found sequence 1, but should be 0.", "Found sequence 2, but should be 1."},
       {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.found.front());
    if (!c.previous.empty()) numbered(c.r, c.previous, "First");
    const int32_t album = numbered(c.r, c.before);
    const auto before = attrs(c.r, album);
    ASSERT_NO_FATAL_FAILURE(verifyanswering(std::vector<Answer>(c.found.size(), Answer::Yes)));
    for (size_t i = 0; i < c.found.size(); ++i) {
      EXPECT_EQ(host_.messages[i].title, "Sequencing error");
      EXPECT_NE(host_.messages[i].text.find(c.found[i]), std::string::npos)
          << host_.messages[i].text;
    }
    Rows expected(before.size());
    for (size_t i = 0; i < before.size(); ++i)
      expected[static_cast<size_t>(c.order[i])] = {c.order[i], before[i]};
    EXPECT_EQ(rows(c.r, album), expected);
    clean();
  }
  // The whole question, once.
  const int32_t album = numbered(0, {1}, "Whole");
  ASSERT_NO_FATAL_FAILURE(verifyanswering({Answer::Yes}));
  expect_question(0,
                  "Table rel001, row " + std::to_string(album) + "/1/" +
                      std::to_string(attrs(0, album)[0]) +
                      ":\nalbum \"Whole\",\nartist \"Item 1\":\nFound sequence 1, but should be "
                      "0. Correct?\n", "Sequencing error");
}

// Those of the album table are the command line's to show.
TEST_F(VerifyTest, DuplicateCodesAreOnlyReported) {
  const int32_t artist = add(ArtistTable, "Artist A");
  auto other = at(ArtistTable, add(ArtistTable, "Artist B"));
  quill::put4(other->field(F_Code).data(), artist);  // which the engine never does
  other->field(F_Code).setflag(1);
  ASSERT_EQ(other->flush(), quill::Ok);
  ASSERT_NO_FATAL_FAILURE(verifyanswering({Answer::OK}));
  EXPECT_EQ(host_.messages[0],
            (ScriptedHost::Message{"Table attr001:\nCode of record " + std::to_string(artist) +
                                       " (\"Artist B\")\nduplicates an already existing one "
                                       "(\"Artist A\").\nIt is not possible to correct it "
                                       "automatically.",
                                   "Duplicate code", Buttons::OK, Icon::Stop}));
}

TEST_F(VerifyTest, AWrongFirstArtistIsCorrected) {
  const int32_t empty = add(TitleTable, "Empty");
  setlong(TitleTable, empty, F_AuxAttr, 7);
  const int32_t album = add(TitleTable, "Full");
  const int32_t a = add(ArtistTable, "A");
  ASSERT_EQ(link(0, album, a), quill::Ok);
  ASSERT_EQ(link(0, album, add(ArtistTable, "B")), quill::Ok);
  setlong(TitleTable, album, F_AuxAttr, -1);  // never set
  ASSERT_NO_FATAL_FAILURE(verifyanswering({Answer::Yes, Answer::Yes}));
  expect_question(0,
                  "Table maindb:\nIn record " + std::to_string(empty) +
                      " (\"Empty\"),\nauxattr is 7 and should be -1. Correct?", "Invalid aux attr");
  EXPECT_EQ(host_.messages[1].title, "Invalid aux attr");
  EXPECT_EQ(std::pair(number(TitleTable, empty, F_AuxAttr), number(TitleTable, album, F_AuxAttr)),
            std::pair(-1, a));
  clean();
}

// Nothing is built on a correction that failed; a rewritten record is saved at once, so that a
// failed write is counted failed, not corrected.
TEST_F(VerifyTest, NothingIsBuiltOnACorrectionThatFailedAndAFailedRewriteIsCountedFailed) {
  reports_expected_ = true;
  const Dangling d = dangling(0);
  // Right once the row of the missing artist has gone; wrong while it stays.
  setlong(TitleTable, d.album, F_AuxAttr, d.kept);
  VerifySummary summary;
  EXPECT_EQ(withfailingwrites("rel001", [&] { return repair(&summary); }), 0);
  // Not offered: an Aux_attr naming the artist that no longer exists.
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].title, "Invalid attr code");
  EXPECT_EQ(reports_.texts(),
            std::vector<std::string>{"Correction failed on Datafile \"rel001\".\nReturn value: WriteFailed."});
  // Found, corrected, failed, and unchecked: rel001, attr001 and maindb.
  EXPECT_EQ(std::tuple(summary.found, summary.corrected, summary.failed, summary.unchecked), std::tuple(1, 0, 1, 3));
  ASSERT_EQ(DB_Open(), 0);
  EXPECT_EQ(number(TitleTable, d.album, F_AuxAttr), d.kept);

  recreate();
  reports_.clear();
  summary = {};
  setlong(SongTable, add(SongTable, "Song"), F_RefCount, 7);
  withfailingwrites("attr002", [&] { return repair(&summary); });
  EXPECT_EQ(reports_.texts().at(0),
            "Correction failed on Datafile \"attr002\".\nReturn value: WriteFailed.");
  EXPECT_EQ(std::pair(summary.corrected, summary.failed), std::pair(0, 1));
}

TEST_F(VerifyTest, AWalkEndsWhateverTheIndexSays) {
  reports_expected_ = true;
  const int32_t album = numbered(1, {0});
  // A key no record carries, on the album's row: the sequence pass meets it after every move.
  uint8_t key[6], data[4] = {};
  quill::put4(key, album);
  quill::put2(key + 4, 1000);
  ASSERT_EQ(DB_Table(SongRows).index()->tree(T_TitSeq).insert(nullptr, key, 6, data), quill::Ok);
  VerifySummary summary;
  // As recovery runs it: the integrity check first would find the key.
  EXPECT_EQ(repair(&summary, 100, IndexCheck::Proved), -2);
  EXPECT_LT(host_.messages.size(), 10u);
  ASSERT_FALSE(reports_.texts().empty());
  EXPECT_EQ(reports_.texts().back(),
            "The index of table \"rel002\" does not match its records.\nReindex the database, "
            "then verify it again.");
  host_.unscript();
  // As the message says; the moves made before the stop left a gap.
  ASSERT_EQ(DB_Reindex(nullptr, nullptr), 0);
  ASSERT_EQ(DB_Open(), 0);
  ASSERT_NO_FATAL_FAILURE(verifyanswering({Answer::Yes}));
  EXPECT_EQ(rows(1, album), (Rows{{0, attrs(1, album).at(0)}}));
  clean();
}

// Each kind of broken full name is offered for removal, saying what is wrong; a whole one stays.
TEST_F(VerifyTest, BrokenFullNamesAreOfferedForRemoval) {
  const int32_t kept = add(TitleTable, "Ước gì");
  const int32_t plain = add(TitleTable, "Plain");
  struct Entry { int kind; int32_t code; int part; std::string text; };
  struct Case { std::vector<Entry> entries; std::string problem; };
  const std::vector<Case> cases = {
      {{{TitleTable, 9999, 0, "Ghost"}}, "its record is gone"},
      {{{TitleTable, plain, 0, "Plain"}}, "it is the stored name itself"},
      {{{TitleTable, plain, 0, "Другой"}}, "the stored name is no longer made from it"},
      {{{TitleTable, plain, 0, "pla"}, {TitleTable, plain, 2, "in"}}, "part 1 is missing"},
      {{{TitleTable, plain, 0, "pl"}, {TitleTable, plain, 0, "ain"}}, "part 0 is there twice"},
      {{{TitleTable, plain, 0, "pl\xC3"}}, "a part is empty or not well-formed UTF-8"},
      {{{7, plain, 0, "plain"}}, "it names kind 7, which is not an album, an artist or a song"},
  };
  const int32_t live = DB_Table(NameTable).nlive();
  for (const Case& c : cases) {
    std::string full;
    for (const Entry& e : c.entries) {
      quill::Rlist cursor(&DB_Table(NameTable));
      cursor.field(F_Kind).set(e.kind);
      cursor.field(F_NameCode).set(static_cast<long>(e.code));
      cursor.field(F_Part).set(e.part);
      cursor.field(F_Text).set(e.text.c_str());
      ASSERT_EQ(cursor.append(), quill::Ok);
      full += e.text;
    }
    verifyanswering({Answer::Yes});
    const std::string what = c.entries[0].kind == 7 ? "record" : "album";
    expect_question(0,
                    "Table fullname:\nThe full name \"" + full + "\" of " + what + " " +
                        std::to_string(c.entries[0].code) + ":\n" + c.problem +
                        ".\nTo keep the database consistent, the recomended action\nis to delete "
                        "it. Do you want to delete it?", "Invalid full name");
    EXPECT_EQ(DB_Table(NameTable).nlive(), live) << c.problem;
    clean();
  }
  EXPECT_EQ(DB_CurrentFullName(*at(TitleTable, kept), Kind::Album), "Ước gì");
}

// A key no record carries, which a walk in code order need not meet: the integrity check finds it.
TEST_F(VerifyTest, ADamagedIndexIsCorrectedByAReindexOrStopsTheRun) {
  struct Case { Answer answer; int result; bool damaged; /* after the run */ };
  for (const Case& c : {Case{Answer::No, -2, true}, Case{Answer::Yes, 0, false}}) {
    add(TitleTable, "Album");
    uint8_t key[4], data[4] = {};
    quill::put4(key, 999);
    ASSERT_EQ(DB_Table(TitleTable).index()->tree(T_Code).insert(nullptr, key, 4, data), quill::Ok);
    DB_Close();
    host_.messages.clear();
    host_.answer(c.answer);
    VerifySummary summary;
    EXPECT_EQ(DB_Verify(nullptr, nullptr, VerifyAccess::Repair, &summary), c.result);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].title, "Damaged index");
    EXPECT_EQ(std::pair(summary.found, summary.corrected), std::pair(1, c.damaged ? 0 : 1));
    std::vector<std::string> problems;
    EXPECT_EQ(quill::checktable(DB_TableName(TitleTable), &problems) != 0, c.damaged);
    ASSERT_EQ(DB_Reindex(nullptr, nullptr), 0);
    ASSERT_EQ(DB_Open(), 0);
  }
}

// The corrections are one batch, whose durable points are a few per table however many there are.
TEST_F(VerifyTest, CorrectionsCostSyncsPerTableNotPerCorrection) {
  std::vector<int> syncs;
  for (int wrong : {10, 100}) {
    for (int32_t song : some(SongTable, wrong)) setlong(SongTable, song, F_RefCount, 7);
    VerifySummary summary;
    {
      SyncCounter counter;
      EXPECT_EQ(repair(&summary, wrong), 0);
      syncs.push_back(counter.syncs);
    }
    EXPECT_EQ(summary.corrected, wrong);
    ASSERT_EQ(DB_Open(), 0);
    clean();
  }
  EXPECT_EQ(syncs[0], syncs[1]);
}

}  // namespace
}  // namespace tracklore::test
