// tracklore-cli end to end: the real program run in a scratch directory.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include "tests/engine/testutil.h"

namespace {

using quill::test::TempDir;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string shellquoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// Standard input is never a terminal here, so every unanswered question
// takes the safe answer.
Outcome execute(const std::string& program, std::initializer_list<std::string> args) {
  std::string command = "timeout 30 " + program;
  for (const std::string& a : args) command += " " + shellquoted(a);
  command += " </dev/null 2>cli-stderr.txt";
  Outcome r;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
  int status = pclose(pipe);
  if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
  r.err = slurp("cli-stderr.txt");
  std::filesystem::remove("cli-stderr.txt");
  return r;
}

Outcome cli(std::initializer_list<std::string> args) { return execute(TRACKLORE_CLI_PATH, args); }
Outcome quilltool(std::initializer_list<std::string> args) { return execute(QUILL_PATH, args); }

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

#define EXPECT_OK(r) EXPECT_EQ((r).status, 0) << (r).out << (r).err
#define ASSERT_OK(r) ASSERT_EQ((r).status, 0) << (r).out << (r).err

class TrackloreCli : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_OK(cli({"create"})); }
  TempDir dir_;
};

TEST_F(TrackloreCli, LinkCreatesCapitalisedEntriesAtTheirPositions) {
  ASSERT_OK(cli({"add", "album", "abbey road"}));
  Outcome link = cli({"link", "abbey road", "artist", "the beatles"});
  EXPECT_OK(link);
  EXPECT_EQ(link.out,
            "created artist \"The Beatles\" (#0)\n"
            "linked artist \"The Beatles\" (#0) to album \"Abbey Road\" (#0) at position 0\n");
  ASSERT_OK(cli({"link", "Abbey Road", "song", "come together"}));
  ASSERT_OK(cli({"link", "Abbey Road", "song", "something"}));
  ASSERT_OK(cli({"link", "Abbey Road", "song", "oh! darling", "--at", "1"}));
  ASSERT_OK(cli({"link", "Abbey Road", "artist", "george martin", "--at", "0"}));
  // An existing entry is reused, not made again.
  Outcome again = cli({"link", "#0", "song", "Something", "--at", "9"});
  EXPECT_EQ(again.out, "linked song \"Something\" (#1) to album \"Abbey Road\" (#0) at position 3\n");

  Outcome show = cli({"show", "ABBEY road"});  // capitalised as stored: "ABBEY Road" is not it
  EXPECT_EQ(show.status, 1);
  EXPECT_TRUE(contains(show.err, "no album is named \"ABBEY Road\" (similar: \"Abbey Road\" #0)"));
  show = cli({"show", "abbey road"});
  EXPECT_OK(show);
  EXPECT_EQ(show.out,
            "Album:        Abbey Road\n"
            "Code:         0\n"
            "Mark:         (blank)\n"
            "First artist: George Martin (#1)\n"
            "Artists:\n"
            "  0  George Martin (#1)\n"
            "  1  The Beatles (#0)\n"
            "Songs:\n"
            "  0  Come Together (#0)\n"
            "  1  Oh! Darling (#2)\n"
            "  2  Something (#1)\n"
            "  3  Something (#1)\n");
  EXPECT_EQ(cli({"list", "songs"}).out, "0\tCome Together\t1\n2\tOh! Darling\t1\n1\tSomething\t2\n");
}

TEST_F(TrackloreCli, ListsInNaturalOrderWithPrefix) {
  for (const char* name : {"Track 10", "track 2", "Track 1", "Blue Moon", "Track 100"})
    ASSERT_OK(cli({"add", "song", name}));
  ASSERT_OK(cli({"add", "album", "Singles"}));
  Outcome all = cli({"list", "songs"});
  EXPECT_EQ(all.out,
            "3\tBlue Moon\t0\n2\tTrack 1\t0\n1\tTrack 2\t0\n0\tTrack 10\t0\n4\tTrack 100\t0\n");
  EXPECT_EQ(cli({"list", "songs", "--prefix", "track 1"}).out,
            "2\tTrack 1\t0\n0\tTrack 10\t0\n4\tTrack 100\t0\n");
  EXPECT_EQ(cli({"list", "songs", "--prefix", "TRACK"}).out,
            "2\tTrack 1\t0\n1\tTrack 2\t0\n0\tTrack 10\t0\n4\tTrack 100\t0\n");
  EXPECT_EQ(cli({"list", "songs", "--prefix", "Zz"}).out, "");
  EXPECT_EQ(cli({"list", "albums"}).out, "0\tSingles\t*\n");
  EXPECT_EQ(cli({"list", "records"}).status, 2);
}

TEST_F(TrackloreCli, UnlinkKeepsOrPurgesAndRenumbers) {
  ASSERT_OK(cli({"add", "album", "A"}));
  for (const char* song : {"One", "Two", "Three"}) ASSERT_OK(cli({"link", "A", "song", song}));
  Outcome keep = cli({"unlink", "A", "song", "0"});  // no terminal: the song is kept
  EXPECT_OK(keep);
  EXPECT_TRUE(contains(keep.err, "Confirm purge: There are no more references to \"One\"."));
  EXPECT_TRUE(contains(keep.err, "-> Cancel (standard input is not a terminal"));
  EXPECT_TRUE(contains(keep.out, "kept song \"One\" (#0), which no album uses now"));
  Outcome purge = cli({"unlink", "A", "song", "1", "--purge"});
  EXPECT_OK(purge);
  EXPECT_TRUE(contains(purge.out, "purged song \"Three\" (#2)"));
  ASSERT_OK(cli({"link", "A", "song", "One"}));
  EXPECT_OK(cli({"unlink", "A", "song", "1", "--keep"}));
  EXPECT_TRUE(contains(cli({"show", "A"}).out, "Songs:\n  0  Two (#1)\n"));
  EXPECT_EQ(cli({"list", "songs"}).out, "0\tOne\t0\n1\tTwo\t1\n");
  EXPECT_EQ(cli({"unlink", "A", "song", "5"}).status, 1);
}

TEST_F(TrackloreCli, MovesUpAndDownButNotPastTheEnds) {
  ASSERT_OK(cli({"add", "album", "A"}));
  for (const char* artist : {"Ann", "Bob", "Cy"}) ASSERT_OK(cli({"link", "A", "artist", artist}));
  EXPECT_OK(cli({"move", "A", "artist", "0", "down"}));
  EXPECT_OK(cli({"move", "A", "artist", "2", "up"}));
  const std::string order = "Artists:\n  0  Bob (#1)\n  1  Cy (#2)\n  2  Ann (#0)\n";
  EXPECT_TRUE(contains(cli({"show", "A"}).out, "First artist: Bob (#1)\n" + order));

  Outcome last = cli({"move", "A", "artist", "2", "down"});
  EXPECT_EQ(last.status, 1);
  EXPECT_TRUE(contains(last.err, "artist \"Ann\" (#0) is already last; nothing changed"));
  EXPECT_EQ(cli({"move", "A", "artist", "0", "up"}).status, 1);
  EXPECT_EQ(cli({"move", "A", "artist", "1", "sideways"}).status, 2);
  EXPECT_TRUE(contains(cli({"show", "A"}).out, order));
  EXPECT_EQ(cli({"list", "artists"}).out, "0\tAnn\t1\n1\tBob\t1\n2\tCy\t1\n");
  EXPECT_TRUE(contains(cli({"verify"}).out, "no problems found"));
}

TEST_F(TrackloreCli, RenamesAndDeletesWithTheProgramsRules) {
  ASSERT_OK(cli({"add", "album", "First"}));
  ASSERT_OK(cli({"add", "album", "Second"}));
  ASSERT_OK(cli({"link", "First", "artist", "Prince"}));
  ASSERT_OK(cli({"link", "Second", "artist", "Prince"}));
  ASSERT_OK(cli({"link", "First", "song", "Only Here"}));

  Outcome rename = cli({"rename", "artist", "prince", "the artist"});  // used twice: asks
  EXPECT_EQ(rename.status, 1);
  EXPECT_TRUE(contains(rename.err, "This artist has 2 album(s) referencing to it."));
  rename = cli({"--yes", "rename", "artist", "prince", "the artist"});
  EXPECT_OK(rename);
  EXPECT_EQ(rename.out, "renamed artist \"Prince\" (#0) to \"The Artist\"\n");
  EXPECT_OK(cli({"rename", "album", "#1", "second time"}));

  Outcome refused = cli({"delete", "artist", "The Artist"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(contains(refused.err, "This artist \"The Artist\" is referenced by 2 album(s). It cannot be deleted."));
  EXPECT_EQ(cli({"delete", "album", "First"}).status, 1);  // not empty: asks
  EXPECT_OK(cli({"delete", "album", "First", "--yes"}));
  // Its song went with it; the shared artist lost one use.
  EXPECT_EQ(cli({"list", "songs"}).out, "");
  EXPECT_EQ(cli({"list", "artists"}).out, "0\tThe Artist\t1\n");
  EXPECT_EQ(cli({"list", "albums"}).out, "1\tSecond Time\t*\n");
  ASSERT_OK(cli({"add", "song", "Lonely"}));
  EXPECT_OK(cli({"delete", "song", "lonely"}));
  EXPECT_EQ(cli({"delete", "song", "lonely"}).status, 1);
}

TEST_F(TrackloreCli, CrossReferencesAnArtist) {
  ASSERT_OK(cli({"add", "album", "Live"}));
  ASSERT_OK(cli({"add", "album", "Studio"}));
  ASSERT_OK(cli({"link", "Studio", "artist", "Band"}));
  ASSERT_OK(cli({"link", "Live", "artist", "Guest"}));
  ASSERT_OK(cli({"link", "Live", "artist", "Band"}));
  Outcome xref = cli({"xref", "artist", "band"});
  EXPECT_OK(xref);
  EXPECT_EQ(xref.out, "1\tStudio\t0\n0\tLive\t1\n");
  EXPECT_EQ(cli({"xref", "album", "Live"}).status, 2);
}

TEST_F(TrackloreCli, PackThenReindex) {
  ASSERT_OK(cli({"add", "album", "Keep"}));
  ASSERT_OK(cli({"add", "album", "Drop"}));
  ASSERT_OK(cli({"delete", "album", "Drop"}));
  Outcome pack = cli({"pack"});  // the offer to reindex is declined
  EXPECT_OK(pack);
  EXPECT_TRUE(contains(pack.out, "Pack succeeded.\nThe database must be reindexed before use"));
  EXPECT_TRUE(contains(pack.err, "Packing table 1 of 5 [maindb]"));
  Outcome stale = cli({"list", "albums"});
  EXPECT_EQ(stale.status, 1);
  EXPECT_TRUE(contains(stale.err, "IndexOutOfDate"));
  Outcome reindex = cli({"reindex"});
  EXPECT_OK(reindex);
  EXPECT_EQ(reindex.out, "Reindex succeeded.\n");
  EXPECT_EQ(cli({"list", "albums"}).out, "0\tKeep\t*\n");
  EXPECT_TRUE(contains(quilltool({"list", "maindb"}).out, "0\tKeep"));
  EXPECT_OK(cli({"pack", "--yes"}));  // and accepted
  EXPECT_EQ(cli({"list", "albums"}).out, "0\tKeep\t*\n");
}

TEST_F(TrackloreCli, VerifyRepairsABrokenReferenceCount) {
  ASSERT_OK(cli({"add", "album", "A"}));
  ASSERT_OK(cli({"link", "A", "song", "S"}));
  ASSERT_OK(quilltool({"update", "attr002", "0", "Ref_count=5"}));
  Outcome no = cli({"verify"});
  EXPECT_EQ(no.status, 1);
  EXPECT_TRUE(contains(no.err, "Invalid reference count: Table attr002:\nIn song 0 (\"S\"),\n"
                               "reference count is 5 and should be 1. Correct?\n  -> No"));
  EXPECT_EQ(no.out, "Verification complete: 1 problem found, 0 corrected.\n");
  Outcome yes = cli({"verify", "--yes"});
  EXPECT_OK(yes);
  EXPECT_TRUE(contains(yes.err, "Verifying table 4 of 5 [attr002]"));
  EXPECT_EQ(yes.out, "Verification complete: 1 problem found, 1 corrected.\n");
  EXPECT_EQ(cli({"verify"}).out, "Verification complete: no problems found.\n");
  EXPECT_EQ(cli({"list", "songs"}).out, "0\tS\t1\n");
}

TEST_F(TrackloreCli, RecoverMendsInOneStepAndSaysWhatItDid) {
  ASSERT_OK(cli({"add", "album", "A"}));
  ASSERT_OK(cli({"link", "A", "song", "S"}));
  ASSERT_OK(quilltool({"update", "attr002", "0", "Ref_count=5"}));
  ASSERT_OK(cli({"pack"}));  // every index now out of date
  Outcome stale = cli({"show", "A"});
  EXPECT_EQ(stale.status, 1);
  EXPECT_TRUE(contains(stale.err, "tracklore-cli recover mends it")) << stale.err;
  Outcome recover = cli({"recover"});
  EXPECT_OK(recover);
  EXPECT_TRUE(contains(recover.out, "reindexed maindb (the index cannot be used: IndexOutOfDate)\n")) << recover.out;
  EXPECT_TRUE(contains(recover.out, "verification corrected 1 problem(s): Invalid reference count\n"
                                    "Recovery complete: the database is whole.\n"))
      << recover.out;
  EXPECT_EQ(cli({"recover"}).out, "Nothing needed mending: the database is whole.\n");
  EXPECT_EQ(cli({"list", "songs"}).out, "0\tS\t1\n");
}

TEST_F(TrackloreCli, RefusesNamesOutsideWindows1252AndWritesNothing) {
  ASSERT_OK(cli({"add", "album", "A"}));
  Outcome emoji = cli({"add", "song", "Smile \xF0\x9F\x98\x80"});
  EXPECT_EQ(emoji.status, 1);
  EXPECT_TRUE(contains(emoji.err, "the song name \"Smile \xF0\x9F\x98\x80\""));
  EXPECT_TRUE(contains(emoji.err, "(U+1F600) has no Windows-1252 form"));
  Outcome cyrillic = cli({"link", "A", "artist", "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE"});  // Кино
  EXPECT_EQ(cyrillic.status, 1);
  EXPECT_TRUE(contains(cyrillic.err, "\"\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE\""));
  EXPECT_EQ(cli({"add", "artist", std::string(51, 'x')}).status, 1);  // 50 characters fit
  EXPECT_EQ(cli({"list", "artists"}).out, "");
  EXPECT_EQ(cli({"list", "songs"}).out, "");

  // One bad name anywhere in a file stops the whole import before it starts.
  std::ofstream("bad.csv") << "album,kind,position,name\r\nGood,song,0,Fine\r\n"
                              "Also Good,,,\r\nThird,artist,0,Pi \xCF\x80\r\n";
  Outcome import = cli({"import", "bad.csv"});
  EXPECT_EQ(import.status, 1);
  EXPECT_TRUE(contains(import.err, "line 4: cannot store the artist name \"Pi \xCF\x80\""));
  EXPECT_TRUE(contains(import.err, "nothing was imported"));
  EXPECT_EQ(cli({"list", "albums"}).out, "0\tA\t*\n");
  EXPECT_EQ(cli({"list", "songs"}).out, "");
}

TEST_F(TrackloreCli, AmbiguousNamesAreRefusedWithTheirCodes) {
  ASSERT_OK(cli({"add", "album", "Greatest Hits"}));
  Outcome second = cli({"add", "album", "greatest hits"});
  EXPECT_OK(second);
  EXPECT_TRUE(contains(second.err, "also names #0"));
  Outcome show = cli({"show", "Greatest Hits"});
  EXPECT_EQ(show.status, 1);
  EXPECT_TRUE(contains(show.err, "several albums are named \"Greatest Hits\": #0, #1"));
  EXPECT_EQ(cli({"link", "Greatest Hits", "song", "X"}).status, 1);
  EXPECT_EQ(cli({"list", "songs"}).out, "");  // nothing made on the way
  EXPECT_OK(cli({"link", "#1", "song", "X"}));
  EXPECT_TRUE(contains(cli({"show", "#1"}).out, "  0  X (#0)\n"));
  EXPECT_EQ(cli({"show", "#7"}).status, 1);
}

TEST_F(TrackloreCli, ExportAndImportRoundTrip) {
  ASSERT_OK(cli({"add", "album", "Caf\xC3\xA9 Cr\xC3\xA8me"}));
  ASSERT_OK(cli({"link", "Café Crème", "artist", "Zoë, \"The\" Band"}));
  ASSERT_OK(cli({"link", "Café Crème", "song", "Ça Va"}));
  ASSERT_OK(cli({"link", "Café Crème", "song", "Track 10"}));
  ASSERT_OK(cli({"link", "Café Crème", "song", "Track 2"}));
  ASSERT_OK(cli({"add", "album", "Empty"}));
  ASSERT_OK(cli({"add", "album", "Twice"}));
  ASSERT_OK(cli({"add", "album", "Twice"}));
  ASSERT_OK(cli({"link", "#3", "song", "Ça Va"}));
  ASSERT_OK(cli({"link", "#2", "song", "Other"}));
  ASSERT_OK(cli({"export", "first.csv"}));
  const std::string first = slurp("first.csv");
  EXPECT_EQ(first,
            "album,kind,position,name\r\n"
            "Café Crème,artist,0,\"Zoë, \"\"The\"\" Band\"\r\n"
            "Café Crème,song,0,Ça Va\r\n"
            "Café Crème,song,1,Track 10\r\n"
            "Café Crème,song,2,Track 2\r\n"
            "Empty,,,\r\n"
            "Twice,song,0,Other\r\n"
            "Twice,song,0,Ça Va\r\n");
  EXPECT_EQ(cli({"export"}).out, first);

  std::filesystem::create_directory("copy");
  ASSERT_OK(cli({"-C", "copy", "create"}));
  ASSERT_OK(cli({"-C", "copy", "add", "song", "ça va"}));  // reused by the import
  Outcome import = cli({"-C", "copy", "import", "../first.csv"});
  EXPECT_OK(import);
  EXPECT_EQ(import.out,
            "imported 4 albums with 1 artist and 5 song entries; created 1 artist and 3 songs\n");
  ASSERT_OK(cli({"-C", "copy", "export", "second.csv"}));
  EXPECT_EQ(slurp("copy/second.csv"), first);
  EXPECT_EQ(cli({"-C", "copy", "list", "songs", "--prefix", "ca"}).out, "0\tÇa Va\t2\n");
  EXPECT_TRUE(contains(cli({"-C", "copy", "verify"}).out, "no problems found"));
}

TEST_F(TrackloreCli, ImportsLooserFilesAndKeepsRunsApart) {
  // A line break inside a quoted name is read, and refused like any control character.
  std::ofstream("multi.csv") << "X,song,0,A\nY,artist,0,\"Two\nLines\"\n";
  Outcome refused = cli({"import", "multi.csv"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(contains(refused.err, "line 2: cannot store the artist name \"Two\nLines\""));
  EXPECT_TRUE(contains(refused.err, "U+000A"));
  EXPECT_EQ(cli({"list", "albums"}).out, "");

  // Byte order mark, LF line ends, no header, positions out of order; the
  // second run of X is another album.
  std::ofstream("loose.csv") << "\xEF\xBB\xBFx,song,1,b\nX,song,0,a\nY,,,\nX,artist,0,Solo";
  Outcome import = cli({"import", "loose.csv"});
  EXPECT_OK(import);
  EXPECT_TRUE(contains(import.out, "imported 3 albums with 1 artist and 2 song entries"));
  EXPECT_EQ(cli({"list", "albums"}).out, "0\tX\t*\n2\tX\t*\n1\tY\t*\n");
  EXPECT_TRUE(contains(cli({"show", "#0"}).out, "Songs:\n  0  A (#0)\n  1  B (#1)\n"));
  EXPECT_TRUE(contains(cli({"show", "#2"}).out, "Artists:\n  0  Solo (#0)\nSongs:\n"));
}

TEST_F(TrackloreCli, NamesThatLookLikeOptionsFollowADoubleDash) {
  EXPECT_EQ(cli({"add", "song", "-5 Minutes"}).status, 2);
  EXPECT_OK(cli({"add", "song", "--", "-5 minutes"}));
  EXPECT_EQ(cli({"list", "songs"}).out, "0\t-5 Minutes\t0\n");
  EXPECT_EQ(cli({"-C", "no-such-directory", "list", "songs"}).status, 1);
  EXPECT_EQ(cli({"--main", "attr001", "list", "songs"}).status, 2);
}

TEST(TrackloreCliRun, ReportsUsageAndOpenFailures) {
  TempDir dir;
  EXPECT_EQ(cli({"frobnicate"}).status, 2);
  EXPECT_EQ(cli({"show"}).status, 2);
  EXPECT_EQ(cli({"list", "albums", "--at", "1"}).status, 2);
  EXPECT_EQ(cli({"--yes", "--no", "verify"}).status, 2);
  Outcome closed = cli({"list", "albums"});
  EXPECT_EQ(closed.status, 1);
  EXPECT_TRUE(contains(closed.err, "Operation open failed on Datafile \"maindb\""));
  ASSERT_OK(cli({"--main", "music", "create"}));
  EXPECT_TRUE(std::filesystem::exists("music.db1"));
  EXPECT_OK(cli({"--main", "music", "add", "album", "X"}));
  EXPECT_EQ(cli({"--main", "music", "create"}).status, 1);  // one is here already
  EXPECT_EQ(cli({"--main", "music", "list", "albums"}).out, "0\tX\t*\n");
}

}  // namespace
