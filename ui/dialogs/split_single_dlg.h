#pragma once
#include "ports/dialogs.h"
#include "ui/dialogs/split_dialog_base.h"

class DecisionPort;
class QLabel;

// CSplitSingleDlg (kDlgSplitSingle): the split of one room, showing its body and title
// log with their ranges. Works on the caller's values; the caller uses them
// only after OK.
class CSplitSingleDlg : public SplitDialogBase {
  Q_OBJECT

 public:
  CSplitSingleDlg(SplitSingleValues& values, Messenger& messenger, DecisionPort& decisions, QWidget* parent = nullptr);

 protected:
  void ShowValues() override;
  bool ReadValues() override;
  void OnFirstMethod() override;
  void OnSecondMethod() override;
  void OnOk() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillKindList();

  SplitSingleValues& v_;
  DecisionPort& decisions_;
  QLabel* bodyFile_;
  QLabel* bodyRange_;
  QLabel* titleFile_;
  QLabel* titleRange_;
};
