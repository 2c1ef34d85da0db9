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
#include "commit/split_commit.h"
#include "engine/engine_messages.h"
#include "engine/log_file.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "model/undo_history.h"
#include "platform/file_error.h"
#include "platform/file_ops.h"
#include "platform/interrupt.h"
#include "ports/decisions.h"
#include "ports/dialogs.h"
#include "ports/rows.h"
#include "resources/ids.h"

namespace {

constexpr const char kCutting[] = "cutting..";

bool SameTime(const CDirectory& dir, const CFileEntry& entry) {
  plat::FileStatus status;
  return plat::GetFileStatus(plat::JoinPath(dir.path, entry.name), &status) && status.mtime == entry.modificationTime;
}

// What a split changes in an entry, put back when the split is taken back.
void RestoreEntry(CFileEntry& entry, const CFileEntry& before) {
  entry.lowest = before.lowest;
  entry.highest = before.highest;
  entry.modificationTime = before.modificationTime;
  entry.size = before.size;
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
  FileSplitter(CommandContext& ctx, CDirectory& dir, RoomTables& tables, const SplitRequest& request)
      : ctx_(ctx), dir_(dir), tables_(tables), request_(request) {}

  enum class Next {
    Split,        // the file is split
    Skipped,      // the file is as it was
    Interrupted,  // the user interrupted the program; the file is as it was
    StopChanged,
    StopNaming,
  };
  Next Split(std::size_t i);
  // The backups this run made, still the logs' old files.
  BackupWatch& backups() { return backups_; }
  // The old logs this run made, in the order made.
  const std::vector<std::string>& made() const { return made_; }

 private:
  int CutValue(int room) const;
  std::optional<Next> PlanSplit(CLogFile& log, const CFileEntry& entry, commit::SplitPlan& plan,
                                std::vector<std::string>& headerLines);
  Next WriteAndCommit(std::size_t i, CLogFile& log, commit::SplitPlan& plan,
                      const std::vector<std::string>& headerLines);
  bool BackupNameFree(const std::string& backup, bool* replace);
  commit::Aftercare AftercareOf(const CFileEntry& entry, const std::vector<std::string>& names,
                                const std::vector<std::string>& headerLines) const;
  void RedrawRow(std::size_t i) {
    RedrawEntryRow(ctx_.rows, static_cast<int>(i), dir_, *dir_.entries[i], ctx_.messenger.mode());
  }

  CommandContext& ctx_;
  CDirectory& dir_;
  RoomTables& tables_;
  const SplitRequest& request_;
  BackupWatch backups_;
  std::vector<std::string> made_;
};

// Several rooms under the first method: the highest multiple of 1000 that
// leaves at least number of the room's messages in the current log.
int SeveralRoomsCut(int highest, int number) {
  const int d = highest - number;
  return d > 0 ? d / 1000 * 1000 : 0;
}

int FileSplitter::CutValue(int room) const {
  if (request_.singleRoom || request_.method == SplitMethod::Multiple) return request_.number;
  return SeveralRoomsCut(tables_.high[static_cast<std::size_t>(room)], request_.number);
}

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
                                                          std::vector<std::string>& headerLines) {
  const std::size_t room = static_cast<std::size_t>(entry.room);
  std::optional<CNameError> naming = log.MakeOldLogNames(CutValue(entry.room), tables_.low[room], tables_.high[room],
                                                         request_.form, request_.method, tables_.naming[room]);
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

FileSplitter::Next FileSplitter::Split(std::size_t i) {
  CFileEntry& entry = *dir_.entries[i];
  if (!SameTime(dir_, entry)) {
    ctx_.messenger.Box(ids::kMsgChangedSinceAnalysis, entry.name, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    return Next::StopChanged;
  }
  CLogFile log(dir_.path, &entry, ctx_.messenger, ctx_.progress, ctx_.clock);
  commit::SplitPlan plan;
  std::vector<std::string> headerLines;
  if (const std::optional<Next> notSplit = PlanSplit(log, entry, plan, headerLines)) return *notSplit;

  const int row = static_cast<int>(i);
  ctx_.rows.SetCellText(row, kColumnSize, "-");
  ctx_.rows.SetCellText(row, kColumnLowest, kCutting);
  ctx_.rows.SetCellText(row, kColumnHighest, kCutting);
  ctx_.rows.RepaintNow();
  return WriteAndCommit(i, log, plan, headerLines);
}

// The lowest and highest message number of each room over the logs the
// request takes in.
RoomTables TablesOf(const CDirectory& dir, const SplitRequest& request) {
  RoomTables tables;
  tables.low.fill(kNoHighest);
  tables.high.fill(0);
  tables.naming.fill(kNamingFresh);
  for (const auto& entry : dir.entries) {
    if (!TakesPart(*entry, request.rooms, request.kindSet)) continue;
    const std::size_t room = static_cast<std::size_t>(entry->room);
    tables.low[room] = std::min(tables.low[room], entry->lowest);
    tables.high[room] = std::max(tables.high[room], entry->highest);
  }
  return tables;
}

// Several rooms cut under the first method: a room none of whose logs taking
// part holds a message at or below its cut point has nothing to move to an
// old log, and is left alone (no backup, no empty old log, no header line
// with a range running backwards). The rooms still to split.
RoomSet LeaveAloneRoomsWithNothingToSplit(const SplitRequest& request, const RoomTables& tables,
                                          std::vector<int>& leftAlone) {
  if (request.singleRoom || request.method != SplitMethod::Single) return request.rooms;
  RoomSet rooms = request.rooms;
  for (int room = kFirstRoom; room <= kLastRoom; ++room) {
    const auto at = static_cast<std::size_t>(room);
    // Every log taking part has its range known by now: no low means no log.
    if (!RoomInSet(rooms, room) || tables.low[at] == kNoHighest) continue;
    if (tables.low[at] <= SeveralRoomsCut(tables.high[at], request.number)) continue;
    rooms &= ~RoomBit(room);
    leftAlone.push_back(room);
  }
  return rooms;
}

}  // namespace

const CFileEntry* FindStaleEntry(const CDirectory& dir, RoomSet rooms) {
  for (const auto& entry : dir.entries) {
    if (!RoomInSet(rooms, entry->room)) continue;
    if (!entry->RangeKnown() || !SameTime(dir, *entry)) return entry.get();
  }
  return nullptr;
}

SplitReport SplitRooms(CommandContext& ctx, const SplitRequest& asked) {
  SplitReport report;
  CDirectory* dir = ctx.doc.CurrentFolder();
  if (!dir) return report;

  RoomTables tables = TablesOf(*dir, asked);
  SplitRequest request = asked;
  request.rooms = LeaveAloneRoomsWithNothingToSplit(request, tables, report.leftAlone);
  FileSplitter splitter(ctx, *dir, tables, request);
  // However the run ends, the user hears of messages the host wrote into a
  // backup after its split, and the backups stay watched.
  auto ended = [&]() -> SplitReport& {
    report.onlyInBackup = splitter.backups().TellWrittenTo(ctx.messenger);
    report.backups = splitter.backups();
    report.made = splitter.made();
    return report;
  };
  std::size_t i = 0;
  while (i < dir->entries.size()) {
    if (!TakesPart(*dir->entries[i], request.rooms, request.kindSet)) {
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
      case FileSplitter::Next::Interrupted:
        report.interrupted = true;
        ++report.skipped;
        return ended();
      case FileSplitter::Next::StopChanged:
        report.stoppedChanged = true;
        ended();
        OnAnalyze(ctx);
        return report;
      case FileSplitter::Next::StopNaming:
        report.stoppedNaming = true;
        ++report.skipped;
        return ended();
    }
    if (plat::InterruptRequested()) {
      report.interrupted = true;
      return ended();
    }
  }
  ended();
  for (int room = kFirstRoom; room <= kLastRoom; ++room) {
    if (RoomInSet(request.rooms, room)) dir->RaiseGeneration(room);
  }
  report.reachedEnd = true;
  return report;
}

namespace {

// The dialog for the rooms, opened from settings; what it chose when it
// closed with OK.
std::optional<SplitChoices> RunSplitDialog(SplitDialogPort& dialogs, const CDirectory& dir, RoomSet rooms, bool single,
                                           const SplitSettings& settings) {
  if (single) {
    SplitSingleValues values = PrepareSplitSingle(dir, rooms, settings.form, settings.method);
    if (!dialogs.RunSplitSingle(values)) return std::nullopt;
    return values.choices;
  }
  SplitMultiValues values = PrepareSplitMulti(settings.form, settings.method);
  if (!dialogs.RunSplitMulti(values)) return std::nullopt;
  return values;
}

}  // namespace

SplitOutcome SplitSelectedRooms(CommandContext& ctx, SplitDialogPort& dialogs, const SplitSettings& settings,
                                bool exportAsked) {
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

  const std::optional<SplitChoices> chosen = RunSplitDialog(dialogs, *dir, rooms, single, settings);
  if (!chosen) {
    outcome.kind = SplitOutcome::Kind::Cancelled;
    return outcome;
  }
  outcome.request = MakeSplitRequest(rooms, single, *chosen, settings, exportAsked);
  if (!ctx.decisions.ConfirmSplit()) {
    outcome.kind = SplitOutcome::Kind::Declined;
    return outcome;
  }
  // Held from here, not while the dialogs wait for the user.
  const HeldForum forum(ctx.writeGate);
  if (!forum) {
    outcome.kind = SplitOutcome::Kind::Busy;
    return outcome;
  }
  outcome.kind = SplitOutcome::Kind::Ran;
  outcome.report = SplitRooms(ctx, outcome.request);
  return outcome;
}

SplitOutcome OnSplit(CommandContext& ctx, SplitDialogPort& dialogs, bool exportAsked) {
  const SplitOutcome outcome = SplitSelectedRooms(ctx, dialogs, StoredSplitSettings(ctx.doc), exportAsked);
  const bool chosen = outcome.kind == SplitOutcome::Kind::Declined || outcome.kind == SplitOutcome::Kind::Busy ||
                      outcome.kind == SplitOutcome::Kind::Ran;
  if (chosen) {
    ctx.doc.m_nArcType = SettingOf(outcome.request.form);
    ctx.doc.m_nSepMethod = SettingOf(outcome.request.method);
  }
  return outcome;
}
