#include "batch/batch_dialogs.h"

#include <algorithm>

#include "commands/split_dialog_logic.h"

bool BatchDialogs::RunSplitSingle(SplitSingleValues& values) {
  if (command_.number) values.choices.m_nNumber = *command_.number;
  if (command_.kindIndex) {
    const std::vector<int> offered = KindListEntries(values.m_nFilesPresent);
    if (std::find(offered.begin(), offered.end(), *command_.kindIndex) == offered.end()) {
      refused_ = true;
      reason_ = "the room has no " + KindListText(*command_.kindIndex) + " choice: its logs are " +
                KindListText(KindListSelection(values.m_nFilesPresent));
      return false;
    }
    values.choices.m_nKindIndex = *command_.kindIndex;
  }
  if (CheckSingleOk(values, messenger_, decisions_) != DialogOk::Close) {
    refused_ = true;
    reason_ = "the split dialog refused the values";
    return false;
  }
  return true;
}

bool BatchDialogs::RunSplitMulti(SplitMultiValues& values) {
  if (command_.number) values.m_nNumber = *command_.number;
  if (command_.kindIndex) values.m_nKindIndex = *command_.kindIndex;
  if (CheckMultiOk(values, messenger_) != DialogOk::Close) {
    refused_ = true;
    reason_ = "the split dialog refused the values";
    return false;
  }
  return true;
}
