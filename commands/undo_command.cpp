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
#include "platform/interrupt.h"
#include "ports/rows.h"
#include "resources/ids.h"

namespace {

// What became of one file of the undo, as the report counts it and the row
// shows it.
enum class Undone {
  NotAsked,   // not selected, or nothing to take back: the row stays as it is
  Restored,   // the backup is the log again
  Failed,     // left as it is; the row shows the file as it is now
  WrittenTo,  // the host wrote to the log since its split: left as it is
  LogGone,    // the log is gone: its entry and its row go
};

// The generation an undo takes back, copied out of the record it chose: the
// records go once it is taken back.
struct Chosen {
  int passedOver = 0;  // newer generations whose backups are no longer the files their splits left
  int generation = 0;
  std::string backupName;
  int previousLowest = 0;
  int previousHighest = 0;
};

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
    if (plat::GetFileStatus(plat::JoinPath(dir.path, it->backupName), &status) && status.mtime == it->backupTime) {
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

// The undo of one file at a time, in its steps: choose the generation to
// take back, check the log was not written since its split, plan, commit,
// and bring the entry up to date. Each step tells the user of its own
// failure; the caller counts the outcome and redraws or deletes the row.
class FileUndoer {
 public:
  FileUndoer(CommandContext& context, CDirectory& dir) : ctx(context), dir_(dir) {}

  Undone Undo(std::size_t i);
  // Old logs of the splits taken back that could not be deleted, so far.
  int oldLogsLeft() const { return oldLogsLeft_; }

 private:
  bool Asked(std::size_t i) const;
  bool ChooseGeneration(CFileEntry& entry, Chosen* chosen);
  bool LogAsLeft(CFileEntry& entry, const std::string& logPath, plat::FileIdentity* now, Undone* otherwise);
  Undone LeaveWrittenLog(CFileEntry& entry, const plat::FileIdentity& now);
  void TellGenerationsBack(int passedOver);
  bool MakePlan(const CFileEntry& entry, const Chosen& chosen, const plat::FileIdentity& logNow,
                commit::UndoPlan* plan);
  Undone Commit(CFileEntry& entry, const commit::UndoPlan& plan);
  Undone RenewEntry(CFileEntry& entry, const Chosen& chosen, const commit::UndoPlan& plan);
  std::string LogPath(const CFileEntry& entry) const { return plat::JoinPath(dir_.path, entry.name); }

  CommandContext& ctx;
  CDirectory& dir_;
  int oldLogsLeft_ = 0;
};

Undone FileUndoer::Undo(std::size_t i) {
  if (!Asked(i)) return Undone::NotAsked;
  CFileEntry& entry = *dir_.entries[i];
  const std::string logPath = LogPath(entry);
  if (!plat::FileExists(logPath)) return Undone::LogGone;
  Chosen chosen;
  if (!ChooseGeneration(entry, &chosen)) return Undone::Failed;
  plat::FileIdentity logNow;
  if (Undone otherwise; !LogAsLeft(entry, logPath, &logNow, &otherwise)) return otherwise;
  TellGenerationsBack(chosen.passedOver);
  commit::UndoPlan plan;
  if (!MakePlan(entry, chosen, logNow, &plan)) return Undone::Failed;
  if (const Undone committed = Commit(entry, plan); committed != Undone::Restored) return committed;
  return RenewEntry(entry, chosen, plan);
}

bool FileUndoer::Asked(std::size_t i) const {
  const int row = static_cast<int>(i);
  return row < ctx.rows.RowCount() && ctx.rows.IsRowSelected(row) && dir_.entries[i]->CanUndo();
}

// With no backup left intact, nothing can be taken back: the records are
// retired so no later undo tries them again.
bool FileUndoer::ChooseGeneration(CFileEntry& entry, Chosen* chosen) {
  int passedOver = 0;
  const CUndo* record = ChooseRecord(dir_, entry, passedOver);
  if (!record) {
    ctx.messenger.BoxToUser(ids::kMsgNoUsableBackup, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    entry.RetireUndoRecords();
    return false;
  }
  *chosen = Chosen{.passedOver = passedOver,
                   .generation = record->generation,
                   .backupName = record->backupName,
                   .previousLowest = record->previousLowest,
                   .previousHighest = record->previousHighest};
  return true;
}

// Whether the log is still the file its split left behind; otherwise says
// what became of the file.
bool FileUndoer::LogAsLeft(CFileEntry& entry, const std::string& logPath, plat::FileIdentity* now, Undone* otherwise) {
  if (int err = 0; !plat::GetFileIdentity(logPath, now, &err)) {
    // A log that can't be looked at can't be vouched for either.
    ctx.messenger.FileError(entry.name, err);
    *otherwise = Undone::Failed;
    return false;
  }
  if (*now == entry.logAsLeft) return true;
  *otherwise = LeaveWrittenLog(entry, *now);
  return false;
}

// The host wrote to the log after its split: a backup put in its place
// would lose those messages. The log stays as it is, and the entry becomes
// what a rescan makes of a changed log, so the row shows the log as it is
// now and no later undo takes it back; the old logs keep their records
// for the history and the export.
Undone FileUndoer::LeaveWrittenLog(CFileEntry& entry, const plat::FileIdentity& now) {
  ctx.messenger.Box(ids::kMsgWrittenSinceSplit, entry.name, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
  RenewChangedEntry(entry, now.mtime, now.size);
  return Undone::WrittenTo;
}

// The newest generations' backups were changed or are gone: the user hears
// how many generations back the undo goes.
void FileUndoer::TellGenerationsBack(int passedOver) {
  if (passedOver != 0) {
    ctx.messenger.Box(ids::kMsgGenerationsBack, std::to_string(passedOver + 1),
                      MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
  }
}

// The backup takes the log's name in one step and the old logs of the
// splits taken back go, under a journal: an undo cut short is finished by
// the next run.
bool FileUndoer::MakePlan(const CFileEntry& entry, const Chosen& chosen, const plat::FileIdentity& logNow,
                          commit::UndoPlan* plan) {
  const std::string& backupName = chosen.backupName;
  plan->folder = dir_.path;
  plan->logName = entry.name;
  plan->backupName = backupName;
  plan->log = logNow;
  for (auto it = entry.undoList.rbegin(); it != entry.undoList.rend() && it->generation >= chosen.generation; ++it) {
    plan->oldLogs.push_back(it->oldLogName);
  }
  if (!plat::GetFileIdentity(plat::JoinPath(dir_.path, backupName), &plan->backup)) {
    ctx.messenger.FileError(backupName, ENOENT);
    return false;
  }
  return true;
}

Undone FileUndoer::Commit(CFileEntry& entry, const commit::UndoPlan& plan) {
  commit::UndoResult undone = commit::RunUndo(plan);
  if (undone.logWrittenTo) {
    // Read again for the row; one that can't be read keeps time 0, which
    // the next rescan takes for a changed file.
    plat::FileIdentity written;
    plat::GetFileIdentity(LogPath(entry), &written);
    return LeaveWrittenLog(entry, written);
  }
  if (undone.outcome != commit::Outcome::Done) {
    // The log and the backup are as they were; the records stay for another try.
    ctx.messenger.FileError(undone.fault.subject, undone.fault.err);
    return Undone::Failed;
  }
  oldLogsLeft_ += undone.oldLogsLeft;
  dir_.displacedLogs.push_back(std::move(undone.displaced));
  return Undone::Restored;
}

// The backup is the log now: the entry takes its time, size and the range
// the log had before the splits taken back, whose records go.
Undone FileUndoer::RenewEntry(CFileEntry& entry, const Chosen& chosen, const commit::UndoPlan& plan) {
  plat::FileStatus status;
  if (!plat::GetFileStatus(LogPath(entry), &status)) return Undone::LogGone;
  entry.modificationTime = status.mtime;
  entry.size = status.size;
  entry.lowest = chosen.previousLowest;
  entry.highest = chosen.previousHighest;
  entry.logAsLeft = plan.backup;
  DropUndoneRecords(entry, chosen.generation);
  return Undone::Restored;
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

  FileUndoer undoer(ctx, *dir);
  std::size_t i = 0;
  while (i < dir->entries.size()) {
    // Stopped by the user between two files: what was taken back stays.
    if (plat::InterruptRequested()) {
      report.interrupted = true;
      break;
    }
    switch (undoer.Undo(i)) {
      case Undone::NotAsked: ++i; continue;
      case Undone::Restored:
        ++report.restored;
        report.restoredLogs.push_back(dir->entries[i]->name);
        break;
      case Undone::WrittenTo:
        ++report.writtenTo;
        ++report.failed;
        break;
      case Undone::Failed: ++report.failed; break;
      case Undone::LogGone:
        // The entry goes with its row; the next entry takes its index.
        ++report.failed;
        dir->entries.erase(dir->entries.begin() + static_cast<std::ptrdiff_t>(i));
        ctx.rows.DeleteRow(static_cast<int>(i));
        ctx.rows.RepaintNow();
        continue;
    }
    RedrawEntryRow(ctx.rows, static_cast<int>(i), *dir, *dir->entries[i], mode);
    ctx.rows.RepaintNow();
    ++i;
  }
  report.oldLogsLeft = undoer.oldLogsLeft();
  report.writtenAfterUndo = TellDisplacedWrittenTo(ctx, *dir);
  return report;
}
