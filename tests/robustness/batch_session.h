#pragma once
// kiv-batch's session, run in this process: the same BatchRun the program
// makes, fed the lines of a session script, then destroyed as at exit so
// that the history is written. What it printed is kept.
#include <functional>
#include <string>
#include <vector>

namespace robust {

struct SessionResult {
  int repairStatus = 0;       // of taking the forum and the repair every run begins with
  std::vector<int> statuses;  // one per command
  std::vector<int> marks;     // the mark given before each command, and one as the run ends
  std::string out;
  std::string err;
  bool AllDone() const;
};

// forumPath: absolute, without trailing separator. The lines are checked
// like a session script's; a line that doesn't parse fails the test run.
// mark, when given, is asked before each command (a fault plan's count of
// operations, so that a test knows which command an operation belonged to).
SessionResult RunSession(const std::string& forumPath, const std::vector<std::string>& lines,
                         const std::function<int()>& mark = nullptr);

}  // namespace robust
