#pragma once
#include "commands/command_context.h"

struct UndoReport {
  int restored = 0;   // files taken back
  int failed = 0;     // files with records that could not be taken back
  int oldLogsLeft = 0;  // old logs of the splits taken back that could not be deleted
  int writtenTo = 0;    // of the failed: logs the host wrote to since their split, left as they are
};

// The undo command (やり直し): for each selected file with undo records,
// the newest generation whose backup is intact is put back in place of the
// log, the old logs of that generation and every newer one are deleted, and
// the file's range is restored.
UndoReport UndoSelected(CommandContext& ctx);
