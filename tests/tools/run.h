// Runs a shell command line as the tools' tests do, collecting its output.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace tooltest {

struct Finished {
  int status = -1;         // exit status, or -1 when the process did not exit
  bool signalled = false;  // killed, timed out (124) or ended by a signal in its shell
  std::string out;         // what the command wrote to the pipe
};

inline Finished runshell(const std::string& command) {
  Finished f;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) f.out.append(buffer, n);
  const int waitstatus = pclose(pipe);
  if (WIFEXITED(waitstatus)) f.status = WEXITSTATUS(waitstatus);
  f.signalled = WIFSIGNALED(waitstatus) || f.status == 124 || (f.status > 128 && f.status != 255);
  return f;
}

}  // namespace tooltest
