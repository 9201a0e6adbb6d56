#include "tools/cli/terminalhost.h"

#include <cstdio>
#include <string>

#include "catalogue/storedform.h"
#include "catalogue/tableset.h"
#include "tools/cli/echo.h"
#include "tools/cli/progress.h"

namespace tracklore::cli {

namespace {

const char* answername(Answer a) {
  switch (a) {
    case Answer::OK: return "OK";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
  }
  return "?";
}

Answer saferefusal(Buttons buttons) {
  return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

bool affirmative(Answer a) { return a == Answer::OK || a == Answer::Yes; }

const char* choices(Buttons buttons) {
  switch (buttons) {
    case Buttons::OKCancel: return "[ok/cancel]";
    case Buttons::YesNo: return "[y/n]";
    case Buttons::YesNoCancel: return "[y/n/c]";
    case Buttons::OK: return "";
  }
  return "";
}

// The catalogue's texts end some questions with a line break of their own.
std::string trimmed(const std::string& text) {
  std::string out = escaped(text, LineBreaks::Keep);
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

std::string lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

Answer answerfor(Choice choice, Buttons buttons) {
  const bool yes = choice == Choice::Yes;
  switch (buttons) {
    case Buttons::OK: return Answer::OK;
    case Buttons::OKCancel: return yes ? Answer::OK : Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel: return yes ? Answer::Yes : Answer::No;
  }
  return Answer::Cancel;
}

void TerminalHost::status(const char* text) { std::fprintf(stderr, "tracklore-cli: %s\n", text); }

Answer TerminalHost::message(const char* text, const char* title, Buttons buttons, Icon) {
  return ask(text, title, buttons);
}

Answer TerminalHost::ask(const std::string& text, const std::string& title, Buttons buttons) {
  if (progress_ != nullptr) progress_->settle();
  std::fprintf(stderr, "%s: %s\n", escaped(title).c_str(), trimmed(text).c_str());
  if (buttons == Buttons::OK) {
    ++notices_;
    return Answer::OK;
  }
  ++questions_;
  const bool purging = title == "Confirm purge";
  Answer a;
  if (purging && purge_ != Choice::Ask) {
    a = answerfor(purge_, buttons);
    std::fprintf(stderr, "  -> %s (%s)\n", answername(a), purge_ == Choice::Yes ? "--purge" : "--keep");
  } else if (answer_ != Choice::Ask) {
    a = answerfor(answer_, buttons);
    std::fprintf(stderr, "  -> %s (%s)\n", answername(a), answer_ == Choice::Yes ? "--yes" : "--no");
  } else if (interactive_) {
    a = prompt(buttons);
  } else {
    a = saferefusal(buttons);
    std::fprintf(stderr, "  -> %s (standard input is not a terminal; %s would answer %s)\n",
                 answername(a), purging ? "--purge" : "--yes",
                 answername(answerfor(Choice::Yes, buttons)));
  }
  if (affirmative(a)) ++accepted_;
  return a;
}

Answer TerminalHost::prompt(Buttons buttons) {
  for (;;) {
    std::fprintf(stderr, "  %s ", choices(buttons));
    std::fflush(stderr);
    char line[64];
    if (std::fgets(line, sizeof line, stdin) == nullptr) {
      Answer a = saferefusal(buttons);
      std::fprintf(stderr, "\n  -> %s (end of input)\n", answername(a));
      return a;
    }
    std::string word = lowered(line);
    while (!word.empty() && (word.back() == '\n' || word.back() == '\r' || word.back() == ' '))
      word.pop_back();
    const bool okcancel = buttons == Buttons::OKCancel;
    if (word == "y" || word == "yes" || word == "o" || word == "ok")
      return okcancel ? Answer::OK : Answer::Yes;
    if (word == "n" || word == "no") return okcancel ? Answer::Cancel : Answer::No;
    if ((word == "c" || word == "cancel") && buttons != Buttons::YesNo) return Answer::Cancel;
  }
}

bool TerminalHost::savefile(const FileRequest&, std::string* path) {
  *path = std::string(DB_MainName()) + ".db1";
  return true;
}

}  // namespace tracklore::cli
