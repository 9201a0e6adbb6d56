// The progress bar of tracklore-cli scan on a terminal: files read of files
// found, the rate and the time left, rewritten in place at most ten times a
// second. Nothing at all when stderr is not a terminal.
#pragma once

#include <chrono>

namespace tracklore::cli {

class ScanBar {
 public:
  ScanBar(bool terminal, int found);
  void update(int read);
  // Draws the final count and ends the bar's line, so that what follows
  // starts on its own.
  void settle(int read);

 private:
  bool terminal_;
  int found_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_, last_;
  void draw(int read);
};

}  // namespace tracklore::cli
