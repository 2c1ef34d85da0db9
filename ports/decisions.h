#pragma once
#include <string>

// The questions the commands ask the user, one method each, so that a front
// end answers them by what they are rather than by the text of a box: Kiv
// asks each as its message box, kiv-batch answers from its command line.
// Each returns true for Yes.
class DecisionPort {
 public:
  virtual ~DecisionPort() = default;

  // The split dialog closed with OK: split the logs now?
  virtual bool ConfirmSplit() = 0;
  // backupName (the name the log's backup is to take) is taken by an
  // earlier backup: replace it?
  virtual bool OverwriteBackup(const std::string& backupName) = 0;
  // The single dialog's number lies outside the range of the logs to be
  // split: split there anyway?
  virtual bool SplitOutsideRange() = 0;
  // The history of the forum at forumPath is to be written while holder (a
  // program's name and process) keeps the forum: try again?
  virtual bool RetryHistoryWhileBusy(const std::string& forumPath, const std::string& holder) = 0;
};
