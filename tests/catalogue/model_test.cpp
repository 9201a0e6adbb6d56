// Thousands of random edits against a plain in-memory model: after every batch the tables equal the
// model and keep the schema's invariants; at the end every table passes the engine's integrity check.

#include <algorithm>
#include <cctype>
#include <map>
#include <random>

#include "catalogue/fullnames.h"
#include "catalogue/history.h"
#include "catalogue/maintenance.h"
#include "catalogue/merge.h"
#include "catalogue/recover.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/undo.h"
#include "catalogue/wholestep.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

struct Album {
  std::string name;
  std::string mark = "*";
  std::vector<int32_t> rows[2];
  bool operator==(const Album&) const = default;
};
struct Attribute {
  std::string name;
  int32_t refs = 0;
  bool operator==(const Attribute&) const = default;
};
void PrintTo(const Album& a, std::ostream* out) {
  *out << a.name << " [" << a.mark << "] " << testing::PrintToString(a.rows[0]) << " "
       << testing::PrintToString(a.rows[1]);
}
void PrintTo(const Attribute& a, std::ostream* out) { *out << a.name << " (" << a.refs << ")"; }

struct Model {
  std::map<int32_t, Album> albums;
  std::map<int32_t, Attribute> attrs[3];  // kinds 1 and 2
};

class ModelTest : public CatalogueTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  std::mt19937 rng_{GetParam()};
  Model m_;
  std::map<int32_t, std::string> full_[3];  // the names as typed, by kind and code

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  template <class Map>
  int32_t anykey(const Map& map) {
    return std::next(map.begin(), pick(static_cast<int>(map.size())))->first;
  }

  // Lower-case words; what the catalogue stores is the same with every word's first letter upper
  // case, cut to the field (of kind -1: not cut), with no blank left at the cut.
  std::string typed() {
    static const char* const syllables[] = {"la", "mor", "ven", "to", "qui", "sar", "del", "o"};
    std::string name;
    // Now and then longer than a name field: up to three entries of the name table.
    int words = 1 + pick(pick(8) == 0 ? 24 : 3);
    for (int w = 0; w < words; ++w) {
      if (w) name += ' ';
      int n = 1 + pick(3);
      for (int s = 0; s < n; ++s) name += syllables[pick(8)];
    }
    // A third already as stored: a short one needs no entry, so renames also remove entries.
    return pick(3) == 0 ? stored(name, -1) : name;
  }
  static std::string stored(std::string typed, int kind) {
    bool start = true;
    for (char& c : typed) {
      if (start && std::isalpha(static_cast<unsigned char>(c)))
        c = static_cast<char>(std::toupper(c));
      start = c == ' ';
    }
    if (kind >= 0 && typed.size() > static_cast<size_t>(kNameLength[kind] - 1))
      typed.resize(static_cast<size_t>(kNameLength[kind] - 1));
    while (!typed.empty() && typed.back() == ' ') typed.pop_back();
    return typed;
  }

  // Albums of names typed anew or taken from the catalogue, each file's stat one a rescan keeps.
  std::vector<TrackTags> library(int albums, int t) {
    std::vector<TrackTags> files;
    auto name = [this](int kind) {
      return pick(3) == 0 && !full_[kind].empty() ? full_[kind].begin()->second : typed();
    };
    for (int a = 0; a < albums; ++a) {
      const std::string album = name(TitleTable), artist = name(ArtistTable);
      for (int track = 1; track <= 1 + pick(4); ++track) {
        const std::string folder = "m/" + std::to_string(t) + "." + std::to_string(a);
        files.push_back(tagsof(folder, std::to_string(track) + ".mp3", name(SongTable), album,
                               artist, "", track));
        files.back().stat = {4096, 1700000000 + t, 0};
      }
    }
    return files;
  }

  // An import of two albums of a song there and a new one, as one step whose images are bounded.
  void importstep(size_t most = kStepBytes) {
    WholeStep whole("import", most);
    songs_ = {m_.attrs[SongTable].begin()->first};
    ASSERT_EQ(importalbums(1), quill::Ok);
    whole.finish("import of 'x.csv' (2 albums)");
  }

  void insert(int kind) {
    const std::string name = typed();
    const int32_t code = add(kind, name.c_str());
    (kind == TitleTable ? m_.albums[code].name : m_.attrs[kind][code].name) = stored(name, kind);
    full_[kind][code] = name;
  }

  void linkone() {
    const int r = pick(2);
    if (m_.albums.empty() || m_.attrs[r + 1].empty()) return;
    const int32_t album = anykey(m_.albums), attr = anykey(m_.attrs[r + 1]);
    std::vector<int32_t>& order = m_.albums[album].rows[r];
    const int n = static_cast<int>(order.size());
    const int position = pick(10) == 0 ? n + 1 + pick(3) : pick(n + 2) - 1;
    ASSERT_EQ(link(r, album, attr, position), quill::Ok);
    order.insert(position == -1 || position >= n ? order.end() : order.begin() + position, attr);
    ++m_.attrs[r + 1][attr].refs;
  }

  // A relation, an album with rows in it and one of its positions; none if there is no such album.
  struct Row { int r; int32_t album; int position; };
  std::optional<Row> anyrow() {
    const int r = pick(2);
    std::vector<int32_t> candidates;
    for (const auto& [code, a] : m_.albums)
      if (!a.rows[r].empty()) candidates.push_back(code);
    if (candidates.empty()) return std::nullopt;
    const int32_t album =
        candidates[static_cast<size_t>(pick(static_cast<int>(candidates.size())))];
    return Row{r, album, pick(static_cast<int>(m_.albums[album].rows[r].size()))};
  }

  void unlink() {
    const std::optional<Row> row = anyrow();
    if (!row) return;
    const auto [r, album, position] = *row;
    std::vector<int32_t>& order = m_.albums[album].rows[r];
    const int32_t attr = order[static_cast<size_t>(position)];
    Attribute& a = m_.attrs[r + 1][attr];
    const PurgeMode purge = pick(2) ? PurgeMode::Ask : PurgeMode::Keep;
    bool purged = false;
    if (purge == PurgeMode::Ask && a.refs == 1) {
      purged = pick(2) == 0;
      host_.answer(purged ? Answer::OK : Answer::Cancel);
    }
    auto [list, title] = stand(r, album, position);
    ASSERT_EQ(DB_RemoveLink(*list, *title, purge), quill::Ok);
    order.erase(order.begin() + position);
    --a.refs;
    if (purged) m_.attrs[r + 1].erase(attr);
    // The list stands on the row that took the removed one's place.
    ASSERT_EQ(list->valid(), !order.empty());
    if (!order.empty())
      ASSERT_EQ(list->rows().field(F_Seq).asint(), std::min(position, static_cast<int>(order.size()) - 1));
  }

  void moveone() {
    const std::optional<Row> row = anyrow();
    if (!row) return;
    const auto [r, album, position] = *row;
    std::vector<int32_t>& order = m_.albums[album].rows[r];
    const int up = pick(2);
    auto [list, title] = stand(r, album, position);
    const quill::ErrorCode rc = DB_MoveLink(*list, up ? LinkMove::Up : LinkMove::Down, *title);
    const size_t i = static_cast<size_t>(position);
    if (!up && i + 1 == order.size()) {
      ASSERT_EQ(rc, quill::TooFar);
      return;
    }
    ASSERT_EQ(rc, quill::Ok);
    if (up && i == 0)
      std::rotate(order.begin(), order.begin() + 1, order.end());
    else if (up)
      std::swap(order[i - 1], order[i]);
    else
      std::swap(order[i], order[i + 1]);
  }

  void rename() {
    const int kind = pick(3);
    const bool album = kind == TitleTable;
    if (album ? m_.albums.empty() : m_.attrs[kind].empty()) return;
    const int32_t code = album ? anykey(m_.albums) : anykey(m_.attrs[kind]);
    std::string name = typed();
    ASSERT_EQ(DB_RenameRecord(*at(kind, code), kindoftable(kind), name.c_str(), true), quill::Ok);
    (album ? m_.albums[code].name : m_.attrs[kind][code].name) = stored(name, kind);
    full_[kind][code] = name;
  }

  void deletealbum() {
    if (m_.albums.empty()) return;
    const int32_t code = anykey(m_.albums);
    ASSERT_EQ(DB_DeleteArticle(*at(TitleTable, code)), quill::Ok);
    for (int r = 0; r < 2; ++r)
      for (int32_t attr : m_.albums[code].rows[r])
        if (--m_.attrs[r + 1][attr].refs == 0) m_.attrs[r + 1].erase(attr);
    m_.albums.erase(code);
  }

  void deleteattribute() {
    const int kind = 1 + pick(2);
    if (m_.attrs[kind].empty()) return;
    const int32_t code = anykey(m_.attrs[kind]);
    auto cursor = at(kind, code);
    const bool used = m_.attrs[kind][code].refs > 0;
    ASSERT_EQ(DB_DeleteAttribute(*cursor, kindoftable(kind)), used ? StillReferenced : quill::Ok);
    if (!used) m_.attrs[kind].erase(code);
  }

  // Two records made one: artists keep one place on an album that used both, songs keep both; an
  // album takes the other's entries it lacks, in order, and its mark is brought up to date.
  void merge() {
    const int kind = pick(3);
    const bool album = kind == TitleTable;
    if ((album ? m_.albums.size() : m_.attrs[kind].size()) < 2) return;
    const int32_t keep = album ? anykey(m_.albums) : anykey(m_.attrs[kind]);
    int32_t other = keep;
    while (other == keep) other = album ? anykey(m_.albums) : anykey(m_.attrs[kind]);
    ASSERT_EQ(DB_MergeRecords(kindoftable(kind), keep, other, nullptr), quill::Ok);
    full_[kind].erase(other);
    if (album) {
      Album& k = m_.albums[keep];
      for (int r = 0; r < 2; ++r) {
        const std::vector<int32_t> had = k.rows[r];
        for (int32_t attr : m_.albums[other].rows[r]) {
          if (std::find(had.begin(), had.end(), attr) == had.end()) {
            k.rows[r].push_back(attr);
            ++m_.attrs[r + 1][attr].refs;
          }
          --m_.attrs[r + 1][attr].refs;
        }
      }
      k.mark = !k.rows[0].empty() && !k.rows[1].empty() ? " " : "*";
      m_.albums.erase(other);
      return;
    }
    const int r = kind - 1;
    int32_t uses = 0;
    for (auto& [code, a] : m_.albums) {
      // An album without OTHER is left as it is.
      const bool touched = std::find(a.rows[r].begin(), a.rows[r].end(), other) != a.rows[r].end();
      std::vector<int32_t> kept;
      bool seen = false;
      for (int32_t attr : a.rows[r]) {
        const bool merged = attr == keep || attr == other;
        if (merged && r == 0 && seen && touched) continue;
        seen = seen || merged;
        kept.push_back(merged ? keep : attr);
        uses += merged;
      }
      a.rows[r] = kept;
    }
    m_.attrs[kind][keep].refs = uses;
    m_.attrs[kind].erase(other);
  }

  void leavealbum() {
    if (m_.albums.empty()) return;
    const int32_t code = anykey(m_.albums);
    Album& a = m_.albums[code];
    bool changed = false;
    ASSERT_EQ(DB_UpdateOKField(*at(TitleTable, code), &changed), quill::Ok);
    const std::string mark = !a.rows[0].empty() && !a.rows[1].empty() ? " " : "*";
    ASSERT_EQ(changed, mark != a.mark);
    a.mark = mark;
  }

  // Each operation takes the rolls below its limit and above the one before.
  void step() {
    const std::pair<int, std::function<void()>> operations[] = {
        {5, [&] { insert(TitleTable); }}, {13, [&] { insert(1 + pick(2)); }},
        {53, [&] { linkone(); }},         {67, [&] { unlink(); }},
        {83, [&] { moveone(); }},         {89, [&] { rename(); }},
        {90, [&] { deletealbum(); }},     {94, [&] { deleteattribute(); }},
        {96, [&] { merge(); }},           {100, [&] { leavealbum(); }}};
    const int roll = pick(100);
    for (const auto& [limit, operation] : operations)
      if (roll < limit) return operation();
  }

  // Reads the tables past the catalogue's queries into a model, checking invariants on the way.
  void check() {
    Model read;
    std::map<int32_t, std::map<int, int32_t>> relations[2];  // album -> Seq -> Attr
    for (int t = 0; t < kTables; ++t) {
      quill::Rlist cursor(&DB_Table(t));
      for (quill::ErrorCode rc = cursor.first(); rc == quill::Ok; rc = cursor.skip(1)) {
        if (cursor.isdeleted()) continue;
        auto str = [&](int f) { return std::string(reinterpret_cast<const char*>(cursor.field(f).data())); };
        const int32_t code = cursor.field(F_Code).aslong();
        // Invariant 5: codes are unique; and no position is taken twice.
        if (t == TitleTable) {
          ASSERT_TRUE(read.albums.emplace(code, Album{str(F_Name), str(F_OKField)}).second);
        } else if (t <= SongTable) {
          const Attribute a{str(F_Name), cursor.field(F_RefCount).aslong()};
          ASSERT_TRUE(read.attrs[t].emplace(code, a).second);
        } else {
          ASSERT_TRUE(relations[t - ArtistRows][cursor.field(F_Title).aslong()]
                          .emplace(cursor.field(F_Seq).asint(), cursor.field(F_Attr).aslong())
                          .second);
        }
      }
    }
    // A row of a missing album or attribute, or a wrong count, makes the tables differ from m_.
    for (int r = 0; r < 2; ++r)
      for (const auto& [title, group] : relations[r]) {
        std::vector<int32_t>& list = read.albums[title].rows[r];
        for (const auto& [seq, attr] : group) {
          // Invariant 2: Seq runs 0, 1, 2... within an album.
          ASSERT_EQ(seq, static_cast<int>(list.size())) << "album " << title << " relation " << r;
          list.push_back(attr);
        }
      }
    // The first artists (invariant 4) are the final verification's; with the integrity checks of
    // the indexes (at every reopen and at the end), the catalogue's own walks follow.
    EXPECT_EQ(read.albums, m_.albums);
    for (int kind = 1; kind <= 2; ++kind) EXPECT_EQ(read.attrs[kind], m_.attrs[kind]) << kind;
    // Nearly every typed name has an entry in the name table: each gives back the name as typed.
    for (int kind = 0; kind < 3; ++kind)
      for (const auto& [code, name] : full_[kind])
        if (kind == TitleTable ? m_.albums.contains(code) : m_.attrs[kind].contains(code))
          EXPECT_EQ(DB_CurrentFullName(*at(kind, code), kindoftable(kind)), name);
  }
};

TEST_P(ModelTest, RandomEditsKeepEveryInvariant) {
  constexpr int kBatches = 80, kSteps = 100;
  for (int i = 0; i < 6; ++i) insert(TitleTable);
  for (int i = 0; i < 10; ++i) insert(1 + i % 2);
  for (int batch = 0; batch < kBatches; ++batch) {
    for (int s = 0; s < kSteps; ++s) {
      step();
      if (HasFatalFailure()) FAIL() << "batch " << batch << " step " << s;
    }
    check();
    if (HasFailure()) FAIL() << "after batch " << batch;
    // Everything is on disk and the indexes are in step.
    if (batch % 10 == 9) {
      DB_Close();
      ASSERT_EQ(DB_Open(), 0);
    }
  }
  DB_Close();
  // Nothing stale is left: verification begins with each table's integrity check; a question fails.
  EXPECT_EQ(DB_Verify(nullptr, nullptr), 0);
}

// Every table's counts and record bytes, read past the engine's cursors.
std::vector<std::vector<uint8_t>> tablebytes() {
  std::vector<std::vector<uint8_t>> tables;
  for (int t = 0; t < kAllTables; ++t) {
    quill::DataFile& table = DB_Table(t);
    std::vector<uint8_t> bytes(static_cast<size_t>(table.nrecs()) * table.header().reclen);
    if (!bytes.empty()) EXPECT_EQ(table.readrecords(0, table.nrecs(), bytes.data()), quill::Ok);
    bytes.push_back(static_cast<uint8_t>(table.header().ndeleted));
    tables.push_back(std::move(bytes));
  }
  return tables;
}

size_t historyplace() {
  History history;
  return loadhistory(&history) ? history.position : 0;
}

using States = std::vector<std::vector<std::vector<uint8_t>>>;

// Undoes the steps that made states, last first, each giving the exact tables before it, closing
// and opening again at step reopen; the database then verifies; redone, each gives the tables after
// it. whole: nothing is left to undo before them nor to redo after. The messages, in order.
std::vector<std::string> undoandredo(const States& states, size_t reopen, bool whole) {
  std::vector<std::string> messages;
  auto run = [&](UndoWay way) {
    messages.emplace_back();
    const int rc = DB_Undo(way, &messages.back());
    EXPECT_EQ(DB_Open(), 0);
    return rc;
  };
  for (size_t i = states.size() - 1; i > 0 && !::testing::Test::HasFailure(); --i) {
    EXPECT_EQ(run(UndoWay::Undo), 0) << messages.back();
    EXPECT_EQ(tablebytes(), states[i - 1]) << "undoing step " << i << ": " << messages.back();
    if (i == reopen) {
      DB_Close();
      EXPECT_EQ(DB_Open(), 0);
    }
  }
  if (whole) EXPECT_EQ(run(UndoWay::Undo), 1);
  DB_Close();
  EXPECT_EQ(DB_Verify(nullptr, nullptr), 0);
  EXPECT_EQ(DB_Open(), 0);
  for (size_t i = 1; i < states.size() && !::testing::Test::HasFailure(); ++i) {
    EXPECT_EQ(run(UndoWay::Redo), 0) << messages.back();
    EXPECT_EQ(tablebytes(), states[i]) << "redoing step " << i << ": " << messages.back();
  }
  if (whole) EXPECT_EQ(run(UndoWay::Redo), 1);
  return messages;
}

// Undo gives the exact tables before each edit, redo those after, across a close; a new edit drops
// what was undone. A scan, a rescan (files retagged, gone and new) and an import are a step each.
TEST_P(ModelTest, UndoAndRedoGiveTheExactTables) {
  States states{tablebytes()};
  ASSERT_EQ(historyplace(), 0u);
  // An edit adds a step; a completeness mark joins the last one.
  const auto took = [&] {
    if (historyplace() + 1 == states.size())
      states.back() = tablebytes();
    else
      states.push_back(tablebytes());
    EXPECT_EQ(historyplace() + 1, states.size());
  };
  // Room in the history for the five steps after these.
  for (int i = 0; states.size() <= kHistorySteps - 7; ++i) {
    ASSERT_LT(i, 20 * static_cast<int>(kHistorySteps)) << "the edits add no step to the history";
    if (i < 6)
      insert(i % 3);
    else if (i % 8 == 0)
      merge();  // rare among the steps
    else
      step();
    if (HasFatalFailure()) return;
    took();
  }
  std::vector<TrackTags> files = library(4, 0);
  const int added = scan(files, {.folders = {"m"}}).tally.outcome(AlbumOutcome::Added);
  took();
  linkone();
  took();
  for (size_t i = 0; i < files.size(); i += 2) {
    files[i].title = typed();
    files[i].stat.seconds += 1;
  }
  files.pop_back();
  for (const TrackTags& more : library(1, 1)) files.push_back(more);
  scan(files, {.folders = {"m"}});
  took();
  insert(SongTable);  // the import's
  took();
  importstep();
  took();
  // Closed and opened again after undoing the rescan.
  const std::vector<std::string> messages = undoandredo(states, states.size() - 3, true);
  if (HasFailure()) return;
  const std::string scanned = "Undone: scan of 'm' (" + std::to_string(added) + " album";
  EXPECT_EQ(messages[4].rfind(scanned, 0), 0u) << messages[4];
  std::string message;
  ASSERT_EQ(DB_Undo(UndoWay::Undo, &message), 0);
  ASSERT_EQ(DB_Open(), 0);
  insert(ArtistTable);
  EXPECT_EQ(DB_Undo(UndoWay::Redo, &message), 1);
}

// Undo refuses, leaving the tables as they are, a scan or import whose images passed their bound
// (a barrier for all before it too), and an edit the history did not see (a shared open keeps no
// journal). One cut short part way through its writes is taken back by recovery, as any edit is.
TEST_P(ModelTest, UndoRefusesWhatItCannotGiveBackExactlyAndOneCutShortIsRecovered) {
  for (int kind = 0; kind < 3; ++kind) insert(kind);
  linkone();
  const auto linked = tablebytes();
  std::string message;
  // The title and attribute tables are written, the relation's write fails.
  EXPECT_EQ(withfailingwrites("rel00", [&] { return DB_Undo(UndoWay::Undo, &message); }), -1);
  EXPECT_NE(message.find("tracklore-cli recover"), std::string::npos) << message;
  EXPECT_TRUE(DB_NeedsRecovery());
  std::vector<std::string> log;
  ASSERT_EQ(DB_Recover(nullptr, nullptr, &log), 0) << testing::PrintToString(log);
  ASSERT_EQ(DB_Open(), 0);
  EXPECT_EQ(tablebytes(), linked);

  importstep(64);
  const auto refused = [&] {
    const auto before = tablebytes();
    EXPECT_EQ(DB_Undo(UndoWay::Undo, &message), 1);
    EXPECT_EQ(tablebytes(), before);
  };
  refused();
  EXPECT_EQ(message, "The last change, the import of 'x.csv' (2 albums), cannot be undone (it rewrote "
                     "more records than the undo history keeps), nor anything before it.");
  insert(TitleTable);
  DB_Close();
  ASSERT_EQ(DB_Open({.shared = true}), 0);
  insert(ArtistTable);
  DB_Close();
  ASSERT_EQ(DB_Open(), 0);
  refused();
  EXPECT_NE(message.find("has changed since the add of"), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Seeds, ModelTest, ::testing::Values(20240607u, 7u, 1234567u));

}  // namespace
}  // namespace tracklore::test
