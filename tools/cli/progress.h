// The progress of pack, reindex and verify on stderr.
//
// The catalogue stores the address of its progress line ("Reindexing table
// 2 of 5 [attr001]") in the first word of the context before each table and
// calls the callback with the whole pass's percentage as records go by.
// Each line is printed once, when it is first seen; on a terminal the line
// is rewritten in place with the percentage. The line names the main table,
// whose name the user chose: it is shown escaped.
#pragma once

#include <string>

namespace tracklore::cli {

class ProgressView {
 public:
  explicit ProgressView(bool terminal) : terminal_(terminal) {}
  ProgressView(const ProgressView&) = delete;
  ProgressView& operator=(const ProgressView&) = delete;

  // The catalogue's callback; context is the view.
  static void report(void* context, int percent);
  void* context() { return this; }

  // Prints the current line if it has not been shown and ends the line in
  // progress, so that whatever follows starts on a line of its own.
  void settle();

 private:
  // First member: the catalogue writes the line's address here.
  const char* line_ = nullptr;
  bool terminal_;
  bool open_ = false;  // a terminal line without its newline yet
  int percent_ = -1;   // the percentage shown on it
  std::string shown_;

  void update(int percent);
  void endline();
};

}  // namespace tracklore::cli
