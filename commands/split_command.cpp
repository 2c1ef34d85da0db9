#include "commands/split_command.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "commands/analyze_command.h"
#include "commands/backup_name.h"
#include "commands/entry_row.h"
#include "commands/file_splitter.h"
#include "commands/split_cuts.h"
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

const CFileEntry* FindStaleEntry(const CDirectory& dir, RoomSet rooms) {
  for (const auto& entry : dir.entries) {
    if (!RoomInSet(rooms, entry->room)) continue;
    if (!entry->RangeKnown() || !SameTime(dir, *entry)) return entry.get();
  }
  return nullptr;
}

namespace {

// The per-file loop of the split command and of its dry run (preview not
// null): the same files in the same order, the same reasons to stop.
SplitReport VisitFilesToSplit(CommandContext& ctx, const SplitRequest& asked, SplitPreview* preview) {
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
    const FileSplitter::Next next = splitter.Split(i, preview);
    if (preview && next != FileSplitter::Next::Split) preview->skipped.push_back(dir->entries[i]->name);
    switch (next) {
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
  report.reachedEnd = true;
  return report;
}

}  // namespace

SplitReport SplitRooms(CommandContext& ctx, const SplitRequest& request) {
  SplitReport report = VisitFilesToSplit(ctx, request, nullptr);
  if (report.reachedEnd) {
    RoomSet split = request.rooms;
    for (const int room : report.leftAlone) split &= ~RoomBit(room);
    for (int room = kFirstRoom; room <= kLastRoom; ++room) {
      if (RoomInSet(split, room)) ctx.doc.CurrentFolder()->RaiseGeneration(room);
    }
  }
  return report;
}

SplitReport PreviewSplitRooms(CommandContext& ctx, const SplitRequest& request, SplitPreview& preview) {
  return VisitFilesToSplit(ctx, request, &preview);
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
                                bool exportAsked, SplitPreview* preview) {
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
  if (preview) {
    // Only read: the forum stays free for its writers.
    outcome.kind = SplitOutcome::Kind::Ran;
    outcome.report = PreviewSplitRooms(ctx, outcome.request, *preview);
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
