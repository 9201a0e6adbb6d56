// The host of the benchmarks that make a catalogue: creation asks for the
// main file, and the answer is fixed ("maindb.db1"); questions are answered
// OK or Yes.
#pragma once

#include <string>

#include "catalogue/host.h"

namespace bench {

class FixedHost : public tracklore::Host {
 public:
  tracklore::Answer message(const char*, const char*, tracklore::Buttons buttons,
                            tracklore::Icon) override {
    return buttons == tracklore::Buttons::OK ? tracklore::Answer::OK : tracklore::Answer::Yes;
  }
  bool openfile(const tracklore::FileRequest&, std::string*) override { return false; }
  bool savefile(const tracklore::FileRequest&, std::string* path) override {
    *path = "maindb.db1";
    return true;
  }
  void waitcursor(bool) override {}
  void drain() override {}
};

}  // namespace bench
