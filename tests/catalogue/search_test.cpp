// The word search against a model: random names of words in several
// spellings and scripts, searched by random word beginnings and by words
// from inside names, while records are added, renamed and deleted and the
// database is closed and opened again.
#include "catalogue/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "catalogue/schema.h"
#include "catalogue/tableset.h"
#include "tests/catalogue/testutil.h"

namespace tracklore::test {
namespace {

// A word as it may appear in a name, and the folded words the search reads
// in it.
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
  std::map<int32_t, Modelled> model_[3];

  size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  // A name of one to four pool words, sometimes long enough that its end
  // lies past the stored field, so that only the full name holds it.
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

  // A word sought: a pool word as written (matched whole, in its own
  // script), or a piece of a folded one, mostly its beginning and
  // sometimes from inside it, in any letter case.
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

  void change() {
    const int kind = static_cast<int>(pick(3));
    std::map<int32_t, Modelled>& records = model_[kind];
    const size_t what = pick(4);
    if (records.empty() || what < 2) {
      Modelled m = randomname();
      records[add(kind, m.name.c_str())] = m;
      return;
    }
    auto victim = std::next(records.begin(), static_cast<long>(pick(records.size())));
    auto cursor = at(kind, victim->first);
    if (what == 2) {
      Modelled m = randomname();
      ASSERT_EQ(DB_RenameRecord(*cursor, kind, m.name, true), quill::Ok);
      victim->second = m;
    } else {
      ASSERT_EQ(kind == TitleTable ? DB_DeleteArticle(*cursor) : DB_DeleteAttribute(*cursor, kind),
                quill::Ok);
      records.erase(victim);
    }
  }

  void search() {
    std::string typed, second;
    std::vector<std::string> sought = randomquery(&typed);
    if (pick(3) == 0) {
      const std::vector<std::string> more = randomquery(&second);
      typed += " " + second;
      sought.insert(sought.end(), more.begin(), more.end());
    }
    SearchResults results;
    ASSERT_EQ(DB_Search(typed, kSearchAll, &results), quill::Ok) << typed;
    for (int kind = TitleTable; kind <= SongTable; ++kind) {
      std::set<int32_t> want, got;
      for (const auto& [code, m] : model_[kind])
        if (holds(m, sought)) want.insert(code);
      for (const SearchHit& hit : results.found[kind]) {
        got.insert(hit.code);
        EXPECT_EQ(hit.name, model_[kind][hit.code].name);
      }
      ASSERT_EQ(got, want) << "kind " << kind << ", searching " << typed;
    }
  }
};

TEST_F(SearchTest, FindsWhatTheModelFindsThroughEditsAndReopens) {
  for (int i = 0; i < 150; ++i) change();
  for (int round = 0; round < 300; ++round) {
    if (pick(3) == 0) change();
    if (round == 150) {
      DB_Close();
      ASSERT_EQ(DB_Open(), 0);
    }
    search();
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
  ASSERT_EQ(results.found[TitleTable].size(), 3u);
  EXPECT_EQ(results.found[TitleTable][0].code, first);
  EXPECT_EQ(results.found[TitleTable][0].firstartist, "ABBA");
  EXPECT_EQ(results.found[TitleTable][1].code, second);
  EXPECT_EQ(results.found[TitleTable][1].firstartist, "Queen");
  EXPECT_EQ(results.found[TitleTable][2].code, none);
  EXPECT_EQ(results.found[TitleTable][2].firstartist, "");
  EXPECT_TRUE(results.found[ArtistTable].empty());
  EXPECT_EQ(DB_Search(" -- ! ", kSearchAll, &results), EmptySearch);
}

// A rename that changes only what lies past the stored field rewrites the
// full name in place, which moves no counter or stamp of any table.
TEST_F(SearchTest, ARenamePastTheStoredFieldIsSeen) {
  const std::string start(60, 'x');
  const int32_t song = add(SongTable, (start + " Alpha").c_str());
  std::vector<int32_t> codes;
  ASSERT_EQ(DB_SearchCodes({"alpha"}, SongTable, &codes), quill::Ok);
  EXPECT_EQ(codes, std::vector<int32_t>{song});
  ASSERT_EQ(DB_RenameRecord(*at(SongTable, song), SongTable, start + " Omega", true), quill::Ok);
  ASSERT_EQ(DB_SearchCodes({"alpha"}, SongTable, &codes), quill::Ok);
  EXPECT_TRUE(codes.empty());
  ASSERT_EQ(DB_SearchCodes({"omega"}, SongTable, &codes), quill::Ok);
  EXPECT_EQ(codes, std::vector<int32_t>{song});
}

}  // namespace
}  // namespace tracklore::test
