#pragma once
#include <string>

#include "commands/command_context.h"

class CFileEntry;

struct AnalyzeReport {
  int analysed = 0;  // body and title logs given to the engine
  int failed = 0;    // of those, the ones whose range was not found
};

// Analyses one file with the engine; true when its range was found. Files
// of unknown or archive kind are not read (false, no message).
bool AnalyzeEntry(const std::string& folderPath, CFileEntry& entry, CommandContext& ctx);

// The analyse command: every file of each room with a selected row, in list
// order; its row shows "analyzing.." and then the range, or "-" twice.
AnalyzeReport OnAnalyze(CommandContext& ctx);
