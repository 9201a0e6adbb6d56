// A power cut (the engine's simulator) at every sync point of every kind of edit: every table opens,
// perhaps with a stale or bad index; after DB_Recover verification finds nothing; the catalogue is
// as before or after the edit, and after once its call returned. Each cut is judged in a child, so
// that a fatal error is seen as one. sweepset() sets cuts and seeds (TRACKLORE_POWERCUT_SEEDS).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "catalogue/maintenance.h"
#include "catalogue/merge.h"
#include "catalogue/optionaltable.h"
#include "catalogue/recover.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/undo.h"
#include "engine/datafile.h"
#include "tests/catalogue/testutil.h"
#include "tests/engine/powercut.h"

namespace tracklore::test {
namespace {

namespace fs = std::filesystem;
using quill::Ok;
using quill::test::CutMode;
using quill::test::PowerCut;

// Judges the database in the current directory; the reason goes to stderr. With no database before
// (a creation), a creation cut short is absent when a second one makes the database. An edit in
// batches may also stop where a durable point left it: between, when given.
int judge(const Snapshot& before, const Snapshot& after, const Snapshot* between, bool returned) {
  auto fail = [](const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
  };
  if (before.empty() && !returned && snapshot().empty()) {
    if (DB_Create() != 0) return fail("a second creation fails");
    return snapshot() == after ? 0 : fail("a second creation does not make the database");
  }
  for (int t = 0; t < kAllTables; ++t) {
    if (DB_OptionalTable(t) && !DB_OptionalTableThere(t)) continue;
    quill::DataFile table;
    const ErrorCode rc = table.open(DB_TableName(t), {.readonly = true});
    if (rc != Ok && rc != quill::IndexOutOfDate && rc != quill::BadIndex)
      return fail(std::string(DB_TableName(t)) + " opens with " + quill::errname(rc));
  }
  std::vector<std::string> log;
  if (DB_Recover(nullptr, nullptr, &log) != 0)
    return fail("recovery failed: " + (log.empty() ? std::string("?") : log.back()));
  ConsentingHost& host = static_cast<ConsentingHost&>(DB_Host());
  host.asked = 0;
  if (DB_Verify(nullptr, nullptr) != 0 || host.asked != 0) return fail("verification found problems");
  const Snapshot now = snapshot();
  if (now == after) return 0;
  if (returned) return fail("the edit had returned and is not there");
  if (between != nullptr && now == *between) return 0;
  return now == before ? 0 : fail("neither as before nor as after the edit");
}

class CataloguePowerCut : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    makesharedalbums();
    DB_Close();
    DB_SetHost(&consenting_);
  }
  void TearDown() override {
    DB_SetHost(&host_);
    CatalogueTest::TearDown();
  }

  // Runs the edit on the open database under the simulator, then judges every cut worth trying.
  void sweep(const char* name, const std::function<ErrorCode()>& edit, bool open = true,
             const Snapshot* between = nullptr) {
    reports_expected_ = true;  // the cuts' damage is reported while judged
    const Snapshot before = snapshot();
    const std::string cuts = fs::absolute("../cuts-" + std::to_string(getpid())).string();
    {
      PowerCut cut;
      ASSERT_EQ(open ? DB_Open() : 0, 0);
      const int64_t start = cut.now();
      ASSERT_EQ(edit(), Ok) << name;
      const int64_t end = cut.now();
      DB_Close();
      const Snapshot after = snapshot();
      ASSERT_NE(before, after) << name;
      for (int64_t point : quill::test::sweeppoints(cut.cutpoints(start, end)))
        for (int seed = 0; seed < quill::test::sweepset().seeds; ++seed)
          for (CutMode mode : {CutMode::Pages, CutMode::Sectors}) {
            fs::remove_all(cuts);
            fs::create_directory(cuts);
            cut.materialise(point, static_cast<uint64_t>(seed), mode, cuts);
            const int status = quill::test::run_child([&] {
              quill::File::set_observer(nullptr);
              if (chdir(cuts.c_str()) != 0) _exit(3);
              _exit(judge(before, after, between, point == end));
            });
            ASSERT_EQ(status, 0)
                << name << ": cut at event " << point << " of " << start << ".." << end << ", seed "
                << seed << ", mode " << (mode == CutMode::Pages ? "pages" : "sectors") << ", status "
                << status;
          }
    }
    fs::remove_all(cuts);
  }

  ConsentingHost consenting_;
};

TEST_F(CataloguePowerCut, SingleEditsAndVerifyCorrections) {
  // A reference count one too high, which verification corrects first.
  ASSERT_EQ(DB_Open(), 0);
  {
    auto artist = at(ArtistTable, artists_[1]);
    artist->field(F_RefCount).set(artist->field(F_RefCount).aslong() + 1);
    ASSERT_EQ(artist->flush(), Ok);
  }
  DB_Close();
  sweep("verify", [] { return DB_Verify(nullptr, nullptr) == 0 ? Ok : quill::WriteFailed; }, false);
  // Each edit goes on from the last one's; the merge (X0 into X1, syncs deferred) before a delete.
  std::vector<NamedEdit> edits = singleedits();
  edits.insert(edits.end() - 1,
               {"merge", [&] { return DB_MergeRecords(Kind::Artist, artists_[1], artists_[0], nullptr); }});
  for (const NamedEdit& edit : edits) sweep(edit.name, edit.run);
}

// Names with an entry of several parts in the name table: each edit of one touches two tables.
TEST_F(CataloguePowerCut, EditsOfFullNames) {
  std::string longname;
  while (longname.size() < 400) longname += "Мумий Тролль ";  // 3 or more parts
  ASSERT_EQ(DB_Open(), 0);
  ASSERT_EQ(DB_RenameRecord(*at(SongTable, songs_[2]), Kind::Song, "Μάνος", true), Ok);
  ASSERT_EQ(DB_RenameRecord(*at(TitleTable, first_), Kind::Album, "Ước gì", true), Ok);
  DB_Close();
  sweep("add_fullname", [&] {
    quill::Rlist cursor(&DB_Table(ArtistTable));
    return DB_InsertRecord(Kind::Artist, longname, cursor);
  });
  // One part fewer, then none at all.
  const auto rename = [&](const std::string& name) {
    return [&, name] { return DB_RenameRecord(*at(ArtistTable, artists_[3]), Kind::Artist, name, true); };
  };
  sweep("rename_fullname", rename(longname.substr(0, 300)));
  sweep("rename_to_stored", rename("Plain"));
  sweep("rename_to_fullname", rename("nirvana"));
  sweep("delete_attribute", [&] { return DB_DeleteAttribute(*at(ArtistTable, artists_[3]), Kind::Artist); });
  // The album goes with its entry, and so does its song's, purged.
  sweep("delete_album", [&] { return DB_DeleteArticle(*at(TitleTable, first_)); });
}

TEST_F(CataloguePowerCut, Batches) {
  sweep("import_batch", [&] { return importalbums(1000); });
  // In two batches: a cut after the first durable point keeps the first album whole.
  savefiles("start");
  ASSERT_EQ(DB_Open(), 0);
  ASSERT_EQ(importalbums(1, 1), Ok);
  DB_Close();
  const Snapshot first = snapshot();
  restorefiles("start");
  sweep("import_batches", [&] { return importalbums(1); }, true, &first);
  // Adds two albums; the one typed in with the same name is left alone.
  std::vector<TrackTags> files = {tagsof("m/1", "1.flac", "S0", "Second", "X0", "", 1),
                                  tagsof("m/1", "2.flac", "S3", "Second", "X0", "", 2),
                                  tagsof("m/1", "3.flac", "S1", "Second", "X2", "", 3),
                                  tagsof("m/2", "1.flac", "New song", "Fifth", "X3", "", 1),
                                  tagsof("m/3", "1.flac", "S2", "Sixth", "New artist", "", 1)};
  sweep("scan_batch", [&] { return scanfiles(files); });
  // A rescan, one intent: a title and an artist retagged, a track moved, an album's only file gone.
  files[0].title = "S0 retagged";
  files[1].track = 4;
  files[3].artists = {"New artist"};
  files.pop_back();
  sweep("rescan", [&] { return scanfiles(files); });
}

// A scan undone and redone, one step each: a cut leaves it whole or absent.
TEST_F(CataloguePowerCut, UndoAndRedoOfAScan) {
  ASSERT_EQ(DB_Open(), 0);
  ASSERT_EQ(scanfiles({tagsof("m/1", "1.flac", "S0", "Fifth", "X0", "", 1),
                       tagsof("m/1", "2.flac", "New song", "Fifth", "New artist", "", 2)}), Ok);
  DB_Close();
  for (const UndoWay way : {UndoWay::Undo, UndoWay::Redo})
    sweep(way == UndoWay::Undo ? "undo_scan" : "redo_scan", [way] {
      std::string message;
      return DB_Undo(way, &message) == 0 ? Ok : quill::WriteFailed;
    });
}

TEST_F(CataloguePowerCut, Create) {
  for (const fs::directory_entry& file : fs::directory_iterator(".")) fs::remove(file.path());
  sweep("create", [] { return DB_Create() == 0 ? Ok : quill::WriteFailed; }, false);
}

}  // namespace
}  // namespace tracklore::test
