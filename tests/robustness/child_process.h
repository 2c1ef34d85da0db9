#pragma once
// Runs a program as a child process with a few more environment variables,
// its output kept in files, and tells how it ended.
#include <string>
#include <utility>
#include <vector>

namespace robust {

struct ChildEnd {
  bool exited = false;
  int status = -1;        // exit status when exited
  int signal = 0;         // the signal that ended it otherwise
  bool timedOut = false;  // still running after the time given: killed
  std::string out, err;
};

// With timeoutSeconds above 0 a child still running after that long is
// killed (SIGKILL) and reported as timed out.
ChildEnd RunChild(const std::string& exe, const std::vector<std::string>& args,
                  const std::vector<std::pair<std::string, std::string>>& env = {}, int timeoutSeconds = 0);

// The same, with standard input read from `input`, and `signal` sent to the
// child `delayMicros` after it started (when it has not ended by then).
struct ChildRun {
  std::vector<std::pair<std::string, std::string>> env;
  std::string input;
  int signal = 0;
  long delayMicros = 0;
  int timeoutSeconds = 0;
};
ChildEnd RunChild(const std::string& exe, const std::vector<std::string>& args, const ChildRun& how);

}  // namespace robust
