// SearchIndex: the folded names of one kind's records, searched by words.
//
// The names are kept in the order added (the catalogue's name order), in
// blocks of a few thousand: each block one array of text that holds its
// names as their folded words (searchfold.h), " the wall" for "The Wall",
// each ended by a line break that no folded word holds, and beside it each
// name's start, its record's code and its record number. A word matches
// where it begins a word of a name: " wall" is sought in the text, so
// "wall" finds "The Wall" and "Wallflower", not "Stonewall". A search runs
// through the text once for the longest word given and tests the others
// only on the names that hold it: a million song names (about 30 MB) are
// searched so in 10 to 60 ms (bench/README.md).
//
// A slot is a name's place in the whole order. patch() takes names out
// and puts names in at given places, rewriting only the blocks they fall
// in, so that an edit costs a block or two, not a reading of every name.
// The search's blocks hold 4,096 names: small enough that rewriting one
// costs little (about 90 KB of song names), large enough that the blocks
// are few.
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

  // Blocks are filled to `blocknames` names (a test makes them small).
  explicit SearchIndex(size_t blocknames = 4096) : blocknames_(blocknames) {}

  void clear();
  // Adds a name given as folded words (" the wall") after the others.
  void add(int32_t code, int32_t recno, std::string_view folded);
  // Gives back what adding reserved beyond the names.
  void shrink();
  // The codes of the names that hold every word at a word start, in the
  // order kept; none for no words.
  std::vector<int32_t> find(const std::vector<std::string>& words) const;

  // The slots of the names of these records (sorted, no repeats), one for
  // each, kNoSlot for a record without a name here.
  std::vector<uint32_t> slotsof(const std::vector<int32_t>& recnos) const;
  // Takes out the names at the slots dropped and puts in those placed.
  void patch(std::vector<uint32_t> dropped, std::vector<Placed> placed);

  size_t size() const { return size_; }
  // The memory it takes, in bytes.
  size_t bytes() const;

 private:
  struct Block {
    std::string text;
    std::vector<uint32_t> starts;
    std::vector<int32_t> codes;
    std::vector<int32_t> recnos;

    size_t size() const { return codes.size(); }
    std::string_view name(size_t i) const;  // without its line break
    void add(int32_t code, int32_t recno, std::string_view folded);
    void find(const std::vector<std::string>& sought, std::vector<int32_t>* found) const;
  };
  size_t blocknames_;
  std::vector<Block> blocks_;
  size_t size_ = 0;

  // Block `at` rewritten without the names at its dropped indexes and with
  // the names placed (each after the index `follows` - 1 of the block),
  // cut in two when it has grown past twice the size of a block.
  std::vector<Block> rewritten(Block& at, const std::vector<uint32_t>& dropped,
                                      std::vector<Placed>::iterator first,
                                      std::vector<Placed>::iterator last) const;
};

}  // namespace tracklore
