#include "catalogue/searchindex.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tracklore {

void SearchIndex::clear() {
  text_.clear();
  starts_.clear();
  codes_.clear();
}

void SearchIndex::add(int32_t code, std::string_view folded) {
  // Starts are 32-bit: a name that would end past them is not kept (about
  // four million names of the longest transliterations).
  if (text_.size() + folded.size() + 1 > UINT32_MAX) return;
  starts_.push_back(static_cast<uint32_t>(text_.size()));
  codes_.push_back(code);
  text_.append(folded);
  text_.push_back('\n');
}

void SearchIndex::shrink() {
  text_.shrink_to_fit();
  starts_.shrink_to_fit();
  codes_.shrink_to_fit();
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
    const size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
    const std::string_view name(text_.data() + starts_[i], end - starts_[i]);
    const bool all = std::all_of(sought.begin() + 1, sought.end(), [&](const std::string& w) {
      return name.find(w) != std::string_view::npos;
    });
    if (all) found.push_back(codes_[i]);
    from = end;
  }
  return found;
}

size_t SearchIndex::bytes() const {
  return text_.capacity() + starts_.capacity() * sizeof(uint32_t) +
         codes_.capacity() * sizeof(int32_t);
}

}  // namespace tracklore
