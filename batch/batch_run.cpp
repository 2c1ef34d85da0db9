#include "batch/batch_run.h"

#include <algorithm>

#include "batch/batch_dialogs.h"
#include "batch/dry_run_report.h"
#include "commands/analyze_command.h"
#include "commands/export_command.h"
#include "commands/forum_repair.h"
#include "commands/forum_writer.h"
#include "commands/split_command.h"
#include "commands/split_dialog_logic.h"
#include "commands/undo_command.h"
#include "model/directory.h"
#include "platform/confined_path.h"
#include "platform/console.h"
#include "platform/interrupt.h"

namespace {

std::string FolderName(const std::string& path) { return plat::BaseName(path); }

}  // namespace

BatchRun::BatchRun(const std::string& forumPath, std::FILE* out, std::FILE* err, const Clock* clock)
    : out_(out),
      err_(err),
      clock_(clock ? *clock : systemClock_),
      messages_(err),
      messenger_(messages_, mode_),
      decisions_(messenger_),
      progress_(err),
      doc_(profile_, false, &clock_),
      rows_(doc_, mode_),
      ctx_{doc_, rows_, messenger_, decisions_, progress_, clock_} {
  CDirectory* dir = doc_.folders().Create(FolderName(forumPath), forumPath);
  dir->LoadRoomNames();
  doc_.SetCurrentFolder(dir);
  doc_.AddView(&rows_);
}

BatchRun::~BatchRun() {
  doc_.RemoveView(&rows_);
  doc_.Shutdown();
}

void BatchRun::Refresh() { doc_.UpdateAllViews(nullptr, kHintGeneral); }

int BatchRun::Check(const BatchCommand& command) {
  if (command.verb == BatchCommand::Verb::Split && command.method == SplitMethod::Multiple && command.number &&
      *command.number == 0) {
    SplitMultiValues values;
    values.m_nMethod = SplitMethod::Multiple;
    values.m_nNumber = 0;
    CheckMultiOk(values, messenger_);
    return kExitUsage;
  }
  return kExitDone;
}

int BatchRun::Run(const BatchCommand& command, bool inSession) {
  switch (command.verb) {
    case BatchCommand::Verb::List: return List(command);
    case BatchCommand::Verb::Analyze: return Analyze(command);
    case BatchCommand::Verb::Split: return Split(command, inSession);
    case BatchCommand::Verb::Undo: return Undo(command);
    case BatchCommand::Verb::Export: return Export();
  }
  return kExitUsage;
}

int BatchRun::HoldForum() {
  return HoldForumForWriting(forum_, messenger_, doc_.CurrentFolder()->path, plat::kLockHolderBatch) ? kExitDone
                                                                                                     : kExitIncomplete;
}

int BatchRun::Repair() {
  const std::string& path = doc_.CurrentFolder()->path;
  const RepairReport report =
      forum_.held() ? RepairForumFolder(messenger_, path) : RepairForumIfFree(messenger_, path, plat::kLockHolderBatch);
  return report.problems > 0 ? kExitIncomplete : kExitDone;
}

int BatchRun::NoRowsOfRooms() {
  std::fprintf(err_, "kiv-batch: no log file of those rooms in %s\n", doc_.CurrentFolder()->path.c_str());
  return kExitIncomplete;
}

void BatchRun::PrintRows(const BatchCommand& command) {
  if (command.json) {
    rows_.PrintJson(out_);
  } else {
    rows_.Print(out_);
  }
  std::fflush(out_);
}

int BatchRun::List(const BatchCommand& command) {
  Refresh();
  PrintRows(command);
  return kExitDone;
}

int BatchRun::AnalyzeQuietly(RoomSet rooms, bool allRooms) {
  Refresh();
  rows_.SelectRooms(rooms, allRooms);
  const AnalyzeReport report = OnAnalyze(ctx_);
  return report.failed > 0 ? kExitIncomplete : kExitDone;
}

int BatchRun::Analyze(const BatchCommand& command) {
  const int status = AnalyzeQuietly(command.rooms, !command.roomsGiven);
  PrintRows(command);
  return status;
}

std::vector<RoomRange> BatchRun::RoomRanges(RoomSet rooms, bool allRooms) const {
  std::vector<RoomRange> ranges;
  for (int room = kFirstRoom; room <= kLastRoom; ++room) {
    if (!allRooms && !RoomInSet(rooms, room)) continue;
    RoomRange range{room, kNoHighest, 0, true};
    bool any = false;
    for (const auto& entry : doc_.CurrentFolder()->entries) {
      if (entry->room != room || (entry->kind != kKindBody && entry->kind != kKindTitle)) continue;
      any = true;
      range.known = range.known && entry->RangeKnown();
      range.lowest = std::min(range.lowest, entry->lowest);
      range.highest = std::max(range.highest, entry->RangeKnown() ? entry->highest : 0);
    }
    if (any) ranges.push_back(range);
  }
  return ranges;
}

int BatchRun::Split(const BatchCommand& command, bool inSession) {
  if (command.dryRun) return DryRunSplit(command, inSession);
  const int status = SplitWithoutExport(command, inSession);
  if (lastSplit_.kind != SplitOutcome::Kind::Ran || plat::InterruptRequested()) return status;
  if (command.exportAfter && Export() != kExitDone) return kExitIncomplete;
  return status;
}

int BatchRun::DryRunSplit(const BatchCommand& command, bool inSession) {
  int status = TellsOfJournalsLeft() ? kExitIncomplete : kExitDone;
  SplitPreview preview;
  const int split = SplitWithoutExport(command, inSession, &preview);
  if (split != kExitDone) status = split;
  const DryRunReport report(out_, false);
  const std::string forum = FolderName(doc_.CurrentFolder()->path);
  report.Splits(forum, preview);
  if (command.exportAfter && lastSplit_.kind == SplitOutcome::Kind::Ran) {
    report.ListLines(forum, PlannedExport(preview), "append");
  }
  return status;
}

bool BatchRun::TellsOfJournalsLeft() {
  const std::string& path = doc_.CurrentFolder()->path;
  const std::string journal = JournalLeftIn(path);
  if (journal.empty()) return false;
  std::fprintf(err_,
               "kiv-batch: %s: a run cut short left %s; the real run finishes or takes it back first, so what it "
               "makes may differ from this plan\n",
               path.c_str(), journal.c_str());
  return true;
}

std::vector<std::string> BatchRun::PlannedExport(const SplitPreview& preview) const {
  return PlannedArchiveLines(*doc_.CurrentFolder(), preview);
}

int BatchRun::SplitWithoutExport(const BatchCommand& command, bool inSession, SplitPreview* preview) {
  Refresh();
  rows_.SelectRooms(command.rooms, false);
  // The command line, not the stored settings, says how to split; the
  // question whether to replace an earlier backup is asked, and answered
  // from --overwrite.
  SplitSettings settings;
  settings.form = command.form;
  settings.method = command.method;
  settings.backupPerGeneration = !command.bak;
  settings.overwrite = BackupOverwrite::Ask;
  decisions_.SetOverwriteBackups(command.overwrite);

  BatchDialogs dialogs(command, messenger_, decisions_);
  lastSplit_ = SplitSelectedRooms(ctx_, dialogs, settings, command.exportAfter, preview);
  if (lastSplit_.kind == SplitOutcome::Kind::Analysed) {
    lastSplit_ = SplitSelectedRooms(ctx_, dialogs, settings, command.exportAfter, preview);
  }
  const SplitOutcome& outcome = lastSplit_;

  switch (outcome.kind) {
    case SplitOutcome::Kind::Nothing: return NoRowsOfRooms();
    case SplitOutcome::Kind::Analysed:
      std::fprintf(err_, "kiv-batch: split stopped: %s has no message range to split by, even after analysis\n",
                   outcome.staleFile.c_str());
      return kExitIncomplete;
    case SplitOutcome::Kind::Busy:  // told already; never while the run holds its forum
      return kExitIncomplete;
    case SplitOutcome::Kind::Cancelled:
    case SplitOutcome::Kind::Declined:
      std::fprintf(err_, "kiv-batch: split refused: %s\n", dialogs.reason().c_str());
      return inSession ? kExitIncomplete : kExitUsage;
    case SplitOutcome::Kind::Ran: {
      const SplitReport& r = outcome.report;
      backups_.Add(r.backups);
      for (const int room : r.leftAlone) {
        std::fprintf(
            err_, "kiv-batch: room %d left alone: none of its logs holds a message at or below its cut point\n", room);
      }
      if (r.skipped > 0 || r.stoppedChanged || r.stoppedNaming || r.interrupted || r.onlyInBackup > 0) {
        return kExitIncomplete;
      }
      break;
    }
  }
  return plat::InterruptRequested() ? kExitIncomplete : kExitDone;
}

int BatchRun::Undo(const BatchCommand& command) {
  Refresh();
  rows_.SelectRooms(command.rooms, false);
  bool any = false;
  for (int i = 0; i < rows_.RowCount(); ++i) any = any || rows_.IsRowSelected(i);
  if (!any) return NoRowsOfRooms();
  const UndoReport report = UndoSelected(ctx_);
  if (report.failed > 0 || report.writtenAfterUndo > 0) return kExitIncomplete;
  if (report.oldLogsLeft > 0) {
    // They would be taken for archives of the host's.
    std::fprintf(err_, "kiv-batch: undo left %d old log(s) of the splits taken back: they could not be deleted\n",
                 report.oldLogsLeft);
    return kExitIncomplete;
  }
  if (report.restored == 0) {
    std::fprintf(err_, "kiv-batch: nothing undone: no log of those rooms has a split of this run to take back\n");
    return kExitIncomplete;
  }
  return kExitDone;
}

int BatchRun::Finish(int status) {
  const CDirectory* dir = doc_.CurrentFolder();
  if (!dir) return status;
  bool anyRecord = false;
  for (const auto& entry : dir->entries) anyRecord = anyRecord || !entry->undoList.empty();
  int err = 0;
  const std::string history = dir->HistoryFilePath();
  if (anyRecord && !plat::IsConfinedFile(dir->path, history, &err)) {
    messenger_.FileError(plat::BaseName(history), err);
    status = kExitIncomplete;
  }
  // The history is written as the document closes. A host that kept a log
  // open has had until now to write into its old file, or into the file an
  // undo displaced.
  if (SettleDisplacedLogs(messenger_, *doc_.CurrentFolder()) > 0) status = kExitIncomplete;
  doc_.RemoveView(&rows_);
  doc_.Shutdown();
  if (backups_.TellWrittenTo(messenger_) > 0) status = kExitIncomplete;
  return status;
}

int BatchRun::Export() {
  Refresh();
  lastExport_ = OnExportHeaders(ctx_);
  return lastExport_.failed ? kExitIncomplete : kExitDone;
}
