// tracklore-cli end to end: the real program run in a scratch directory.
// What an edit does to the catalogue is the catalogue's tests' to prove;
// here, the program's parsing, messages, layouts and exit statuses, and
// that each command reaches the catalogue.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/engine/testutil.h"
#include "tests/tags/audiofiles.h"
#include "tests/tools/run.h"

namespace {

using quill::test::TempDir;
using tooltest::contains;
using tooltest::Finished;
using tooltest::Part;
using tooltest::slurp;
using tooltest::Whole;
namespace fs = std::filesystem;

Finished cli(const std::string& line) { return tooltest::run(TRACKLORE_CLI_PATH, line); }
void play(const std::vector<tooltest::Step>& steps) { tooltest::play(TRACKLORE_CLI_PATH, steps); }

class TrackloreCli : public ::testing::Test {
 protected:
  void SetUp() override { play({{"create"}}); }
  TempDir dir_;
};

TEST_F(TrackloreCli, LinkShowAndListSayWhatTheyDidAndRefuseAmbiguousNames) {
  play({{"add album 'Abbey Road'"},
        {"link 'Abbey Road' artist 'The Beatles'", 0,
         "created artist \"The Beatles\" (#0)\n"
         "linked artist \"The Beatles\" (#0) to album \"Abbey Road\" (#0) at position 0\n", Whole},
        {"link 'Abbey Road' song 'Come Together'"}, {"link 'Abbey Road' artist 'George Martin' --at 0"},
        {"show 'Abb\xC3\xA9y Road'", 1,
         "no album is named \"Abb\xC3\xA9y Road\" (similar: \"Abbey Road\" #0 (George Martin))"},
        {"show 'Abbey Road'", 0,
         "Album:        Abbey Road\nCode:         0\nMark:         (blank)\n"
         "First artist: George Martin (#1)\nArtists:\n  0  George Martin (#1)\n  1  The Beatles (#0)\n"
         "Songs:\n  0  Come Together (#0)\n", Whole},
        {"list albums", 0, "0\tAbbey Road\t \tGeorge Martin\t1\n", Whole},
        // Ambiguous names are refused with their codes, an album's with its
        // first artist, before anything is made.
        {"add album 'Greatest Hits'"},
        {"add album 'GREATEST HITS'", 0, "", Part, "also names #1 (no artist)"},
        {"link '#1' artist ABBA"},
        {"show 'Greatest Hits'", 1,
         "several albums are named \"Greatest Hits\": #1 (ABBA), #2 (no artist)"},
        {"link 'Greatest Hits' song X", 1},
        {"list songs --prefix X", 0, "", Whole},
        {"link '#2' song X", 0, "to album \"GREATEST HITS\" (#2)"}});
}

// Wrong usage ends with status 2 before anything is opened or changed.
TEST_F(TrackloreCli, UsageErrorsAndNamesThatLookLikeOptions) {
  for (const char* line : {"frobnicate", "show", "list records", "list albums --at 1",
                           "list albums --dry-run", "--yes --no verify", "move A artist 1 sideways",
                           "xref album First", "list songs --prefer-files A", "--main attr001 list songs",
                           "add song '-5 Minutes'", "merge label '#0' '#1'", "stats --keep"})
    EXPECT_EQ(cli(line).status, 2) << line;
  play({{"-C no-such-directory list songs", 1},
        {"--main music list albums", 1, "Operation open failed on Datafile \"music\""},
        {"create", 1},  // one is here already
        {"add song -- '-5 Minutes'"},  // names that look like options follow a double dash
        {"list songs", 0, "0\t-5 Minutes\t0\n", Whole}});
}

TEST_F(TrackloreCli, UnlinkKeepsOrPurgesAndEditsSayWhyTheyStop) {
  play({{"add album A"}, {"link A song One"}, {"link A song Two"}, {"link A artist Ann"},
        {"unlink A song 0", 0, "kept song \"One\" (#0), which no album uses now", Part,
         "-> Cancel (standard input is not a terminal"},
        {"unlink A song 0 --purge", 0, "purged song \"Two\" (#1)"},
        {"move A artist 0 down", 1, "artist \"Ann\" (#0) is already last; nothing changed"},
        {"add artist 'Sigur R\xC3\xB3s'"},
        {"link A artist 'Sigur Ros'", 1,
         "Confirm insert: Artist with a similar name: \"Sigur R\xC3\xB3s\" (#1).\n"
         "Do you want to create a new artist \"Sigur Ros\"?\n  -> Cancel"},
        {"link A artist 'Sigur Ros' --no", 1},
        {"link A artist 'Sigur Ros' --yes", 0, "created artist \"Sigur Ros\" (#2)"},
        {"add artist 'SIGUR R\xC3\x93S'", 1, "artist \"Sigur R\xC3\xB3s\" (#1) exists already; nothing was created"},
        // Rows that only damage or another tool make: one naming no song,
        // one at the largest position there is.
        {"add album B"}, {"link B song Gone"}, {"quill delete attr002 2"},
        {"unlink B song 0 --purge", 0,
         "removed the row at position 0 of album \"B\" (#1), which named no existing song (#2)\n", Whole},
        {"quill append rel002 Title=1 Seq=32767 Attr=0"},
        {"link B song Y", 1, "album \"B\" (#1) has its songs up to position 32767, the last there is; nothing changed"}});
}

// Import's one identity: the full name, letter case aside. An entry it
// made itself counts as one that was there; an album is the same when its
// first artist is too.
TEST_F(TrackloreCli, ImportReusesOnlyAnEntryOfTheSameNameLetterCaseAside) {
  play({{"add album A"}, {"link A artist Nirvana"}, {"add album B"}, {"link B artist 'Beyonc\xC3\xA9'"}});
  std::ofstream("names.csv") << "A,artist,0,NIRVANA\nA,artist,1,Beyonce\n"
                                "A,song,0,J\xC3\xB3ga\nA,song,1,Joga\nB,song,0,JOGA\n";
  const Finished import = cli("import names.csv");
  EXPECT_EQ(import.out,
            "imported 2 albums with 2 artist and 3 song entries; created 1 artist and 2 songs\n"
            "reused 1 artist and 1 song whose names differ from the file's only in letter case\n");
  for (const char* note : {"artist \"NIRVANA\" is taken as artist \"Nirvana\" (#0)", "album \"A\" exists already (#0)"})
    EXPECT_TRUE(contains(import.err, note)) << import.err;
  EXPECT_FALSE(contains(import.err, "album \"B\""));
  play({{"list artists", 0, "1\tBeyonc\xC3\xA9\t1\n2\tBeyonce\t1\n0\tNirvana\t2\n", Whole},
        {"list songs", 0, "0\tJ\xC3\xB3ga\t1\n1\tJoga\t2\n", Whole}});
}

TEST_F(TrackloreCli, RenameDeleteXrefMergeAndDuplicatesAskOrSayWhy) {
  play({{"add album First"}, {"add album Second"}, {"link Second artist Prince"},
        {"link First artist Guest"}, {"link First artist Prince"},
        {"rename artist prince 'The Artist'", 1, "This artist has 2 album(s) referring to it."},
        {"--yes rename artist prince 'The Artist'", 0, "renamed artist \"Prince\" (#0) to \"The Artist\"\n", Whole},
        {"xref artist 'The Artist'", 0, "1\tSecond\t0\n0\tFirst\t1\n", Whole},
        {"delete album First", 1}, {"delete album First --yes"},  // not empty: asks first
        {"add album Post"}, {"link Post artist Bj\xC3\xB6rk"}, {"add artist Bjork"}, {"add album Homogenic"},
        {"link Homogenic artist '#3'"},
        {"duplicates artists", 0, "Artists alike:\n1\t2\tBj\xC3\xB6rk\t1\n1\t3\tBjork\t1\n", Whole},
        {"rename artist '#3' BJ\xC3\x96RK", 1,
         "artist \"Bj\xC3\xB6rk\" (#2) bears that name; tracklore-cli merge artist '#2' '#3' makes the two one"},
        {"merge artist Bj\xC3\xB6rk '#3'", 0,
         "merged artist \"Bjork\" (#3) into artist \"Bj\xC3\xB6rk\" (#2): 1 link moved; \"Bjork\" deleted\n", Whole},
        {"duplicates artists", 0, "Artists alike: none\n", Whole},
        {"merge artist '#2' Bj\xC3\xB6rk", 1, "merge takes two artists"},
        {"merge artist '#2' '#3'", 1, "no artist has the code #3"}});
}

TEST_F(TrackloreCli, SearchAndStatsPrintGroupedFindsAndCounts) {
  play({{"add album 'The Wall'"}, {"link 'The Wall' artist 'Pink Floyd'"},
        {"link 'The Wall' song 'Another Brick In The Wall'"}, {"add song Stonewall"},
        {"search WALL", 0, "Albums (1):\n#0\tThe Wall\tPink Floyd\nSongs (1):\n#0\tAnother Brick In The Wall\n", Whole},
        {"search wall --kind song", 0, "Songs (1):\n#0\tAnother Brick In The Wall\n", Whole},
        {"search floyd --kind album", 1, "nothing is named with \"floyd\""},
        {"search wall --kind tune", 2, "--kind takes album, artist or song"},
        {"search '?!'", 2, "search needs a word"},
        {"list songs --kind song", 2, "--kind belongs to search"},
        {"stats", 0, "Songs no album uses: 1\n  #1\tStonewall\n"},
        {"stats --purge", 0, "Deleted 1 artists and songs that no album used.\n"},
        {"stats", 0, "Songs: 1\n"}});
}

TEST_F(TrackloreCli, UndoAndRedoSayWhatTheyDidAndTakeAWholeImportAsOne) {
  std::ofstream("a.csv") << "Other,artist,0,Someone\nOther,song,0,Something\nMore,song,0,Else\n";
  play({{"add album 'OK Computer'"}, {"link 'OK Computer' song 'Karma Police'"},
        {"undo", 0, "Undone: link of 'Karma Police' to 'OK Computer'\n", Whole},
        {"redo", 0, "Redone: link of 'Karma Police' to 'OK Computer'\n", Whole},
        {"redo", 1, "There is nothing to redo."}, {"import a.csv"},
        {"undo", 0, "Undone: import of 'a.csv' (2 albums)\n", Whole}});
}

TEST_F(TrackloreCli, VerifyAsksRecoverMendsAndPackWantsAReindex) {
  play({{"add album A"}, {"link A song S"}, {"quill update attr002 0 Ref_count=5"},
        {"verify", 1, "Verification complete: 1 problem found, 0 corrected.\n", Whole,
         "Invalid reference count: Table attr002:\nIn song 0 (\"S\"),\nreference count is 5 and should be 1. "
         "Correct?\n  -> No"},
        // Asked nothing and with no terminal, a pack still leaves indexes in use.
        {"pack", 0, "Pack succeeded.\nReindex succeeded.\n", Whole, "Packing table 3 of 7: album artists"},
        {"quill pack maindb"},
        {"list albums", 1, "IndexOutOfDate", Part, "tracklore-cli recover mends it"},
        {"recover", 0, "verification: 1 reference count corrected\nRecovery complete: the database is whole.\n"},
        {"quill update attr002 0 Ref_count=5"},
        {"verify --yes", 0, "Verification complete: 1 problem found, 1 corrected.\n", Whole,
         "Verifying table 4 of 6: songs"},
        {"verify", 0, "Verification complete: no problems found.\n", Whole},
        {"reindex", 0, "Reindex succeeded.\n", Whole}});
}

TEST_F(TrackloreCli, VerifysExitStatusSaysWhatRemains) {
  play({{"add album A"}, {"add album B"}});
  {
    // Album B takes album A's code (the last byte of record 1's Code field,
    // at datastart 186 + reclen 67 + offset 56 + 3), which only damage does.
    std::fstream data("maindb.db1", std::ios::in | std::ios::out | std::ios::binary);
    data.seekp(186 + 67 + 59);
    data.put('\0');
  }
  const std::string duplicate =
      "Verification complete: 1 problem found, 0 corrected.\n"
      "1 duplicate code cannot be corrected automatically.\n";
  play({{"quill reindex maindb"}, {"verify --yes", 1, duplicate, Whole, "Duplicate code: Table maindb:"}});

  // Nothing is written without --yes, so the tables may be read-only files
  // (for root too, once it cannot override file modes).
  for (const auto& entry : fs::directory_iterator(".")) fs::permissions(entry.path(), fs::perms(0444));
  const std::string cannotoverride = "setpriv --bounding-set=-dac_override,-dac_read_search,-fowner ";
  const Finished readonly = tooltest::run((geteuid() == 0 ? cannotoverride : "") + TRACKLORE_CLI_PATH, "verify --no");
  EXPECT_EQ(readonly.status, 1) << readonly.err;
  EXPECT_EQ(readonly.out, duplicate);

  fs::remove("rel002.idx");
  play({{"verify", 2, "Verification failed: the database needs recovery; tracklore-cli recover mends it"}});
}

// Only an empty name, and one longer than a full name holds, are refused;
// how names in any script are kept and found is the catalogue's to prove.
// Messages show what they echo escaped and cut.
TEST_F(TrackloreCli, RefusesEmptyAndOverlongNamesAndEchoesInputEscapedAndCut) {
  play({{"add artist '   '", 1, "the artist name is empty"},
        {"add artist " + std::string(256, 'y'), 1, "longer than 255 characters"}});
  const Finished escape = cli("'Clear \x1b[2J'");
  EXPECT_EQ(escape.status, 2);
  EXPECT_TRUE(contains(escape.err, "\"Clear \\x1B[2J\"")) << escape.err;
  const Finished stem = cli("--main '\x1b[2J' list albums");  // the engine's own message
  EXPECT_TRUE(contains(stem.err, "Datafile \"\\x1B[2J\"")) << stem.err;
  std::ofstream("odd.csv") << "A," << std::string(60000, 'k') << ",0,x\n";
  const Finished odd = cli("import odd.csv");
  EXPECT_TRUE(contains(odd.err, "not \"" + std::string(64, 'k') + "...\" (60000 bytes)\n"));
  for (const std::string& err : {escape.err, stem.err, odd.err}) {
    EXPECT_EQ(err.find('\x1b'), std::string::npos);
    EXPECT_LT(err.size(), 1000u);
  }
  fs::create_directory("odd\x1B[2Jname");
  play({{"-C 'odd\x1B[2Jname' create", 0, "odd\\x1B[2Jname\n"}});
}

TEST_F(TrackloreCli, ExportAndImportRoundTripAndLooserFilesImport) {
  // Three albums of one name: songs only, artists only, songs only.
  play({{"add album 'Caf\xC3\xA9 Cr\xC3\xA8me'"}, {"link 'Café Crème' artist 'Zoë, \"The\" Band'"},
        {"link 'Café Crème' song 'Ça Va'"}, {"link 'Café Crème' song 'Track 10'"},
        {"link 'Café Crème' song 'Track 2'"}, {"add album Empty"}, {"add album Twice"},
        {"add album Twice"}, {"add album Twice"}, {"link '#4' song 'Ça Va'"}, {"link '#3' artist Guest"},
        {"link '#2' song Other"}, {"export first.csv"}});
  const std::string first = slurp("first.csv");
  EXPECT_EQ(first,
            "album,kind,position,name,album_code\r\n"
            "Café Crème,artist,0,\"Zoë, \"\"The\"\" Band\",0\r\n"
            "Café Crème,song,0,Ça Va,0\r\nCafé Crème,song,1,Track 10,0\r\nCafé Crème,song,2,Track 2,0\r\n"
            "Empty,,,,1\r\nTwice,song,0,Other,2\r\nTwice,artist,0,Guest,3\r\nTwice,song,0,Ça Va,4\r\n");
  fs::create_directory("copy");
  play({{"export", 0, first, Whole}, {"-C copy create"},
        {"-C copy import ../first.csv", 0,
         "imported 5 albums with 2 artist and 5 song entries; created 2 artists and 4 songs\n", Whole},
        {"-C copy export second.csv"},
        {"-C copy list songs --prefix ca", 0, "0\tÇa Va\t2\n", Whole}});
  EXPECT_EQ(slurp("copy/second.csv"), first);

  // Byte order mark, LF line ends, no header, positions out of order; the
  // second run of X is another album.
  std::ofstream("loose.csv") << "\xEF\xBB\xBFX,song,1,B\nX,song,0,A\nY,,,\nX,artist,0,Solo";
  play({{"-C copy import ../loose.csv", 0, "imported 3 albums with 1 artist and 2 song entries"},
        {"-C copy list albums --prefix X", 0, "5\tX\t*\t--\t2\n7\tX\t*\tSolo\t0\n", Whole},
        {"-C copy show '#5'", 0, "Songs:\n  0  A (#4)\n  1  B (#5)\n"}});
}

// A bad file is refused whole, saying where and why.
TEST_F(TrackloreCli, ImportRefusesABadFileWholeSayingWhereAndWhy) {
  struct Case {
    std::string file, content;
    std::vector<std::string> says;
  };
  const std::vector<Case> cases = {
      {"bad.csv", "album,kind,position,name\r\nGood,song,0,Fine\r\nAlso Good,,,\r\nThird,artist,0,  \r\n",
       {"line 4: the artist name is empty", "nothing was imported"}},
      {"folder.csv", "", {"cannot import \"folder.csv\": it is not a regular file"}},
      {"long.csv", "A,song,0,x\nB,song,0," + std::string(70000, 'y') + "\n",
       {"line 2: a record longer than 65536 bytes"}},
      {"codes.csv",
       "album,kind,position,name,album_code\nA,song,0,x,abc\nB,song,0,x,-1\nC,song,0,x,07\nC,song,0,y,7\n"
       "\xC2\xA0 \xC2\xA0,song,0,x,\nD,song,0,\xC2\xA0,\n",
       {"line 2: the album_code is a number from 0 on, not \"abc\"",
        "line 3: the album_code is a number from 0 on, not \"-1\"", "line 6: the album name is empty",
        "line 7: the song name is empty",
        "line 5: album_code \"7\" has a second song at position 0"}},  // 07 is 7
      {"mac.csv", "album,kind,position,name\rA,song,0,x\rB,song,0,y\r",
       {"its lines seem to end in a carriage return alone"}},
  };
  fs::create_directory("folder.csv");
  for (const Case& c : cases) {
    if (!c.content.empty()) std::ofstream(c.file) << c.content;
    const Finished import = cli("import " + c.file);
    EXPECT_EQ(import.status, 1) << c.file;
    for (const std::string& part : c.says) EXPECT_TRUE(contains(import.err, part)) << c.file << ": " << part;
    EXPECT_EQ(cli("list albums").out, "") << c.file;
  }
}

TEST_F(TrackloreCli, AFatalEngineErrorEndsWithTheDocumentedStatus) {
  play({{"add album X"}});
  // The key length of the first entry in the root page of the Name tree.
  const std::string tree = tooltest::run(QUILL_PATH, "tree maindb 0").out;
  const size_t at = tree.find("root ");
  ASSERT_NE(at, std::string::npos) << tree;
  {
    std::fstream idx("maindb.idx", std::ios::in | std::ios::out | std::ios::binary);
    idx.seekp(std::stol(tree.substr(at + 5)) + 6);
    idx.write("\x7f\x7f", 2);
  }
  play({{"list albums", 255, "Fatal error (aborting): Page::load: damaged page"},
        {"--help", 0, "\n255: stopped by a fatal error of the engine"},
        {"quill list maindb --tag 0", 255},
        {"quill --help", 0, "255 stopped by a fatal error of the engine"}});
}

// Beside a program that has the database open read-only (its tables held
// shared), reading commands work and changes are refused, saying why.
TEST_F(TrackloreCli, ReadsBesideAProgramThatReadsAndSaysWhyItCannotChange) {
  play({{"add album X"}});
  quill::File program;
  ASSERT_EQ(program.open("attr001.db1", quill::Access::ReadOnly, quill::Sharing::Shared), 0);
  play({{"list albums", 0, "0\tX\t*\t--\t0\n", Whole},
        {"verify --no", 0, "no problems found"},
        {"add album Y", 1, "Another program is using the database to read it (table \"attr001\" is held)"}});
}

// A music folder of tagged FLAC files.
void flacfile(const std::string& path, const std::string& title, const std::string& album) {
  fs::create_directories(fs::path(path).parent_path());
  std::string problem;
  ASSERT_TRUE(tracklore::test::makeaudio("flac", path, &problem)) << problem;
  ASSERT_TRUE(tracklore::test::writetags(path, {title, album, "Band", "", "1"}));
}

// The summary's words are the catalogue's; here the options' wiring and
// the program's own messages. Without folders, scan rescans the remembered
// ones; folders without an audio file (empty, an unmounted share) fail.
TEST_F(TrackloreCli, ScanDryRunReportRescanAndFoldersWithoutAudio) {
  flacfile("music/one/1.flac", "first", "one");
  flacfile("music/one/2.flac", "second", "one");
  flacfile("music/mix/1.flac", "first", "one");  // a copy
  flacfile("shy/.old/1.flac", "hidden", "shy");
  fs::create_directories("empty");
  play({{"scan", 1, "no folder to rescan"},
        {"scan music --dry-run", 0, "dry run: nothing was written"},
        {"list albums", 0, "", Whole},
        {"scan music --report report.txt", 0, "albums: 1 added"},
        {"scan music", 0, "nothing changed"},
        {"scan nowhere", 1, "cannot scan nowhere"},
        {"scan empty", 1, "no audio file found in empty"},
        {"scan shy", 1, "(hidden files and folders are read with --hidden)"}});
  // Folders are remembered, and walked, in full.
  const std::string music = fs::current_path().string() + "/music";
  EXPECT_EQ(slurp("report.txt"),
            music + "/mix/1.flac: a copy of " + music + "/one/1.flac (disc 1, track 1, \"first\"): linked once\n");
  fs::remove("music/one/2.flac");
  play({{"scan --dry-run", 0, "1 gone; albums following their files: 1 to change"},
        {"scan", 0, "1 gone; albums following their files: 1 changed"}});
  fs::rename("music", "unmounted");
  play({{"scan", 1, "no audio file found in " + music}, {"scan shy --hidden", 0, "albums: 1 added"}});
}

// A change whose index cannot be written back when the tables close has
// done its work but left the database needing recovery: the command fails
// and says so, and recovery takes it back. Here the index's page writes
// lie past a file size limit that the record's own writes stay under.
TEST_F(TrackloreCli, AnEditFailingAtItsEndFailsTheCommandAndNamesRecover) {
  std::ofstream csv("songs.csv");
  for (int n = 0; n < 400; ++n) csv << "Album " << n / 10 + 1 << ",song," << n % 10 << ",Song " << n << "\n";
  csv.close();
  play({{"import songs.csv"}});
  const auto kib = [](const char* file) { return fs::file_size(file) / 1024; };
  const auto limit = kib("attr002.db1") + 1;
  ASSERT_GT(kib("attr002.idx"), limit + 1);
  const Finished link = tooltest::run("bash -c \"trap '' XFSZ; ulimit -f " + std::to_string(limit) + "; exec " +
                                   TRACKLORE_CLI_PATH + " \\\"\\$@\\\"\" cli",
                               "link 'Album 40' song 'Zzz new'");
  EXPECT_EQ(link.status, 1);
  EXPECT_TRUE(contains(link.err, "tracklore-cli recover takes it back")) << link.err;
  EXPECT_FALSE(contains(link.out, "linked")) << link.out;
  play({{"recover"}});
  EXPECT_FALSE(contains(cli("show 'Album 40'").out, "Zzz new"));
}

}  // namespace
