// Song names from file names, disc numbers from folder names.
#include "catalogue/scanfilenames.h"

#include <array>
#include <cctype>

namespace tracklore {

namespace {

bool digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool separator(char c) { return c == ' ' || c == '.' || c == '-' || c == '_'; }

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The length of a leading track number ("05", "A1"), 0 when there is none.
// More than three digits is a year or a title ("1979"), not a track.
size_t tracknumber(std::string_view stem) {
  size_t at = 0;
  if (stem.size() > 1 && std::string_view("ABCDabcd").find(stem[0]) != std::string_view::npos &&
      digit(stem[1]))
    at = 1;  // a side of a record: A1, B2
  const size_t digits = at;
  while (at < stem.size() && digit(stem[at])) ++at;
  const size_t count = at - digits;
  if (count == 0 || count > (digits == 1 ? 2 : 3)) return 0;
  return at;
}

constexpr std::array<const char*, 10> kNumberWords = {"one", "two", "three", "four", "five",
                                                      "six", "seven", "eight", "nine", "ten"};

// The disc number of "cd1", "disc 2", "disk_three" (lower case), 0 otherwise.
int discnumber(std::string_view text) {
  size_t at;
  if (text.rfind("cd", 0) == 0) at = 2;
  else if (text.rfind("disc", 0) == 0 || text.rfind("disk", 0) == 0) at = 4;
  else return 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '_' || text[at] == '-')) ++at;
  const std::string_view rest = text.substr(at);
  if (rest.empty()) return 0;
  if (rest.size() <= 2 && digit(rest[0]) && (rest.size() == 1 || digit(rest[1])))
    return std::stoi(std::string(rest));
  for (size_t w = 0; w < kNumberWords.size(); ++w)
    if (rest == kNumberWords[w]) return static_cast<int>(w) + 1;
  return 0;
}

}  // namespace

std::string titlefromfilename(std::string_view filename) {
  const size_t dot = filename.rfind('.');
  std::string_view stem = dot == std::string_view::npos || dot == 0 ? filename : filename.substr(0, dot);
  const size_t number = tracknumber(stem);
  if (number > 0 && number < stem.size() && separator(stem[number])) {
    size_t begin = number;
    while (begin < stem.size() && separator(stem[begin])) ++begin;
    // A name that is all numbering keeps it rather than vanish.
    if (begin < stem.size()) stem = stem.substr(begin);
  }
  std::string title(stem);
  for (char& c : title)
    if (c == '_') c = ' ';
  return title;
}

DiscFolder discfolder(std::string_view name) {
  DiscFolder out;
  const std::string text = lower(name);
  if ((out.disc = discnumber(text)) > 0) return out;
  // A suffix: "Name (Disc 2)", "Name [CD 2]", "Name - CD2", "Name Disc One".
  size_t end = text.size();
  const bool bracketed = end > 0 && (text[end - 1] == ')' || text[end - 1] == ']');
  if (bracketed) --end;
  for (const char* word : {"cd", "disc", "disk"}) {
    for (size_t at = text.rfind(word, end); at != std::string::npos && at > 0;
         at = text.rfind(word, at - 1)) {
      const char before = text[at - 1];
      if (bracketed ? before != '(' && before != '[' : !separator(before)) continue;
      const int disc = discnumber(std::string_view(text).substr(at, end - at));
      if (disc == 0) continue;
      size_t keep = bracketed ? at - 1 : at;
      while (keep > 0 && separator(name[keep - 1])) --keep;
      if (keep == 0) continue;
      out.disc = disc;
      out.album = std::string(name.substr(0, keep));
      return out;
    }
  }
  return out;
}

}  // namespace tracklore
