#include "engine/keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

int sign(int v) { return (v > 0) - (v < 0); }

// A tag over the given fields, one component per field in order.
struct Tag {
  std::vector<FieldDescr> fields;
  std::vector<Component> comps;

  Tag& add(char type, int length, uint16_t flags = 0) {
    fields.push_back(FieldDescr{type, static_cast<int16_t>(length), ""});
    comps.push_back(Component{static_cast<int16_t>(fields.size() - 1),
                              static_cast<int16_t>(length), flags});
    return *this;
  }
  KeyDescr kd() const {
    return KeyDescr{comps.data(), static_cast<int>(comps.size()), fields.data(),
                    static_cast<int>(fields.size())};
  }
  // Every comparison also asks the tag's shortcut, which must agree.
  int cmp(CompareMode mode, const Bytes& a, const Bytes& b) const {
    KeyDescr d = kd();
    const int la = static_cast<int>(a.size()), lb = static_cast<int>(b.size());
    const int r = compare(mode, &d, a.data(), la, b.data(), lb);
    EXPECT_EQ(sign(comparatorfor(&d)(mode, &d, a.data(), la, b.data(), lb)), sign(r));
    return r;
  }
  int cont(const Bytes& a, const Bytes& b) const {
    KeyDescr d = kd();
    return continues(&d, a.data(), static_cast<int>(a.size()), b.data(),
                     static_cast<int>(b.size()));
  }
};

// Key bytes, built component by component.
struct Key {
  Bytes bytes;
  Key& text(const std::string& s) {  // text and its NUL (CF_VAR or search key)
    bytes.insert(bytes.end(), s.begin(), s.end());
    bytes.push_back(0);
    return *this;
  }
  Key& padded(const std::string& s, int length) {  // fixed-length text
    Bytes part(length, 0);
    std::copy_n(s.begin(), std::min<size_t>(s.size(), length), part.begin());
    bytes.insert(bytes.end(), part.begin(), part.end());
    return *this;
  }
  Key& be(uint32_t v, int n) {
    for (int k = n - 1; k >= 0; --k) bytes.push_back(static_cast<uint8_t>(v >> (8 * k)));
    return *this;
  }
  template <class Real>  // double or float, in the machine's own layout
  Key& real(Real d) {
    uint8_t raw[sizeof d];
    std::memcpy(raw, &d, sizeof d);
    bytes.insert(bytes.end(), raw, raw + sizeof d);
    return *this;
  }
  operator Bytes() const { return bytes; }
};

Bytes txt(const std::string& s) { return Key().text(s); }

// The sign of a comparison of plain texts: textcmp, textcmp_wordwise or exactcmp.
int texts(int (*order)(int, const uint8_t*, int, const uint8_t*, int), int full, const std::string& a,
          const std::string& b) {
  return sign(order(full, reinterpret_cast<const uint8_t*>(a.data()), static_cast<int>(a.size()),
                    reinterpret_cast<const uint8_t*>(b.data()), static_cast<int>(b.size())));
}

TEST(CharTable, LettersFoldToTheirBaseKeepingCaseOthersStayCapitalsGoUp) {
  const std::pair<int, int> bases[] = {{0xC0, 'A'}, {0xE9, 'e'}, {0xD8, 'O'}, {0xFD, 'y'}};
  for (auto [c, base] : bases) EXPECT_EQ(chr_base(static_cast<uint8_t>(c)), base) << c;
  EXPECT_EQ(std::make_tuple(chr_lower(0xC7), chr_upper(0xF1)), std::make_tuple(0xE7, 0xD1));
  for (int c = 'A'; c <= 'Z'; ++c)
    EXPECT_TRUE(chr_lower(uint8_t(c)) == c + 0x20 && chr_upper(uint8_t(c + 0x20)) == c) << char(c);
  for (int c = 0; c < 256; ++c) {
    const uint8_t u = static_cast<uint8_t>(c);
    if (chr_isletter(u))
      EXPECT_TRUE(chr_lower(chr_base(u)) == chr_base(chr_lower(u)) &&
                  chr_lower(chr_upper(u)) == chr_lower(u) && chr_upper(chr_lower(u)) == chr_upper(u))
          << c;
    else
      EXPECT_EQ(chr_lower(u), chr_upper(u)) << c;
  }
  for (uint8_t c : {0xC6, 0xD0, 0xD7, 0xDE, 0xDF, 0xE6, 0xF0, 0xF7, 0xFE, 0xFF, 0x8A, 0x9F})
    EXPECT_TRUE(!chr_isletter(c) && chr_base(c) == c && chr_isignorable(c)) << int(c);
  for (uint8_t c : {0x01, 0x08, 0x0B, 0x0C, 0x0E, 0x19, 0x1B, 0x1F})
    EXPECT_TRUE(chr_base(c) == '.' && chr_upper(c) == '.') << int(c);
  for (uint8_t c : {0x00, 0x09, 0x0A, 0x0D, 0x1A}) EXPECT_EQ(chr_lower(c), c) << int(c);
  EXPECT_TRUE(chr_isdigit('7') && !chr_isletter('7') && !chr_isignorable('7'));
  EXPECT_TRUE(chr_isignorable('-') && chr_isletter(0xC0));
  // Capitals for the first word or every word.
  const std::tuple<const char*, int, const char*> capitals[] = {
      {"(the slow river song)", 1, "(The Slow River Song)"}, {"(the slow river song)", 0, "(The slow river song)"},
      {"\xE0gua", 1, "\xC0gua"}, {"rock-n-roll/live \"demo\" [take 2]", 1, "Rock-N-Roll/Live \"Demo\" [Take 2]"},
      {"\"'", 1, "\"'"}, {"", 1, ""}, {"abc  ", 1, "Abc  "}};
  for (auto [text, allwords, want] : capitals)
    EXPECT_EQ(capitalize(std::string(text).data(), allwords), std::string(want)) << text;
}

// One comparison: the sign of compare(mode, a, b) under a tag.
struct Order { const Tag& tag; CompareMode mode; Bytes a, b; int want; };
constexpr CompareMode kStored = CompareMode::Stored, kPrefix = CompareMode::Prefix, kWhole = CompareMode::Whole;

// Binary, padded and natural texts; in prefix mode the last text may begin a longer text and
// its number (only at the end of the search text) a longer number; numbers signed, real or
// descending; search keys of leading components only; cut keys read only as far as they go.
TEST(Comparisons, TextsNumbersLeadingPartsAndCutKeys) {
  const Tag binary = Tag().add('C', 10, CF_VAR | CF_BINARY), fixed = Tag().add('C', 8).add('L', 4),
            raw = Tag().add('B', 4), var = Tag().add('C', 30, CF_VAR), desc = Tag().add('L', 4, CF_DESC),
            s = Tag().add('S', 2), x = Tag().add('X', 4), d = Tag().add('D', 8), f = Tag().add('F', 4),
            two = Tag().add('C', 20, CF_VAR).add('L', 4), cut6 = Tag().add('C', 6, CF_VAR).add('L', 4),
            c8 = Tag().add('C', 8);
  const Bytes whole = {0x10, 0x20, 0x30, 0x40}, half = {0x10, 0x20};
  const Bytes blue9 = Key().padded("blue", 8).be(9, 4), moon = Key().text("blue moon").be(5, 4);
  const Order orders[] = {
      {binary, kStored, txt("Abc"), txt("abc"), -1}, {binary, kStored, txt("rock n roll"), txt("rock-n-roll"), -1},
      {binary, kPrefix, txt("ro"), txt("rock"), 0}, {binary, kPrefix, txt("Ro"), txt("rock"), -1},
      {fixed, kStored, Key().padded("Blue", 8).be(7, 4), blue9, -1},  // equal texts, 7 < 9
      {fixed, kWhole, Key().text("BLUE").be(9, 4), blue9, 0}, {fixed, kPrefix, txt("bl"), blue9, 0},
      {raw, kPrefix, half, whole, 0}, {raw, kWhole, half, whole, -1}, {raw, kStored, half, whole, -1},
      {raw, kStored, {0xFF, 0, 0, 0}, whole, 1},  // unsigned
      {var, kPrefix, txt("the blue mo"), txt("The Blue Moon Waltz"), 0},
      {var, kWhole, txt("the blue mo"), txt("The Blue Moon Waltz"), -1},
      {var, kPrefix, txt("track 2"), txt("track 12"), 1}, {var, kPrefix, txt("the blue"), txt("theater"), -1},
      {var, kPrefix, txt("track 1"), txt("Track 1"), 0}, {var, kPrefix, txt("track 1"), txt("Track 10"), 0},
      {var, kPrefix, txt("track 1"), txt("Track 12"), 0}, {var, kPrefix, txt("track 1"), txt("Track 100"), 0},
      {var, kPrefix, txt("track 1"), txt("Track 2"), -1}, {var, kPrefix, txt("track 1"), txt("Track 01b"), 0},
      {var, kPrefix, txt("1 track"), txt("12 tracks"), -1},  // not trailing
      {var, kPrefix, txt("track 1 "), txt("Track 15"), 0},   // a trailing blank
      {desc, kStored, Key().be(5, 4), Key().be(3, 4), -1}, {desc, kStored, Key().be(3, 4), Key().be(5, 4), 1},
      {desc, kStored, Key().be(3, 4), Key().be(3, 4), 0}, {s, kStored, Key().be(0xFFFE, 2), Key().be(1, 2), -1},
      {x, kStored, Key().be(0x80000000u, 4), Key().be(0x7FFFFFFF, 4), -1},
      {d, kStored, Key().real(-1.5), Key().real(0.25), -1}, {d, kStored, Key().real(1e10), Key().real(2.0), 1},
      {d, kStored, Key().real(std::nan("")), Key().real(3.0), 0},
      {f, kStored, Key().real(-2.0f), Key().real(1.0f), -1},
      // A non-final text matches whole even in prefix mode.
      {two, kPrefix, Key().text("blue").be(5, 4), moon, -1}, {two, kStored, Bytes{}, txt("a"), -1},
      {two, kStored, Key().text("a").be(9, 4), Key().text("b").be(1, 4), -1},
      {two, kStored, Key().text("a").be(9, 4), Key().text("a").be(1, 4), 1},
      // A text that fills its component has no NUL: the code follows its sixth byte.
      {cut6, kStored, Key().padded("Abcdef", 6).be(1, 4), Key().padded("abcdef", 6).be(2, 4), -1},
      {cut6, kStored, Key().padded("abcdef", 6).be(0x01000000, 4), Key().padded("abcdef", 6).be(0x00FFFFFF, 4), 1},
      {cut6, kStored, Key().padded("abcdef", 6), Key().padded("abcdef", 6), 0},
      {c8, kStored, Key().padded("abcdefgh", 8), Key().padded("abc", 3), 1},
      {c8, kPrefix, Key().padded("abc", 3), Key().padded("abcdefgh", 8), 0},  // a search key without its NUL
  };
  for (const Order& o : orders) EXPECT_EQ(sign(o.tag.cmp(o.mode, o.a, o.b)), o.want) << &o - orders;
  // A prefix's matches lie together in the tree unless its text ends in a number that may begin
  // longer ones ("1" begins 12, yet 2 lies between them) or it cuts a number short.
  const std::tuple<const Tag*, Bytes, bool> runs[] = {
      {&var, txt("track"), true}, {&var, txt("track 1"), false}, {&binary, txt("track 1"), true},
      {&raw, half, true},         {&x, half, false}};
  for (size_t i = 0; i < std::size(runs); ++i) {
    const auto& [tag, key, together] = runs[i];
    const KeyDescr d = tag->kd();
    EXPECT_EQ(prefixtogether(&d, key.data(), static_cast<int>(key.size())), together) << i;
  }
  for (uint32_t code : {0u, 5u, 0xFFFFFFFFu}) {
    const Bytes stored = Key().text("blue moon").be(code, 4), text = txt("Blue Moon");
    EXPECT_EQ(std::make_tuple(two.cmp(kPrefix, text, stored), two.cmp(kWhole, text, stored),
                              sign(two.cmp(kStored, text, stored))), std::make_tuple(0, 0, -1)) << code;
  }
  // Cut keys: exactly sized buffers, nothing beyond them may be read.
  const Bytes a = Key().padded("Abcdef", 6).be(1, 4), b = Key().padded("abcdef", 6).be(2, 4);
  for (int n = 1; n <= 6; ++n) {
    const Bytes cut(a.begin(), a.begin() + n);
    EXPECT_TRUE(cut6.cmp(kStored, cut, b) <= 0 && cut6.cmp(kStored, b, cut) >= 0 &&
                cut6.cmp(kPrefix, cut, b) == 0) << n;
    cut6.cont(cut, Bytes(b.begin(), b.begin() + 6));
  }
  const Tag l = Tag().add('L', 4).add('D', 8);
  const Bytes number = Key().be(7, 4).real(2.0);
  for (size_t n = 1; n < number.size(); ++n) {
    const Bytes cut(number.begin(), number.begin() + n);
    EXPECT_EQ(std::make_tuple(sign(l.cmp(kStored, cut, number)), sign(l.cmp(kStored, number, cut)),
                              l.cmp(kStored, cut, cut)), std::make_tuple(-1, 1, 0)) << n;
  }
}

// The exact and the natural order of plain texts (a NUL ends a text); whether b goes on
// with a's trailing number.
TEST(TextOrders, ExactNaturalAndContinuedNumbers) {
  const std::string nul("ab\0z", 4);
  const std::tuple<std::string, std::string, int, int> exacts[] = {
      {"Abc", "abc", 1, -1}, {"ab", "abc", 0, 0}, {"ab", "abc", 1, -1}, {"abc", "ab", 0, 1},
      {nul, "abc", 0, 0},    {nul, "abc", 1, -1}};
  for (auto [x, y, full, want] : exacts) EXPECT_EQ(texts(exactcmp, full, x, y), want) << x << full;
  // Case, accents (àbc), numbers and punctuation; all zeros read as one 0, numbers before letters.
  const std::tuple<const char*, const char*, int> naturals[] = {
      {"abc", "abd", -1},          {"Abc", "abc", 0},         {"\xE0" "bc", "abc", 0},
      {"track 2", "track 10", -1}, {"track 007", "track 7", 0}, {"rock-n-roll", "rock n roll", 0},
      {"abc", "abc def", -1},      {"track 0", "track 00 b", -1}, {"9 lives", "a life", -1}};
  for (auto [x, y, want] : naturals) EXPECT_EQ(texts(textcmp, 1, x, y), want) << x << " | " << y;
  const Tag var = Tag().add('C', 30, CF_VAR), binary = Tag().add('C', 30, CF_VAR | CF_BINARY),
            two = Tag().add('L', 4).add('C', 30, CF_VAR);
  const std::tuple<const Tag&, Bytes, Bytes, int> continued[] = {
      {var, txt("track 1"), txt("track 24"), 1}, {var, txt("track 1"), txt("trackside"), 0},
      {var, txt("track"), txt("track 24"), 0},   {var, txt("track1"), txt("track24"), 1},
      {var, txt("track1"), txt("trackx"), 0},    {var, txt("disc 2 track 1"), txt("disc 3 track 9"), 1},
      {binary, txt("track 1"), txt("track 24"), 0},
      {two, Key().be(1, 4).text("track 1"), Key().be(1, 4).text("track 24"), 1},
      {two, Key().be(1, 4), Key().be(1, 4).text("track 24"), 0}};  // the last part not a text
  for (const auto& [tag, a, b, want] : continued) EXPECT_EQ(tag.cont(a, b), want) << a.size() << " " << b.size();
}

// The order strings the reindex sorts by order stored keys exactly as the comparison, ties
// included: texts that differ in case, accents, separators, leading zeros, long numbers and
// words that begin others, alone and beside other components. Such neighbouring texts also
// show that the comparison's shortcuts decide every pair as the plain word-by-word one does.
TEST(RandomTexts, OrderStringsAndShortcutsOrderAsTheComparison) {
  std::mt19937 rng{20240611};
  static const std::string pool = "aAbBeEnNoO\xE0\xC0\xE9\xC9\xF1\xF6\xD8" "0123456789   --,.!'",
                           digits = "0000123456789";
  std::uniform_int_distribution<int> coin(0, 3), digit(0, int(digits.size()) - 1), run(1, 40),
      len(0, 10), pick(0, int(pool.size()) - 1);
  auto piece = [&] {  // letters, accents, digits and separators
    std::string s(size_t(len(rng)), ' ');
    for (char& ch : s) ch = pool[pick(rng)];
    return s;
  };
  auto text = [&] {
    std::string s = piece();
    if (coin(rng) == 0) s += std::string(size_t(run(rng)), digits[digit(rng)]);
    for (int k = coin(rng); k > 0; --k) s += piece();
    return s;
  };
  const Tag tags[] = {Tag().add('C', 60, CF_VAR), Tag().add('C', 30), Tag().add('X', 4),
                      Tag().add('C', 14, CF_VAR).add('L', 4),
                      Tag().add('S', 2).add('C', 9).add('X', 4),
                      Tag().add('C', 12, CF_VAR | CF_BINARY).add('B', 3)};
  auto keyof = [&](const Tag& tag, const std::string& s, uint32_t n) {
    Key key;
    for (const FieldDescr& f : tag.fields) {
      if (f.type == 'C' && tag.comps[&f - tag.fields.data()].flags & CF_VAR)
        key.text(s.substr(0, size_t(f.length) - 1));
      else if (f.type == 'C')
        key.padded(s, f.length);
      else
        key.be(n, f.type == 'S' ? 2 : f.type == 'B' ? 3 : 4);
    }
    return Bytes(key);
  };
  auto orderstring = [](const Tag& tag, const Bytes& key) {
    KeyDescr d = tag.kd();
    Bytes out(1024);
    const int n = orderbytes(&d, key.data(), int(key.size()), out.data(), int(out.size()));
    EXPECT_TRUE(n >= 0 && n <= int(out.size())) << n;
    out.resize(size_t(std::max(n, 0)));
    return out;
  };
  std::uniform_int_distribution<uint32_t> number(0, 6);
  for (const Tag& tag : tags) {
    for (int n = 0; n < 6000; ++n) {
      const std::string a = text();
      std::string b = coin(rng) == 0 ? text() : a;
      for (char& ch : b)
        if (coin(rng) == 0) ch = "aAE\xC9\xE9 -0"[coin(rng) + coin(rng)];
      if (coin(rng) == 0) b = b.substr(0, std::uniform_int_distribution<size_t>(0, b.size())(rng));
      for (int full : {0, 1}) {
        ASSERT_EQ(texts(textcmp, full, a, b), texts(textcmp_wordwise, full, a, b)) << full << a << " | " << b;
        ASSERT_EQ(texts(textcmp, full, b, a), texts(textcmp_wordwise, full, b, a)) << full << b << " | " << a;
      }
      // Negative numbers too: their sign bit must not sort them last.
      const uint32_t na = uint32_t(int32_t(number(rng)) - 3) * 0x1234567u;
      const uint32_t nb = uint32_t(int32_t(number(rng)) - 3) * 0x1234567u;
      const Bytes ka = keyof(tag, a, na), kb = keyof(tag, b, nb);
      const Bytes oa = orderstring(tag, ka), ob = orderstring(tag, kb);
      const int bytes = oa < ob ? -1 : oa == ob ? 0 : 1;  // as bytes, unsigned
      ASSERT_EQ(bytes, sign(tag.cmp(CompareMode::Stored, ka, kb))) << a << " | " << b;
    }
  }
}

TEST(OrderStrings, CutShortOrRefusedWhereTheyCannotStandForTheKey) {
  const Tag name = Tag().add('C', 40, CF_VAR);
  KeyDescr d = name.kd();
  const Bytes key = txt("Greatest Hits 0001977 live");
  constexpr int kCut = 6;  // inside the first word
  uint8_t whole[64], cut[kCut + 1];
  cut[kCut] = 0xEE;
  const int n = orderbytes(&d, key.data(), int(key.size()), whole, sizeof whole);
  ASSERT_GT(n, kCut);
  EXPECT_GT(orderbytes(&d, key.data(), int(key.size()), cut, kCut), kCut);
  EXPECT_EQ(std::memcmp(whole, cut, kCut), 0);
  EXPECT_EQ(cut[kCut], 0xEE) << "written past the capacity";
  Bytes longer = key;
  longer.push_back('x');  // bytes after the last component
  EXPECT_EQ(orderbytes(&d, longer.data(), int(longer.size()), whole, sizeof whole), -1);
  EXPECT_EQ(orderbytes(&d, key.data(), 0, whole, sizeof whole), -1);
  const Tag two = Tag().add('C', 10, CF_VAR).add('L', 4);
  KeyDescr d2 = two.kd();
  EXPECT_EQ(orderbytes(&d2, key.data(), 5, whole, sizeof whole), -1);  // ends inside
  for (const Tag& refused : {Tag().add('L', 4, CF_DESC), Tag().add('D', 8), Tag().add('L', 3)}) {
    KeyDescr r = refused.kd();
    EXPECT_FALSE(orderable(&r));
  }
}

}  // namespace
}  // namespace quill
