#pragma once
#include <QDialog>

#include "checker/folder_walk.h"

class QLabel;

// TORBLEN's progress window (dialog 102): a fixed text over one centred
// line naming the folder being visited. The walk runs on the one thread, so
// the window repaints itself whenever the line changes.
class ProgressWindow : public QDialog, public WalkObserver {
 public:
  ProgressWindow();

  void EnteringFolder(const std::string& name) override;

  // While busy, closing from the system menu is refused: the walk can't be
  // stopped half way through a folder.
  void SetBusy(bool busy) { busy_ = busy; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* folderLine_;
  bool busy_ = false;
};
