#pragma once
#include "ports/dialogs.h"

class DecisionPort;
class Messenger;
class QWidget;

// The split command's dialogs on the desktop: CSplitSingleDlg and
// CSplitMultiDlg, modal over the main window.
class QtSplitDialogs : public SplitDialogPort {
 public:
  QtSplitDialogs(Messenger& messenger, DecisionPort& decisions, QWidget* owner)
      : messenger_(messenger), decisions_(decisions), owner_(owner) {}
  bool RunSplitSingle(SplitSingleValues& values) override;
  bool RunSplitMulti(SplitMultiValues& values) override;

 private:
  Messenger& messenger_;
  DecisionPort& decisions_;
  QWidget* owner_;
};
