#include "checker/checker_run.h"

#include <optional>
#include <utility>

#include "checker/checker_strings.h"
#include "checker/shared_folder_setting.h"
#include "checker/silent_switch.h"
#include "platform/interrupt.h"

namespace {

// Passes the walk on to the progress window and keeps the lists it had to
// leave as they were, for the interactive run to name.
class LeftListsObserver : public WalkObserver {
 public:
  explicit LeftListsObserver(WalkObserver& progress) : progress_(progress) {}
  void EnteringFolder(const std::string& name) override { progress_.EnteringFolder(name); }
  void Reconciled(const std::string& folder, const ReconcileResult& result) override {
    progress_.Reconciled(folder, result);
    if (result.outcome == ReconcileOutcome::EndsEarly) left.push_back({folder, kStrListEndsEarly});
    if (result.outcome == ReconcileOutcome::NotConfined) left.push_back({folder, kStrListNotConfined});
  }
  std::vector<std::pair<std::string, int>> left;  // folder, text id

 private:
  WalkObserver& progress_;
};

std::string ListPathText(int textId, const std::string& folder) {
  std::string text(CheckerString(textId));
  const std::size_t at = text.find("%1");
  return text.replace(at, 2, folder + "/" + kArchiveListName);
}

}  // namespace

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
  LeftListsObserver observer(progress);
  WalkSharedLogFolder(*root, &observer);
  if (plat::InterruptRequested()) {
    // Ctrl-C or SIGTERM: the list being rewritten was left as it was.
    progress.CloseProgress();
    return 1;
  }
  if (!silent) {
    MsgStyle warning;
    warning.icon = MsgIcon::Exclamation;
    for (const auto& [folder, textId] : observer.left) {
      messages.ShowMessage(ListPathText(textId, folder), std::string(CheckerString(kStrCheckDoneCaption)),
                           warning);
    }
    messages.ShowMessage(std::string(CheckerString(kStrCheckDone)),
                         std::string(CheckerString(kStrCheckDoneCaption)), MsgStyle{});
  }
  progress.CloseProgress();
  return 0;
}
