#pragma once
#include <memory>
#include <string>
#include <vector>

#include "commit/aftercare.h"
#include "commit/journal.h"
#include "commit/journal_format.h"
#include "platform/file_ops.h"

namespace commit {

// The files of one split: the log, the name its backup takes, and the
// outputs (the old logs, then the log's new file) under their final and
// their temporary names.
struct SplitPlan {
  std::string folder;
  std::string logName;
  std::string backupName;
  bool replaceBackup = false;            // an older file under the backup name may go (the user agreed)
  std::vector<std::string> outputNames;  // final names; the log's own name last
  std::vector<std::string> tempNames;    // chosen by SplitCommit::Begin
  Aftercare aftercare;                   // what the old logs are owed once the split is done
};

// A split's commit. The engine writes the outputs under temporary names
// while the log stays where it is; then, in a few renames, the backup name
// takes the log, the old logs take their names and the new file takes the
// log's name in one step. The log's name holds a whole log throughout: the
// old one until the last rename, the new one after it.
class SplitCommit {
 public:
  // Journals the plan and chooses the temporary names (plan.tempNames).
  bool Begin(SplitPlan& plan, Fault* fault);
  // The outputs were not made, or the log changed while it was read: the
  // temporary files and the journal go; the log was never touched.
  void Abandon();
  // The outputs are written and durable; source is the log as it was read.
  Outcome Commit(const plat::FileIdentity& source, Fault* fault);
  // After a Done commit: the log's new file as it was written, before it
  // took the log's name (a rename keeps all of it).
  const plat::FileIdentity& newLog() const { return newLog_; }
  // After a Done commit of a split with old logs: its journal, held until
  // the run has written what they are owed (the caller removes it then).
  // Let go of without removing, it leaves the writing to the next run.
  std::shared_ptr<Journal> held() const { return held_; }

 private:
  SplitPlan plan_;
  std::shared_ptr<Journal> journal_ = std::make_shared<Journal>();
  std::shared_ptr<Journal> held_;
  plat::FileIdentity newLog_;
};

// What a repair found in a split's journal, and did.
struct SplitRepair {
  Outcome outcome = Outcome::Stuck;
  bool finished = false;      // Done by finishing the commit (else taken back)
  bool wasWhole = false;      // Done: every file was in its place already
  bool onlyInBackup = false;  // the host wrote into the log's old file after the commit
  bool untrusted = false;     // the folder shows the commit had begun, the journal does not
  Fault fault;
};
SplitRepair RepairSplit(const std::string& folder, const Journal& journal);

}  // namespace commit
