// The corrections of a verification, counted on their way to the user, so
// that the main window can say afterwards how many problems were put right.
#pragma once

#include <string>

#include "catalogue/host.h"

namespace tracklore {

// Passes every question on and counts the corrections a verification
// offers (its Yes/No questions) and those the user accepts.
class CorrectionCounter : public Host {
 public:
  // Stands in for inner as the catalogue's host while it lives.
  explicit CorrectionCounter(Host& inner) : inner_(inner) { DB_SetHost(this); }
  ~CorrectionCounter() override { DB_SetHost(&inner_); }
  CorrectionCounter(const CorrectionCounter&) = delete;
  CorrectionCounter& operator=(const CorrectionCounter&) = delete;

  int asked = 0;
  int accepted = 0;

  Answer message(const char* text, const char* title, Buttons buttons, Icon icon) override {
    return count(buttons, inner_.message(text, title, buttons, icon));
  }
  Answer question(const char* text, const char* title, Buttons buttons, Icon icon,
                  DefaultButton preset) override {
    return count(buttons, inner_.question(text, title, buttons, icon, preset));
  }
  bool openfile(const FileRequest& request, std::string* path) override {
    return inner_.openfile(request, path);
  }
  bool savefile(const FileRequest& request, std::string* path) override {
    return inner_.savefile(request, path);
  }
  bool choosefolder(const FolderRequest& request, std::string* path) override {
    return inner_.choosefolder(request, path);
  }
  void waitcursor(bool on) override { inner_.waitcursor(on); }
  void drain() override { inner_.drain(); }

 private:
  Host& inner_;

  Answer count(Buttons buttons, Answer answer) {
    if (buttons == Buttons::YesNo) {
      ++asked;
      if (answer == Answer::Yes) ++accepted;
    }
    return answer;
  }
};


}  // namespace tracklore
