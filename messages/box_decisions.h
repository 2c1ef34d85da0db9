#pragma once
#include <string>

#include "ports/decisions.h"

class Messenger;

// The commands' questions asked as message boxes, in the current voice:
// what Kiv shows the user, and what kiv-batch prints before it answers.
class BoxDecisions : public DecisionPort {
 public:
  explicit BoxDecisions(Messenger& messenger) : messenger_(messenger) {}

  bool ConfirmSplit() override;
  bool OverwriteBackup(const std::string& backupName) override;
  bool SplitOutsideRange() override;
  bool RetryHistoryWhileBusy(const std::string& forumPath, const std::string& holder) override;

 private:
  Messenger& messenger_;
};
