#include "batch/batch_decisions.h"

bool BatchDecisions::ConfirmSplit() {
  printed_.ConfirmSplit();
  return true;
}

bool BatchDecisions::OverwriteBackup(const std::string& backupName) {
  printed_.OverwriteBackup(backupName);
  return overwriteBackups_;
}

bool BatchDecisions::SplitOutsideRange() {
  printed_.SplitOutsideRange();
  return true;
}

bool BatchDecisions::RetryHistoryWhileBusy(const std::string& forumPath, const std::string& holder) {
  printed_.RetryHistoryWhileBusy(forumPath, holder);
  return true;
}
