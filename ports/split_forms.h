#pragma once

// How a split names its old logs (setting ArcType) and where it cuts
// (setting SepMethod). The values are the settings' own numbers.
enum class NamingForm {
  Archive = 0,  // AR_9802A.LOG, listed in the archive list
  Serial = 1,   // MES_05.003, MES_05.M00
};
enum class SplitMethod {
  Single = 0,    // one cut at the number given
  Multiple = 1,  // a cut every number messages
};

// A stored setting as a form or method: 0 is the first, any other value the
// second, as the split has always taken them.
inline NamingForm NamingFormFromSetting(int value) { return value == 0 ? NamingForm::Archive : NamingForm::Serial; }
inline SplitMethod SplitMethodFromSetting(int value) {
  return value == 0 ? SplitMethod::Single : SplitMethod::Multiple;
}
// The number a form or method is stored as (and its radio button's index).
inline int SettingOf(NamingForm form) { return static_cast<int>(form); }
inline int SettingOf(SplitMethod method) { return static_cast<int>(method); }
