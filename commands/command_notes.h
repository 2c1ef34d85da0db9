#pragma once
#include <string>

struct CompanionMode;
struct SplitReport;
struct UndoReport;

// The one line the status bar shows after a command, saying what it did;
// empty when there is nothing to say. UTF-8.

// The old logs a split made (how many, and the first few names) and the
// rooms it left alone for having nothing to move.
std::string SplitNote(const CompanionMode& mode, const SplitReport& report);

// The logs an undo took back.
std::string UndoNote(const CompanionMode& mode, const UndoReport& report);
