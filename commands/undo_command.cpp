#include "commands/undo_command.h"

#include <string>

#include "commands/entry_row.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "platform/file_error.h"
#include "platform/file_ops.h"
#include "ports/rows.h"

namespace {

constexpr int kMsgNoUsableBackup = 49672;   // caption 49673
constexpr int kMsgGenerationsBack = 49952;  // caption 49953

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

// A free name beside the log to hold it while the backup takes its place.
std::string AsideName(const CDirectory& dir, const std::string& logName) {
  for (int n = 0;; ++n) {
    std::string name = logName + ".undo" + (n == 0 ? std::string() : std::to_string(n));
    if (!plat::FileExists(plat::JoinPath(dir.path, name))) return name;
  }
}

enum class Swap { Done, LogStuck, BackupStuck };

// Puts the backup in the log's place. The log is first moved aside and only
// deleted once the backup holds its name, so a rename that fails leaves both
// files as they were.
Swap PutBackupInPlace(CommandContext& ctx, const CDirectory& dir, const std::string& logName,
                      const std::string& backupName) {
  const std::string logPath = plat::JoinPath(dir.path, logName);
  const std::string aside = AsideName(dir, logName);
  const std::string asidePath = plat::JoinPath(dir.path, aside);
  int err = 0;
  if (!plat::RenameNoReplace(logPath, asidePath, &err)) {
    ctx.messenger.FileError(logName, err);
    return Swap::LogStuck;
  }
  if (!plat::RenameNoReplace(plat::JoinPath(dir.path, backupName), logPath, &err)) {
    ctx.messenger.FileError(plat::RenameSubject(backupName, logName), err);
    int backErr = 0;
    if (!plat::RenameNoReplace(asidePath, logPath, &backErr)) {
      ctx.messenger.FileError(plat::RenameSubject(aside, logName), backErr);
    }
    return Swap::BackupStuck;
  }
  if (!plat::DeleteFile(asidePath, &err)) ctx.messenger.FileError(aside, err);
  return Swap::Done;
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
      ctx.messenger.BoxToUser(kMsgNoUsableBackup, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
      entry.undoList.clear();
      ++report.failed;
      redraw();
      ++i;
      continue;
    }
    const int generation = chosen->generation;
    const std::string backupName = chosen->backupName;
    const int previousLowest = chosen->previousLowest;
    const int previousHighest = chosen->previousHighest;
    if (passedOver != 0) {
      ctx.messenger.Box(kMsgGenerationsBack, std::to_string(passedOver + 1),
                        MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    }

    switch (PutBackupInPlace(ctx, *dir, entry.name, backupName)) {
      case Swap::LogStuck:
        entry.undoList.clear();
        ++report.failed;
        redraw();
        ++i;
        continue;
      case Swap::BackupStuck:
        // Both files are where they were; the records stay for another try.
        ++report.failed;
        redraw();
        ++i;
        continue;
      case Swap::Done:
        break;
    }

    plat::FileStatus status;
    if (!plat::GetFileStatus(logPath, &status)) {
      ++report.failed;
      removeEntry();
      continue;
    }
    entry.modificationTime = status.mtime;
    entry.size = status.size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(status.size);
    entry.lowest = previousLowest;
    entry.highest = previousHighest;

    while (!entry.undoList.empty() && entry.undoList.back().generation >= generation) {
      plat::DeleteFile(plat::JoinPath(dir->path, entry.undoList.back().oldLogName));
      entry.undoList.pop_back();
    }
    ++report.restored;
    redraw();
    ++i;
  }
  return report;
}
