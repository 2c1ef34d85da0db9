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
    if (result.outcome == ReconcileOutcome::EndsEarly) left.push_back({folder, kStrListEndsEarly, {}});
    if (result.outcome == ReconcileOutcome::NotConfined) left.push_back({folder, kStrListNotConfined, {}});
    if (result.outcome == ReconcileOutcome::Busy) {
      left.push_back(
          {folder, kStrListBusy, plat::ForumLockHolderText(result.holder, CheckerString(kStrUnknownHolder))});
    }
  }
  struct Left {
    std::string folder;
    int textId;
    std::string holder;  // %2
  };
  std::vector<Left> left;

 private:
  WalkObserver& progress_;
};

std::string ListPathText(int textId, const std::string& folder, const std::string& holder) {
  std::string text(CheckerString(textId));
  text.replace(text.find("%1"), 2, folder + "/" + kArchiveListName);
  const std::size_t at = text.find("%2");
  return at == std::string::npos ? text : text.replace(at, 2, holder);
}

}  // namespace

int RunChecker(const std::vector<std::string>& args, SettingsStore& store, MessagePort& messages,
               CheckerProgress& progress) {
  std::optional<std::string> root = ReadSharedLogFolder(store);
  if (!root) {
    MsgStyle style;
    style.icon = MsgIcon::Information;
    style.noOwner = true;
    messages.ShowMessage(Message{kStrSettingMissing, std::string(CheckerString(kStrSettingMissing)),
                                 std::string(CheckerString(kStrSettingMissingCaption))},
                         style);
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
    for (const auto& left : observer.left) {
      messages.ShowMessage(Message{left.textId, ListPathText(left.textId, left.folder, left.holder),
                                   std::string(CheckerString(kStrCheckDoneCaption))},
                           warning);
    }
    messages.ShowMessage(Message{kStrCheckDone, std::string(CheckerString(kStrCheckDone)),
                                 std::string(CheckerString(kStrCheckDoneCaption))},
                         MsgStyle{});
  }
  progress.CloseProgress();
  return 0;
}
