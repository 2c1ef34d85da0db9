#include "commands/undo_command.h"

#include <cerrno>
#include <string>

#include "commands/entry_row.h"
#include "commit/undo_commit.h"
#include "model/directory.h"
#include "model/entry_scan.h"
#include "model/kiv_doc.h"
#include "platform/file_error.h"
#include "platform/file_ops.h"
#include "ports/rows.h"
#include "resources/ids.h"

namespace {

// The newest record of the newest generation whose backup is still the file
// the split left behind; passedOver counts the generations looked at before.
const CUndo* ChooseRecord(const CDirectory& dir, const CFileEntry& entry, int& passedOver) {
  int lastGeneration = -1;
  passedOver = 0;
  for (auto it = entry.undoList.rbegin(); it != entry.undoList.rend(); ++it) {
    if (it->retired) break;  // older splits were retired with it
    if (it->generation == lastGeneration) continue;
    lastGeneration = it->generation;
    plat::FileStatus status;
    if (plat::GetFileStatus(plat::JoinPath(dir.path, it->backupName), &status) &&
        status.mtime == it->backupTime) {
      return &*it;
    }
    ++passedOver;
  }
  return nullptr;
}

// The records of the splits taken back go; their journals with them, for
// the old logs they kept lines for are gone.
void DropUndoneRecords(CFileEntry& entry, int generation) {
  while (!entry.undoList.empty() && entry.undoList.back().generation >= generation && !entry.undoList.back().retired) {
    std::shared_ptr<commit::Journal> journal = std::move(entry.undoList.back().journal);
    entry.undoList.pop_back();
    if (journal && journal.use_count() == 1) {
      commit::Fault ignored;
      journal->Remove(&ignored);
    }
  }
}

// Files the host wrote into after an undo displaced them are kept under a
// name of their own; the user hears of each.
int TellDisplacedWrittenTo(CommandContext& ctx, CDirectory& dir) {
  int told = 0;
  for (auto& displaced : dir.displacedLogs) {
    const std::string keptAs = displaced->Check();
    if (keptAs.empty()) continue;
    ctx.messenger.Box(ids::kMsgWrittenAfterUndo, keptAs, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    ++told;
  }
  return told;
}

}  // namespace

int SettleDisplacedLogs(Messenger& messenger, CDirectory& dir) {
  int told = 0;
  for (auto& displaced : dir.displacedLogs) {
    const std::string keptAs = displaced->Settle();
    if (keptAs.empty()) continue;
    messenger.Box(ids::kMsgWrittenAfterUndo, keptAs, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    ++told;
  }
  dir.displacedLogs.clear();
  return told;
}

UndoReport UndoSelected(CommandContext& ctx) {
  UndoReport report;
  CDirectory* dir = ctx.doc.CurrentFolder();
  if (!dir) return report;
  const CompanionMode& mode = ctx.messenger.mode();

  std::size_t i = 0;
  auto removeEntry = [&]() {
    dir->entries.erase(dir->entries.begin() + static_cast<std::ptrdiff_t>(i));
    ctx.rows.DeleteRow(static_cast<int>(i));
    ctx.rows.RepaintNow();
  };
  auto redraw = [&]() {
    RedrawEntryRow(ctx.rows, static_cast<int>(i), *dir, *dir->entries[i], mode);
    ctx.rows.RepaintNow();
  };
  // The host wrote to the log after its split: a backup put in its place
  // would lose those messages. The log stays as it is, and the entry becomes
  // what a rescan makes of a changed log, so the row shows the log as it is
  // now and no later undo takes it back; the old logs keep their records
  // for the history and the export.
  auto leaveWrittenLog = [&](CFileEntry& entry, const plat::FileIdentity& now) {
    ctx.messenger.Box(ids::kMsgWrittenSinceSplit, entry.name, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    RenewChangedEntry(entry, now.mtime, now.size);
    ++report.failed;
    ++report.writtenTo;
    redraw();
  };

  while (i < dir->entries.size()) {
    const int row = static_cast<int>(i);
    if (row >= ctx.rows.RowCount() || !ctx.rows.IsRowSelected(row)) {
      ++i;
      continue;
    }
    CFileEntry& entry = *dir->entries[i];
    if (!entry.CanUndo()) {
      ++i;
      continue;
    }
    const std::string logPath = plat::JoinPath(dir->path, entry.name);
    if (!plat::FileExists(logPath)) {
      ++report.failed;
      removeEntry();
      continue;
    }

    int passedOver = 0;
    const CUndo* chosen = ChooseRecord(*dir, entry, passedOver);
    if (!chosen) {
      ctx.messenger.BoxToUser(ids::kMsgNoUsableBackup, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
      entry.RetireUndoRecords();
      ++report.failed;
      redraw();
      ++i;
      continue;
    }
    plat::FileIdentity logNow;
    if (int err = 0; !plat::GetFileIdentity(logPath, &logNow, &err)) {
      // A log that can't be looked at can't be vouched for either.
      ctx.messenger.FileError(entry.name, err);
      ++report.failed;
      redraw();
      ++i;
      continue;
    }
    if (!(logNow == entry.logAsLeft)) {
      leaveWrittenLog(entry, logNow);
      ++i;
      continue;
    }
    const int generation = chosen->generation;
    const std::string backupName = chosen->backupName;
    const int previousLowest = chosen->previousLowest;
    const int previousHighest = chosen->previousHighest;
    if (passedOver != 0) {
      ctx.messenger.Box(ids::kMsgGenerationsBack, std::to_string(passedOver + 1),
                        MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    }

    // The backup takes the log's name in one step and the old logs of the
    // splits taken back go, under a journal: an undo cut short is finished
    // by the next run.
    commit::UndoPlan plan;
    plan.folder = dir->path;
    plan.logName = entry.name;
    plan.backupName = backupName;
    plan.log = logNow;
    for (auto it = entry.undoList.rbegin(); it != entry.undoList.rend() && it->generation >= generation; ++it) {
      plan.oldLogs.push_back(it->oldLogName);
    }
    if (!plat::GetFileIdentity(plat::JoinPath(dir->path, backupName), &plan.backup)) {
      ctx.messenger.FileError(backupName, ENOENT);
      ++report.failed;
      redraw();
      ++i;
      continue;
    }
    commit::UndoResult undone = commit::RunUndo(plan);
    if (undone.logWrittenTo) {
      // Read again for the row; one that can't be read keeps time 0, which
      // the next rescan takes for a changed file.
      plat::FileIdentity written;
      plat::GetFileIdentity(logPath, &written);
      leaveWrittenLog(entry, written);
      ++i;
      continue;
    }
    if (undone.outcome != commit::Outcome::Done) {
      // The log and the backup are as they were; the records stay for another try.
      ctx.messenger.FileError(undone.fault.subject, undone.fault.err);
      ++report.failed;
      redraw();
      ++i;
      continue;
    }
    report.oldLogsLeft += undone.oldLogsLeft;
    dir->displacedLogs.push_back(std::move(undone.displaced));

    plat::FileStatus status;
    if (!plat::GetFileStatus(logPath, &status)) {
      ++report.failed;
      removeEntry();
      continue;
    }
    entry.modificationTime = status.mtime;
    entry.size = status.size;
    entry.lowest = previousLowest;
    entry.highest = previousHighest;
    entry.logAsLeft = plan.backup;  // the backup is the log now

    DropUndoneRecords(entry, generation);
    ++report.restored;
    redraw();
    ++i;
  }
  report.writtenAfterUndo = TellDisplacedWrittenTo(ctx, *dir);
  return report;
}
