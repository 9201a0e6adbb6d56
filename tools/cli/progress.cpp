#include "tools/cli/progress.h"

#include <cstdio>

#include "tools/cli/echo.h"

namespace tracklore::cli {

void ProgressView::report(void* context, int percent) {
  static_cast<ProgressView*>(context)->update(percent);
}

void ProgressView::update(int percent) {
  if (line_ == nullptr) return;
  if (shown_ != line_) {
    endline();
    shown_ = line_;
    if (!terminal_) std::fprintf(stderr, "%s\n", escaped(line_).c_str());
  }
  if (terminal_ && (!open_ || percent != percent_)) {
    percent_ = percent;
    std::fprintf(stderr, "\r%s %3d%%", escaped(line_).c_str(), percent);
    std::fflush(stderr);
    open_ = true;
  }
}

void ProgressView::settle() {
  if (line_ != nullptr && shown_ != line_) {
    endline();
    shown_ = line_;
    std::fprintf(stderr, "%s\n", escaped(line_).c_str());
  }
  endline();
}

void ProgressView::endline() {
  if (!open_) return;
  std::fputc('\n', stderr);
  open_ = false;
}

}  // namespace tracklore::cli
