#include "bench/dataset.h"

#include <cctype>
#include <numeric>

namespace bench {

namespace {

// Words of album titles; a quarter of the words are made up from syllables
// instead, so that large runs still have many distinct names.
const char* const kWords[] = {
    "blue",     "moon",     "river",    "night",    "live",     "greatest", "hits",
    "songs",    "love",     "heart",    "road",     "home",     "dream",    "fire",
    "rain",     "summer",   "winter",   "city",     "light",    "shadow",   "golden",
    "silver",   "black",    "white",    "red",      "green",    "wild",     "lonely",
    "sweet",    "broken",   "electric", "acoustic", "sessions", "collection", "anthology",
    "best",     "of",       "the",      "a",        "in",       "on",       "and",
    "my",       "your",     "our",      "world",    "time",     "days",     "years",
    "morning",  "evening",  "midnight", "highway",  "harbour",  "ocean",    "mountain",
    "valley",   "garden",   "paradise", "angel",    "devil",    "soul",     "blues",
    "jazz",     "rock",     "roll",     "country",  "folk",     "orchestra", "symphony",
    "concerto", "suite",    "ballads",  "stories",  "tales",    "letters",  "echoes",
    "voices",   "whispers", "thunder",  "storm",    "sun",      "stars",    "sky",
    "northern", "southern", "eastern",  "western",  "lost",     "found",    "forever",
    "tomorrow", "yesterday", "always",  "never",    "again",    "together", "alone",
    "young",    "old",      "new",      "last",     "first",    "second",   "third",
    "volume",   "part",     "chapter",  "book",     "edition",  "remastered", "deluxe",
    "unplugged", "recordings", "tapes",  "demos",    "rarities", "singles",  "dance",
    "party",    "fever",    "magic",    "mystery",  "secret",   "kingdom",  "empire",
    "street",   "avenue",   "bridge",   "station",  "train",    "machine",  "radio",
};
constexpr size_t kNWords = sizeof(kWords) / sizeof(kWords[0]);

const char* const kOnsets[] = {"b", "br", "c", "ch", "d", "dr", "f", "g", "gr", "h", "j", "k",
                               "l", "m", "n", "p", "pr", "r", "s", "sh", "st", "t", "tr", "v",
                               "w", "z"};
const char* const kVowels[] = {"a", "e", "i", "o", "u", "ai", "ea", "ou", "y"};
const char* const kCodas[] = {"", "", "", "n", "r", "s", "l", "th", "ck", "nd", "m"};

template <size_t N>
const char* pick(Prng& rng, const char* const (&list)[N]) {
  return list[rng.below(N)];
}

std::string madeup_word(Prng& rng) {
  std::string word;
  int syllables = static_cast<int>(rng.range(1, 3));
  for (int i = 0; i < syllables; ++i) {
    word += pick(rng, kOnsets);
    word += pick(rng, kVowels);
  }
  word += pick(rng, kCodas);
  return word;
}

std::string number_tail(Prng& rng) {
  uint64_t kind = rng.below(10);
  if (kind < 5) return std::to_string(rng.range(1, 20));       // "Volume 3"
  if (kind < 8) return std::to_string(rng.range(1955, 2024));  // "Live 1977"
  return std::to_string(rng.range(1, 999));
}

}  // namespace

std::string make_name(Prng& rng) {
  static const int kWordCounts[] = {1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 5, 5, 2, 3};
  int nwords = kWordCounts[rng.below(sizeof(kWordCounts) / sizeof(kWordCounts[0]))];
  bool numbered = rng.chance(1, 3);

  std::vector<std::string> words;
  for (int i = 0; i < nwords; ++i) {
    std::string w = rng.chance(1, 4) ? madeup_word(rng) : std::string(kWords[rng.below(kNWords)]);
    w[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(w[0])));
    words.push_back(std::move(w));
  }
  std::string tail = numbered ? number_tail(rng) : std::string();

  // Drop words from the end until the name fits, keeping at least one word.
  auto length = [&] {
    size_t len = tail.empty() ? 0 : tail.size() + 1;
    for (const std::string& w : words) len += w.size();
    return len + words.size() - 1;
  };
  while (words.size() > 1 && length() > kMaxName) words.pop_back();

  std::string name;
  for (const std::string& w : words) {
    if (!name.empty()) name += ' ';
    name += w;
  }
  if (!tail.empty()) name += ' ' + tail;
  if (name.size() > kMaxName) name.resize(kMaxName);
  return name;
}

std::string make_prefix(Prng& rng, const std::string& name) {
  size_t len = static_cast<size_t>(rng.range(1, 8));
  std::string prefix = name.substr(0, len);
  while (!prefix.empty() && prefix.back() == ' ') prefix.pop_back();
  return prefix;
}

Dataset Dataset::generate(int32_t n, uint64_t seed) {
  Dataset d;
  d.seed = seed;
  d.n = n;
  Prng rng(seed);

  d.albums.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    Album a;
    a.name = make_name(rng);
    a.tracks = static_cast<int32_t>(rng.range(1, 30));
    d.albums.push_back(std::move(a));
  }
  for (int i = 0; i < kDurableAppends; ++i) {
    Album a;
    a.name = make_name(rng);
    a.tracks = static_cast<int32_t>(rng.range(1, 30));
    d.durable.push_back(std::move(a));
  }

  d.lookups.reserve(kLookups);
  for (int i = 0; i < kLookups; ++i) d.lookups.push_back(static_cast<int32_t>(rng.below(n)));

  d.prefixes.reserve(kPrefixSeeks);
  for (int i = 0; i < kPrefixSeeks; ++i)
    d.prefixes.push_back(make_prefix(rng, d.albums[rng.below(n)].name));

  d.windows.reserve(kWindows);
  for (int i = 0; i < kWindows; ++i)
    d.windows.push_back(make_prefix(rng, d.albums[rng.below(n)].name));

  // n/10 distinct codes: the head of a partial Fisher-Yates shuffle.
  std::vector<int32_t> codes(static_cast<size_t>(n));
  std::iota(codes.begin(), codes.end(), 0);
  size_t ndel = static_cast<size_t>(n) / 10;
  for (size_t i = 0; i < ndel; ++i) {
    size_t j = i + rng.below(codes.size() - i);
    std::swap(codes[i], codes[j]);
  }
  codes.resize(ndel);
  d.deletions = std::move(codes);
  return d;
}

size_t Dataset::textbytes() const {
  size_t total = 0;
  for (const Album& a : albums) total += a.name.size();
  return total;
}

bool startswith_nocase(const char* text, const std::string& prefix) {
  for (size_t i = 0; i < prefix.size(); ++i) {
    unsigned char t = static_cast<unsigned char>(text[i]);
    if (t == 0) return false;
    if (std::tolower(t) != std::tolower(static_cast<unsigned char>(prefix[i]))) return false;
  }
  return true;
}

bool endsindigit(const std::string& text) {
  return !text.empty() && std::isdigit(static_cast<unsigned char>(text.back()));
}

uint64_t texthash(const char* text) {
  uint64_t h = 1469598103934665603ull;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    h ^= *p;
    h *= 1099511628211ull;
  }
  return h;
}

}  // namespace bench
