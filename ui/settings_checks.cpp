#include "ui/settings_checks.h"

#include "messages/companion_mode.h"
#include "platform/file_ops.h"
#include "ui/folder_text.h"

namespace {

constexpr int kBackUpChangedLater = 49930;  // caption 49931
constexpr int kBadPath = 49920;             // caption 49921
constexpr int kNotAFolder = 49922;          // caption 49923
constexpr int kConfirmFolderChange = 49924; // caption 49925
constexpr int kProgramMissing = 49926;      // caption 49927

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
    messenger.BoxToUser(kBackUpChangedLater, MsgStyle{MsgButtons::Ok, MsgIcon::Information});
  }
  RemoveTrailingSeparator(fields.folder);
  switch (StateOf(fields.folder)) {
    case FolderState::Missing:
      messenger.BoxToUser(kBadPath, kStop);
      return PageCheck::StayOnFolder;
    case FolderState::NotAFolder:
      // The companion's text names the honorific as its only argument.
      messenger.Box(kNotAFolder, messenger.mode().m_strHonorific, kStop);
      return PageCheck::StayOnFolder;
    case FolderState::Folder:
      break;
  }
  if (fields.folder != fields.openingFolder &&
      messenger.BoxToUser(kConfirmFolderChange, MsgStyle{MsgButtons::YesNo, MsgIcon::Question}) != MsgResult::Yes) {
    return PageCheck::StayOnFolder;
  }
  return PageCheck::Leave;
}

PageCheck CheckProgramPage(Messenger& messenger, const std::string& program) {
  if (!program.empty() && !plat::FileExists(program)) {
    messenger.BoxToUser(kProgramMissing, kStop);
    return PageCheck::StayOnProgram;
  }
  return PageCheck::Leave;
}

PageCheck CheckFirstRunFolder(MessagePort& port, std::string& folder) {
  const CompanionMode normalVoice;  // the companion settings are not read yet
  RemoveTrailingSeparators(folder);
  switch (StateOf(folder)) {
    case FolderState::Missing:
      CompanionMessageBox(port, normalVoice, kBadPath, "", "", kStop);
      return PageCheck::StayOnFolder;
    case FolderState::NotAFolder:
      CompanionMessageBox(port, normalVoice, kNotAFolder, "", "", kStop);
      return PageCheck::StayOnFolder;
    case FolderState::Folder:
      break;
  }
  return PageCheck::Leave;
}
