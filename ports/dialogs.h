#pragma once
#include <string>

#include "ports/split_forms.h"

// The split dialogs and the number keypad as value objects: the command
// fills them before the dialog opens and reads them after OK; the desktop
// program shows them in widgets, kiv-batch fills them from its arguments.
// Texts are UTF-8.

// Indexes of the kind list, always counted in its full three-entry form:
// 本文のみ, タイトルのみ, 本文＋タイトル. A list that shows fewer entries still
// hands back the index its chosen text has here.
inline constexpr int kKindIndexBody = 0;
inline constexpr int kKindIndexTitle = 1;
inline constexpr int kKindIndexBoth = 2;

// Files present in the room of the single dialog.
inline constexpr int kFilesBody = 1;
inline constexpr int kFilesTitle = 2;
inline constexpr int kFilesBoth = 3;

// The number field takes 0 to 65536.
inline constexpr int kSplitNumberMax = 0x10000;

// What both split dialogs choose: the naming form, the method, the kind
// list's index and the number.
struct SplitChoices {
  NamingForm m_nForm = NamingForm::Archive;
  SplitMethod m_nMethod = SplitMethod::Single;
  int m_nKindIndex = kKindIndexBoth;
  int m_nNumber = 0;
  int m_nSavedNumber = 0;  // kept for the first method while the second is chosen
};

// CSplitSingleDlg: one room, with its body and title log shown.
struct SplitSingleValues {
  SplitChoices choices;
  int m_nBodyLow = 0;
  int m_nBodyHigh = 0x10000;  // 65536: the room has no body log
  int m_nTitleLow = 0;
  int m_nTitleHigh = 0x10000;
  int m_nFilesPresent = -1;
  std::string m_strBodyFile;
  std::string m_strBodyRange;
  std::string m_strTitleFile;
  std::string m_strTitleRange;
};

// CSplitMultiDlg: several rooms, no files shown.
using SplitMultiValues = SplitChoices;

// CNumberPadDlg: the value keyed so far and the display text.
struct NumberPadValues {
  int value = 0;
  std::string display = "0 ";
};

// Shows a split dialog modally; true when it was closed with OK, and then
// the values hold what the user chose.
class SplitDialogPort {
 public:
  virtual ~SplitDialogPort() = default;
  virtual bool RunSplitSingle(SplitSingleValues& values) = 0;
  virtual bool RunSplitMulti(SplitMultiValues& values) = 0;
};
