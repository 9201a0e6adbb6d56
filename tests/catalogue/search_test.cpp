// The word search against a model: random names in several spellings and scripts, searched by
// random word pieces after every kind of edit and undo, across a reopen and beside another opener.
#include "catalogue/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "catalogue/fullnames.h"
#include "catalogue/history.h"
#include "catalogue/merge.h"
#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "catalogue/undo.h"
#include "engine/bytes.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

// A word as it may appear in a name, and the folded words the search reads in it.
struct PoolWord {
  const char* written;
  std::vector<std::string> folded;
};

const std::vector<PoolWord> kPool = {
    {"Wall", {"wall"}},         {"Stonewall", {"stonewall"}}, {"Love", {"love"}},
    {"Somebody", {"somebody"}}, {"To", {"to"}},               {"Café", {"cafe"}},
    {"CAFE", {"cafe"}},         {"Ærø", {"aero"}},            {"Aero", {"aero"}},
    {"Straße", {"strasse"}},    {"Œuvre", {"oeuvre"}},        {"Þorn", {"thorn"}},
    {"Мумий", {"mumij"}},       {"Тролль", {"troll"}},        {"Ước", {"uoc"}},
    {"Μάνος", {"manos"}},       {"Björk", {"bjork"}},         {"Señor", {"senor"}},
    {"l'été", {"l", "ete"}},    {"AC/DC", {"ac", "dc"}},      {"Vol.2", {"vol", "2"}},
    {"1999", {"1999"}},         {"Šostakovič", {"sostakovic"}},
};

struct Modelled {
  std::string name;
  std::vector<std::string> words;
};

class SearchTest : public CatalogueTest {
 protected:
  std::mt19937 rng_{20261207};
  std::array<std::map<int32_t, Modelled>, 3> model_;

  size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  // A name of one to four pool words, sometimes long enough that its end lies past the stored
  // field, so that only the full name holds it.
  Modelled randomname() {
    Modelled m;
    const size_t n = 1 + pick(pick(8) == 0 ? 14 : 4);
    for (size_t i = 0; i < n; ++i) {
      const PoolWord& w = kPool[pick(kPool.size())];
      m.name += (i == 0 ? "" : pick(4) == 0 ? " - " : " ") + std::string(w.written);
      m.words.insert(m.words.end(), w.folded.begin(), w.folded.end());
    }
    return m;
  }

  // A word sought: a pool word as written (matched whole, in its own script), or a piece of a
  // folded one, mostly its beginning and sometimes from inside it, in any letter case.
  std::vector<std::string> randomquery(std::string* typed) {
    const PoolWord& w = kPool[pick(kPool.size())];
    if (pick(3) == 0) {
      *typed = w.written;
      return w.folded;
    }
    const std::string& f = w.folded[pick(w.folded.size())];
    const size_t from = pick(4) == 0 ? pick(f.size()) : 0;
    std::string piece = f.substr(from, 1 + pick(f.size() - from));
    *typed = piece;
    if (pick(2) == 0) std::transform(typed->begin(), typed->end(), typed->begin(), ::toupper);
    return {piece};
  }

  static bool holds(const Modelled& m, const std::vector<std::string>& sought) {
    return std::all_of(sought.begin(), sought.end(), [&](const std::string& s) {
      return std::any_of(m.words.begin(), m.words.end(),
                         [&](const std::string& w) { return w.compare(0, s.size(), s) == 0; });
    });
  }

  using Model = std::array<std::map<int32_t, Modelled>, 3>;
  std::deque<Model> undoable_, redoable_;

  // An edit done: the model before it is what an undo gives back.
  void done(const Model& before) {
    undoable_.push_back(before);
    if (undoable_.size() > kHistorySteps) undoable_.pop_front();
    redoable_.clear();
  }

  void undoorredo(bool redo) {
    std::deque<Model>& from = redo ? redoable_ : undoable_;
    std::deque<Model>& to = redo ? undoable_ : redoable_;
    std::string message;
    const int rc = DB_Undo(redo ? UndoWay::Redo : UndoWay::Undo, &message);
    ASSERT_EQ(rc, from.empty() ? 1 : 0) << message;
    if (from.empty()) return;
    ASSERT_EQ(DB_Open(), 0);
    to.push_back(model_);
    model_ = from.back();
    from.pop_back();
  }

  int32_t anyof(int kind) {
    const std::map<int32_t, Modelled>& records = model_[kind];
    return std::next(records.begin(), static_cast<long>(pick(records.size())))->first;
  }

  void change() {
    const int kind = static_cast<int>(pick(3));
    std::map<int32_t, Modelled>& records = model_[kind];
    const Model before = model_;
    const size_t what = pick(16);
    if (records.size() < 2 || what < 5) {
      Modelled m = randomname();
      records[add(kind, m.name.c_str())] = m;
      return done(before);
    }
    if (what >= 14) return undoorredo(what == 15);
    const int32_t victim = anyof(kind);
    if (what < 8) {
      Modelled m = randomname();
      ASSERT_EQ(DB_RenameRecord(*at(kind, victim), kindoftable(kind), m.name, true), quill::Ok);
      records[victim] = m;
    } else if (what < 10) {
      // A used artist or song stays; an album takes with it those it alone used.
      const ErrorCode rc = kind == TitleTable ? DB_DeleteArticle(*at(kind, victim))
                                              : DB_DeleteAttribute(*at(kind, victim), kindoftable(kind));
      if (rc == StillReferenced) return;
      ASSERT_EQ(rc, quill::Ok);
      records.erase(victim);
    } else if (what < 12) {
      if (model_[TitleTable].empty()) return;
      const int r = kind == SongTable ? 1 : 0;
      ASSERT_EQ(link(r, anyof(TitleTable), anyof(attrtable(r))), quill::Ok);
    } else {
      const int32_t other = anyof(kind);
      if (other == victim) return;
      ASSERT_EQ(DB_MergeRecords(kindoftable(kind), victim, other, nullptr), quill::Ok);
      records.erase(other);
    }
    for (int attr : {ArtistTable, SongTable})
      std::erase_if(model_[attr], [&](const auto& r) { return !exists(attr, r.first); });
    done(before);
  }

  static std::vector<int32_t> nameorder(int kind) {
    std::vector<int32_t> codes;
    quill::Rlist cursor(&DB_Table(kind));
    (void)cursor.select(T_Name);
    for (quill::ErrorCode rc = cursor.first(); rc == quill::Ok; rc = cursor.skip(1))
      codes.push_back(cursor.field(F_Code).aslong());
    return codes;
  }

  // The finds of every kind for the text typed, against the model's for the words sought.
  void expect(const std::string& typed, const std::vector<std::string>& sought) {
    SearchResults results;
    ASSERT_EQ(DB_Search(typed, kSearchAll, &results), quill::Ok) << typed;
    for (int kind = TitleTable; kind <= SongTable; ++kind) {
      std::vector<int32_t> want, got;
      for (int32_t code : nameorder(kind))
        if (holds(model_[kind].at(code), sought)) want.push_back(code);
      for (const SearchHit& hit : results.found[kind]) {
        got.push_back(hit.code);
        EXPECT_EQ(hit.name, model_[kind][hit.code].name);
      }
      ASSERT_EQ(got, want) << "kind " << kind << ", searching " << typed;
    }
  }

  // A random text of one or two words, then every pool word alone.
  void search() {
    std::string typed, second;
    std::vector<std::string> sought = randomquery(&typed);
    if (pick(3) == 0) {
      const std::vector<std::string> more = randomquery(&second);
      typed += " " + second;
      sought.insert(sought.end(), more.begin(), more.end());
    }
    expect(typed, sought);
    for (const PoolWord& w : kPool) expect(w.folded.front(), {w.folded.front()});
  }

  static std::vector<int32_t> found(const std::string& word) {
    std::vector<int32_t> codes;
    EXPECT_EQ(DB_SearchCodes({word}, Kind::Song, &codes), quill::Ok);
    return codes;
  }
};

TEST_F(SearchTest, FindsWhatTheModelFindsAfterEveryEditAndReopen) {
  for (int i = 0; i < 150; ++i) change();
  for (int round = 0; round < 400; ++round) {
    change();
    if (pick(4) == 0) change();
    if (round == 200) {
      DB_Close();
      ASSERT_EQ(DB_Open(), 0);
    }
    search();
    if (HasFatalFailure()) return;
  }
}

TEST_F(SearchTest, AlbumsComeWithTheirFirstArtistAndInNameOrder) {
  const int32_t queen = add(ArtistTable, "Queen");
  const int32_t abba = add(ArtistTable, "ABBA");
  const int32_t second = album_with(0, {queen, abba}, "Greatest Hits II");
  const int32_t first = album_with(0, {abba}, "Greatest Hits");
  const int32_t none = add(TitleTable, "Greatest Hits III");
  SearchResults results;
  ASSERT_EQ(DB_Search("greatest hits", SearchAlbums, &results), quill::Ok);
  std::vector<std::pair<int32_t, std::string>> albums;
  for (const SearchHit& hit : results.found[TitleTable]) albums.emplace_back(hit.code, hit.firstartist);
  EXPECT_EQ(albums, (std::vector<std::pair<int32_t, std::string>>{{first, "ABBA"}, {second, "Queen"}, {none, ""}}));
  EXPECT_TRUE(results.found[ArtistTable].empty());
  EXPECT_EQ(DB_Search(" -- ! ", kSearchAll, &results), EmptySearch);
}

// A rename that changes only what lies past the stored field rewrites the full name in place, which
// moves no counter or stamp of any table.
TEST_F(SearchTest, ARenamePastTheStoredFieldIsSeen) {
  const std::string start(60, 'x');
  const int32_t song = add(SongTable, (start + " Alpha").c_str());
  EXPECT_EQ(found("alpha"), std::vector<int32_t>{song});
  ASSERT_EQ(DB_RenameRecord(*at(SongTable, song), Kind::Song, start + " Omega", true), quill::Ok);
  EXPECT_TRUE(found("alpha").empty());
  EXPECT_EQ(found("omega"), std::vector<int32_t>{song});
  // The same rewrite with the record left alone, as no edit makes it yet.
  ASSERT_EQ(DB_KeepFullName(Kind::Song, song, text(SongTable, song, F_Name), start + " Sigma"), quill::Ok);
  EXPECT_EQ(found("sigma"), std::vector<int32_t>{song});
}

// Another opener's change is told of by no watch: it is seen all the same, also when this process's
// own edits follow it, or when it comes between an undo and the open after it.
TEST_F(SearchTest, AnotherOpenersChangeIsSeen) {
  auto renamebehind = [](int32_t code, const char* name, quill::OpenMode mode) {
    quill::DataFile other;
    ASSERT_EQ(other.open(fixedname(SongTable), mode), quill::Ok);
    quill::Rlist cursor(&other);
    (void)cursor.select(T_Code);
    uint8_t key[4];
    quill::put4(key, code);
    ASSERT_EQ(cursor.seek(key, 4, quill::SeekMode::Equal, quill::SeekWhich::Any), quill::Ok);
    cursor.field(F_Name).set(name);
    ASSERT_EQ(cursor.update(), quill::Ok);
  };
  const int32_t mine = add(SongTable, "Alpha");
  const int32_t theirs = add(SongTable, "Beta");
  DB_Close();
  ASSERT_EQ(DB_Open({.shared = true}), 0);
  EXPECT_EQ(found("alpha"), std::vector<int32_t>{mine});
  renamebehind(theirs, "Alpha Beta", {.shared = true});
  add(SongTable, "Gamma");
  EXPECT_EQ(found("alpha"), (std::vector<int32_t>{mine, theirs}));

  DB_Close();
  ASSERT_EQ(DB_Open(), 0);
  add(SongTable, "Delta");
  EXPECT_EQ(found("delta").size(), 1u);
  std::string message;
  ASSERT_EQ(DB_Undo(UndoWay::Undo, &message), 0) << message;
  renamebehind(mine, "Omega", {});
  ASSERT_EQ(DB_Open(), 0);
  EXPECT_EQ(found("omega"), std::vector<int32_t>{mine});
  EXPECT_TRUE(found("delta").empty());
}

}  // namespace
}  // namespace tracklore::test
