#include "batch/batch_run.h"

#include <filesystem>

#include "batch/batch_dialogs.h"
#include "commands/analyze_command.h"
#include "commands/export_command.h"
#include "commands/split_command.h"
#include "commands/split_dialog_logic.h"
#include "commands/undo_command.h"
#include "model/directory.h"
#include "platform/confined_path.h"
#include "platform/file_ops.h"

namespace {

std::string FolderName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

bool IsRecorded(const CDirectory& dir, const std::string& oldLogName) {
  for (const auto& entry : dir.entries) {
    for (const CUndo& record : entry->undoList) {
      if (record.oldLogName == oldLogName) return true;
    }
  }
  return false;
}

}  // namespace

BatchRun::BatchRun(const std::string& forumPath, std::FILE* out, std::FILE* err,
                   const Clock* clock)
    : out_(out),
      err_(err),
      clock_(clock ? *clock : systemClock_),
      messages_(err),
      messenger_(messages_, mode_),
      progress_(err),
      doc_(profile_, false, &clock_),
      rows_(doc_, mode_),
      ctx_{doc_, rows_, messenger_, progress_, clock_} {
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
  if (command.verb == BatchCommand::Verb::Split && command.method == 1 && command.number &&
      *command.number == 0) {
    SplitMultiValues values;
    values.m_nMethod = 1;
    values.m_nNumber = 0;
    CheckMultiOk(values, messenger_);
    return kExitUsage;
  }
  return kExitDone;
}

int BatchRun::Run(const BatchCommand& command, bool inSession) {
  switch (command.verb) {
    case BatchCommand::Verb::List: return List();
    case BatchCommand::Verb::Analyze: return Analyze(command);
    case BatchCommand::Verb::Split: return Split(command, inSession);
    case BatchCommand::Verb::Undo: return Undo(command);
    case BatchCommand::Verb::Export: return Export();
  }
  return kExitUsage;
}

int BatchRun::NoRowsOfRooms() {
  std::fprintf(err_, "kiv-batch: no log file of those rooms in %s\n", doc_.CurrentFolder()->path.c_str());
  return kExitIncomplete;
}

int BatchRun::List() {
  Refresh();
  rows_.Print(out_);
  std::fflush(out_);
  return kExitDone;
}

int BatchRun::Analyze(const BatchCommand& command) {
  Refresh();
  rows_.SelectRooms(command.rooms, !command.roomsGiven);
  const AnalyzeReport report = OnAnalyze(ctx_);
  rows_.Print(out_);
  std::fflush(out_);
  return report.failed > 0 ? kExitIncomplete : kExitDone;
}

int BatchRun::Split(const BatchCommand& command, bool inSession) {
  Refresh();
  rows_.SelectRooms(command.rooms, false);
  doc_.m_nArcType = command.form;
  doc_.m_nSepMethod = command.method;
  const int backUp = doc_.m_nBackUp;
  if (command.bak) doc_.m_nBackUp = 0;
  messages_.SetOverwriteBackups(command.overwrite);

  BatchDialogs dialogs(command, messenger_);
  SplitOutcome outcome = OnSplit(ctx_, dialogs);
  if (outcome.kind == SplitOutcome::Kind::Analysed) outcome = OnSplit(ctx_, dialogs);
  doc_.m_nBackUp = backUp;

  int status = kExitDone;
  switch (outcome.kind) {
    case SplitOutcome::Kind::Nothing:
      return NoRowsOfRooms();
    case SplitOutcome::Kind::Analysed:
      std::fprintf(err_, "kiv-batch: split stopped: %s has no message range to split by, even after analysis\n",
                   outcome.staleFile.c_str());
      return kExitIncomplete;
    case SplitOutcome::Kind::Cancelled:
    case SplitOutcome::Kind::Declined:
      std::fprintf(err_, "kiv-batch: split refused: %s\n", dialogs.reason().c_str());
      return inSession ? kExitIncomplete : kExitUsage;
    case SplitOutcome::Kind::Ran: {
      const SplitReport& r = outcome.report;
      if (r.skipped > 0 || r.stoppedChanged || r.stoppedNaming) status = kExitIncomplete;
      break;
    }
  }
  if (command.exportAfter && Export() != kExitDone) status = kExitIncomplete;
  return status;
}

int BatchRun::Undo(const BatchCommand& command) {
  Refresh();
  rows_.SelectRooms(command.rooms, false);
  bool any = false;
  for (int i = 0; i < rows_.RowCount(); ++i) any = any || rows_.IsRowSelected(i);
  if (!any) return NoRowsOfRooms();
  const std::vector<std::string> oldLogs = OldLogsOfSelectedRows();
  const UndoReport report = UndoSelected(ctx_);
  if (report.failed > 0) return kExitIncomplete;
  if (report.restored == 0) {
    std::fprintf(err_, "kiv-batch: nothing undone: no log of those rooms has a split of this run to take back\n");
    return kExitIncomplete;
  }
  // The old logs of a split taken back go with it; one still there was not
  // deleted and would be taken for an archive of the host's.
  int status = kExitDone;
  const CDirectory& dir = *doc_.CurrentFolder();
  for (const std::string& name : oldLogs) {
    if (!IsRecorded(dir, name) && plat::FileExists(plat::JoinPath(dir.path, name))) {
      std::fprintf(err_, "kiv-batch: undo left %s behind: it could not be deleted\n", name.c_str());
      status = kExitIncomplete;
    }
  }
  return status;
}

std::vector<std::string> BatchRun::OldLogsOfSelectedRows() const {
  std::vector<std::string> names;
  const CDirectory* dir = doc_.CurrentFolder();
  for (int i = 0; dir && i < rows_.RowCount() && i < static_cast<int>(dir->entries.size()); ++i) {
    if (!rows_.IsRowSelected(i)) continue;
    for (const CUndo& record : dir->entries[static_cast<std::size_t>(i)]->undoList) names.push_back(record.oldLogName);
  }
  return names;
}

int BatchRun::Finish(int status) {
  const CDirectory* dir = doc_.CurrentFolder();
  if (!dir) return status;
  bool anyRecord = false;
  for (const auto& entry : dir->entries) anyRecord = anyRecord || !entry->undoList.empty();
  int err = 0;
  const std::string history = dir->HistoryFilePath();
  if (anyRecord && !plat::IsConfinedFile(dir->path, history, &err)) {
    messenger_.FileError(std::filesystem::path(history).filename().string(), err);
    return kExitIncomplete;
  }
  return status;
}

int BatchRun::Export() {
  Refresh();
  const ExportReport report = OnExportHeaders(ctx_);
  return report.failed ? kExitIncomplete : kExitDone;
}
