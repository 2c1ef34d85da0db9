#include "tests/robustness/batch_session.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "batch/batch_command.h"
#include "batch/batch_run.h"
#include "tests/support/temp_dir.h"

namespace robust {

bool SessionResult::AllDone() const {
  for (int s : statuses) {
    if (s != kExitDone) return false;
  }
  return true;
}

SessionResult RunSession(const std::string& forumPath, const std::vector<std::string>& lines,
                         const std::function<int()>& mark) {
  std::vector<BatchCommand> script;
  for (const std::string& line : lines) {
    BatchCommand command;
    std::string error;
    if (!ParseBatchCommand(SessionLineWords(line), command, error)) {
      std::fprintf(stderr, "bad session line \"%s\": %s\n", line.c_str(), error.c_str());
      std::abort();
    }
    script.push_back(command);
  }
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  if (!out || !err) std::abort();
  SessionResult result;
  {
    // Every run sees the same instant, so runs on either side of midnight
    // still name their old logs and date their header lines alike.
    static const FixedClock kToday(std::time(nullptr));
    BatchRun run(forumPath, out, err, &kToday);
    // As kiv-batch does: a script that writes holds the forum first.
    bool writes = false;
    for (const BatchCommand& command : script) writes = writes || command.Writes();
    result.repairStatus = writes ? run.HoldForum() : kExitDone;
    if (result.repairStatus == kExitDone)
      result.repairStatus = run.Repair();
    else
      script.clear();
    for (const BatchCommand& command : script) {
      if (mark) result.marks.push_back(mark());
      result.statuses.push_back(run.Run(command, true));
    }
    // What follows is the history, written as the run ends.
    if (mark) result.marks.push_back(mark());
  }
  result.out = Drain(out);
  result.err = Drain(err);
  return result;
}

}  // namespace robust
