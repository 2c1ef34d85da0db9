#pragma once
#include <string>
#include <vector>

#include "ports/dialogs.h"

class DecisionPort;
class Messenger;

// What the split dialogs do beyond showing their values; the desktop
// dialogs call these from their handlers, kiv-batch calls them directly.

// The text of a kind list entry (kKindIndexBody, kKindIndexTitle, kKindIndexBoth).
std::string KindListText(int kindIndex);
// The entries the single dialog's kind list holds for the files present,
// and the one it selects when it gets the focus.
std::vector<int> KindListEntries(int filesPresent);
int KindListSelection(int filesPresent);
// The kind set a kind index stands for: 1 body logs, 2 title logs, 3 both.
int KindSetFromIndex(int kindIndex);

// The first method radio brings back the remembered number; the second
// remembers the number shown and proposes 1000.
void ChooseFirstMethod(SplitChoices& v);
void ChooseSecondMethod(SplitChoices& v);

enum class DialogOk {
  Close,      // the dialog closes with OK
  StayOpen,   // a question was answered No, or a refusal was shown
  BadNumber,  // outside 0..65536: the dialog shows its standard message and stays open
};

// OK of CSplitSingleDlg: under the first method a number outside the range
// of the logs to be processed asks whether to split there anyway; the second
// method refuses 0 (kMsgZeroStep).
DialogOk CheckSingleOk(const SplitSingleValues& v, Messenger& messenger, DecisionPort& decisions);
// OK of CSplitMultiDlg: the second method refuses 0 (kMsgZeroStep).
DialogOk CheckMultiOk(const SplitChoices& v, Messenger& messenger);

// The keypad: a digit appends (capped at 65536), Clear starts again.
void PressNumberPadDigit(NumberPadValues& pad, int digit);
void ClearNumberPad(NumberPadValues& pad);
