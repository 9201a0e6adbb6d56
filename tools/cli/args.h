// The command line: options and operands of one run.
//
// Options may stand before or after the command; "--" ends them, so that a
// name beginning with "-" can be given. Which options a command accepts is
// the command table's business (commands.h); parsing only checks that an
// option is known, has its value and does not contradict another.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tracklore::cli {

// How the questions of a run are answered: at a prompt (or with the safe
// answer when there is nobody to ask), or always yes or always no.
enum class Choice { Ask, Yes, No };

struct Options {
  std::string directory;             // -C DIR: work there
  std::string mainname = "maindb";   // --main STEM
  Choice answer = Choice::Ask;       // --yes / --no: every question
  Choice purge = Choice::Ask;        // --purge / --keep: the purge question
  std::optional<std::string> prefix; // list --prefix TEXT
  std::optional<std::string> kind;   // search --kind album|artist|song
  std::optional<long> at;            // link --at SEQ
  bool dryrun = false;               // scan --dry-run
  bool hidden = false;               // scan --hidden
  std::optional<std::string> report; // scan --report FILE
  std::vector<std::string> preferfiles;  // scan --prefer-files ALBUM (repeatable)
  std::string startdir;              // where the run began, before -C
  bool help = false;                 // -h / --help
  std::string command;
  std::vector<std::string> operands;
};

// False with a message when the line is malformed.
bool parseargs(int argc, char** argv, Options* options, std::string* error);

// A whole non-negative decimal number; false otherwise.
bool parsecount(const std::string& text, long* value);

}  // namespace tracklore::cli
