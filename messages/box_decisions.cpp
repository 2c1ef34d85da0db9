#include "messages/box_decisions.h"

#include "messages/companion_mode.h"
#include "resources/ids.h"

bool BoxDecisions::ConfirmSplit() {
  return messenger_.BoxToUser(ids::kMsgConfirmSplit, MsgStyle{MsgButtons::YesNo, MsgIcon::None}) == MsgResult::Yes;
}

bool BoxDecisions::OverwriteBackup(const std::string& backupName) {
  return messenger_.Box(ids::kMsgBackupExists, backupName, MsgStyle{MsgButtons::YesNo, MsgIcon::Question}) ==
         MsgResult::Yes;
}

bool BoxDecisions::SplitOutsideRange() {
  return messenger_.BoxToUser(ids::kMsgOutsideRange, MsgStyle{MsgButtons::YesNo, MsgIcon::Question}) == MsgResult::Yes;
}

// The forum and the program keeping it fill %1 and %2: no honorific here.
bool BoxDecisions::RetryHistoryWhileBusy(const std::string& forumPath, const std::string& holder) {
  return CompanionMessageBox(messenger_.port(), messenger_.mode(), ids::kMsgForumBusyForHistory, forumPath, holder,
                             MsgStyle{MsgButtons::YesNo, MsgIcon::Exclamation}) == MsgResult::Yes;
}
