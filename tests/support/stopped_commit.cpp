#include "tests/support/stopped_commit.h"

#include <cerrno>

#include "commit/split_commit.h"
#include "platform/fault_injection.h"
#include "tests/support/temp_dir.h"

bool LeaveStoppedSplit(const std::string& forum, const std::string& log, const std::string& backup,
                       const std::string& oldLog, const std::string& oldText, const std::string& newText) {
  commit::SplitPlan plan;
  plan.folder = forum;
  plan.logName = log;
  plan.backupName = backup;
  plan.outputNames = {oldLog, log};
  commit::SplitCommit split;
  commit::Fault fault;
  plat::FileIdentity source;
  if (!split.Begin(plan, &fault) || !plat::GetFileIdentity(forum + "/" + log, &source)) return false;
  WriteBytes(forum + "/" + plan.tempNames[0], oldText);
  WriteBytes(forum + "/" + plan.tempNames[1], newText);
  // This run can neither give the backup its name nor delete a file: the
  // commit stops with its journal whole and nothing moved.
  plat::SetFaultHook(
      +[](plat::FileOp op, const char*) { return op == plat::FileOp::Link || op == plat::FileOp::Delete ? EIO : 0; });
  const bool stopped = split.Commit(source, &fault) == commit::Outcome::Stuck;
  plat::SetFaultHook(nullptr);
  return stopped;
}
