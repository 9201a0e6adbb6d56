// Runs the tools as separate processes, as their tests do, and checks how
// each command line ends.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tooltest {

struct Finished {
  int status = -1;         // exit status, or -1 when the process did not exit
  bool signalled = false;  // killed, timed out (124) or ended by a signal in its shell
  std::string out, err;    // what it wrote to standard output and standard error
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

inline bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The program run with a command line whose words the shell splits (quote
// a name with blanks). Standard input is never a terminal here, so every
// unanswered question takes the safe answer.
inline Finished run(const std::string& program, const std::string& line) {
  Finished f;
  FILE* pipe = popen(("timeout 30 " + program + " " + line + " </dev/null 2>tool-stderr.txt").c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) f.out.append(buffer, n);
  const int waitstatus = pclose(pipe);
  if (WIFEXITED(waitstatus)) f.status = WEXITSTATUS(waitstatus);
  f.signalled = WIFSIGNALED(waitstatus) || f.status == 124 || (f.status > 128 && f.status != 255);
  f.err = slurp("tool-stderr.txt");
  std::remove("tool-stderr.txt");
  return f;
}

enum Match { Part, Whole };

// A command line and how it must end.
struct Step {
  std::string line;
  int status = 0;
  std::string says = {};   // in standard output when it succeeds, in standard error when not
  Match match = Part;      // Whole: says is all of standard output
  std::string warns = {};  // in standard error
};

// Each step run by the program, or by the engine's tool when its line
// starts "quill " (as another program, or damage, would change the files).
inline void play(const std::string& program, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    const Finished r = s.line.rfind("quill ", 0) == 0 ? run(QUILL_PATH, s.line.substr(6)) : run(program, s.line);
    EXPECT_EQ(r.status, s.status) << s.line << "\n" << r.out << r.err;
    if (s.match == Whole) EXPECT_EQ(r.out, s.says) << s.line;
    else EXPECT_TRUE(contains(s.status == 0 ? r.out : r.err, s.says)) << s.line << "\n" << r.out << r.err;
    EXPECT_TRUE(contains(r.err, s.warns)) << s.line << "\n" << r.err;
  }
}

}  // namespace tooltest
