#pragma once
#include <string>
#include <vector>

#include "commit/journal.h"

namespace commit {

// What the repair of a forum folder did about one command that was cut short.
struct RepairNote {
  enum class Kind {
    SplitFinished,     // the split's commit was finished: the log is the new log
    SplitTakenBack,    // the split was taken back: the log is as it was
    UndoFinished,      // the undo was finished
    AppendFinished,    // the lines were appended in full (AR.LST, the history file)
    OnlyInBackup,      // messages the host wrote are only in the backup (subject: the backup)
    WrittenAfterUndo,  // the host wrote into the file an undo displaced: kept (subject: its name)
    JournalSetAside,   // a journal not to be trusted was kept, not acted on (subject: its new name)
    Failed,            // could not be resolved now; tried again by the next run
  };
  Kind kind;
  std::string subject;  // the log, the backup or the list, by its name in the folder
  Fault fault;          // Failed, or taken back for want of a step: what stood in the way
};

// Resolves every journal in the folder that no live run holds: a commit that
// was cut short is finished, one that had not begun is taken back with its
// temporary files, and the old logs of a split whose run ended before it
// wrote their lines get them. Only files a journal names are touched, and
// only names of files in the folder itself are acted on: a journal that
// gives another name, can't be read or is damaged is kept aside under a
// name ending in ".BAD", with nothing but its own temporary files deleted.
// Runs only under the forum's lock. Quick when the folder holds no journal.
std::vector<RepairNote> RepairFolder(const std::string& folder);

}  // namespace commit
