#pragma once
#include <ctime>
#include <memory>
#include <string>

#include "ports/split_forms.h"

namespace commit {
class Journal;
}

// One old log made by one split of one log file: what the undo needs to
// take that split back.
class CUndo {
 public:
  int generation = -1;         // the room's generation counter at the split
  std::string oldLogName;      // name in the forum folder of the old log made
  std::string backupName;      // name of the backup holding the log as it was
  std::time_t backupTime = 0;  // the backup's last-write time, read after the split
  int previousLowest = 0;      // the entry's range before the split
  int previousHighest = 0x10000;
  std::string headerLine;  // the old log's line for the archive list (CP932)
  NamingForm namingForm = NamingForm::Archive;
  int exported = 0;  // 1 once its line went to AR.LST
  // The log changed since (the host wrote to it, or an undo was refused):
  // no undo takes this split back any more, but its old log still gets its
  // lines in the history file and, when exported, in AR.LST.
  bool retired = false;
  // The split's journal, held until the history holds this record's line;
  // shared by the records of one split. Let go of without being removed, it
  // leaves that line to the next run.
  std::shared_ptr<commit::Journal> journal;
};
