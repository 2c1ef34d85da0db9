#include "checker/checker_run.h"

#include <optional>

#include "checker/checker_strings.h"
#include "checker/shared_folder_setting.h"
#include "checker/silent_switch.h"
#include "platform/interrupt.h"

int RunChecker(const std::vector<std::string>& args, SettingsStore& store, MessagePort& messages,
               CheckerProgress& progress) {
  std::optional<std::string> root = ReadSharedLogFolder(store);
  if (!root) {
    MsgStyle style;
    style.icon = MsgIcon::Information;
    style.noOwner = true;
    messages.ShowMessage(std::string(CheckerString(kStrSettingMissing)),
                         std::string(CheckerString(kStrSettingMissingCaption)), style);
    return 1;
  }
  bool silent = IsSilentRun(args);
  progress.ShowProgress();
  WalkSharedLogFolder(*root, &progress);
  if (plat::InterruptRequested()) {
    // Ctrl-C or SIGTERM: the list being rewritten was left as it was.
    progress.CloseProgress();
    return 1;
  }
  if (!silent) {
    messages.ShowMessage(std::string(CheckerString(kStrCheckDone)),
                         std::string(CheckerString(kStrCheckDoneCaption)), MsgStyle{});
  }
  progress.CloseProgress();
  return 0;
}
