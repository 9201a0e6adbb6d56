#include "catalogue/searchindex.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tracklore {

std::string_view SearchIndex::Block::name(size_t i) const {
  const size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
  return std::string_view(text).substr(starts[i], end - starts[i] - 1);
}

void SearchIndex::Block::add(int32_t code, int32_t recno, std::string_view folded) {
  starts.push_back(static_cast<uint32_t>(text.size()));
  codes.push_back(code);
  recnos.push_back(recno);
  text.append(folded);
  text.push_back('\n');
}

void SearchIndex::Block::find(const std::vector<std::string>& sought,
                              std::vector<int32_t>* found) const {
  const std::string& lead = sought.front();
  size_t from = 0;
  for (;;) {
    const void* hit = memmem(text.data() + from, text.size() - from, lead.data(), lead.size());
    if (hit == nullptr) break;
    const auto at = static_cast<uint32_t>(static_cast<const char*>(hit) - text.data());
    const size_t i =
        static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), at) - starts.begin()) - 1;
    const std::string_view whole = name(i);
    const bool all = std::all_of(sought.begin() + 1, sought.end(), [&](const std::string& w) {
      return whole.find(w) != std::string_view::npos;
    });
    if (all) found->push_back(codes[i]);
    from = starts[i] + whole.size() + 1;
  }
}

void SearchIndex::clear() {
  blocks_.clear();
  size_ = 0;
}

void SearchIndex::add(int32_t code, int32_t recno, std::string_view folded) {
  if (blocks_.empty() || blocks_.back().size() >= blocknames_) blocks_.emplace_back();
  blocks_.back().add(code, recno, folded);
  ++size_;
}

void SearchIndex::shrink() {
  for (Block& b : blocks_) {
    b.text.shrink_to_fit();
    b.starts.shrink_to_fit();
    b.codes.shrink_to_fit();
    b.recnos.shrink_to_fit();
  }
}

std::vector<int32_t> SearchIndex::find(const std::vector<std::string>& words) const {
  std::vector<int32_t> found;
  if (words.empty()) return found;
  // The longest word is the rarest as a rule, and the one the search may
  // skip furthest by.
  std::vector<std::string> sought;
  for (const std::string& w : words) sought.push_back(" " + w);
  std::sort(sought.begin(), sought.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const Block& b : blocks_) b.find(sought, &found);
  return found;
}

std::vector<uint32_t> SearchIndex::slotsof(const std::vector<int32_t>& recnos) const {
  std::vector<uint32_t> slots(recnos.size(), kNoSlot);
  if (recnos.empty()) return slots;
  // One pass over every record number, each looked up in a bitmap first.
  const int32_t first = recnos.front(), last = recnos.back();
  std::vector<bool> wanted(static_cast<size_t>(last - first) + 1);
  for (int32_t r : recnos) wanted[static_cast<size_t>(r - first)] = true;
  uint32_t slot = 0;
  for (const Block& b : blocks_) {
    for (int32_t r : b.recnos) {
      if (r >= first && r <= last && wanted[static_cast<size_t>(r - first)])
        slots[static_cast<size_t>(std::lower_bound(recnos.begin(), recnos.end(), r) - recnos.begin())] =
            slot;
      ++slot;
    }
  }
  return slots;
}

std::vector<SearchIndex::Block> SearchIndex::rewritten(Block& at,
                                                       const std::vector<uint32_t>& dropped,
                                                       std::vector<Placed>::iterator first,
                                                       std::vector<Placed>::iterator last) const {
  Block out;
  auto placeafter = [&](size_t follows) {
    for (; first != last && first->follows <= follows; ++first)
      out.add(first->code, first->recno, first->folded);
  };
  placeafter(0);
  auto drop = dropped.begin();
  for (size_t i = 0; i < at.size(); ++i) {
    if (drop != dropped.end() && *drop == i)
      ++drop;
    else
      out.add(at.codes[i], at.recnos[i], at.name(i));
    placeafter(i + 1);
  }
  placeafter(SIZE_MAX);
  if (out.size() <= 2 * blocknames_) return {std::move(out)};
  Block front, back;
  for (size_t i = 0; i < out.size(); ++i)
    (i < out.size() / 2 ? front : back).add(out.codes[i], out.recnos[i], out.name(i));
  return {std::move(front), std::move(back)};
}

void SearchIndex::patch(std::vector<uint32_t> dropped, std::vector<Placed> placed) {
  std::sort(dropped.begin(), dropped.end());
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    return a.follows != b.follows ? a.follows < b.follows : a.rank < b.rank;
  });
  if (blocks_.empty()) blocks_.emplace_back();
  std::vector<Block> out;
  out.reserve(blocks_.size() + 1);
  auto drop = dropped.begin();
  auto place = placed.begin();
  uint32_t base = 0;  // the slot of the block's first name
  for (size_t b = 0; b < blocks_.size(); ++b) {
    Block& block = blocks_[b];
    const uint32_t end = base + static_cast<uint32_t>(block.size());
    const bool lastblock = b + 1 == blocks_.size();
    // This block's share: the drops inside it, and the names placed after
    // one of its names (or at the very start, or past the very end).
    std::vector<uint32_t> mine;
    for (; drop != dropped.end() && *drop < end; ++drop) mine.push_back(*drop - base);
    auto from = place;
    std::vector<Placed>::iterator to = place;
    while (to != placed.end() && (lastblock || to->follows <= end) && (b == 0 || to->follows > base))
      ++to;
    for (auto p = from; p != to; ++p) p->follows = p->follows > base ? p->follows - base : 0;
    place = to;
    base = end;
    if (mine.empty() && from == to) {
      if (block.size() > 0) out.push_back(std::move(block));
      continue;
    }
    for (Block& piece : rewritten(block, mine, from, to))
      if (piece.size() > 0) out.push_back(std::move(piece));
  }
  blocks_ = std::move(out);
  size_ = 0;
  for (const Block& b : blocks_) size_ += b.size();
}

size_t SearchIndex::bytes() const {
  size_t bytes = blocks_.capacity() * sizeof(Block);
  for (const Block& b : blocks_)
    bytes += b.text.capacity() + b.starts.capacity() * sizeof(uint32_t) +
             (b.codes.capacity() + b.recnos.capacity()) * sizeof(int32_t);
  return bytes;
}

}  // namespace tracklore
