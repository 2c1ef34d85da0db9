#include "commands/analyze_command.h"

#include "commands/entry_row.h"
#include "commands/room_selection.h"
#include "engine/log_file.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "platform/interrupt.h"
#include "ports/rows.h"

namespace {
constexpr const char kAnalyzing[] = "analyzing..";
}

bool AnalyzeEntry(const std::string& folderPath, CFileEntry& entry, CommandContext& ctx) {
  if (entry.kind != kKindBody && entry.kind != kKindTitle) return false;
  ctx.rows.BeginWaitCursor();
  bool found = false;
  {
    CLogFile log(folderPath, &entry, ctx.messenger, ctx.progress, ctx.clock);
    if (log.Open()) {
      found = log.Analyze();
      log.Close();
    }
  }
  ctx.rows.EndWaitCursor();
  return found;
}

AnalyzeReport OnAnalyze(CommandContext& ctx) {
  AnalyzeReport report;
  CDirectory* dir = ctx.doc.CurrentFolder();
  if (!dir || dir->entries.empty()) return report;
  RoomSet rooms = 0;
  bool single = false;
  if (!CollectSelectedRooms(ctx.rows, *dir, rooms, single)) return report;

  for (std::size_t i = 0; i < dir->entries.size(); ++i) {
    CFileEntry& entry = *dir->entries[i];
    if (!RoomInSet(rooms, entry.room)) continue;
    const int row = static_cast<int>(i);
    ctx.rows.SetCellText(row, kColumnLowest, kAnalyzing);
    ctx.rows.SetCellText(row, kColumnHighest, kAnalyzing);
    ctx.rows.RepaintNow();
    const bool readable = entry.kind == kKindBody || entry.kind == kKindTitle;
    if (readable) ++report.analysed;
    const bool found = AnalyzeEntry(dir->path, entry, ctx);
    if (plat::InterruptRequested()) {
      if (readable) --report.analysed;
      report.interrupted = true;
      RedrawEntryRow(ctx.rows, row, *dir, entry, ctx.messenger.mode());
      break;
    }
    if (found) {
      ctx.rows.SetCellText(row, kColumnLowest, std::to_string(entry.lowest));
      ctx.rows.SetCellText(row, kColumnHighest, std::to_string(entry.highest));
    } else {
      if (readable) ++report.failed;
      ctx.rows.SetCellText(row, kColumnLowest, "-");
      ctx.rows.SetCellText(row, kColumnHighest, "-");
    }
  }
  ctx.rows.RepaintNow();
  return report;
}
