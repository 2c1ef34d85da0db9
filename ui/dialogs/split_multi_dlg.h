#pragma once
#include "ports/dialogs.h"
#include "ui/dialogs/split_dialog_base.h"

// CSplitMultiDlg (kDlgSplitMulti): the split of several rooms at once; no files shown.
class CSplitMultiDlg : public SplitDialogBase {
  Q_OBJECT

 public:
  CSplitMultiDlg(SplitMultiValues& values, Messenger& messenger, QWidget* parent = nullptr);

 protected:
  void ShowValues() override;
  bool ReadValues() override;
  void OnFirstMethod() override;
  void OnSecondMethod() override;
  void OnOk() override;

 private:
  SplitMultiValues& v_;
};
