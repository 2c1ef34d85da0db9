#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "batch/batch_decisions.h"
#include "batch/batch_rows.h"
#include "batch/console_messages.h"
#include "batch/console_progress.h"
#include "commands/backup_watch.h"
#include "commands/command_context.h"
#include "commands/export_command.h"
#include "commands/split_command.h"
#include "commands/split_preview.h"
#include "messages/companion_mode.h"
#include "model/kiv_doc.h"
#include "platform/forum_lock.h"
#include "ports/clock.h"
#include "ports/memory_profile.h"

// Exit statuses of kiv-batch.
inline constexpr int kExitDone = 0;
inline constexpr int kExitIncomplete = 1;  // a file was skipped or a command failed
inline constexpr int kExitUsage = 2;       // bad usage or arguments; nothing touched

// The message numbers of one room's body and title logs together.
struct RoomRange {
  int room = 0;
  int lowest = 0;
  int highest = 0;
  bool known = false;  // every log of the room has its range
};

// One run of kiv-batch on one forum folder: the document with the default
// settings (nothing of the user's stored settings is read or written), the
// folder as its current folder, and the list rows. Commands run one after
// the other share generations, undo records and export marks, as in one run
// of the desktop program. Destroying the run destroys the document as at
// exit, so folders with undo records append their history.
class BatchRun {
 public:
  // forumPath: an existing folder, absolute, without trailing separator.
  // clock gives "today" for archive names and header lines; null means the
  // system clock. It must outlive the run.
  BatchRun(const std::string& forumPath, std::FILE* out, std::FILE* err, const Clock* clock = nullptr);
  ~BatchRun();
  BatchRun(const BatchRun&) = delete;
  BatchRun& operator=(const BatchRun&) = delete;

  // Checks what can be refused before anything runs (a step of 0 is
  // refused with the split dialog's own message). kExitDone or kExitUsage.
  int Check(const BatchCommand& command);

  // Takes the forum for a run that writes, before the repair, for the whole
  // run: the history written as the run ends included. Waits up to
  // plat::ForumLockWait() for another writer; kExitIncomplete, with one line
  // on standard error naming the forum and what holds it, when it can't:
  // the run must then touch nothing.
  int HoldForum();

  // Resolves what an earlier run cut short left in the folder, telling of
  // it on standard error; kExitIncomplete when something is left unresolved.
  // Runs before the first command. A run that does not hold the forum (it
  // only reads) repairs only when the forum is free at once.
  int Repair();

  // Runs one command; inSession makes a refusal of the split dialog a
  // failed command rather than bad usage.
  int Run(const BatchCommand& command, bool inSession);

  // Analyses the logs of rooms (every room when allRooms) as analyze does,
  // printing no rows.
  int AnalyzeQuietly(RoomSet rooms, bool allRooms);

  // The rooms 1-20 of rooms (every room when allRooms) that have a body or
  // a title log, in room order, with the ranges the run knows of.
  std::vector<RoomRange> RoomRanges(RoomSet rooms, bool allRooms) const;

  // The split of command as Run runs it, but without the export: with
  // command.exportAfter the split's journal promises the export, and the
  // caller runs it once its splits are done. With preview the split is only
  // planned, into preview (a dry run).
  int SplitWithoutExport(const BatchCommand& command, bool inSession, SplitPreview* preview = nullptr);

  // For a dry run, which neither holds nor repairs the forum: whether a run
  // cut short left a journal here, told on standard error (the real run
  // finishes or takes it back first, so its plan may differ).
  bool TellsOfJournalsLeft();
  // The lines the header export would append to AR.LST once the planned
  // splits were made (CP932, without line end).
  std::vector<std::string> PlannedExport(const SplitPreview& preview) const;

  // What the last split and the last export of this run did.
  const SplitOutcome& lastSplit() const { return lastSplit_; }
  const ExportReport& lastExport() const { return lastExport_; }

  // Ends the run: tells when the history file the run's undo records are to
  // be appended to may not be written (a link out of the forum folder, or to
  // no regular file), writes the history, tells of backups the host wrote
  // into after their split, and gives the exit status for status. No
  // command runs after it.
  int Finish(int status);

 private:
  void Refresh();
  int List(const BatchCommand& command);
  void PrintRows(const BatchCommand& command);
  int Analyze(const BatchCommand& command);
  int Split(const BatchCommand& command, bool inSession);
  int DryRunSplit(const BatchCommand& command, bool inSession);
  int Undo(const BatchCommand& command);
  int Export();
  int NoRowsOfRooms();

  // First, so that it goes last: the history is written while it is held.
  plat::ForumLock forum_;
  std::FILE* out_;
  std::FILE* err_;
  MemoryProfile profile_;
  SystemClock systemClock_;
  const Clock& clock_;
  CompanionMode mode_;
  ConsoleMessages messages_;
  Messenger messenger_;
  BatchDecisions decisions_;
  ConsoleProgress progress_;
  CKivDoc doc_;
  BatchRows rows_;
  CommandContext ctx_;
  BackupWatch backups_;
  SplitOutcome lastSplit_;
  ExportReport lastExport_;
};
