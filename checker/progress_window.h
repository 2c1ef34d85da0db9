#pragma once
#include <QDialog>

#include "checker/checker_run.h"

class QLabel;

// TORBLEN's progress window (kCheckerProgressDialog): a fixed text over one centred
// line naming the folder being visited. The walk runs on the one thread, so
// the window repaints itself whenever the line changes.
class ProgressWindow : public QDialog, public CheckerProgress {
 public:
  ProgressWindow();

  // While the window is shown, closing it from the system menu is refused:
  // the walk can't be stopped half way through a folder.
  void ShowProgress() override;
  void EnteringFolder(const std::string& name) override;
  void CloseProgress() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* folderLine_;
  bool busy_ = false;
};
