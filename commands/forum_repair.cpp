#include "commands/forum_repair.h"

#include "commit/folder_repair.h"
#include "messages/companion_mode.h"

namespace {

constexpr int kMsgSplitFinished = 50224;   // caption 50225
constexpr int kMsgSplitTakenBack = 50226;  // caption 50227
constexpr int kMsgUndoFinished = 50228;    // caption 50229
constexpr int kMsgAppendFinished = 50230;  // caption 50231
constexpr int kMsgNotResolved = 50232;     // caption 50233
constexpr int kMsgOnlyInBackup = 50234;    // caption 50235

}  // namespace

RepairReport RepairForumFolder(Messenger& messenger, const std::string& folderPath) {
  RepairReport report;
  const MsgStyle told{MsgButtons::Ok, MsgIcon::Information};
  const MsgStyle warned{MsgButtons::Ok, MsgIcon::Exclamation};
  for (const commit::RepairNote& note : commit::RepairFolder(folderPath)) {
    using Kind = commit::RepairNote::Kind;
    switch (note.kind) {
      case Kind::SplitFinished:
        messenger.Box(kMsgSplitFinished, note.subject, told);
        ++report.resolved;
        break;
      case Kind::SplitTakenBack:
        if (note.fault.err != 0) messenger.FileError(note.fault.subject, note.fault.err);
        messenger.Box(kMsgSplitTakenBack, note.subject, told);
        ++report.resolved;
        break;
      case Kind::UndoFinished:
        messenger.Box(kMsgUndoFinished, note.subject, told);
        ++report.resolved;
        break;
      case Kind::AppendFinished:
        messenger.Box(kMsgAppendFinished, note.subject, told);
        ++report.resolved;
        break;
      case Kind::OnlyInBackup:
        messenger.Box(kMsgOnlyInBackup, note.subject, warned);
        ++report.problems;
        break;
      case Kind::Failed:
        messenger.FileError(note.fault.subject, note.fault.err);
        messenger.Box(kMsgNotResolved, note.subject, warned);
        ++report.problems;
        break;
    }
  }
  return report;
}
