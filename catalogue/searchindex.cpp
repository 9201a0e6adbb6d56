#include "catalogue/searchindex.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tracklore {

void SearchIndex::clear() {
  text_.clear();
  starts_.clear();
  codes_.clear();
  recnos_.clear();
}

void SearchIndex::add(int32_t code, int32_t recno, std::string_view folded) {
  // Starts are 32-bit: a name that would end past them is not kept (about
  // four million names of the longest transliterations).
  if (text_.size() + folded.size() + 1 > UINT32_MAX) return;
  starts_.push_back(static_cast<uint32_t>(text_.size()));
  codes_.push_back(code);
  recnos_.push_back(recno);
  text_.append(folded);
  text_.push_back('\n');
}

void SearchIndex::addslots(const SearchIndex& from, size_t first, size_t last) {
  if (first >= last) return;
  const size_t begin = from.starts_[first], stop = from.end(last - 1);
  if (text_.size() + (stop - begin) > UINT32_MAX) {
    for (size_t slot = first; slot < last; ++slot)
      add(from.codes_[slot], from.recnos_[slot],
          std::string_view(from.text_).substr(from.starts_[slot], from.end(slot) - from.starts_[slot] - 1));
    return;
  }
  const auto shift = static_cast<int64_t>(text_.size()) - static_cast<int64_t>(begin);
  for (size_t slot = first; slot < last; ++slot)
    starts_.push_back(static_cast<uint32_t>(from.starts_[slot] + shift));
  codes_.insert(codes_.end(), from.codes_.begin() + static_cast<std::ptrdiff_t>(first),
                from.codes_.begin() + static_cast<std::ptrdiff_t>(last));
  recnos_.insert(recnos_.end(), from.recnos_.begin() + static_cast<std::ptrdiff_t>(first),
                 from.recnos_.begin() + static_cast<std::ptrdiff_t>(last));
  text_.append(from.text_, begin, stop - begin);
}

void SearchIndex::shrink() {
  text_.shrink_to_fit();
  starts_.shrink_to_fit();
  codes_.shrink_to_fit();
  recnos_.shrink_to_fit();
}

std::vector<uint32_t> SearchIndex::slotsbyrecord(int32_t records) const {
  std::vector<uint32_t> slots(static_cast<size_t>(std::max(records, 0)), kNoSlot);
  for (size_t slot = 0; slot < recnos_.size(); ++slot)
    if (recnos_[slot] >= 0 && recnos_[slot] < records)
      slots[static_cast<size_t>(recnos_[slot])] = static_cast<uint32_t>(slot);
  return slots;
}

void SearchIndex::patch(std::vector<uint32_t> dropped, std::vector<Placed> placed) {
  std::sort(dropped.begin(), dropped.end());
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    return a.follows != b.follows ? a.follows < b.follows : a.rank < b.rank;
  });
  size_t bytes = text_.size();
  for (const Placed& p : placed) bytes += p.folded.size() + 1;
  SearchIndex out;
  out.text_.reserve(bytes);
  const size_t names = size() + placed.size();
  out.starts_.reserve(names);
  out.codes_.reserve(names);
  out.recnos_.reserve(names);
  // The names kept go over in runs, from one slot where something changes
  // to the next; a name placed after slot s goes once slot s is past.
  auto next = placed.begin();
  auto placeafter = [&](size_t follows) {
    for (; next != placed.end() && next->follows <= follows; ++next)
      out.add(next->code, next->recno, next->folded);
  };
  placeafter(0);
  auto drop = dropped.begin();
  size_t slot = 0;
  while (slot < size()) {
    while (drop != dropped.end() && *drop < slot) ++drop;
    const size_t nextdrop = drop != dropped.end() ? *drop : size();
    const size_t nextplace = next != placed.end() ? next->follows : size();
    const size_t until = std::min({nextdrop, nextplace, size()});
    out.addslots(*this, slot, until);
    slot = until;
    if (slot == nextdrop) ++slot;
    placeafter(slot);
  }
  placeafter(SIZE_MAX);
  out.shrink();
  *this = std::move(out);
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
  const std::string& lead = sought.front();
  size_t from = 0;
  for (;;) {
    const void* hit = memmem(text_.data() + from, text_.size() - from, lead.data(), lead.size());
    if (hit == nullptr) break;
    const auto at = static_cast<uint32_t>(static_cast<const char*>(hit) - text_.data());
    const size_t i = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), at) -
                                         starts_.begin()) - 1;
    const std::string_view name(text_.data() + starts_[i], end(i) - starts_[i]);
    const bool all = std::all_of(sought.begin() + 1, sought.end(), [&](const std::string& w) {
      return name.find(w) != std::string_view::npos;
    });
    if (all) found.push_back(codes_[i]);
    from = end(i);
  }
  return found;
}

size_t SearchIndex::bytes() const {
  return text_.capacity() + starts_.capacity() * sizeof(uint32_t) +
         (codes_.capacity() + recnos_.capacity()) * sizeof(int32_t);
}

}  // namespace tracklore
