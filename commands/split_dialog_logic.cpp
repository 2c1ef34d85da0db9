#include "commands/split_dialog_logic.h"

#include <algorithm>

#include "messages/companion_mode.h"
#include "ports/decisions.h"
#include "resources/ids.h"

namespace {

bool NumberInRange(int n) { return n >= 0 && n <= kSplitNumberMax; }

DialogOk RefuseZeroStep(Messenger& messenger) {
  messenger.BoxToUser(ids::kMsgZeroStep, MsgStyle{MsgButtons::Ok, MsgIcon::Question});
  return DialogOk::StayOpen;
}

}  // namespace

std::string KindListText(int kindIndex) {
  switch (kindIndex) {
    case kKindIndexBody: return "本文のみ";
    case kKindIndexTitle: return "タイトルのみ";
    case kKindIndexBoth: return "本文＋タイトル";
    default: return {};
  }
}

std::vector<int> KindListEntries(int filesPresent) {
  switch (filesPresent) {
    case kFilesBody: return {kKindIndexBody};
    case kFilesTitle: return {kKindIndexTitle};
    default: return {kKindIndexBody, kKindIndexTitle, kKindIndexBoth};
  }
}

int KindListSelection(int filesPresent) {
  return filesPresent == kFilesBoth ? kKindIndexBoth : KindListEntries(filesPresent).front();
}

int KindSetFromIndex(int kindIndex) {
  switch (kindIndex) {
    case kKindIndexBody: return 1;
    case kKindIndexTitle: return 2;
    default: return 3;
  }
}

void ChooseFirstMethod(SplitChoices& v) {
  v.m_nNumber = v.m_nSavedNumber;
  v.m_nMethod = SplitMethod::Single;
}

void ChooseSecondMethod(SplitChoices& v) {
  v.m_nSavedNumber = v.m_nNumber;
  v.m_nNumber = 1000;
  v.m_nMethod = SplitMethod::Multiple;
}

DialogOk CheckSingleOk(const SplitSingleValues& v, Messenger& messenger, DecisionPort& decisions) {
  const SplitChoices& c = v.choices;
  if (!NumberInRange(c.m_nNumber)) return DialogOk::BadNumber;
  if (c.m_nMethod == SplitMethod::Single) {
    int low = v.m_nBodyLow;
    int high = v.m_nBodyHigh;
    if (v.m_nFilesPresent == kFilesTitle || (v.m_nFilesPresent == kFilesBoth && c.m_nKindIndex == kKindIndexTitle)) {
      low = v.m_nTitleLow;
      high = v.m_nTitleHigh;
    } else if (v.m_nFilesPresent == kFilesBoth && c.m_nKindIndex == kKindIndexBoth) {
      low = std::min(v.m_nBodyLow, v.m_nTitleLow);
      high = std::max(v.m_nBodyHigh, v.m_nTitleHigh);
    }
    if ((c.m_nNumber < low || c.m_nNumber > high) && !decisions.SplitOutsideRange()) return DialogOk::StayOpen;
  }
  return CheckMultiOk(c, messenger);
}

DialogOk CheckMultiOk(const SplitChoices& v, Messenger& messenger) {
  if (!NumberInRange(v.m_nNumber)) return DialogOk::BadNumber;
  if (v.m_nMethod == SplitMethod::Multiple && v.m_nNumber == 0) return RefuseZeroStep(messenger);
  return DialogOk::Close;
}

void PressNumberPadDigit(NumberPadValues& pad, int digit) {
  if (digit < 0 || digit > 9) return;
  long long value = static_cast<long long>(pad.value) * 10 + digit;
  pad.value = value > kSplitNumberMax ? kSplitNumberMax : static_cast<int>(value);
  pad.display = std::to_string(pad.value) + " ";
}

void ClearNumberPad(NumberPadValues& pad) {
  pad.value = 0;
  pad.display = "0 ";
}
