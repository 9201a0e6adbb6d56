// The Host of the command line: the catalogue's messages and questions on
// stderr, answered by the run's flags, at a prompt, or with the safe answer.
//
// A question takes, in this order: --purge/--keep when it is the purge
// question, --yes/--no, the user's answer at a prompt when standard input
// is a terminal, and otherwise the refusing answer (Cancel, or No), which
// is printed with the flag that would have accepted. Notices (OK only) are
// printed and counted. File dialogs are not shown: creation gets the main
// file of the current directory, opening never asks.
#pragma once

#include <string>

#include "catalogue/host.h"
#include "tools/cli/args.h"

namespace tracklore::cli {

class ProgressView;

class TerminalHost : public Host {
 public:
  TerminalHost(Choice answer, Choice purge, bool interactive)
      : answer_(answer), purge_(purge), interactive_(interactive) {}

  // The catalogue's texts are stored bytes (host.h).
  Answer message(const char* text, const char* title, Buttons buttons, Icon icon) override;
  // A question or notice of the command line's own, whose text names full
  // names: UTF-8. Answered as message() answers.
  Answer ask(const std::string& text, const std::string& title, Buttons buttons);
  bool openfile(const FileRequest&, std::string*) override { return false; }
  bool savefile(const FileRequest& request, std::string* path) override;
  void waitcursor(bool) override {}
  void drain() override {}
  void status(const char* text) override;

  // A pass in progress whose line is settled before a message is printed.
  void setprogress(ProgressView* view) { progress_ = view; }

  // Questions asked, questions answered OK or Yes, notices shown.
  int questions() const { return questions_; }
  int accepted() const { return accepted_; }
  int notices() const { return notices_; }

 private:
  Choice answer_;
  Choice purge_;
  bool interactive_;
  ProgressView* progress_ = nullptr;
  int questions_ = 0;
  int accepted_ = 0;
  int notices_ = 0;

  Answer prompt(Buttons buttons);
};

// The question's answer for a choice of yes or no.
Answer answerfor(Choice choice, Buttons buttons);

}  // namespace tracklore::cli
