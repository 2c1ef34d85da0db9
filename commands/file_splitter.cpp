#include "commands/file_splitter.h"

#include "commands/backup_name.h"
#include "engine/engine_messages.h"
#include "engine/log_file.h"
#include "model/undo_history.h"
#include "platform/file_ops.h"
#include "ports/decisions.h"
#include "ports/rows.h"
#include "resources/ids.h"

namespace {

constexpr const char kCutting[] = "cutting..";

// What a split changes in an entry, put back when the split is taken back.
void RestoreEntry(CFileEntry& entry, const CFileEntry& before) {
  entry.lowest = before.lowest;
  entry.highest = before.highest;
  entry.modificationTime = before.modificationTime;
  entry.size = before.size;
}

}  // namespace

bool FileSplitter::BackupNameFree(const std::string& backup, bool* replace) {
  *replace = false;
  if (!plat::FileExists(plat::JoinPath(dir_.path, backup))) return true;
  switch (request_.overwrite) {
    case BackupOverwrite::Ask:
      if (!ctx_.decisions.OverwriteBackup(backup)) return false;
      break;
    case BackupOverwrite::Overwrite: break;
    case BackupOverwrite::Keep: return false;
  }
  // The old backup goes only in the commit, once the new files are whole.
  *replace = true;
  return true;
}

// What the old logs are owed once the split is done, for the journal to
// carry: one record per old log, as RecordUndo makes them.
commit::Aftercare FileSplitter::AftercareOf(const CFileEntry& entry, const std::vector<std::string>& names,
                                            const std::vector<std::string>& headerLines) const {
  commit::Aftercare care;
  care.historyName = UndoHistoryName(dir_);
  care.stamp = UndoHistoryStamp(ctx_.clock.Now());
  care.exportAsked = request_.exportAsked;
  care.archiveForm = request_.form == NamingForm::Archive;
  care.titleLog = entry.kind == kKindTitle;
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    care.records.emplace_back(names[i], i < headerLines.size() ? headerLines[i] : std::string());
  }
  return care;
}

// Names the old logs and the backup; nothing when the file is to be split,
// else what became of it.
std::optional<FileSplitter::Next> FileSplitter::PlanSplit(CLogFile& log, const CFileEntry& entry,
                                                          commit::SplitPlan& plan,
                                                          std::vector<std::string>& headerLines,
                                                          const std::vector<std::string>& alsoTaken) {
  const std::size_t room = static_cast<std::size_t>(entry.room);
  std::optional<CNameError> naming =
      log.MakeOldLogNames(CutValue(request_, tables_, entry.room), tables_.low[room], tables_.high[room], request_.form,
                          request_.method, tables_.naming[room], alsoTaken);
  if (naming) {
    ShowNameError(ctx_.messenger, *naming);
    return (tables_.naming[room] & kNamingError) != 0 ? Next::Skipped : Next::StopNaming;
  }
  log.MakeHeaderLines(dir_.name, dir_.RoomName(entry.room), headerLines);

  plan.folder = dir_.path;
  plan.logName = entry.name;
  plan.backupName = BackupFileName(entry.name, request_.backupPerGeneration, dir_.Generation(entry.room));
  plan.outputNames = log.names();
  plan.aftercare = AftercareOf(entry, plan.outputNames, headerLines);
  if (!BackupNameFree(plan.backupName, &plan.replaceBackup)) return Next::Skipped;
  return std::nullopt;
}

// The log is read where it lies; the outputs are written under temporary
// names and take their places only in the commit.
FileSplitter::Next FileSplitter::WriteAndCommit(std::size_t i, CLogFile& log, commit::SplitPlan& plan,
                                                const std::vector<std::string>& headerLines) {
  CFileEntry& entry = *dir_.entries[i];
  commit::SplitCommit transaction;
  commit::Fault fault;
  if (!transaction.Begin(plan, &fault)) {
    ctx_.messenger.FileError(fault.subject, fault.err);
    RedrawRow(i);
    ctx_.rows.RepaintNow();
    return Next::Skipped;
  }
  const CFileEntry before = entry;
  ctx_.rows.BeginWaitCursor();
  log.SetOutputNames(plan.tempNames);
  const bool written = log.Open() && log.Split(headerLines);
  const plat::FileIdentity source = log.SourceIdentity();
  log.Close();

  auto takeBack = [&](Next next) {
    transaction.Abandon();
    RestoreEntry(entry, before);
    RedrawRow(i);
    ctx_.rows.RepaintNow();
    ctx_.rows.EndWaitCursor();
    return next;
  };
  if (!written) return takeBack(log.interrupted() ? Next::Interrupted : Next::Skipped);

  // The host may have written to the log while it was read: what it wrote
  // is in no output, so this split is taken back and the log analysed again.
  plat::FileIdentity now;
  if (!plat::GetFileIdentity(plat::JoinPath(dir_.path, plan.logName), &now) || !(now == source)) {
    takeBack(Next::StopChanged);
    ctx_.messenger.Box(ids::kMsgChangedSinceAnalysis, plan.logName, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    return Next::StopChanged;
  }

  const commit::Outcome outcome = transaction.Commit(source, &fault);
  if (outcome != commit::Outcome::Done) {
    ctx_.messenger.FileError(fault.subject, fault.err);
    RestoreEntry(entry, before);
    // Left half way, the next run finishes it or takes it back; until then
    // the log's range is not to be trusted.
    if (outcome == commit::Outcome::Stuck) entry.ForgetRange();
    RedrawRow(i);
    ctx_.rows.RepaintNow();
    ctx_.rows.EndWaitCursor();
    return Next::Skipped;
  }
  backups_.Add(dir_.path, plan.backupName, source);
  made_.insert(made_.end(), plan.outputNames.begin(), plan.outputNames.end() - 1);  // the last is the log
  entry.logAsLeft = transaction.newLog();
  const std::size_t recordsBefore = entry.undoList.size();
  log.RecordUndo(dir_.Generation(entry.room), headerLines, request_.form, plan.backupName);
  for (std::size_t r = recordsBefore; r < entry.undoList.size(); ++r) entry.undoList[r].journal = transaction.held();
  RedrawRow(i);
  ctx_.rows.RepaintNow();
  ctx_.rows.EndWaitCursor();
  return Next::Split;
}

FileSplitter::Next FileSplitter::Split(std::size_t i, SplitPreview* preview) {
  CFileEntry& entry = *dir_.entries[i];
  if (!SameTime(dir_, entry)) {
    ctx_.messenger.Box(ids::kMsgChangedSinceAnalysis, entry.name, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    return Next::StopChanged;
  }
  CLogFile log(dir_.path, &entry, ctx_.messenger, ctx_.progress, ctx_.clock);
  commit::SplitPlan plan;
  std::vector<std::string> headerLines;
  const std::vector<std::string> planned = preview ? preview->PlannedNames() : std::vector<std::string>();
  if (const std::optional<Next> notSplit = PlanSplit(log, entry, plan, headerLines, planned)) return *notSplit;
  if (preview) return Measure(log, plan, headerLines, *preview);

  const int row = static_cast<int>(i);
  ctx_.rows.SetCellText(row, kColumnSize, "-");
  ctx_.rows.SetCellText(row, kColumnLowest, kCutting);
  ctx_.rows.SetCellText(row, kColumnHighest, kCutting);
  ctx_.rows.RepaintNow();
  return WriteAndCommit(i, log, plan, headerLines);
}

FileSplitter::Next FileSplitter::Measure(CLogFile& log, const commit::SplitPlan& plan,
                                         const std::vector<std::string>& headerLines, SplitPreview& preview) {
  std::vector<CLogFile::OutputMeasure> measures;
  const bool measured = log.Open() && log.MeasureSplit(headerLines, measures);
  log.Close();
  if (!measured) return log.interrupted() ? Next::Interrupted : Next::Skipped;

  const CFileEntry& entry = *log.entry();
  PlannedSplit split{entry.name, entry.room, entry.kind, request_.form, plan.backupName, plan.replaceBackup, {}};
  for (std::size_t k = 0; k < measures.size(); ++k) {
    split.outputs.push_back({plan.outputNames[k], measures[k], k < headerLines.size() ? headerLines[k] : ""});
  }
  preview.splits.push_back(std::move(split));
  return Next::Split;
}
