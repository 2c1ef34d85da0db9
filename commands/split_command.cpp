#include "commands/split_command.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "commands/analyze_command.h"
#include "commands/backup_name.h"
#include "commands/entry_row.h"
#include "commands/split_dialog_logic.h"
#include "commands/split_dialog_prep.h"
#include "engine/engine_messages.h"
#include "engine/log_file.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "platform/file_error.h"
#include "platform/file_ops.h"
#include "ports/dialogs.h"
#include "ports/rows.h"

namespace {

constexpr int kMsgChangedSinceAnalysis = 49664;  // caption 49665
constexpr int kMsgBackupExists = 49666;          // caption 49667
constexpr int kMsgConfirmSplit = 49674;          // caption 49675
constexpr const char kCutting[] = "cutting..";

bool SameTime(const CDirectory& dir, const CFileEntry& entry) {
  plat::FileStatus status;
  return plat::GetFileStatus(plat::JoinPath(dir.path, entry.name), &status) &&
         status.mtime == entry.modificationTime;
}

bool TakesPart(const CFileEntry& entry, RoomSet rooms, int kindSet) {
  return RoomInSet(rooms, entry.room) && (entry.kind == kKindBody || entry.kind == kKindTitle) &&
         (entry.kind & kindSet) != 0;
}

// The per-room values of one split run, indexed by room number.
struct RoomTables {
  std::array<int, kLastRoom + 1> low;
  std::array<int, kLastRoom + 1> high;
  std::array<std::uint32_t, kLastRoom + 1> naming;
};

class FileSplitter {
 public:
  FileSplitter(CommandContext& ctx, CDirectory& dir, RoomTables& tables, bool singleRoom, int number)
      : ctx_(ctx), dir_(dir), tables_(tables), single_(singleRoom), number_(number) {}

  enum class Next {
    Split,    // the file is split
    Skipped,  // the file is as it was
    Remove,   // skipped, and its log is gone from its name: the caller drops
              // the entry and its row once the engine object is gone
    StopChanged,
    StopNaming,
  };
  Next Split(std::size_t i);

 private:
  int CutValue(int room) const;
  bool ClearBackupName(const std::string& backup);
  void RedrawRow(std::size_t i) {
    RedrawEntryRow(ctx_.rows, static_cast<int>(i), dir_, *dir_.entries[i], ctx_.messenger.mode());
  }

  CommandContext& ctx_;
  CDirectory& dir_;
  RoomTables& tables_;
  bool single_;
  int number_;
};

int FileSplitter::CutValue(int room) const {
  if (single_ || ctx_.doc.m_nSepMethod != 0) return number_;
  // The highest multiple of 1000 that leaves at least number_ messages of
  // the room in the current log.
  int d = tables_.high[static_cast<std::size_t>(room)] - number_;
  return d > 0 ? d / 1000 * 1000 : 0;
}

bool FileSplitter::ClearBackupName(const std::string& backup) {
  const std::string path = plat::JoinPath(dir_.path, backup);
  if (!plat::FileExists(path)) return true;
  if (!ctx_.doc.m_bNoOverwriteConfirm) {
    MsgResult r = ctx_.messenger.Box(kMsgBackupExists, backup, MsgStyle{MsgButtons::YesNo, MsgIcon::Question});
    if (r != MsgResult::Yes) return false;
  }
  int err = 0;
  if (!plat::DeleteFile(path, &err)) {
    ctx_.messenger.FileError(backup, err);
    return false;
  }
  return true;
}

FileSplitter::Next FileSplitter::Split(std::size_t i) {
  CFileEntry& entry = *dir_.entries[i];
  const std::size_t room = static_cast<std::size_t>(entry.room);
  const int row = static_cast<int>(i);

  if (!SameTime(dir_, entry)) {
    ctx_.messenger.Box(kMsgChangedSinceAnalysis, entry.name, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    return Next::StopChanged;
  }

  const std::string logName = entry.name;
  CLogFile log(dir_.path, &entry, ctx_.messenger, ctx_.progress, ctx_.clock);
  std::optional<CNameError> naming =
      log.MakeOldLogNames(CutValue(entry.room), tables_.low[room], tables_.high[room], ctx_.doc.m_nArcType,
                          ctx_.doc.m_nSepMethod, tables_.naming[room]);
  if (naming) {
    ShowNameError(ctx_.messenger, *naming);
    return (tables_.naming[room] & kNamingError) != 0 ? Next::Skipped : Next::StopNaming;
  }
  std::vector<std::string> headerLines;
  log.MakeHeaderLines(dir_.name, dir_.RoomName(entry.room), headerLines);

  const std::string backup = BackupFileName(logName, ctx_.doc.m_nBackUp != 0, dir_.Generation(entry.room));
  if (!ClearBackupName(backup)) return Next::Skipped;

  ctx_.rows.SetCellText(row, kColumnSize, "-");
  ctx_.rows.SetCellText(row, kColumnLowest, kCutting);
  ctx_.rows.SetCellText(row, kColumnHighest, kCutting);
  ctx_.rows.RepaintNow();

  const std::string logPath = plat::JoinPath(dir_.path, logName);
  const std::string backupPath = plat::JoinPath(dir_.path, backup);
  int err = 0;
  if (!plat::RenameNoReplace(logPath, backupPath, &err)) {
    ctx_.messenger.FileError(plat::RenameSubject(logName, backup), err);
    RedrawRow(i);
    ctx_.rows.RepaintNow();
    return Next::Skipped;
  }

  ctx_.rows.BeginWaitCursor();
  const bool done = log.Open(backup) && log.Split(headerLines);
  if (done) {
    log.RecordUndo(dir_.Generation(entry.room), headerLines, ctx_.doc.m_nArcType);
    RedrawRow(i);
    ctx_.rows.RepaintNow();
    ctx_.rows.EndWaitCursor();
    log.Close();
    return Next::Split;
  }

  log.Close();
  if (!plat::RenameNoReplace(backupPath, logPath, &err)) {
    ctx_.messenger.FileError(plat::RenameSubject(backup, logName), err);
    ctx_.rows.EndWaitCursor();
    return Next::Remove;
  }
  plat::FileStatus status;
  if (plat::GetFileStatus(logPath, &status)) {
    entry.modificationTime = status.mtime;
  } else {
    entry.lowest = kNoLowest;
    entry.highest = kNoHighest;
  }
  RedrawRow(i);
  ctx_.rows.RepaintNow();
  ctx_.rows.EndWaitCursor();
  return Next::Skipped;
}

}  // namespace

const CFileEntry* FindStaleEntry(const CDirectory& dir, RoomSet rooms) {
  for (const auto& entry : dir.entries) {
    if (!RoomInSet(rooms, entry->room)) continue;
    if (entry->lowest < 1 || entry->highest >= kNoHighest || !SameTime(dir, *entry)) return entry.get();
  }
  return nullptr;
}

SplitReport SplitRooms(CommandContext& ctx, int number, int kindSet, RoomSet rooms, bool singleRoom) {
  SplitReport report;
  CDirectory* dir = ctx.doc.CurrentFolder();
  if (!dir) return report;

  RoomTables tables;
  tables.low.fill(kNoHighest);
  tables.high.fill(0);
  tables.naming.fill(kNamingFresh);
  for (const auto& entry : dir->entries) {
    if (!TakesPart(*entry, rooms, kindSet)) continue;
    const std::size_t room = static_cast<std::size_t>(entry->room);
    tables.low[room] = std::min(tables.low[room], entry->lowest);
    tables.high[room] = std::max(tables.high[room], entry->highest);
  }

  FileSplitter splitter(ctx, *dir, tables, singleRoom, number);
  std::size_t i = 0;
  while (i < dir->entries.size()) {
    if (!TakesPart(*dir->entries[i], rooms, kindSet)) {
      ++i;
      continue;
    }
    switch (splitter.Split(i)) {
      case FileSplitter::Next::Split:
        ++report.split;
        ++i;
        break;
      case FileSplitter::Next::Skipped:
        ++report.skipped;
        ++i;
        break;
      case FileSplitter::Next::Remove:
        // The following entry moves up into position i.
        ++report.skipped;
        dir->entries.erase(dir->entries.begin() + static_cast<std::ptrdiff_t>(i));
        ctx.rows.DeleteRow(static_cast<int>(i));
        ctx.rows.RepaintNow();
        break;
      case FileSplitter::Next::StopChanged:
        report.stoppedChanged = true;
        OnAnalyze(ctx);
        return report;
      case FileSplitter::Next::StopNaming:
        report.stoppedNaming = true;
        ++report.skipped;
        return report;
    }
  }
  for (int room = kFirstRoom; room <= kLastRoom; ++room) {
    if (RoomInSet(rooms, room)) dir->RaiseGeneration(room);
  }
  report.reachedEnd = true;
  return report;
}

SplitOutcome OnSplit(CommandContext& ctx, SplitDialogPort& dialogs) {
  SplitOutcome outcome;
  CDirectory* dir = ctx.doc.CurrentFolder();
  if (!dir) return outcome;
  RoomSet rooms = 0;
  bool single = false;
  if (!CollectSelectedRooms(ctx.rows, *dir, rooms, single) || rooms == 0) return outcome;

  if (const CFileEntry* stale = FindStaleEntry(*dir, rooms)) {
    outcome.kind = SplitOutcome::Kind::Analysed;
    outcome.staleFile = stale->name;
    OnAnalyze(ctx);
    return outcome;
  }

  int number = 0;
  int kindIndex = kKindIndexBoth;
  if (single) {
    SplitSingleValues values = PrepareSplitSingle(*dir, rooms, ctx.doc);
    if (!dialogs.RunSplitSingle(values)) {
      outcome.kind = SplitOutcome::Kind::Cancelled;
      return outcome;
    }
    ctx.doc.m_nArcType = values.m_nForm;
    ctx.doc.m_nSepMethod = values.m_nMethod;
    number = values.m_nNumber;
    kindIndex = values.m_nKindIndex;
  } else {
    SplitMultiValues values = PrepareSplitMulti(ctx.doc);
    if (!dialogs.RunSplitMulti(values)) {
      outcome.kind = SplitOutcome::Kind::Cancelled;
      return outcome;
    }
    ctx.doc.m_nArcType = values.m_nForm;
    ctx.doc.m_nSepMethod = values.m_nMethod;
    number = values.m_nNumber;
    kindIndex = values.m_nKindIndex;
  }

  if (ctx.messenger.BoxToUser(kMsgConfirmSplit, MsgStyle{MsgButtons::YesNo, MsgIcon::None}) != MsgResult::Yes) {
    outcome.kind = SplitOutcome::Kind::Declined;
    return outcome;
  }
  outcome.kind = SplitOutcome::Kind::Ran;
  outcome.report = SplitRooms(ctx, number, KindSetFromIndex(kindIndex), rooms, single);
  return outcome;
}
