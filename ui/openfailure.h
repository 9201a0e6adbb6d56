// What an open that failed means to a user, and the engine's own message
// about it held back so that the window can say it in plain words first.
#pragma once

#include <string>
#include <vector>

#include "engine/errors.h"

namespace tracklore {

enum class OpenFailure {
  NoDatabase,  // the current directory holds no main file
  InUse,       // every table is there, but one could not be opened
  NotAllowed,  // a table's file may not be read (or written)
  Other,       // anything else: the engine's message says it best
};

// Classifies the code of a failed open of the current directory's database
// (opened for writing or not).
OpenFailure classifyOpenFailure(quill::ErrorCode code, bool writable);

// While it lives, the engine's messages are collected instead of shown.
// One at a time.
class HeldReports {
 public:
  HeldReports();
  ~HeldReports();
  HeldReports(const HeldReports&) = delete;
  HeldReports& operator=(const HeldReports&) = delete;

  // Ends the holding; the messages so far, one after another.
  std::string end();
  // Ends the holding and shows the messages held, as they would have been.
  void replay();

 private:
  quill::Reporter saved_;
  bool ended_ = false;
};

}  // namespace tracklore
