// Dataset: the records and the random choices of one benchmark run.
//
// Everything is drawn from one seed, so both engines see the same records,
// look up the same codes and seek the same prefixes, and two runs with the
// same seed and size see the same data. Record i carries code i: Quillstore
// hands out serials from 0 in a new table, and the SQLite side stores the
// same numbers explicitly.
//
// Names look like album titles: one to five capitalised words, about a third
// of them ending in a number ("Blue Harbour 2", "Live 1977"), never longer
// than 55 characters (a "C" field of 56 bytes keeps one byte for its NUL),
// made of letters, digits and single spaces only, so that a case-blind
// prefix test means the same thing in both engines.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace bench {

// A small deterministic generator. std::mt19937_64 gives the same sequence
// everywhere; the bounded draws are our own because the standard
// distributions may differ between libraries.
class Prng {
 public:
  explicit Prng(uint64_t seed) : engine_(seed) {}
  uint64_t next() { return engine_(); }
  // Uniform in [0, n); n > 0.
  uint64_t below(uint64_t n) { return next() % n; }
  // Uniform in [lo, hi].
  int64_t range(int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(below(static_cast<uint64_t>(hi - lo + 1)));
  }
  // True with probability num/den.
  bool chance(uint64_t num, uint64_t den) { return below(den) < num; }

 private:
  std::mt19937_64 engine_;
};

struct Album {
  std::string name;    // at most kMaxName characters
  int32_t tracks = 0;  // a plain integer column beside the name
};

constexpr size_t kMaxName = 55;
constexpr int kLookups = 100000;
constexpr int kPrefixSeeks = 100000;
constexpr int kWindows = 10000;
constexpr int kWindowRows = 12;  // rows read after the row found
constexpr int kDurableAppends = 1000;

struct Dataset {
  uint64_t seed = 0;
  int32_t n = 0;
  std::vector<Album> albums;           // record i has code i
  std::vector<int32_t> lookups;        // codes in [0, n)
  std::vector<std::string> prefixes;   // starts of existing names, 1-8 characters
  std::vector<std::string> windows;    // starts of existing names for list windows
  std::vector<Album> durable;          // appended one by one after the first n
  std::vector<int32_t> deletions;      // n/10 distinct codes in [0, n)

  static Dataset generate(int32_t n, uint64_t seed);
  // Bytes of name text held, for the report.
  size_t textbytes() const;
};

// One album-like name.
std::string make_name(Prng& rng);

// The first 1-8 characters of name, without trailing spaces.
std::string make_prefix(Prng& rng, const std::string& name);

// Case-blind "text starts with prefix" (ASCII), the test both sides apply to
// the row a prefix seek lands on.
bool startswith_nocase(const char* text, const std::string& prefix);

// Whether text ends in a digit.
bool endsindigit(const std::string& text);

// FNV-1a of a NUL-terminated text, for order-independent checksums.
uint64_t texthash(const char* text);

}  // namespace bench
