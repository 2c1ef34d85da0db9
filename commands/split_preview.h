#pragma once
#include <string>
#include <vector>

#include "engine/log_file.h"
#include "ports/split_forms.h"

class CDirectory;

// One output of a split that is only planned: its name, what it would hold
// and its forum header line (CP932).
struct PlannedOutput {
  std::string name;
  CLogFile::OutputMeasure measure;
  std::string headerLine;
};

// The split of one log as a dry run plans it: read and measured, nothing
// made.
struct PlannedSplit {
  std::string logName;
  int room = 0;
  int kind = 0;
  NamingForm form = NamingForm::Archive;
  std::string backupName;  // where the log as it is would go
  bool replacesBackup = false;
  std::vector<PlannedOutput> outputs;  // the old logs, then the log's new file
};

// What the dry runs of one forum's run plan, in the order the real run
// would make it.
struct SplitPreview {
  std::vector<PlannedSplit> splits;
  std::vector<std::string> skipped;  // logs the real run would leave as they are (told why)

  // The old logs and backups planned so far: a real run has made them by
  // the time it names the next log's old logs.
  std::vector<std::string> PlannedNames() const;
};

// The lines the header export would append to AR.LST after the planned
// splits, in its order ("M <old log> <header line>", CP932, without line
// end): those of dir's own undo records not yet exported, and the planned
// old logs'.
std::vector<std::string> PlannedArchiveLines(const CDirectory& dir, const SplitPreview& preview);
