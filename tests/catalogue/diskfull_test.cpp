// A full disk: every edit, batch, pack, reindex and recovery meets ENOSPC at each write in turn,
// in a child, from there on or only there. It succeeds or says the disk is full; with space back,
// DB_Recover (for an edit, unverified) gives the state before or after it; after, if it succeeded.
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "catalogue/maintenance.h"
#include "catalogue/merge.h"
#include "catalogue/recover.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

namespace fs = std::filesystem;
using quill::DiskFull;
using quill::Ok;
using Step = std::function<ErrorCode()>;

// How a step ended, as the child reports it: it succeeded before the disk filled, or though a write
// was refused (room made ahead, say); it failed naming the full disk, or with another reason.
enum Outcome : int { NeverFull, Succeeded, SaidFull, SaidOther };

// A page that cannot be written ends the process (engine/errors.h): its message is left here.
constexpr const char* kFatalText = "fatal.txt";

int keepfatal(quill::ReportLevel level, const char*, const char* text) {
  if (level == quill::ReportLevel::Fatal) std::ofstream(kFatalText) << text;
  return 1;
}

// exact: recovery needs no correction by verification (all but a batch, whose counts it redoes).
ErrorCode recovered(bool exact = false) {
  std::vector<std::string> log;
  const int rc = DB_Recover(nullptr, nullptr, &log);
  for (const std::string& line : log) {
    if (rc != 0 && line.find("the disk is full") != std::string::npos) return DiskFull;
    EXPECT_TRUE(!exact || line.find("verification") == std::string::npos) << line;
  }
  return rc == 0 ? Ok : quill::WriteFailed;
}

class DiskFullSweep : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    makesharedalbums();
    // A deleted row, so that a pack has something to drop.
    ASSERT_EQ(unlink(0, second_, 0, PurgeMode::Keep), Ok);
    DB_Close();
    DB_SetHost(&consenting_);
    reports_expected_ = true;  // the failures are reported as they happen
    savefiles("pristine");
  }
  void TearDown() override {
    DB_SetHost(&host_);
    CatalogueTest::TearDown();
  }

  // Runs the step in a child with the n-th write refused for lack of space (never, for 0), and
  // every one after it unless `once`; with open, on the database opened and closed as commands do.
  Outcome runfull(const Step& step, int n, bool open, bool once = false) {
    const int status = quill::test::run_child([&] {
      quill::reporter = keepfatal;
      quill::test::RefusedCalls full(quill::File::Call::Write, ENOSPC, n > 0 ? n : 1 << 30, "",
                                     once);
      ErrorCode rc = Ok;
      if (open && DB_Open() != 0) rc = DB_OpenResult() != Ok ? DB_OpenResult() : DB_CheckedResult();
      if (rc == Ok) rc = step();
      if (open) {
        DB_Close();
        if (rc == Ok) rc = DB_CloseResult();
      }
      if (rc == Ok) _exit(full.met() ? Succeeded : NeverFull);
      _exit(rc == DiskFull ? SaidFull : SaidOther);
    });
    std::string fatal;
    std::getline(std::ifstream(kFatalText), fatal, '\0');
    fs::remove(kFatalText);
    if (status == -1) return SaidOther;
    // The process ended as the engine ends it (exit status -1).
    if (status == 255) return fatal.find("The disk is full") != std::string::npos ? SaidFull : SaidOther;
    return static_cast<Outcome>(status);
  }

  // The step from `start` (a saved directory) at every write in turn; recovery may also bring back
  // `undone` (the state before it).
  void sweep(const char* name, const Step& step, bool open = true, const char* start = "pristine",
             const Snapshot* undone = nullptr) {
    restorefiles("pristine");
    const Snapshot before = undone != nullptr ? *undone : snapshot();
    restorefiles(start);
    ASSERT_EQ(runfull(step, 0, open), NeverFull) << name;
    ASSERT_EQ(recovered(), Ok) << name;
    const Snapshot after = snapshot();
    int refused = 0;
    bool reached = false;  // a write beyond the step's last
    for (int n = 1; !reached; ++n) {
      for (bool once : {false, true}) {
        restorefiles(start);
        const Outcome outcome = runfull(step, n, open, once);
        const std::string where = std::string(name) + ", the disk full " +
                                  (once ? "at" : "from") + " write " + std::to_string(n);
        EXPECT_NE(outcome, SaidOther) << where << ": failed without saying the disk is full";
        ASSERT_EQ(recovered(exact_), Ok) << where << ": recovery with space again failed";
        const Snapshot now = snapshot();
        if (outcome == SaidFull) {
          ++refused;
          EXPECT_TRUE(now == before || now == after) << where;
        } else {
          EXPECT_EQ(now, after) << where << ": the step succeeded and is not whole";
        }
        reached = outcome == NeverFull;
      }
    }
    EXPECT_GT(refused, 2) << name;
  }

  ConsentingHost consenting_;
  bool exact_ = false;
};

TEST_F(DiskFullSweep, EditsAndTheirJournal) {
  exact_ = true;
  std::vector<NamedEdit> edits = singleedits();
  // A new first artist and renumbering; a move down; S3 appended to the first album, the second
  // deleted with its rows.
  edits.push_back({"unlink_first", [this] { return unlink(0, first_, 0, PurgeMode::Keep); }});
  edits.push_back({"move_down", [this] {
                     Standing s = stand(0, first_, 0);
                     return DB_MoveLink(*s.list, LinkMove::Down, *s.album);
                   }});
  edits.push_back({"merge_albums",
                   [this] { return DB_MergeRecords(Kind::Album, first_, second_, nullptr); }});
  for (const NamedEdit& edit : edits) sweep(edit.name, edit.run);
}

TEST_F(DiskFullSweep, ImportAndScanBatches) {
  sweep("import", [&] { return importalbums(1000); });
  sweep("scan", [] {
    return scanfiles({tagsof("m/1", "1.flac", "S0", "Second", "X0", "", 1),
                      tagsof("m/2", "1.flac", "New song", "Fifth", "X3", "", 1)});
  });
}

TEST_F(DiskFullSweep, PackReindexAndRecovery) {
  sweep("pack", [] { return DB_Pack(nullptr, nullptr) == 0 ? Ok : DB_CheckedResult(); }, false);
  sweep("reindex", [] { return DB_Reindex(nullptr, nullptr) == 0 ? Ok : DB_CheckedResult(); },
        false);
  // A link that ended before its last table writes, left for recovery.
  restorefiles("pristine");
  const Snapshot before = snapshot();
  ASSERT_TRUE(runcut([&] { return link(0, first_, artists_[3], 0); }, 3));
  ASSERT_TRUE(DB_NeedsRecovery());
  savefiles("interrupted");
  sweep("recover", [] { return recovered(); }, false, "interrupted", &before);
}

}  // namespace
}  // namespace tracklore::test
