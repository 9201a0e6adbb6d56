// Runs a shell command line as the tools' tests do, collecting its output.
#pragma once

#include <cstdio>
#include <string>

namespace tooltest {

struct Finished {
  int waitstatus = -1;  // as pclose gives it
  std::string out;      // what the command wrote to the pipe
};

inline Finished runshell(const std::string& command) {
  Finished f;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) f.out.append(buffer, n);
  f.waitstatus = pclose(pipe);
  return f;
}

}  // namespace tooltest
