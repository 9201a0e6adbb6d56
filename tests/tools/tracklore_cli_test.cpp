// tracklore-cli end to end: the real program run in a scratch directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>

#include "tests/engine/testutil.h"
#include "tests/tags/audiofiles.h"
#include "tests/tools/run.h"

namespace {

using quill::test::TempDir;

struct Outcome : tooltest::Finished {
  std::string err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// The program run with a command line whose words the shell splits (quote
// a name with blanks). Standard input is never a terminal here, so every
// unanswered question takes the safe answer.
Outcome execute(const std::string& program, const std::string& line) {
  const std::string command = "timeout 30 " + program + " " + line + " </dev/null 2>cli-stderr.txt";
  Outcome r{tooltest::runshell(command)};
  r.err = slurp("cli-stderr.txt");
  std::filesystem::remove("cli-stderr.txt");
  return r;
}

Outcome cli(const std::string& line) { return execute(TRACKLORE_CLI_PATH, line); }
Outcome quilltool(const std::string& line) { return execute(QUILL_PATH, line); }

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Failed with this exit status, saying this among its messages.
void expect_failure(const Outcome& r, int status, const std::string& part) {
  EXPECT_EQ(r.status, status) << r.err;
  EXPECT_TRUE(contains(r.err, part)) << r.err;
}

// Succeeded, printing exactly this.
void expect_output(const Outcome& r, const std::string& out) {
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, out);
}

#define EXPECT_OK(r) EXPECT_EQ((r).status, 0) << (r).out << (r).err
#define ASSERT_OK(r) ASSERT_EQ((r).status, 0) << (r).out << (r).err

// Succeeded, printing this among other lines.
void expect_saying(const Outcome& r, const std::string& part) {
  EXPECT_OK(r);
  EXPECT_TRUE(contains(r.out, part)) << r.out;
}

// Command lines that must succeed, in order.
void succeed(std::initializer_list<std::string> lines) {
  for (const std::string& line : lines) ASSERT_OK(cli(line)) << line;
}

class TrackloreCli : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_OK(cli("create")); }
  TempDir dir_;
};

// Which entry a name finds is the catalogue's to prove; here, the
// program's messages, its show and list layouts and its refusals.
TEST_F(TrackloreCli, LinkShowAndListSayWhatTheyDidAndRefuseAmbiguousNames) {
  ASSERT_OK(cli("add album 'Abbey Road'"));
  expect_output(cli("link 'Abbey Road' artist 'The Beatles'"),
                "created artist \"The Beatles\" (#0)\n"
                "linked artist \"The Beatles\" (#0) to album \"Abbey Road\" (#0) at position 0\n");
  succeed({"link 'Abbey Road' song 'Come Together'",
           "link 'Abbey Road' artist 'George Martin' --at 0"});
  expect_failure(cli("show 'Abb\xC3\xA9y Road'"), 1,
                 "no album is named \"Abb\xC3\xA9y Road\" "
                 "(similar: \"Abbey Road\" #0 (George Martin))");
  expect_output(cli("show 'Abbey Road'"),
                "Album:        Abbey Road\n"
                "Code:         0\n"
                "Mark:         (blank)\n"
                "First artist: George Martin (#1)\n"
                "Artists:\n"
                "  0  George Martin (#1)\n"
                "  1  The Beatles (#0)\n"
                "Songs:\n"
                "  0  Come Together (#0)\n");
  EXPECT_EQ(cli("list albums").out, "0\tAbbey Road\t \tGeorge Martin\t1\n");

  // Ambiguous names are refused with their codes, an album's with its first
  // artist.
  ASSERT_OK(cli("add album 'Greatest Hits'"));
  Outcome second = cli("add album 'GREATEST HITS'");
  EXPECT_OK(second);
  EXPECT_TRUE(contains(second.err, "also names #1 (no artist)"));
  ASSERT_OK(cli("link '#1' artist ABBA"));
  expect_failure(cli("show 'Greatest Hits'"), 1,
                 "several albums are named \"Greatest Hits\": #1 (ABBA), #2 (no artist)");
  EXPECT_EQ(cli("link 'Greatest Hits' song X").status, 1);
  EXPECT_EQ(cli("list songs --prefix X").out, "");  // nothing made on the way
  EXPECT_OK(cli("link '#2' song X"));
  EXPECT_TRUE(contains(cli("show '#2'").out, "  0  X (#1)\n"));
  EXPECT_EQ(cli("show '#7'").status, 1);
}

// Wrong usage ends with status 2 before anything is opened or changed.
TEST_F(TrackloreCli, UsageErrorsAndNamesThatLookLikeOptions) {
  for (const char* line : {"frobnicate", "show", "list records", "list albums --at 1",
                           "list albums --dry-run", "--yes --no verify", "move A artist 1 sideways",
                           "xref album First", "list songs --prefer-files A", "--main attr001 list songs",
                           "add song '-5 Minutes'"})
    EXPECT_EQ(cli(line).status, 2) << line;
  EXPECT_EQ(cli("-C no-such-directory list songs").status, 1);
  // Names that look like options follow a double dash.
  EXPECT_OK(cli("add song -- '-5 Minutes'"));
  EXPECT_EQ(cli("list songs").out, "0\t-5 Minutes\t0\n");
}

TEST_F(TrackloreCli, UnlinkKeepsOrPurgesAndMovesStopAtTheEnds) {
  succeed({"add album A", "link A song One", "link A song Two"});
  Outcome keep = cli("unlink A song 0");  // no terminal: the song is kept
  EXPECT_OK(keep);
  EXPECT_TRUE(contains(keep.err, "-> Cancel (standard input is not a terminal"));
  EXPECT_TRUE(contains(keep.out, "kept song \"One\" (#0), which no album uses now"));
  expect_saying(cli("unlink A song 0 --purge"), "purged song \"Two\" (#1)");
  EXPECT_EQ(cli("unlink A song 5").status, 1);
  succeed({"link A artist Ann"});
  expect_failure(cli("move A artist 0 down"), 1,
                 "artist \"Ann\" (#0) is already last; nothing changed");
}

// Rows that only damage or another tool make: one naming no song, one at
// the largest position there is.
TEST_F(TrackloreCli, UnlinksARowWhoseSongIsGoneAndLinksNoFurtherThanTheLast) {
  succeed({"add album A", "link A song Gone"});
  ASSERT_OK(quilltool("delete attr002 0"));
  expect_output(cli("unlink A song 0 --purge"),
                "removed the row at position 0 of album \"A\" (#0), which named no existing song "
                "(#0)\n");
  ASSERT_OK(quilltool("append rel002 Title=0 Seq=32767 Attr=0"));
  expect_failure(cli("link A song Y"), 1,
                 "album \"A\" (#0) has its songs up to position 32767, the last there is; "
                 "nothing changed");
}

TEST_F(TrackloreCli, AsksBeforeMakingANameLikeAnExistingOne) {
  succeed({"add album A", "add artist 'Sigur Rós'"});
  expect_failure(cli("link A artist 'Sigur Ros'"), 1,
                 "Confirm insert: Artist with a similar name: \"Sigur Rós\" (#0).\n"
                 "Do you want to create a new artist \"Sigur Ros\"?\n  -> Cancel");
  EXPECT_EQ(cli("link A artist 'Sigur Ros' --no").status, 1);
  expect_saying(cli("link A artist 'Sigur Ros' --yes"), "created artist \"Sigur Ros\" (#1)");
  // The same name, letter case aside, is the one there: never a second.
  expect_failure(cli("add artist 'SIGUR RÓS'"), 1,
                 "artist \"Sigur Rós\" (#0) exists already; nothing was created");
}

// Import's one identity: the full name, letter case aside. An entry it
// made itself counts as one that was there; an album is the same when its
// first artist is too.
TEST_F(TrackloreCli, ImportReusesOnlyAnEntryOfTheSameNameLetterCaseAside) {
  succeed({"add album A", "link A artist Nirvana", "add album B", "link B artist 'Beyonc\xC3\xA9'"});
  std::ofstream("names.csv") << "A,artist,0,NIRVANA\nA,artist,1,Beyonce\n"
                                "A,song,0,J\xC3\xB3ga\nA,song,1,Joga\nB,song,0,JOGA\n";
  Outcome import = cli("import names.csv");
  expect_output(import,
                "imported 2 albums with 2 artist and 3 song entries; created 1 artist and 2 songs\n"
                "reused 1 artist and 1 song whose names differ from the file's only in letter "
                "case\n");
  EXPECT_TRUE(contains(import.err, "artist \"NIRVANA\" is taken as artist \"Nirvana\" (#0)"));
  EXPECT_TRUE(contains(import.err, "album \"A\" exists already (#0)"));
  EXPECT_FALSE(contains(import.err, "album \"B\""));
  EXPECT_EQ(cli("list artists").out,
            "1\tBeyonc\xC3\xA9\t1\n2\tBeyonce\t1\n0\tNirvana\t2\n");
  EXPECT_EQ(cli("list songs").out, "0\tJ\xC3\xB3ga\t1\n1\tJoga\t2\n");
}

TEST_F(TrackloreCli, RenamesDeletesAndCrossReferencesWithTheProgramsRules) {
  succeed({"add album First", "add album Second", "link Second artist Prince",
           "link First artist Guest", "link First artist Prince"});

  expect_failure(cli("rename artist prince 'The Artist'"), 1,  // used twice: asks
                 "This artist has 2 album(s) referring to it.");
  expect_output(cli("--yes rename artist prince 'The Artist'"),
                "renamed artist \"Prince\" (#0) to \"The Artist\"\n");
  expect_output(cli("xref artist 'The Artist'"), "1\tSecond\t0\n0\tFirst\t1\n");
  EXPECT_EQ(cli("delete album First").status, 1);  // not empty: asks
  succeed({"delete album First --yes"});
  EXPECT_EQ(cli("delete song lonely").status, 1);
}

TEST_F(TrackloreCli, SearchAndStatsPrintGroupedFindsAndCounts) {
  succeed({"add album 'The Wall'", "link 'The Wall' artist 'Pink Floyd'",
           "link 'The Wall' song 'Another Brick In The Wall'", "add song Stonewall"});
  expect_output(cli("search WALL"), "Albums (1):\n#0\tThe Wall\tPink Floyd\n"
                                    "Songs (1):\n#0\tAnother Brick In The Wall\n");
  expect_output(cli("search wall --kind song"), "Songs (1):\n#0\tAnother Brick In The Wall\n");
  expect_failure(cli("search floyd --kind album"), 1, "nothing is named with \"floyd\"");
  expect_failure(cli("search wall --kind tune"), 2, "--kind takes album, artist or song");
  expect_failure(cli("search '?!'"), 2, "search needs a word");
  expect_failure(cli("list songs --kind song"), 2, "--kind belongs to search");

  expect_saying(cli("stats"), "Songs no album uses: 1\n  #1\tStonewall\n");
  expect_saying(cli("stats --purge"), "Deleted 1 artists and songs that no album used.\n");
  expect_saying(cli("stats"), "Songs: 1\n");
  expect_failure(cli("stats --keep"), 2, "stats takes --purge");
}

TEST_F(TrackloreCli, ListsDuplicatesMergesThemAndRenameRefusesASecondOfOneName) {
  succeed({"add album Post", "link Post artist Björk", "add artist Bjork", "add album Homogenic",
           "link Homogenic artist '#1'"});
  expect_output(cli("duplicates artists"), "Artists alike:\n1\t0\tBjörk\t1\n1\t1\tBjork\t1\n");
  expect_failure(cli("rename artist '#1' BJÖRK"), 1,
                 "artist \"Björk\" (#0) bears that name; tracklore-cli merge artist '#0' '#1' makes "
                 "the two one");
  expect_output(cli("merge artist Björk '#1'"),
                "merged artist \"Bjork\" (#1) into artist \"Björk\" (#0): 1 link moved; \"Bjork\" "
                "deleted\n");
  expect_output(cli("duplicates artists"), "Artists alike: none\n");
  expect_failure(cli("merge artist '#0' Björk"), 1, "merge takes two artists");
  expect_failure(cli("merge artist '#0' '#1'"), 1, "no artist has the code #1");
  EXPECT_EQ(cli("merge label '#0' '#1'").status, 2);
}

TEST_F(TrackloreCli, UndoAndRedoSayWhatTheyDidAndTakeAWholeImportAsOne) {
  succeed({"add album 'OK Computer'", "link 'OK Computer' song 'Karma Police'"});
  expect_output(cli("undo"), "Undone: link of 'Karma Police' to 'OK Computer'\n");
  expect_output(cli("redo"), "Redone: link of 'Karma Police' to 'OK Computer'\n");
  expect_failure(cli("redo"), 1, "There is nothing to redo.");
  std::ofstream("a.csv") << "Other,artist,0,Someone\nOther,song,0,Something\nMore,song,0,Else\n";
  succeed({"import a.csv"});
  expect_output(cli("undo"), "Undone: import of 'a.csv' (2 albums)\n");
  expect_output(cli("redo"), "Redone: import of 'a.csv' (2 albums)\n");
}

TEST_F(TrackloreCli, VerifyAsksRecoverMendsAndPackWantsAReindex) {
  succeed({"add album A", "link A song S"});
  ASSERT_OK(quilltool("update attr002 0 Ref_count=5"));
  Outcome no = cli("verify");
  expect_failure(no, 1, "Invalid reference count: Table attr002:\nIn song 0 (\"S\"),\n"
                        "reference count is 5 and should be 1. Correct?\n  -> No");
  EXPECT_EQ(no.out, "Verification complete: 1 problem found, 0 corrected.\n");

  // Asked nothing and with no terminal, a pack still leaves indexes in use.
  Outcome pack = cli("pack");
  EXPECT_OK(pack);
  EXPECT_EQ(pack.out, "Pack succeeded.\nReindex succeeded.\n");
  EXPECT_TRUE(contains(pack.err, "Packing table 3 of 7: album artists"));
  succeed({"list albums"});
  ASSERT_OK(quilltool("pack maindb"));
  Outcome stale = cli("list albums");
  expect_failure(stale, 1, "IndexOutOfDate");
  EXPECT_TRUE(contains(stale.err, "tracklore-cli recover mends it"));
  Outcome recover = cli("recover");
  expect_saying(recover, "reindexed maindb (the index cannot be used: IndexOutOfDate)\n");
  expect_saying(recover, "verification: 1 reference count corrected\n"
                         "Recovery complete: the database is whole.\n");

  ASSERT_OK(quilltool("update attr002 0 Ref_count=5"));
  Outcome yes = cli("verify --yes");
  EXPECT_OK(yes);
  EXPECT_TRUE(contains(yes.err, "Verifying table 4 of 6: songs"));
  EXPECT_EQ(yes.out, "Verification complete: 1 problem found, 1 corrected.\n");
  EXPECT_EQ(cli("verify").out, "Verification complete: no problems found.\n");
  expect_output(cli("reindex"), "Reindex succeeded.\n");
}

TEST_F(TrackloreCli, VerifysExitStatusSaysWhatRemains) {
  succeed({"add album A", "add album B"});
  {
    // Album B takes album A's code (the last byte of record 1's Code field,
    // at datastart 186 + reclen 67 + offset 56 + 3), which only damage does.
    std::fstream data("maindb.db1", std::ios::in | std::ios::out | std::ios::binary);
    data.seekp(186 + 67 + 59);
    data.put('\0');
  }
  ASSERT_OK(quilltool("reindex maindb"));
  Outcome duplicate = cli("verify --yes");
  expect_failure(duplicate, 1, "Duplicate code: Table maindb:");
  EXPECT_EQ(duplicate.out,
            "Verification complete: 1 problem found, 0 corrected.\n"
            "1 duplicate code cannot be corrected automatically.\n");

  // Nothing is written without --yes, so the tables may be read-only files
  // (for root too, once it cannot override file modes).
  for (const auto& entry : std::filesystem::directory_iterator("."))
    std::filesystem::permissions(entry.path(), std::filesystem::perms(0444));
  const std::string reader =
      geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search,-fowner " +
                           std::string(TRACKLORE_CLI_PATH)
                     : std::string(TRACKLORE_CLI_PATH);
  Outcome readonly = execute(reader, "verify --no");
  EXPECT_EQ(readonly.status, 1) << readonly.err;
  EXPECT_EQ(readonly.out, duplicate.out);

  std::filesystem::remove("rel002.idx");
  expect_failure(cli("verify"), 2,
                 "Verification failed: the database needs recovery; tracklore-cli recover mends it");
}

// Only an empty name, and one longer than a full name holds, are refused;
// how names in any script are kept and found is the catalogue's to prove.
TEST_F(TrackloreCli, RefusesEmptyAndOverlongNamesAndImportsNothingOfABadFile) {
  expect_failure(cli("add artist '   '"), 1, "the artist name is empty");
  expect_failure(cli("add artist " + std::string(256, 'y')), 1, "longer than 255 characters");
  std::ofstream("bad.csv") << "album,kind,position,name\r\nGood,song,0,Fine\r\n"
                              "Also Good,,,\r\nThird,artist,0,  \r\n";
  Outcome import = cli("import bad.csv");
  expect_failure(import, 1, "line 4: the artist name is empty");
  EXPECT_TRUE(contains(import.err, "nothing was imported"));
  EXPECT_EQ(cli("list songs").out, "");
}

// Messages show what they echo escaped and cut.
TEST_F(TrackloreCli, MessagesShowInputEscapedAndCut) {
  Outcome escape = cli("'Clear \x1b[2J'");
  expect_failure(escape, 2, "\"Clear \\x1B[2J\"");
  Outcome stem = cli("--main '\x1b[2J' list albums");  // the engine's own message
  EXPECT_TRUE(contains(stem.err, "Datafile \"\\x1B[2J\""));
  std::ofstream("odd.csv") << "A," << std::string(60000, 'k') << ",0,x\n";
  Outcome odd = cli("import odd.csv");
  expect_failure(odd, 1, "not \"" + std::string(64, 'k') + "...\" (60000 bytes)\n");
  for (const std::string& err : {escape.err, stem.err, odd.err}) {
    EXPECT_EQ(err.find('\x1b'), std::string::npos);
    EXPECT_LT(err.size(), 1000u);
  }
  std::filesystem::create_directory("odd\x1B[2Jname");
  const Outcome created = cli("-C 'odd\x1B[2Jname' create");
  EXPECT_OK(created);
  EXPECT_TRUE(contains(created.out, "odd\\x1B[2Jname\n")) << created.out;
}

TEST_F(TrackloreCli, ExportAndImportRoundTrip) {
  // Three albums of one name: songs only, artists only, songs only.
  succeed({"add album 'Caf\xC3\xA9 Cr\xC3\xA8me'", "link 'Café Crème' artist 'Zoë, \"The\" Band'",
           "link 'Café Crème' song 'Ça Va'", "link 'Café Crème' song 'Track 10'",
           "link 'Café Crème' song 'Track 2'", "add album Empty", "add album Twice",
           "add album Twice", "add album Twice", "link '#4' song 'Ça Va'", "link '#3' artist Guest",
           "link '#2' song Other", "export first.csv"});
  const std::string first = slurp("first.csv");
  EXPECT_EQ(first,
            "album,kind,position,name,album_code\r\n"
            "Café Crème,artist,0,\"Zoë, \"\"The\"\" Band\",0\r\n"
            "Café Crème,song,0,Ça Va,0\r\n"
            "Café Crème,song,1,Track 10,0\r\n"
            "Café Crème,song,2,Track 2,0\r\n"
            "Empty,,,,1\r\n"
            "Twice,song,0,Other,2\r\n"
            "Twice,artist,0,Guest,3\r\n"
            "Twice,song,0,Ça Va,4\r\n");
  EXPECT_EQ(cli("export").out, first);

  std::filesystem::create_directory("copy");
  ASSERT_OK(cli("-C copy create"));
  expect_output(cli("-C copy import ../first.csv"),
                "imported 5 albums with 2 artist and 5 song entries; created 2 artists and 4 "
                "songs\n");
  ASSERT_OK(cli("-C copy export second.csv"));
  EXPECT_EQ(slurp("copy/second.csv"), first);
  EXPECT_EQ(cli("-C copy list songs --prefix ca").out, "0\tÇa Va\t2\n");
  expect_saying(cli("-C copy verify"), "no problems found");
}

TEST_F(TrackloreCli, ImportsLooserFilesOfBoundedRecordsAndKeepsRunsApart) {
  std::filesystem::create_directory("folder.csv");
  expect_failure(cli("import folder.csv"), 1,
                 "cannot import \"folder.csv\": it is not a regular file");
  EXPECT_EQ(cli("import /dev/zero").status, 1);
  std::ofstream("long.csv") << "A,song,0,x\nB,song,0," << std::string(70000, 'y') << "\n";
  expect_failure(cli("import long.csv"), 1, "line 2: a record longer than 65536 bytes");
  EXPECT_EQ(cli("list albums").out, "");

  // Byte order mark, LF line ends, no header, positions out of order; the
  // second run of X is another album.
  std::ofstream("loose.csv") << "\xEF\xBB\xBFX,song,1,B\nX,song,0,A\nY,,,\nX,artist,0,Solo";
  expect_saying(cli("import loose.csv"), "imported 3 albums with 1 artist and 2 song entries");
  EXPECT_EQ(cli("list albums").out, "0\tX\t*\t--\t2\n2\tX\t*\tSolo\t0\n1\tY\t*\t--\t0\n");
  EXPECT_TRUE(contains(cli("show '#0'").out, "Songs:\n  0  A (#0)\n  1  B (#1)\n"));
  EXPECT_TRUE(contains(cli("show '#2'").out, "Artists:\n  0  Solo (#0)\nSongs:\n"));
}

TEST_F(TrackloreCli, AFatalEngineErrorEndsWithTheDocumentedStatus) {
  ASSERT_OK(cli("add album X"));
  // The key length of the first entry in the root page of the Name tree.
  const std::string tree = quilltool("tree maindb 0").out;
  const size_t at = tree.find("root ");
  ASSERT_NE(at, std::string::npos) << tree;
  {
    std::fstream idx("maindb.idx", std::ios::in | std::ios::out | std::ios::binary);
    idx.seekp(std::stol(tree.substr(at + 5)) + 6);
    idx.write("\x7f\x7f", 2);
  }
  expect_failure(cli("list albums"), 255, "Fatal error (aborting): Page::load: damaged page");
  EXPECT_TRUE(contains(cli("--help").out, "\n255: stopped by a fatal error of the engine"));
  EXPECT_EQ(quilltool("list maindb --tag 0").status, 255);
  EXPECT_TRUE(contains(quilltool("--help").out, "255 stopped by a fatal error of the engine"));
}

TEST(TrackloreCliRun, ReportsOpenFailuresAndCreatesOnlyOnce) {
  TempDir dir;
  expect_failure(cli("list albums"), 1, "Operation open failed on Datafile \"maindb\"");
  succeed({"--main music create", "--main music add album X"});
  EXPECT_TRUE(std::filesystem::exists("music.db1"));
  EXPECT_EQ(cli("--main music create").status, 1);  // one is here already
  EXPECT_EQ(cli("--main music list albums").out, "0\tX\t*\t--\t0\n");
}

// Beside a program that has the database open read-only (its tables held
// shared), reading commands work and changes are refused, saying why.
TEST_F(TrackloreCli, ReadsBesideAProgramThatReadsAndSaysWhyItCannotChange) {
  succeed({"add album X"});
  quill::File program;
  ASSERT_EQ(program.open("attr001.db1", quill::Access::ReadOnly, quill::Sharing::Shared), 0);
  expect_output(cli("list albums"), "0\tX\t*\t--\t0\n");
  expect_saying(cli("verify --no"), "no problems found");
  expect_failure(cli("add album Y"), 1,
                 "Another program is using the database to read it (table \"attr001\" is held)");
}

// A music folder of tagged FLAC files.
void flacfile(const std::string& path, const std::string& title, const std::string& album, int track) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::string problem;
  ASSERT_TRUE(tracklore::test::makeaudio("flac", path, &problem)) << problem;
  ASSERT_TRUE(tracklore::test::writetags(path, {title, album, "Band", "", std::to_string(track)}));
}

// The dry run's summary is the scan's, but for its words.
std::string asdone(std::string planned) {
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"to add", "added"},
                                 {"to create", "created"},
                                 {"dry run: nothing was written\n", ""}})
    if (const size_t at = planned.find(from); at != std::string::npos) planned.replace(at, from.size(), to);
  return planned;
}

TEST_F(TrackloreCli, ScanSummarisesReportsAndSaysWhenARepeatChangesNothing) {
  flacfile("music/one/1.flac", "first", "one", 1);
  flacfile("music/two/1.flac", "other", "two", 1);
  flacfile("music/mix/1.flac", "first", "one", 1);  // a copy
  std::ofstream("music/one/cover.jpg") << "jpeg";

  const Outcome planned = cli("scan music --dry-run");
  EXPECT_OK(planned);
  EXPECT_EQ(cli("list albums").out, "");

  const Outcome done = cli("scan music --report report.txt");
  expect_output(done,
                "3 audio files read, 0 skipped, 1 not audio\n"
                "2 songs in 2 albums, 1 copy linked once\n"
                "albums: 2 added, 0 completed, 0 already there, 0 left alone\n"
                "created 2 songs and 1 artist\n"
                "names: 0 transliterated, 0 cut, 0 stand-ins, 0 mended\n");
  EXPECT_EQ(asdone(planned.out), done.out);
  // Folders are remembered, and walked, in full.
  const std::string here = std::filesystem::current_path().string();
  EXPECT_EQ(slurp("report.txt"), here + "/music/one/1.flac: a copy of " + here +
                                     "/music/mix/1.flac (disc 1, track 1, \"first\"): linked once\n");

  expect_saying(cli("scan music"), "nothing changed");
  expect_failure(cli("scan nowhere"), 1, "cannot scan nowhere");
}

// Without folders, scan rescans the remembered ones: unchanged files are
// not opened, a deleted file's song goes, a moved drive changes nothing.
TEST_F(TrackloreCli, ScanWithoutFoldersRescansTheRememberedOnes) {
  expect_failure(cli("scan"), 1, "no folder to rescan");
  flacfile("music/one/1.flac", "first", "one", 1);
  flacfile("music/one/2.flac", "second", "one", 2);
  EXPECT_OK(cli("scan music"));
  std::filesystem::remove("music/one/2.flac");
  expect_saying(cli("scan --dry-run"), "1 gone; albums following their files: 1 to change");
  expect_saying(cli("scan"), "1 gone; albums following their files: 1 changed");
  const std::string music = std::filesystem::current_path().string() + "/music";
  expect_output(cli("undo"), "Undone: scan of '" + music + "' (1 album changed)\n");
  expect_output(cli("redo"), "Redone: scan of '" + music + "' (1 album changed)\n");
  std::filesystem::rename("music", "unmounted");
  expect_failure(cli("scan"), 1, "no audio file found in " + std::filesystem::current_path().string() + "/music");
}

// Folders without an audio file (empty, an unmounted share) fail and say
// so; what is hidden is read only when asked.
TEST_F(TrackloreCli, ScanOfFoldersWithoutAudioFails) {
  std::filesystem::create_directories("empty");
  std::ofstream("empty/notes.txt") << "setlist";
  expect_failure(cli("scan empty"), 1, "no audio file found in empty");
  flacfile("shy/.old/1.flac", "first", "one", 1);
  expect_failure(cli("scan shy"), 1, "(hidden files and folders are read with --hidden)");
  expect_saying(cli("scan shy --hidden"), "albums: 1 added");
}

// A change whose index cannot be written back when the tables close has
// done its work but left the database needing recovery: the command fails
// and says so. Here the index's page writes lie past a file size limit
// that the record's own writes stay under.
TEST_F(TrackloreCli, AnEditFailingAtItsEndFailsTheCommandAndNamesRecover) {
  std::ofstream csv("songs.csv");
  csv << "album,kind,position,name,album_code\n";
  for (int album = 1; album <= 40; ++album)
    for (int song = 0; song < 10; ++song)
      csv << "Album " << album << ",song," << song << ",Song " << album << "-" << song << ","
          << album << "\n";
  csv.close();
  const auto kib = [](const char* file) { return std::filesystem::file_size(file) / 1024; };
  // On a new catalogue of those songs: room for the new song's record, none
  // for the last pages of the songs' index.
  const auto limited = [&](const std::string& line) {
    for (const auto& file : std::filesystem::directory_iterator("."))
      if (file.path().extension() != ".csv") std::filesystem::remove(file.path());
    EXPECT_EQ(cli("create").status, 0);
    EXPECT_EQ(cli("import songs.csv").status, 0);
    const auto limit = kib("attr002.db1") + 1;
    EXPECT_GT(kib("attr002.idx"), limit + 1);
    return execute("bash -c \"trap '' XFSZ; ulimit -f " + std::to_string(limit) + "; exec " +
                       TRACKLORE_CLI_PATH + " \\\"\\$@\\\"\" cli",
                   line);
  };
  // An edit writes its tables out at its end: failing there, it says so
  // and nothing else, and recovery takes it back.
  const Outcome link = limited("link 'Album 40' song 'Zzz new'");
  expect_failure(link, 1, "tracklore-cli recover takes it back");
  EXPECT_FALSE(contains(link.out, "linked")) << link.out;
  ASSERT_OK(cli("recover"));
  EXPECT_FALSE(contains(cli("show 'Album 40'").out, "Zzz new"));
}

// Input that is refused with a message saying what is wrong and where.
TEST_F(TrackloreCli, ImportRefusesBadAlbumCodesAndBlankNamesAndHintsAtLineEnds) {
  std::ofstream("codes.csv") << "album,kind,position,name,album_code\n"
                                "A,song,0,x,abc\nB,song,0,x,-1\nC,song,0,x,07\nC,song,0,y,7\n"
                                "\xC2\xA0 \xC2\xA0,song,0,x,\nD,song,0,\xC2\xA0,\n";
  const Outcome codes = cli("import codes.csv");
  expect_failure(codes, 1, "line 2: the album_code is a number from 0 on, not \"abc\"");
  EXPECT_TRUE(contains(codes.err, "line 3: the album_code is a number from 0 on, not \"-1\""));
  EXPECT_TRUE(contains(codes.err, "line 6: the album name is empty"));
  EXPECT_TRUE(contains(codes.err, "line 7: the song name is empty"));
  EXPECT_TRUE(contains(codes.err, "line 5: album_code \"7\" has a second song at position 0"));  // 07 is 7

  std::ofstream("mac.csv") << "album,kind,position,name\rA,song,0,x\rB,song,0,y\r";
  expect_failure(cli("import mac.csv"), 1, "its lines seem to end in a carriage return alone");
  EXPECT_EQ(cli("list albums").out, "");
}

}  // namespace
