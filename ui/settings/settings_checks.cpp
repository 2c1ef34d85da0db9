#include "ui/settings/settings_checks.h"

#include "messages/companion_mode.h"
#include "platform/file_ops.h"
#include "resources/ids.h"
#include "ui/settings/folder_text.h"

namespace {

constexpr MsgStyle kStop{MsgButtons::Ok, MsgIcon::Stop};

enum class FolderState { Missing, NotAFolder, Folder };

FolderState StateOf(const std::string& path) {
  plat::FileStatus status;
  if (path.empty() || !plat::GetFileStatus(path, &status)) return FolderState::Missing;
  return status.isDirectory ? FolderState::Folder : FolderState::NotAFolder;
}

}  // namespace

PageCheck CheckFolderPage(Messenger& messenger, bool backUpBefore, FolderPageFields& fields) {
  if (fields.backUpPerGeneration != backUpBefore) {
    messenger.BoxToUser(ids::kMsgBackUpChangedLater, MsgStyle{MsgButtons::Ok, MsgIcon::Information});
  }
  RemoveTrailingSeparator(fields.folder);
  switch (StateOf(fields.folder)) {
    case FolderState::Missing: messenger.BoxToUser(ids::kMsgBadPath, kStop); return PageCheck::StayOnFolder;
    case FolderState::NotAFolder:
      // The companion's text names the honorific as its only argument.
      messenger.Box(ids::kMsgNotAFolder, messenger.mode().m_strHonorific, kStop);
      return PageCheck::StayOnFolder;
    case FolderState::Folder: break;
  }
  if (fields.folder != fields.openingFolder &&
      messenger.BoxToUser(ids::kMsgConfirmFolderChange, MsgStyle{MsgButtons::YesNo, MsgIcon::Question}) !=
          MsgResult::Yes) {
    return PageCheck::StayOnFolder;
  }
  return PageCheck::Leave;
}

PageCheck CheckProgramPage(Messenger& messenger, const std::string& program) {
  if (!program.empty() && !plat::FileExists(program)) {
    messenger.BoxToUser(ids::kMsgProgramMissing, kStop);
    return PageCheck::StayOnProgram;
  }
  return PageCheck::Leave;
}

PageCheck CheckFirstRunFolder(MessagePort& port, std::string& folder) {
  const CompanionMode normalVoice;  // the companion settings are not read yet
  RemoveTrailingSeparators(folder);
  switch (StateOf(folder)) {
    case FolderState::Missing:
      CompanionMessageBox(port, normalVoice, ids::kMsgBadPath, "", "", kStop);
      return PageCheck::StayOnFolder;
    case FolderState::NotAFolder:
      CompanionMessageBox(port, normalVoice, ids::kMsgNotAFolder, "", "", kStop);
      return PageCheck::StayOnFolder;
    case FolderState::Folder: break;
  }
  return PageCheck::Leave;
}
