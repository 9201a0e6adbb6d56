// A progress context as the shell passes it: the text pointer first, and
// here a log of every call of the callback with the text shown at that time.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tracklore::test {

struct ProgressLog {
  const char* text = nullptr;  // set by the operation before each table
  std::vector<std::pair<std::string, int>> calls;

  static void callback(void* context, int percent) {
    auto* log = static_cast<ProgressLog*>(context);
    log->calls.emplace_back(log->text != nullptr ? log->text : "", percent);
  }
  // The lines in the order they were first shown.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const auto& call : calls)
      if (out.empty() || out.back() != call.first) out.push_back(call.first);
    return out;
  }
  int last() const { return calls.empty() ? -1 : calls.back().second; }
  bool rising() const {
    for (size_t i = 1; i < calls.size(); ++i)
      if (calls[i].second < calls[i - 1].second) return false;
    return true;
  }
};

}  // namespace tracklore::test
