#include "catalogue/host.h"

namespace tracklore {

namespace {

// Refuses whatever it is asked, so that nothing happens unasked.
class SilentHost : public Host {
 public:
  Answer message(const char*, const char*, Buttons buttons, Icon) override {
    switch (buttons) {
      case Buttons::OK: return Answer::OK;
      case Buttons::OKCancel: return Answer::Cancel;
      case Buttons::YesNo:
      case Buttons::YesNoCancel: return Answer::No;
    }
    return Answer::Cancel;
  }
  bool openfile(const FileRequest&, std::string*) override { return false; }
  bool savefile(const FileRequest&, std::string*) override { return false; }
  void waitcursor(bool) override {}
  void drain() override {}
};

SilentHost g_silent;
Host* g_host = &g_silent;

}  // namespace

void DB_SetHost(Host* host) { g_host = host != nullptr ? host : &g_silent; }

Host& DB_Host() { return *g_host; }

}  // namespace tracklore
