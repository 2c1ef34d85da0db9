#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "commands/backup_watch.h"
#include "commands/command_context.h"
#include "commands/entry_row.h"
#include "commands/split_cuts.h"
#include "commands/split_preview.h"
#include "commands/split_request.h"
#include "commit/aftercare.h"
#include "commit/split_commit.h"
#include "model/directory.h"

class CLogFile;

// The split of one log after another within one split command: names its
// old logs and its backup, writes the outputs under temporary names and
// commits them, or takes the log's split back; or, for a dry run, plans and
// measures the split and makes nothing.
class FileSplitter {
 public:
  // The tables and the request must outlive the object.
  FileSplitter(CommandContext& ctx, CDirectory& dir, RoomTables& tables, const SplitRequest& request)
      : ctx_(ctx), dir_(dir), tables_(tables), request_(request) {}

  enum class Next {
    Split,        // the file is split (planned: would be)
    Skipped,      // the file is as it was
    Interrupted,  // the user interrupted the program; the file is as it was
    StopChanged,
    StopNaming,
  };
  // Splits the log of dir's entry i. With preview (a dry run) the split is
  // planned as it would be made, names and backup included, and the log
  // read to measure its outputs, but nothing is made: the plan goes to
  // preview, whose planned names count as taken.
  Next Split(std::size_t i, SplitPreview* preview = nullptr);
  // The backups this run made, still the logs' old files.
  BackupWatch& backups() { return backups_; }
  // The old logs this run made, in the order made.
  const std::vector<std::string>& made() const { return made_; }

 private:
  std::optional<Next> PlanSplit(CLogFile& log, const CFileEntry& entry, commit::SplitPlan& plan,
                                std::vector<std::string>& headerLines, const std::vector<std::string>& alsoTaken);
  Next Measure(CLogFile& log, const commit::SplitPlan& plan, const std::vector<std::string>& headerLines,
               SplitPreview& preview);
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
