#include "batch/maintain_run.h"

#include <algorithm>
#include <vector>

#include "batch/batch_run.h"
#include "batch/dry_run_report.h"
#include "batch/forum_folders.h"
#include "batch/forum_summary.h"
#include "commands/archive_list.h"
#include "commands/split_preview.h"
#include "commands/split_dialog_prep.h"
#include "platform/dir_search.h"
#include "platform/interrupt.h"

namespace {

BatchCommand RoomSplit(const MaintainCommand& command, int room, int cut) {
  BatchCommand split;
  split.verb = BatchCommand::Verb::Split;
  split.rooms = RoomBit(room);
  split.roomsGiven = true;
  split.number = cut;  // the kinds, method 0 and the archive form as the dialog preselects
  // The split's journal promises the export, so that a run cut short gets
  // the lines from the next run's repair.
  split.exportAfter = command.exportAfter;
  split.overwrite = command.overwrite;
  return split;
}

// Why the split of room did not do all it was asked to, in a few words.
std::string SplitTrouble(int room, const SplitOutcome& outcome) {
  const std::string prefix = "room " + std::to_string(room) + ": ";
  if (outcome.kind != SplitOutcome::Kind::Ran) return prefix + "not split";
  const SplitReport& r = outcome.report;
  if (r.interrupted) return prefix + "interrupted";
  if (r.stoppedChanged) return prefix + "a log changed while split";
  if (r.skipped > 0) return prefix + std::to_string(r.skipped) + " file(s) skipped";
  if (r.onlyInBackup > 0) return prefix + "a backup written to";
  return prefix + "not split";
}

void SplitRooms(BatchRun& run, const MaintainCommand& command, ForumSummary& summary, SplitPreview* preview) {
  for (const RoomRange& room : run.RoomRanges(command.rooms, !command.roomsGiven)) {
    if (plat::InterruptRequested()) return;
    if (!room.known) continue;  // the analysis has told of it
    const std::optional<int> cut = MaintainCut(command, room);
    if (!cut) continue;
    const std::size_t plannedBefore = preview ? preview->splits.size() : 0;
    const int status = run.SplitWithoutExport(RoomSplit(command, room.room, *cut), true, preview);
    const SplitOutcome& outcome = run.lastSplit();
    if (outcome.kind == SplitOutcome::Kind::Ran) {
      summary.roomsSplit += outcome.report.split > 0 ? 1 : 0;
      summary.oldLogs += static_cast<int>(outcome.report.made.size());
      for (std::size_t i = plannedBefore; preview && i < preview->splits.size(); ++i) {
        summary.oldLogs += static_cast<int>(preview->splits[i].outputs.size()) - 1;
      }
    }
    if (status != kExitDone) summary.Fail(SplitTrouble(room.room, outcome));
  }
}

// One forum's run: held, repaired, analysed, split room by room, exported
// when asked, its history written; the forum is let go as it returns. A dry
// run only analyses and plans, into preview.
void RunForum(const ForumFolder& forum, const MaintainCommand& command, std::FILE* out, std::FILE* err,
              const Clock* clock, ForumSummary& summary, SplitPreview* preview) {
  BatchRun run(forum.path, out, err, clock);
  if (preview) {
    if (run.TellsOfJournalsLeft()) summary.Fail("a run cut short left a journal");
  } else {
    if (run.HoldForum() != kExitDone) {
      summary.Fail("held by another program");
      return;
    }
    if (run.Repair() != kExitDone) summary.Fail("repair left problems");
  }
  if (run.AnalyzeQuietly(command.rooms, !command.roomsGiven) != kExitDone) summary.Fail("analysis failed");
  SplitRooms(run, command, summary, preview);
  if (preview) DryRunReport(out, command.json).Splits(forum.name, *preview);
  if (command.exportAfter && !plat::InterruptRequested()) {
    if (preview) {
      const std::vector<std::string> lines = run.PlannedExport(*preview);
      DryRunReport(out, command.json).ListLines(forum.name, lines, "append");
      summary.linesExported = static_cast<int>(lines.size());
    } else {
      BatchCommand exportCommand;
      exportCommand.verb = BatchCommand::Verb::Export;
      if (run.Run(exportCommand, true) != kExitDone) summary.Fail("export failed");
      summary.linesExported = run.lastExport().lines;
    }
  }
  if (plat::InterruptRequested()) summary.Fail("interrupted");
  if (run.Finish(kExitDone) != kExitDone) summary.Fail("history or backups, see messages");
}

// The forum's AR.LST brought in line with its files, by the same code as
// TORBLEN's silent run; it takes the forum itself, so it runs once the
// forum's run has let go. A dry run only reads the list, counting the files
// the run planned as there, and prints the lines it would drop.
void CheckList(const ForumFolder& forum, const std::string& sharedPath, const MaintainCommand& command, std::FILE* out,
               const SplitPreview* preview, ForumSummary& summary) {
  std::vector<plat::FoundItem> items;
  plat::FindFiles(forum.path, "*.*", &items);
  ReconcileResult result;
  if (preview) {
    for (const std::string& name : preview->PlannedNames()) items.push_back(plat::FoundItem{name, false});
    result = CheckArchiveList(forum.path, items, sharedPath);
    DryRunReport(out, command.json).ListLines(forum.name, result.droppedLines, "drop");
  } else {
    result = ReconcileArchiveList(forum.path, items, sharedPath);
  }
  switch (result.outcome) {
    case ReconcileOutcome::NoList: return;
    case ReconcileOutcome::Checked:
    case ReconcileOutcome::Rewritten: summary.linesDropped = static_cast<int>(result.dropped); return;
    case ReconcileOutcome::Busy: summary.Fail("AR.LST not checked: held by another program"); return;
    default: summary.Fail("AR.LST left as it was (see TORBLEN's reasons)"); return;
  }
}

ForumSummary MaintainForum(const ForumFolder& forum, const std::string& sharedPath, const MaintainCommand& command,
                           std::FILE* out, std::FILE* err, const Clock* clock) {
  ForumSummary summary;
  summary.forum = forum.name;
  SplitPreview preview;
  SplitPreview* planOnly = command.dryRun ? &preview : nullptr;
  RunForum(forum, command, out, err, clock, summary, planOnly);
  if (command.checkLists && !plat::InterruptRequested()) CheckList(forum, sharedPath, command, out, planOnly, summary);
  return summary;
}

// The forums named (all when none is), in the tree's order; false, telling
// of it, when a name is no forum folder's.
bool ChooseForums(const std::string& sharedPath, const MaintainCommand& command, std::vector<ForumFolder>& forums,
                  std::FILE* err) {
  if (command.forums.empty()) return true;
  for (const std::string& name : command.forums) {
    if (std::none_of(forums.begin(), forums.end(), [&](const ForumFolder& f) { return f.name == name; })) {
      std::fprintf(err, "kiv-batch: no forum folder named %s in %s (see kiv-batch --help)\n", name.c_str(),
                   sharedPath.c_str());
      return false;
    }
  }
  std::erase_if(forums, [&](const ForumFolder& f) {
    return std::find(command.forums.begin(), command.forums.end(), f.name) == command.forums.end();
  });
  return true;
}

}  // namespace

std::optional<int> MaintainCut(const MaintainCommand& command, const RoomRange& room) {
  int cut = command.value;
  if (command.cut == MaintainCommand::Cut::Proposed) cut = RoundToLeadingMagnitude(room.highest);
  if (command.cut == MaintainCommand::Cut::Keep) cut = std::max(room.highest - command.value, 0);
  if (room.lowest > cut) return std::nullopt;
  return cut;
}

int RunMaintain(const std::string& sharedPath, const MaintainCommand& command, std::FILE* out, std::FILE* err,
                const Clock* clock) {
  std::vector<ForumFolder> forums = FindForumFolders(sharedPath);
  if (!ChooseForums(sharedPath, command, forums, err)) return kExitUsage;
  if (forums.empty()) {
    std::fprintf(err, "kiv-batch: no forum folder in %s\n", sharedPath.c_str());
    return kExitIncomplete;
  }
  std::vector<ForumSummary> summaries;
  for (const ForumFolder& forum : forums) {
    if (plat::InterruptRequested()) break;
    summaries.push_back(MaintainForum(forum, sharedPath, command, out, err, clock));
  }
  int status = summaries.size() < forums.size() ? kExitIncomplete : kExitDone;
  for (const ForumSummary& summary : summaries) {
    if (!summary.failure.empty()) status = kExitIncomplete;
    const std::string line = (command.json ? SummaryJsonLine(summary) : SummaryLine(summary)) + "\n";
    std::fputs(line.c_str(), out);
  }
  std::fflush(out);
  return status;
}
