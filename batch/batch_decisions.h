#pragma once
#include <string>

#include "messages/box_decisions.h"
#include "ports/decisions.h"

class Messenger;

// kiv-batch's answers to the commands' questions: an earlier backup is
// replaced only when the split command says --overwrite, every other
// question is answered Yes. Each question is still printed on standard
// error as the box Kiv would show, so the output tells what was decided.
class BatchDecisions : public DecisionPort {
 public:
  explicit BatchDecisions(Messenger& console) : printed_(console) {}

  // What the split command now running says about earlier backups.
  void SetOverwriteBackups(bool overwrite) { overwriteBackups_ = overwrite; }

  bool ConfirmSplit() override;
  bool OverwriteBackup(const std::string& backupName) override;
  bool SplitOutsideRange() override;
  bool RetryHistoryWhileBusy(const std::string& forumPath, const std::string& holder) override;

 private:
  BoxDecisions printed_;  // prints the question; its answer is not kiv-batch's
  bool overwriteBackups_ = false;
};
