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

int natural(const std::string& a, const std::string& b, int full = 1) {
  return textcmp(full, reinterpret_cast<const uint8_t*>(a.data()), static_cast<int>(a.size()),
                 reinterpret_cast<const uint8_t*>(b.data()), static_cast<int>(b.size()));
}
int exact(const std::string& a, const std::string& b, int full = 1) {
  return exactcmp(full, reinterpret_cast<const uint8_t*>(a.data()), static_cast<int>(a.size()),
                  reinterpret_cast<const uint8_t*>(b.data()), static_cast<int>(b.size()));
}
std::string cap(std::string s, int allwords) { return capitalize(s.data(), allwords); }

TEST(CharTable, LettersFoldToTheirBaseKeepingCaseOthersStayCapitalsGoUp) {
  const std::pair<int, int> bases[] = {{0xC0, 'A'}, {0xE9, 'e'}, {0xD8, 'O'}, {0xFD, 'y'}};
  for (auto [c, base] : bases) EXPECT_EQ(chr_base(static_cast<uint8_t>(c)), base) << c;
  EXPECT_EQ(chr_lower(0xC7), 0xE7);
  EXPECT_EQ(chr_upper(0xF1), 0xD1);
  EXPECT_EQ(chr_upper('q'), 'Q');
  EXPECT_EQ(chr_lower('Q'), 'q');
  for (int c = 0; c < 256; ++c) {
    const uint8_t u = static_cast<uint8_t>(c);
    if (!chr_isletter(u)) {
      EXPECT_EQ(chr_lower(u), chr_upper(u)) << c;
      continue;
    }
    EXPECT_EQ(chr_lower(chr_base(u)), chr_base(chr_lower(u))) << c;
    EXPECT_EQ(chr_lower(chr_upper(u)), chr_lower(u)) << c;
    EXPECT_EQ(chr_upper(chr_lower(u)), chr_upper(u)) << c;
  }
  for (uint8_t c : {0xC6, 0xD0, 0xD7, 0xDE, 0xDF, 0xE6, 0xF0, 0xF7, 0xFE, 0xFF, 0x8A, 0x9F}) {
    EXPECT_FALSE(chr_isletter(c)) << int(c);
    EXPECT_EQ(chr_base(c), c) << int(c);
    EXPECT_TRUE(chr_isignorable(c)) << int(c);
  }
  for (uint8_t c : {0x01, 0x08, 0x0B, 0x0C, 0x0E, 0x19, 0x1B, 0x1F}) {
    EXPECT_EQ(chr_base(c), '.') << int(c);
    EXPECT_EQ(chr_upper(c), '.') << int(c);
  }
  for (uint8_t c : {0x00, 0x09, 0x0A, 0x0D, 0x1A}) EXPECT_EQ(chr_lower(c), c) << int(c);
  EXPECT_TRUE(chr_isdigit('7'));
  EXPECT_FALSE(chr_isletter('7'));
  EXPECT_FALSE(chr_isignorable('7'));
  EXPECT_TRUE(chr_isignorable('-'));
  EXPECT_TRUE(chr_isletter(0xC0));
  // Capitals for the first word or every word.
  EXPECT_EQ(cap("(the slow river song)", 1), "(The Slow River Song)");
  EXPECT_EQ(cap("(the slow river song)", 0), "(The slow river song)");
  EXPECT_EQ(cap("\xE0gua", 1), "\xC0gua");  // àgua -> Àgua
  EXPECT_EQ(cap("rock-n-roll/live \"demo\" [take 2]", 1), "Rock-N-Roll/Live \"Demo\" [Take 2]");
  EXPECT_EQ(cap("\"'", 1), "\"'");
  EXPECT_EQ(cap("", 1), "");
  EXPECT_EQ(cap("abc  ", 1), "Abc  ");
}

TEST(TextOrders, NaturalBinaryPaddedAndPrefixTextsAndUnsignedBytes) {
  const std::string nul("ab\0z", 4);  // a NUL ends the text
  const std::tuple<std::string, std::string, int, int> exacts[] = {
      {"Abc", "abc", 1, -1}, {"ab", "abc", 0, 0}, {"ab", "abc", 1, -1}, {"abc", "ab", 0, 1},
      {nul, "abc", 0, 0},    {nul, "abc", 1, -1}};
  for (auto [x, y, full, want] : exacts) EXPECT_EQ(sign(exact(x, y, full)), want) << x << full;
  const Tag tag = Tag().add('C', 10, CF_VAR | CF_BINARY);
  EXPECT_LT(tag.cmp(CompareMode::Stored, txt("Abc"), txt("abc")), 0);
  EXPECT_LT(tag.cmp(CompareMode::Stored, txt("rock n roll"), txt("rock-n-roll")), 0);  // ' ' < '-' 
  EXPECT_EQ(tag.cmp(CompareMode::Prefix, txt("ro"), txt("rock")), 0);
  EXPECT_NE(tag.cmp(CompareMode::Prefix, txt("Ro"), txt("rock")), 0);
  // A padded fixed-length text compares its text.
  const Tag fixed = Tag().add('C', 8).add('L', 4);
  Bytes a = Key().padded("Blue", 8).be(7, 4);
  Bytes b = Key().padded("blue", 8).be(9, 4);
  EXPECT_LT(fixed.cmp(CompareMode::Stored, a, b), 0);  // equal texts, 7 < 9
  EXPECT_EQ(fixed.cmp(CompareMode::Whole, Key().text("BLUE").be(9, 4), b), 0);
  EXPECT_EQ(fixed.cmp(CompareMode::Prefix, txt("bl"), b), 0);
  // A shorter search part of bytes matches only in prefix mode.
  const Tag raw = Tag().add('B', 4);
  const Bytes cut = {0x10, 0x20}, whole = {0x10, 0x20, 0x30, 0x40};
  EXPECT_EQ(raw.cmp(CompareMode::Prefix, cut, whole), 0);
  EXPECT_LT(raw.cmp(CompareMode::Whole, cut, whole), 0);
  EXPECT_LT(raw.cmp(CompareMode::Stored, cut, whole), 0);
  EXPECT_GT(raw.cmp(CompareMode::Stored, Bytes{0xFF, 0, 0, 0}, whole), 0);  // unsigned
  // The natural order: case, accents (àbc), numbers and punctuation; all zeros
  // read as one 0, numbers before letters.
  const std::tuple<const char*, const char*, int> naturals[] = {
      {"abc", "abd", -1},          {"Abc", "abc", 0},         {"\xE0" "bc", "abc", 0},
      {"track 2", "track 10", -1}, {"track 007", "track 7", 0}, {"rock-n-roll", "rock n roll", 0},
      {"abc", "abc def", -1},      {"track 0", "track 00 b", -1}, {"9 lives", "a life", -1}};
  for (auto [x, y, want] : naturals) EXPECT_EQ(sign(natural(x, y)), want) << x << " | " << y;
  // In prefix mode the last text may begin a longer text, its number a longer number.
  const Tag var = Tag().add('C', 30, CF_VAR);
  EXPECT_EQ(var.cmp(CompareMode::Prefix, txt("the blue mo"), txt("The Blue Moon Waltz")), 0);
  EXPECT_NE(var.cmp(CompareMode::Whole, txt("the blue mo"), txt("The Blue Moon Waltz")), 0);
  EXPECT_EQ(var.cmp(CompareMode::Prefix, txt("track 1"), txt("track 12")), 0);
  EXPECT_GT(var.cmp(CompareMode::Prefix, txt("track 2"), txt("track 12")), 0);
  EXPECT_LT(var.cmp(CompareMode::Prefix, txt("the blue"), txt("theater")), 0);
  // A number is a prefix only at the end of the search text.
  for (const char* name : {"Track 1", "Track 10", "Track 12", "Track 100"}) {
    EXPECT_EQ(var.cmp(CompareMode::Prefix, txt("track 1"), txt(name)), 0) << name;
  }
  EXPECT_NE(var.cmp(CompareMode::Prefix, txt("track 1"), txt("Track 2")), 0);
  EXPECT_EQ(var.cmp(CompareMode::Prefix, txt("track 1"), txt("Track 01b")), 0) << "word may go on";
  EXPECT_NE(var.cmp(CompareMode::Prefix, txt("1 track"), txt("12 tracks")), 0) << "not trailing";
  EXPECT_EQ(var.cmp(CompareMode::Prefix, txt("track 1 "), txt("Track 15")), 0) << "trailing blank";
  // Whether b goes on with a's trailing number.
  EXPECT_EQ(var.cont(txt("track 1"), txt("track 24")), 1);
  EXPECT_EQ(var.cont(txt("track 1"), txt("trackside")), 0);
  EXPECT_EQ(var.cont(txt("track"), txt("track 24")), 0);
  EXPECT_EQ(var.cont(txt("track1"), txt("track24")), 1);
  EXPECT_EQ(var.cont(txt("track1"), txt("trackx")), 0);
  EXPECT_EQ(var.cont(txt("disc 2 track 1"), txt("disc 3 track 9")), 1) << "words before skipped";
  const Tag binary = Tag().add('C', 30, CF_VAR | CF_BINARY);
  EXPECT_EQ(binary.cont(txt("track 1"), txt("track 24")), 0);
  const Tag two = Tag().add('L', 4).add('C', 30, CF_VAR);
  EXPECT_EQ(two.cont(Key().be(1, 4).text("track 1"), Key().be(1, 4).text("track 24")), 1);
  EXPECT_EQ(two.cont(Key().be(1, 4), Key().be(1, 4).text("track 24")), 0) << "last part not text";
}

TEST(Components, NumbersSignedDescendingRealAndLeadingParts) {
  const Tag tag = Tag().add('L', 4, CF_DESC);
  EXPECT_LT(tag.cmp(CompareMode::Stored, Key().be(5, 4), Key().be(3, 4)), 0);
  EXPECT_GT(tag.cmp(CompareMode::Stored, Key().be(3, 4), Key().be(5, 4)), 0);
  EXPECT_EQ(tag.cmp(CompareMode::Stored, Key().be(3, 4), Key().be(3, 4)), 0);
  const Tag s = Tag().add('S', 2);
  EXPECT_LT(s.cmp(CompareMode::Stored, Key().be(0xFFFE, 2), Key().be(0x0001, 2)), 0);  // -2 < 1
  const Tag x = Tag().add('X', 4);
  EXPECT_LT(x.cmp(CompareMode::Stored, Key().be(0x80000000u, 4), Key().be(0x7FFFFFFF, 4)), 0);
  const Tag d = Tag().add('D', 8);
  EXPECT_LT(d.cmp(CompareMode::Stored, Key().real(-1.5), Key().real(0.25)), 0);
  EXPECT_GT(d.cmp(CompareMode::Stored, Key().real(1e10), Key().real(2.0)), 0);
  EXPECT_EQ(d.cmp(CompareMode::Stored, Key().real(std::nan("")), Key().real(3.0)), 0);
  const Tag f = Tag().add('F', 4);
  EXPECT_LT(f.cmp(CompareMode::Stored, Key().real(-2.0f), Key().real(1.0f)), 0);
  // A search key of leading components only.
  const Tag two = Tag().add('C', 20, CF_VAR).add('L', 4);
  Bytes search = txt("Blue Moon");
  for (uint32_t code : {0u, 5u, 0xFFFFFFFFu}) {
    Bytes stored = Key().text("blue moon").be(code, 4);
    EXPECT_EQ(two.cmp(CompareMode::Prefix, search, stored), 0) << code;
    EXPECT_EQ(two.cmp(CompareMode::Whole, search, stored), 0) << code;
    EXPECT_LT(two.cmp(CompareMode::Stored, search, stored), 0) << code;
  }
  // A non-final text must match whole even in prefix mode.
  EXPECT_NE(two.cmp(CompareMode::Prefix, Key().text("blue").be(5, 4), Key().text("blue moon").be(5, 4)), 0);
  EXPECT_LT(two.cmp(CompareMode::Stored, Key().text("a").be(9, 4), Key().text("b").be(1, 4)), 0);
  EXPECT_GT(two.cmp(CompareMode::Stored, Key().text("a").be(9, 4), Key().text("a").be(1, 4)), 0);
  EXPECT_LT(two.cmp(CompareMode::Stored, Bytes{}, txt("a")), 0);
}

TEST(Bounds, CutKeysAreReadOnlyAsFarAsTheyGo) {
  const Tag tag = Tag().add('C', 6, CF_VAR).add('L', 4);
  // "Abcdef" fills the component: no NUL follows, the code comes next.
  Bytes a = Key().padded("Abcdef", 6).be(1, 4);
  Bytes b = Key().padded("abcdef", 6).be(2, 4);
  EXPECT_LT(tag.cmp(CompareMode::Stored, a, b), 0);
  // The code must be read right after the sixth byte, not one byte later.
  EXPECT_GT(tag.cmp(CompareMode::Stored, Key().padded("abcdef", 6).be(0x01000000, 4),
                    Key().padded("abcdef", 6).be(0x00FFFFFF, 4)), 0);
  // Cut keys: exactly sized buffers, nothing beyond them may be read.
  const Bytes full(b.begin(), b.begin() + 6);
  EXPECT_EQ(tag.cmp(CompareMode::Stored, full, full), 0);
  for (int n = 1; n <= 6; ++n) {
    Bytes cut(a.begin(), a.begin() + n);
    EXPECT_LE(tag.cmp(CompareMode::Stored, cut, b), 0) << n;
    EXPECT_GE(tag.cmp(CompareMode::Stored, b, cut), 0) << n;
    EXPECT_EQ(tag.cmp(CompareMode::Prefix, cut, b), 0) << n;
    tag.cont(cut, full);
  }
  // Cut numbers and fixed texts.
  const Tag l = Tag().add('L', 4).add('D', 8);
  Bytes whole = Key().be(7, 4).real(2.0);
  for (size_t n = 1; n < whole.size(); ++n) {
    Bytes cut(whole.begin(), whole.begin() + n);
    EXPECT_LT(l.cmp(CompareMode::Stored, cut, whole), 0) << n;
    EXPECT_GT(l.cmp(CompareMode::Stored, whole, cut), 0) << n;
    EXPECT_EQ(l.cmp(CompareMode::Stored, cut, cut), 0) << n;
  }
  const Tag c = Tag().add('C', 8);
  Bytes text = Key().padded("abcdefgh", 8);  // no NUL at all
  Bytes shorter(text.begin(), text.begin() + 3);
  EXPECT_GT(c.cmp(CompareMode::Stored, text, shorter), 0);
  EXPECT_EQ(c.cmp(CompareMode::Prefix, shorter, text), 0);  // search key without its NUL
}

class RandomTexts : public ::testing::Test {
 protected:
  std::string next() {
    static const std::string pool = "aAbBeEnNoO\xE0\xC0\xE9\xC9\xF1\xF6\xD8"
                                    "0123456789   --,.!'";
    std::uniform_int_distribution<int> len(0, 10), pick(0, int(pool.size()) - 1);
    std::string s(len(rng_), ' ');
    for (char& ch : s) ch = pool[pick(rng_)];
    return s;
  }
  int stored(const std::string& a, const std::string& b) {
    return tag_.cmp(CompareMode::Stored, txt(a), txt(b));
  }
  std::mt19937 rng_{20240611};
  Tag tag_ = Tag().add('C', 20, CF_VAR);
};

TEST_F(RandomTexts, StoredOrderIsAntisymmetricAndTransitiveCutKeysStayInside) {
  for (int n = 0; n < 4000; ++n) {
    const std::string a = next(), b = next(), c = next();
    const int ab = sign(stored(a, b)), bc = sign(stored(b, c)), ac = sign(stored(a, c));
    ASSERT_EQ(ab, -sign(stored(b, a))) << a << " | " << b;
    ASSERT_EQ(stored(a, a), 0) << a;
    if (ab <= 0 && bc <= 0) {
      const int want = (ab < 0 || bc < 0) ? -1 : 0;
      ASSERT_EQ(ac, want) << a << " | " << b << " | " << c;
    }
  }
  // Cut keys of a text and a number are never read past their end; nor those of a lone text,
  // whose number (and last letters) are bytes beyond its component.
  const Tag textnum = Tag().add('C', 8, CF_VAR).add('S', 2);
  for (const Tag& tag : {textnum, Tag().add('C', 8, CF_VAR), Tag().add('C', 6, CF_VAR)}) {
    for (int n = 0; n < 500; ++n) {
      std::string s = next() + next();
      Bytes key = Key().padded(s, 8).be(n, 2);
      Bytes other = Key().text((n % 2 ? s : next()).substr(0, 7)).be(n, 2);
      for (size_t cut = 1; cut <= key.size(); ++cut) {
        Bytes k(key.begin(), key.begin() + cut);  // exactly sized: overreads are caught
        ASSERT_EQ(sign(tag.cmp(CompareMode::Stored, k, other)),
                  -sign(tag.cmp(CompareMode::Stored, other, k)))
            << s << " cut " << cut;
        for (CompareMode mode : {CompareMode::Prefix, CompareMode::Whole}) {
          tag.cmp(mode, k, other);
          tag.cmp(mode, other, k);
        }
        tag.cont(k, other);
        tag.cont(other, k);
      }
    }
  }
}

// Neighbouring keys share beginnings and differ in case, accents, numbers and separators: the
// comparison's shortcuts must decide every such pair as the plain word-by-word one does.
TEST_F(RandomTexts, ShortcutsAgreeWithTheWordByWordComparison) {
  static const std::string twins = "aAeE\xE0\xC0\xE9\xC9\xF1nN  -,00";
  std::uniform_int_distribution<int> coin(0, 3), pick(0, int(twins.size()) - 1);
  for (int n = 0; n < 20000; ++n) {
    const std::string a = next() + next();
    std::string b = a;
    for (char& ch : b)
      if (coin(rng_) == 0) ch = twins[pick(rng_)];
    std::uniform_int_distribution<size_t> cut(0, b.size());
    b = b.substr(0, cut(rng_)) + (coin(rng_) == 0 ? next() : "");
    for (int full : {0, 1}) {
      const auto* pa = reinterpret_cast<const uint8_t*>(a.data());
      const auto* pb = reinterpret_cast<const uint8_t*>(b.data());
      const int la = static_cast<int>(a.size()), lb = static_cast<int>(b.size());
      ASSERT_EQ(sign(textcmp(full, pa, la, pb, lb)), sign(textcmp_wordwise(full, pa, la, pb, lb)))
          << "full " << full << ": " << a << " | " << b;
      ASSERT_EQ(sign(textcmp(full, pb, lb, pa, la)), sign(textcmp_wordwise(full, pb, lb, pa, la)))
          << "full " << full << ": " << b << " | " << a;
    }
  }
}

// The order strings the reindex sorts by order stored keys exactly as the comparison, ties
// included: texts that differ in case, accents, separators, leading zeros, long numbers and
// words that begin others, alone and beside other components.
TEST_F(RandomTexts, OrderStringsOrderAsTheComparison) {
  static const std::string digits = "0000123456789";
  std::uniform_int_distribution<int> coin(0, 3), digit(0, int(digits.size()) - 1),
      run(1, 40);
  auto text = [&] {
    std::string s = next();
    if (coin(rng_) == 0) s += std::string(size_t(run(rng_)), digits[digit(rng_)]);
    for (int k = coin(rng_); k > 0; --k) s += next();
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
    EXPECT_GE(n, 0);
    EXPECT_LE(n, int(out.size()));
    out.resize(size_t(std::max(n, 0)));
    return out;
  };
  std::uniform_int_distribution<uint32_t> number(0, 6);
  for (const Tag& tag : tags) {
    for (int n = 0; n < 6000; ++n) {
      const std::string a = text();
      std::string b = coin(rng_) == 0 ? text() : a;
      for (char& ch : b)
        if (coin(rng_) == 0) ch = "aAE\xC9\xE9 -0"[coin(rng_) + coin(rng_)];
      if (coin(rng_) == 0) b = b.substr(0, b.size() / 2);
      // Negative numbers too: their sign bit must not sort them last.
      const uint32_t na = uint32_t(int32_t(number(rng_)) - 3) * 0x1234567u;
      const uint32_t nb = uint32_t(int32_t(number(rng_)) - 3) * 0x1234567u;
      const Bytes ka = keyof(tag, a, na), kb = keyof(tag, b, nb);
      const Bytes oa = orderstring(tag, ka), ob = orderstring(tag, kb);
      const int bytes = sign(std::lexicographical_compare(oa.begin(), oa.end(), ob.begin(), ob.end())
                                 ? -1
                                 : oa == ob ? 0 : 1);
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
