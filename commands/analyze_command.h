#pragma once
#include <string>

#include "commands/command_context.h"

class CFileEntry;

struct AnalyzeReport {
  int analysed = 0;          // body and title logs given to the engine
  int failed = 0;            // of those, the ones whose range was not found
  bool interrupted = false;  // the user stopped it: the file in progress is as it was, the rest not read
};

// Analyses one file with the engine; true when its range was found. Files
// of unknown or archive kind are not read (false, no message).
bool AnalyzeEntry(const std::string& folderPath, CFileEntry& entry, CommandContext& ctx);

// The analyse command: every file of each room with a selected row, in list
// order; its row shows "analyzing.." and then the range, or "-" twice.
// Stopped by the user (plat::InterruptRequested), it ends at once with the
// file in progress shown and kept as it was.
AnalyzeReport OnAnalyze(CommandContext& ctx);
