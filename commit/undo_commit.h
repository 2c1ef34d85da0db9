#pragma once
#include <memory>
#include <string>
#include <vector>

#include "commit/journal.h"
#include "commit/journal_format.h"
#include "platform/file_ops.h"

namespace commit {

// The files of one undo: the backup takes the log's name in one step (the
// log's name never stands empty), then the old logs of the splits taken back
// are deleted. The file the backup displaces (the split's new log) is not
// deleted at once: a host that wrote into it in the moment before, or that
// keeps it open, would lose those messages. It stays under a temporary name,
// named by the undo's journal, until the run ends.
struct UndoPlan {
  std::string folder;
  std::string logName;
  std::string backupName;
  plat::FileIdentity backup;         // the backup as the undo chose it
  plat::FileIdentity log;            // the log as the undo found it unchanged since its split
  std::vector<std::string> oldLogs;  // to delete once the backup is in place
};

// The split's new log after an undo put the backup in its place, with the
// undo's journal, held until the run ends.
class DisplacedLog {
 public:
  DisplacedLog(std::unique_ptr<Journal> journal, std::string folder, std::string logName, std::string tempName,
               const plat::FileIdentity& seen);
  ~DisplacedLog();  // lets go of the journal and leaves both for the next run
  DisplacedLog(const DisplacedLog&) = delete;
  DisplacedLog& operator=(const DisplacedLog&) = delete;

  // When the host wrote into the file since the undo looked at it, the file
  // is kept under a name of its own, which is returned (empty otherwise).
  std::string Check();
  // Ends the watch: a file nobody wrote into is deleted, the journal goes.
  // Returns the name a file written into is kept under (empty otherwise).
  std::string Settle();

 private:
  std::unique_ptr<Journal> journal_;
  std::string folder_;
  std::string logName_;
  std::string tempName_;
  plat::FileIdentity seen_;
  bool settled_ = false;
};

struct UndoResult {
  Outcome outcome = Outcome::TakenBack;
  int oldLogsLeft = 0;                      // old logs that could not be deleted
  Fault fault;                              // why the backup could not be put in place
  bool logWrittenTo = false;                // the log changed after the undo looked at it: nothing was done
  std::unique_ptr<DisplacedLog> displaced;  // Done: to be settled when the run ends
};
UndoResult RunUndo(const UndoPlan& plan);

struct UndoRepair {
  Outcome outcome = Outcome::Stuck;  // Done: the undo was finished; TakenBack: it had not begun
  std::string keptAs;                // the displaced file, written into, kept under this name
  Fault fault;
};
UndoRepair RepairUndo(const std::string& folder, const Journal& journal);

}  // namespace commit
