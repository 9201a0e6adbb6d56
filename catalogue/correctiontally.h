// What recovery's verification corrected, and found it cannot correct,
// counted by kind. Installed as the host (host.h) while verification runs,
// it answers Yes to every correction offered and notes each question by its
// title; everything else goes to the host it wraps. lines() gives one line
// per kind ("verification: 74,620 reference counts corrected"), so that a
// large catalogue's log stays short.
#pragma once

#include <string>
#include <vector>

#include "catalogue/host.h"

namespace tracklore {

class CorrectionTally : public Host {
 public:
  explicit CorrectionTally(Host& inner) : inner_(inner) {}
  Answer message(const char* text, const char* title, Buttons buttons, Icon) override;
  bool openfile(const FileRequest&, std::string*) override { return false; }
  bool savefile(const FileRequest&, std::string*) override { return false; }
  void waitcursor(bool on) override { inner_.waitcursor(on); }
  void drain() override { inner_.drain(); }

  // The log's lines: the corrections, then what stays uncorrected.
  std::vector<std::string> lines() const;
  // Nothing was found that cannot be corrected.
  bool complete() const { return unmended_.empty(); }

 private:
  // One kind of message: how often, and the first text.
  struct Kind {
    std::string title;
    long count = 0;
    std::string first;
  };
  Host& inner_;
  std::vector<Kind> corrected_;
  std::vector<Kind> unmended_;
  static void note(std::vector<Kind>& kinds, const char* title, const char* text);
  static std::string counted(const Kind& kind);
};

}  // namespace tracklore
