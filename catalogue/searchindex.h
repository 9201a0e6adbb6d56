// SearchIndex: the folded names of one kind's records, searched by words.
//
// One array of text holds every name as its folded words (searchfold.h),
// " the wall" for "The Wall", each name ended by a line break that no
// folded word holds; beside it each name's start, its record's code and
// its record number. A word matches where it begins a word of a name:
// " wall" is sought in the text, so "wall" finds "The Wall" and
// "Wallflower", not "Stonewall". A search runs through the whole text once
// for the longest word given and tests the others only on the names that
// hold it: a million song names (about 30 MB) are searched so in 10 to
// 60 ms (bench/README.md).
//
// The names stay in the order they were added (the catalogue's name
// order); patch() takes names out and puts names in at given places in
// one pass over the arrays, so that an edit costs a copy of the arrays, not
// a reading of every name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tracklore {

class SearchIndex {
 public:
  static constexpr uint32_t kNoSlot = UINT32_MAX;

  // A name put in by patch(): after the name now at slot follows - 1 (at
  // the start for 0), and among those put after the same one, in the
  // order of their ranks.
  struct Placed {
    uint32_t follows = 0;
    uint32_t rank = 0;
    int32_t code = -1;
    int32_t recno = -1;
    std::string folded;
  };

  void clear();
  // Adds a name given as folded words (" the wall"); the names are found in
  // the order added.
  void add(int32_t code, int32_t recno, std::string_view folded);
  // Gives back what adding reserved beyond the names.
  void shrink();
  // The codes of the names that hold every word at a word start, in the
  // order added; none for no words.
  std::vector<int32_t> find(const std::vector<std::string>& words) const;

  // The slot of each record's name, kNoSlot for a record without one, for
  // record numbers 0..records-1.
  std::vector<uint32_t> slotsbyrecord(int32_t records) const;
  // Takes out the names at the slots dropped and puts in those placed.
  void patch(std::vector<uint32_t> dropped, std::vector<Placed> placed);

  size_t size() const { return codes_.size(); }
  // The memory it takes, in bytes.
  size_t bytes() const;

 private:
  std::string text_;
  std::vector<uint32_t> starts_;
  std::vector<int32_t> codes_;
  std::vector<int32_t> recnos_;

  size_t end(size_t slot) const { return slot + 1 < starts_.size() ? starts_[slot + 1] : text_.size(); }
  // Appends slots [from, to) of another index.
  void addslots(const SearchIndex& from, size_t first, size_t last);
};

}  // namespace tracklore
