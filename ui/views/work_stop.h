#pragma once
#include <QPointer>
#include <QWidget>

#include "ui/qt_support/window_pump.h"

class Messenger;
class StatusBarProgress;

// Stopping a command of the main window while it works: the 中止 button
// beside the progress and Esc ask it to stop at its next safe point, as
// Ctrl-C asks kiv-batch (the file in progress is taken back, what was
// committed stays). The close box asks once whether to stop; Yes stops and
// closes the window when the command has ended.
class WorkStop : public WorkControls {
 public:
  WorkStop(QWidget& window, StatusBarProgress& progress, Messenger& messenger);
  ~WorkStop() override;
  WorkStop(const WorkStop&) = delete;
  WorkStop& operator=(const WorkStop&) = delete;

  // The user's stop, from the button or Esc.
  void Stop();
  // After each command of the window: a stop is told in the status line and
  // cleared, and a close the user confirmed meanwhile goes ahead.
  void CommandEnded();

  // WorkControls.
  bool TakesClicks(const QObject* receiver, const QEvent& event) const override;
  void EscapePressed() override { Stop(); }
  void CloseRequested() override { closeWanted_ = true; }
  void AfterPump() override;

 private:
  QWidget& window_;
  StatusBarProgress& progress_;
  Messenger& messenger_;
  bool closeWanted_ = false;
  bool closeAfterWork_ = false;
};
