// The one function that makes stored names from full ones.
#include "catalogue/storedform.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "catalogue/schema.h"

namespace tracklore {
namespace {

struct Case { const char* full; const char* stored; /* as UTF-8, for reading */ bool transliterated; };

TEST(StoredForm, KeepsWhatWindows1252HoldsAndTransliteratesTheRest) {
  const Case cases[] = {
      {"Beyoncé", "Beyoncé", false},
      {"in the flesh?", "In The Flesh?", false},
      {"  Sigur Rós   –  Ágætis byrjun ", "Sigur Rós – Ágætis Byrjun", false},
      {"Ước gì", "Uoc Gì", true},  // Latin Extended Additional; ì is Windows-1252's
      {"Iași", "Iasi", true},      // Latin Extended-B
      {"Czesław Niemen", "Czeslaw Niemen", true},
      {"Мумий Тролль", "Mumij Troll'", true},
      {"Μάνος", "Manos", true},
      {"방탄소년단", "Bangtansonyeondan", true},
      {"Party Time 🎉", "Party Time", true},
      {"Chanel № 5 ★ Deluxe", "Chanel No 5 Deluxe", true},
      {"Karma\u200BPolice", "KarmaPolice", true},
      {"Hawaiʻi", "Hawai'i", true},
  };
  for (const Case& c : cases) {
    const StoredForm form = DB_StoredForm(Kind::Song, c.full);
    EXPECT_EQ(DB_StoredToUtf8(form.stored), c.stored) << c.full;
    EXPECT_EQ(form.transliterated, c.transliterated) << c.full;
    EXPECT_FALSE(form.cut || form.standin) << c.full;
  }
}

// Cut to the field, never ending on a blank; blanks alone store as nothing (a stand-in is the
// scan's to show).
TEST(StoredForm, CutToTheFieldNeverOnABlankAndBlanksAlone) {
  EXPECT_EQ(DB_StoredForm(Kind::Artist, " \t ").stored, "");
  const StoredForm cut = DB_StoredForm(Kind::Album, std::string(54, 'a') + " bcd");
  EXPECT_EQ(std::pair(cut.stored, cut.cut), std::pair("A" + std::string(53, 'a'), true));
}

TEST(StoredForm, FullFormTrimsCutsAndRepairs) {
  EXPECT_EQ(DB_FullForm("  a\tb  c \xE2\x80\x8B").text, "a b  c");
  EXPECT_EQ(DB_FullForm("ab\xC3").text, "ab\xEF\xBF\xBD");      // a torn character
  EXPECT_EQ(DB_FullForm("\xC0\xAF").text, "\xEF\xBF\xBD\xEF\xBF\xBD");  // an overlong '/'
  std::string many;
  for (int i = 0; i < 300; ++i) many += "ж";
  const FullForm cut = DB_FullForm(many);
  EXPECT_TRUE(cut.cut);
  EXPECT_EQ(cut.text.size(), 2 * kFullNameChars);
}

TEST(StoredForm, SeekFormAndIdentity) {
  EXPECT_EQ(std::pair(DB_SeekForm("мум"), DB_SeekForm("mum")), std::pair(std::string("Mum"), std::string("Mum")));
  EXPECT_TRUE(DB_SameName("NIRVANA", "Nirvana") && DB_SameName("ΜΆΝΟΣ", "μάνος"));
  EXPECT_FALSE(DB_SameName("Beyoncé", "Beyonce") || DB_SameName("In The Flesh", "In The Flesh?"));
}

// Whatever the full name, its stored form fits the field, has single inner blanks, and is its own
// stored form again: a stored name read back as UTF-8 needs no entry of its own, and verification
// may re-derive it.
TEST(StoredForm, RandomNamesGiveStableStoredForms) {
  const char* const pieces[] = {"a", "Z", " ", "  ", "\t", "é", "ß", "Ł", "ж", "Ω", "ờ", "ț",
                                "🎉", "日", "ヒ", "'", "?", "-", "€", "\xC3", "\x01", "1", "ÿ", "œ", "š", "Ǆ", "ﬁ", "\u00A0"};
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    std::string full;
    const int n = static_cast<int>(random() % 40);
    for (int i = 0; i < n; ++i) full += pieces[random() % std::size(pieces)];
    const int kind = static_cast<int>(random() % 3);
    const StoredForm form = DB_StoredForm(kindoftable(kind), DB_FullForm(full).text);
    const std::string& s = form.stored;
    ASSERT_LT(s.size(), static_cast<size_t>(kNameLength[kind])) << full;
    ASSERT_EQ(s.find("  "), std::string::npos) << full;
    ASSERT_TRUE(s.empty() || (s.front() != ' ' && s.back() != ' ')) << full;
    ASSERT_EQ(DB_StoredForm(kindoftable(kind), DB_StoredToUtf8(s)).stored, s) << full;
    ASSERT_EQ(DB_SeekForm(DB_StoredToUtf8(s)), s) << full;
  }
}

}  // namespace
}  // namespace tracklore
