#include "tests/catalogue/testutil.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "catalogue/batch.h"
#include "catalogue/edits.h"
#include "catalogue/fullnames.h"
#include "catalogue/maintenance.h"
#include "catalogue/browse.h"
#include "catalogue/scanrun.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "engine/bytes.h"

namespace tracklore::test {

namespace fs = std::filesystem;

namespace {
// Only the effective set changes: the permitted set keeps what is set aside, to take it back.
bool setoverrides(bool on) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  const unsigned mask = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
  if (on)
    data[0].effective |= mask & data[0].permitted;
  else
    data[0].effective &= ~mask;
  return syscall(SYS_capset, &header, data) == 0;
}
}  // namespace

ModesBindRoot::ModesBindRoot() { dropped_ = geteuid() == 0 && setoverrides(false); }
ModesBindRoot::~ModesBindRoot() { (void)(dropped_ && setoverrides(true)); }

ScriptedHost::ScriptedHost() { DB_SetHost(this); }
ScriptedHost::~ScriptedHost() { DB_SetHost(nullptr); }

Answer ScriptedHost::message(const char* text, const char* title, Buttons buttons, Icon icon) {
  messages.push_back({text, title, buttons, icon});
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected message \"" << title << "\": " << text;
    return buttons == Buttons::OK         ? Answer::OK
           : buttons == Buttons::OKCancel ? Answer::Cancel
                                          : Answer::No;
  }
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

bool ScriptedHost::file(bool save, const FileRequest& request, std::string* path) {
  dialogs.push_back({save, request});
  if (files_.empty()) {
    ADD_FAILURE() << "unexpected file dialog " << request.title;
    return false;
  }
  std::optional<std::string> chosen = files_.front();
  files_.pop_front();
  if (!chosen) return false;
  *path = *chosen;
  return true;
}

bool ScriptedHost::openfile(const FileRequest& request, std::string* path) { return file(false, request, path); }
bool ScriptedHost::savefile(const FileRequest& request, std::string* path) { return file(true, request, path); }

void ScriptedHost::waitcursor(bool on) {
  waitdepth += on ? 1 : -1;
  waitshown += on ? 1 : 0;
}

Answer ConsentingHost::message(const char*, const char*, Buttons b, Icon) {
  ++asked;
  return b == Buttons::YesNo || b == Buttons::YesNoCancel ? Answer::Yes : Answer::OK;
}

bool ConsentingHost::savefile(const FileRequest&, std::string* path) {
  *path = fs::absolute("maindb.db1").string();
  return true;
}

Snapshot snapshot() {
  Snapshot tables;
  if (DB_Open({.readonly = true}) != 0) return tables;
  tables.resize(kAllTables);
  for (int t = 0; t < kAllTables; ++t) {
    if (!DB_Table(t).isopen()) continue;  // a database without its name table
    quill::Rlist cursor(&DB_Table(t));
    for (quill::ErrorCode rc = cursor.first(); rc == quill::Ok; rc = cursor.skip(1))
      if (!cursor.isdeleted())
        tables[t].emplace_back(reinterpret_cast<const char*>(cursor.buffer()), cursor.reclen());
    std::sort(tables[t].begin(), tables[t].end());
  }
  DB_Close();
  return tables;
}

void savefiles(const std::string& dir) {
  fs::create_directory(dir);
  for (const fs::directory_entry& file : fs::directory_iterator("."))
    if (file.is_regular_file())
      fs::copy_file(file.path(), dir / file.path().filename(), fs::copy_options::overwrite_existing);
}

void restorefiles(const std::string& dir) {
  for (const fs::directory_entry& file : fs::directory_iterator("."))
    if (file.is_regular_file()) fs::remove(file.path());
  for (const fs::directory_entry& file : fs::directory_iterator(dir))
    fs::copy_file(file.path(), file.path().filename());
}

bool runcut(const std::function<quill::ErrorCode()>& step, int n, Counted counted, bool open) {
  const int status = quill::test::run_child([&] {
    ConsentingHost agreeing;
    DB_SetHost(&agreeing);
    int writes = 0;
    quill::File::set_write_fault([&](const quill::File& file, int32_t, int32_t) {
      const bool journal = file.name().ends_with(".jnl");
      if (counted == Counted::All || journal == (counted == Counted::Journal))
        if (++writes == n) _exit(3);
      return false;
    });
    if (open && DB_Open() != 0) _exit(1);
    const quill::ErrorCode rc = step();
    // The indexes held are written back at the close.
    DB_Close();
    _exit(rc == quill::Ok ? 0 : 2);
  });
  // 1: the child could not open the database; 2: the step failed.
  EXPECT_TRUE(status == 0 || status == 3) << "child status " << status;
  return status == 3;
}

std::vector<std::string> linkednames(int r, int32_t album) {
  std::vector<std::string> out;
  std::unique_ptr<Relation> list = DB_GetArticleAttributes(r, album);
  for (quill::ErrorCode rc = list->first(); rc == quill::Ok; rc = list->skip(1))
    out.push_back(DB_CurrentFullName(list->cursor(), r == 0 ? Kind::Artist : Kind::Song));
  return out;
}

quill::ErrorCode scanfiles(std::vector<TrackTags> files) {
  TableSource source(std::move(files));
  ScanNotes notes;
  ScanSummary summary;
  return DB_ScanMusic(source, notes, {.folders = {"m"}}, &summary) == 0 ? quill::Ok : summary.error;
}

ScanSummary scan(const std::vector<TrackTags>& files, ScanRunOptions options,
                 std::vector<std::string>* lines, int* opened) {
  TableSource source(files);
  ScanNotes notes(lines == nullptr ? ScanNotes::LineSink()
                                   : [lines](const std::string& line) { lines->push_back(line); });
  ScanSummary summary;
  EXPECT_EQ(DB_ScanMusic(source, notes, options, &summary), 0)
      << DB_ResultName(summary.error) << " " << summary.failedalbum;
  if (opened != nullptr) *opened = source.opened();
  return summary;
}

void CatalogueTest::recreate(bool open) {
  DB_Close();
  for (const auto& file : fs::directory_iterator("."))
    if (file.is_regular_file()) fs::remove(file.path());
  host_.choose(dir_.file("maindb.db1"));
  ASSERT_EQ(DB_Create(), 0);
  ASSERT_EQ(open ? DB_Open() : 0, 0);
}

std::vector<CatalogueTest::NamedEdit> CatalogueTest::singleedits() {
  return {
      {"add",
       [] {
         quill::Rlist cursor(&DB_Table(TitleTable));
         return DB_InsertRecord(Kind::Album, "Third", cursor);
       }},
      {"link", [this] { return link(0, first_, artists_[3], 0); }},
      // The song's last use: purged.
      {"unlink", [this] { return unlink(1, first_, 1, PurgeMode::Ask); }},
      {"move",
       [this] {
         Standing s = stand(0, first_, 1);
         return DB_MoveLink(*s.list, LinkMove::Up, *s.album);
       }},
      {"rename",
       [this] { return DB_RenameRecord(*at(ArtistTable, artists_[0]), Kind::Artist, "X0 renamed", true); }},
      {"delete_album", [this] { return DB_DeleteArticle(*at(TitleTable, first_)); }},
  };
}

void CatalogueTest::makesharedalbums() {
  first_ = add(TitleTable, "First");
  second_ = add(TitleTable, "Second");
  for (const char* name : {"X0", "X1", "X2", "X3"}) artists_.push_back(add(ArtistTable, name));
  for (const char* name : {"S0", "S1", "S2", "S3"}) songs_.push_back(add(SongTable, name));
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(link(0, first_, artists_[static_cast<size_t>(i)]), quill::Ok);
    ASSERT_EQ(link(1, first_, songs_[static_cast<size_t>(i)]), quill::Ok);
  }
  ASSERT_EQ(link(0, second_, artists_[0]), quill::Ok);
  ASSERT_EQ(link(1, second_, songs_[0]), quill::Ok);
  ASSERT_EQ(link(1, second_, songs_[3]), quill::Ok);
}

quill::ErrorCode CatalogueTest::importalbums(int perbatch, int albums) {
  CatalogueBatch batch(BatchOptions{perbatch, "import"});
  // The second album's name and song have entries in the name table.
  for (const char* name : {"Third", "Четвёртый"}) {
    if (albums-- == 0) break;
    if (!batch.ok()) return batch.finish();
    const int32_t album = add(TitleTable, name);
    const int32_t song = add(SongTable, name);
    for (int32_t attr : {songs_[0], song})
      if (quill::ErrorCode rc = link(1, album, attr); rc != quill::Ok) return batch.finish(rc);
    if (quill::ErrorCode rc = batch.unitdone(); rc != quill::Ok) return batch.finish(rc);
  }
  return batch.finish();
}

CatalogueTest::Dangling CatalogueTest::dangling(int r) {
  Dangling d{add(TitleTable, "Album"), add(r + 1, "Gone"), add(r + 1, "Kept")};
  EXPECT_EQ(link(r, d.album, d.gone), quill::Ok);
  EXPECT_EQ(link(r, d.album, d.kept), quill::Ok);
  EXPECT_EQ(at(r + 1, d.gone)->del(), quill::Ok);
  return d;
}

CatalogueTest::Standing CatalogueTest::stand(int r, int32_t title, int position) {
  Standing s{DB_GetArticleAttributes(r, title), at(TitleTable, title)};
  (void)s.list->first();
  (void)s.list->skip(position);
  return s;
}

void CatalogueTest::SetUp() {
  (void)DB_SetMainName("maindb");
  recreate();
  host_.dialogs.clear();
  host_.waitshown = 0;
}

void CatalogueTest::TearDown() {
  DB_Close();
  (void)DB_SetMainName("maindb");
  EXPECT_EQ(host_.waitdepth, 0) << "wait cursor left on";
  EXPECT_EQ(host_.unanswered(), 0u) << "scripted answers left over";
  if (!reports_expected_)
    for (const std::string& text : reports_.texts()) ADD_FAILURE() << "engine reported: " << text;
}

int32_t CatalogueTest::add(int kind, const char* name) {
  quill::Rlist cursor(&DB_Table(kind));
  EXPECT_EQ(DB_InsertRecord(kindoftable(kind), name, cursor), quill::Ok);
  return cursor.field(F_Code).aslong();
}

std::unique_ptr<quill::Rlist> CatalogueTest::at(int table, int32_t code) {
  auto cursor = std::make_unique<quill::Rlist>(&DB_Table(table));
  (void)cursor->select(T_Code);
  uint8_t key[4];
  quill::put4(key, code);
  EXPECT_EQ(cursor->seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any), quill::Ok)
      << "no record " << code << " in table " << table;
  return cursor;
}

int32_t CatalogueTest::number(int table, int32_t code, int field) { return at(table, code)->field(field).aslong(); }
std::string CatalogueTest::text(int table, int32_t code, int field) {
  return reinterpret_cast<const char*>(at(table, code)->field(field).data());
}

bool CatalogueTest::exists(int table, int32_t code) {
  quill::Rlist cursor(&DB_Table(table));
  for (quill::ErrorCode rc = cursor.first(); rc == quill::Ok; rc = cursor.skip(1))
    if (!cursor.isdeleted() && cursor.field(F_Code).aslong() == code) return true;
  return false;
}

CatalogueTest::Rows CatalogueTest::rows(int r, int32_t title) {
  Rows found;
  quill::Rlist cursor(&DB_Table(rowtable(r)));
  for (quill::ErrorCode rc = cursor.first(); rc == quill::Ok; rc = cursor.skip(1))
    if (!cursor.isdeleted() && cursor.field(F_Title).aslong() == title)
      found.emplace_back(cursor.field(F_Seq).asint(), cursor.field(F_Attr).aslong());
  std::ranges::stable_sort(found, {}, &std::pair<int, int32_t>::first);
  return found;
}

std::vector<int32_t> CatalogueTest::attrs(int r, int32_t title) {
  std::vector<int32_t> out;
  for (const auto& row : rows(r, title)) out.push_back(row.second);
  return out;
}

quill::ErrorCode CatalogueTest::link(int r, int32_t title, int32_t attr, int position) {
  return DB_AddLink(*DB_GetArticleAttributes(r, title), title, position, attr, *at(TitleTable, title));
}

void CatalogueTest::rawrow(int r, int32_t title, int seq, int32_t attr) {
  quill::Rlist cursor(&DB_Table(rowtable(r)));
  cursor.field(F_Title).set(static_cast<long>(title));
  cursor.field(F_Seq).set(seq);
  cursor.field(F_Attr).set(static_cast<long>(attr));
  ASSERT_EQ(cursor.append(), quill::Ok);
}

quill::ErrorCode CatalogueTest::unlink(int r, int32_t title, int position, PurgeMode purge) {
  Standing s = stand(r, title, position);
  return DB_RemoveLink(*s.list, *s.album, purge);
}

int32_t CatalogueTest::album_with(int r, const std::vector<int32_t>& attrs, const char* name) {
  const int32_t album = add(TitleTable, name);
  for (int32_t a : attrs) EXPECT_EQ(link(r, album, a), quill::Ok);
  return album;
}

std::vector<int32_t> CatalogueTest::some(int kind, int n) {
  std::vector<int32_t> codes;
  for (int i = 0; i < n; ++i) codes.push_back(add(kind, ("item " + std::to_string(i)).c_str()));
  return codes;
}

}  // namespace tracklore::test
