#pragma once
#include <string>
#include <vector>

#include "commit/journal.h"
#include "commit/split_commit.h"
#include "platform/file_ops.h"

namespace commit {

// The files of one undo: the backup takes the log's name in one step (the
// log's name never stands empty), then the old logs of the splits taken back
// are deleted.
struct UndoPlan {
  std::string folder;
  std::string logName;
  std::string backupName;
  plat::FileIdentity backup;         // the backup as the undo chose it
  plat::FileIdentity log;            // the log as the undo found it unchanged since its split
  std::vector<std::string> oldLogs;  // to delete once the backup is in place
};

struct UndoResult {
  Outcome outcome = Outcome::TakenBack;
  int oldLogsLeft = 0;  // old logs that could not be deleted
  Fault fault;          // why the backup could not be put in place
  bool logWrittenTo = false;  // the log changed after the undo looked at it: nothing was done
};
UndoResult RunUndo(const UndoPlan& plan);

struct UndoRepair {
  Outcome outcome = Outcome::Stuck;  // Done: the undo was finished; TakenBack: it had not begun
  Fault fault;
};
UndoRepair RepairUndo(const std::string& folder, const Journal& journal);

}  // namespace commit
