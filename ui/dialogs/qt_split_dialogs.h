#pragma once
#include "ports/dialogs.h"

class Messenger;
class QWidget;

// The split command's dialogs on the desktop: CSplitSingleDlg and
// CSplitMultiDlg, modal over the main window.
class QtSplitDialogs : public SplitDialogPort {
 public:
  QtSplitDialogs(Messenger& messenger, QWidget* owner) : messenger_(messenger), owner_(owner) {}
  bool RunSplitSingle(SplitSingleValues& values) override;
  bool RunSplitMulti(SplitMultiValues& values) override;

 private:
  Messenger& messenger_;
  QWidget* owner_;
};
