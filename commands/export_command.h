#pragma once
#include <memory>
#include <string>
#include <vector>

#include "commands/command_context.h"

class CDirectory;
class CFileEntry;
class CUndo;

// The records of dir whose lines the header export puts out, in order:
// room by room (1 to 20), body logs' old logs first, then title logs' old
// logs that no body old log of the room shares a name with (but for the
// "_"/"#" mark). Only archive-form records not yet exported.
std::vector<CUndo*> CollectExportRecords(CDirectory& dir);
// The same over a folder's entries.
std::vector<CUndo*> CollectExportRecords(const std::vector<std::unique_ptr<CFileEntry>>& entries);

// "M <old log> <header line>\n" (CP932).
std::string ArchiveListLine(const CUndo& record);

struct ExportReport {
  int lines = 0;        // lines appended to AR.LST
  bool failed = false;  // AR.LST could not be written; it is as it was
};

// The header export command (会議室ヘッダ書き出し): appends the lines to the
// current folder's AR.LST. The records are marked exported only once their
// lines are safely in the file; a failed write leaves AR.LST as it was and
// the records offered again next time.
ExportReport OnExportHeaders(CommandContext& ctx);
