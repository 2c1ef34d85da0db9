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

}  // namespace

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
  // now and no later undo takes it back.
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
    if (entry.undoList.empty()) {
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
      entry.undoList.clear();
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
    const commit::UndoResult undone = commit::RunUndo(plan);
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

    while (!entry.undoList.empty() && entry.undoList.back().generation >= generation) {
      entry.undoList.pop_back();
    }
    ++report.restored;
    redraw();
    ++i;
  }
  return report;
}
