// SearchIndex: the folded names of one kind's records, searched by words.
//
// One array of text holds every name as its folded words (searchfold.h),
// " the wall" for "The Wall", each name ended by a line break that no
// folded word holds; beside it each name's start and its record's code.
// A word matches where it begins a word of a name: " wall" is sought in
// the text, so "wall" finds "The Wall" and "Wallflower", not "Stonewall".
// A search runs through the whole text once for the longest word given and
// tests the others only on the names that hold it: a million song names
// (about 30 MB) are searched so in 10 to 50 ms (bench/README.md), with no
// structure to keep up to date beside the names themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tracklore {

class SearchIndex {
 public:
  void clear();
  // Adds a name given as folded words (" the wall"); the names are found in
  // the order added.
  void add(int32_t code, std::string_view folded);
  // Gives back what adding reserved beyond the names.
  void shrink();
  // The codes of the names that hold every word at a word start, in the
  // order added; none for no words.
  std::vector<int32_t> find(const std::vector<std::string>& words) const;

  size_t size() const { return codes_.size(); }
  // The memory it takes, in bytes.
  size_t bytes() const;

 private:
  std::string text_;
  std::vector<uint32_t> starts_;
  std::vector<int32_t> codes_;
};

}  // namespace tracklore
