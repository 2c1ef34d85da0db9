#pragma once
#include <string>
#include <vector>

#include "commands/command_context.h"

class CDirectory;
class Messenger;

struct UndoReport {
  int restored = 0;                       // files taken back
  int failed = 0;                         // files with records that could not be taken back
  int oldLogsLeft = 0;                    // old logs of the splits taken back that could not be deleted
  int writtenTo = 0;                      // of the failed: logs the host wrote to since their split, left as they are
  int writtenAfterUndo = 0;               // files undos displaced that the host wrote into since (the user was told)
  bool interrupted = false;               // the user stopped it between two files; the rest are as they were
  std::vector<std::string> restoredLogs;  // the logs taken back, in list order
};

// The undo command (やり直し): for each selected file with undo records,
// the newest generation whose backup is intact is put back in place of the
// log, the old logs of that generation and every newer one are deleted, and
// the file's range is restored.
UndoReport UndoSelected(CommandContext& ctx);

// Ends the watch on the files this run's undos displaced (the splits' new
// logs): those nobody wrote into are deleted, the others kept under a name
// of their own and told of. Returns how many were kept. A front end calls it
// before its run ends.
int SettleDisplacedLogs(Messenger& messenger, CDirectory& dir);
