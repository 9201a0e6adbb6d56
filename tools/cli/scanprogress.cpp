#include "tools/cli/scanprogress.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace tracklore::cli {

ScanBar::ScanBar(bool terminal, int found)
    : terminal_(terminal), found_(found), start_(std::chrono::steady_clock::now()), last_(start_) {}

void ScanBar::update(int read) {
  if (!terminal_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  draw(read);
}

void ScanBar::draw(int read) {
  const double seconds = std::chrono::duration<double>(last_ - start_).count();
  const double rate = seconds > 0 ? read / seconds : 0;
  const int total = std::max(found_, read);
  const int width = 30;
  const int filled = total > 0 ? static_cast<int>(static_cast<long>(read) * width / total) : 0;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.resize(width, ' ');
  std::string left = "?";
  if (rate > 0) left = std::to_string(static_cast<long>((total - read) / rate)) + " s left";
  std::fprintf(stderr, "\r[%s] %d/%d %s, %.0f files/s, %s   ", bar.c_str(), read, total,
               total == 1 ? "file" : "files", rate, left.c_str());
  std::fflush(stderr);
  shown_ = true;
}

void ScanBar::settle(int read) {
  if (!shown_) return;
  last_ = std::chrono::steady_clock::now();
  draw(read);
  std::fputc('\n', stderr);
  shown_ = false;
}

}  // namespace tracklore::cli
