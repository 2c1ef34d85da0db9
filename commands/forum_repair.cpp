#include "commands/forum_repair.h"

#include <vector>

#include "commit/folder_repair.h"
#include "commit/journal_format.h"
#include "platform/dir_search.h"
#include "messages/companion_mode.h"
#include "platform/forum_lock.h"
#include "resources/ids.h"

namespace {

using Kind = commit::RepairNote::Kind;

// How each outcome is told: its message (caption: the next id), and whether
// it leaves something for the user to look at.
struct Telling {
  Kind kind;
  int message;
  bool problem;
};
constexpr Telling kTellings[] = {
    {Kind::SplitFinished, ids::kMsgRepairSplitFinished, false},
    {Kind::SplitTakenBack, ids::kMsgRepairSplitTakenBack, false},
    {Kind::UndoFinished, ids::kMsgRepairUndoFinished, false},
    {Kind::AppendFinished, ids::kMsgRepairAppendFinished, false},
    {Kind::Failed, ids::kMsgRepairFailed, true},
    {Kind::OnlyInBackup, ids::kMsgOnlyInBackup, true},
    {Kind::WrittenAfterUndo, ids::kMsgWrittenAfterUndo, true},
    {Kind::JournalSetAside, ids::kMsgJournalSetAside, true},
};

}  // namespace

RepairReport RepairForumFolder(Messenger& messenger, const std::string& folderPath) {
  RepairReport report;
  for (const commit::RepairNote& note : commit::RepairFolder(folderPath)) {
    for (const Telling& t : kTellings) {
      if (t.kind != note.kind) continue;
      // What stood in the way, when something did, comes first.
      if (note.fault.err != 0) messenger.FileError(note.fault.subject, note.fault.err);
      messenger.Box(t.message, note.subject,
                    MsgStyle{MsgButtons::Ok, t.problem ? MsgIcon::Exclamation : MsgIcon::Information});
      ++(t.problem ? report.problems : report.resolved);
    }
  }
  return report;
}

RepairReport RepairForumIfFree(Messenger& messenger, const std::string& folderPath, std::string_view program) {
  plat::ForumLock lock;
  int err = 0;
  // Where no lock can be made (a read-only folder), no writer can hold one
  // either: the repair runs, and tells what it can't resolve there.
  if (lock.Acquire(folderPath, program, std::chrono::milliseconds(0), &err) == plat::ForumLock::Outcome::Busy) {
    return {};
  }
  return RepairForumFolder(messenger, folderPath);
}

std::string JournalLeftIn(const std::string& folderPath) {
  std::vector<plat::FoundItem> journals;
  if (!plat::FindFiles(folderPath, commit::journal_format::kJournalPattern, &journals) || journals.empty()) return {};
  return journals.front().name;
}
