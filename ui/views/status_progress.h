#pragma once
#include <functional>
#include <string>

#include <QObject>
#include <QPointer>

#include "ports/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The progress display in the main window's status bar: a bar (kCtlProgressBar) at
// the left and the line " %3u%% - <action>中..." (kCtlProgressText) beside it, laid over
// the prompt line while an analysis or split reads its file. The engine runs
// on the user-interface thread, so every change repaints at once, and every
// call lets the window lay itself out and repaint (PumpWindow): the display
// follows the status bar when the window is resized meanwhile.
class StatusBarProgress : public QObject, public ProgressPort {
 public:
  explicit StatusBarProgress(QStatusBar* statusBar);
  ~StatusBarProgress() override;

  void SetProgressAction(const std::string& action) override { action_ = action; }
  void BeginProgress() override;
  // The bar and the text both show percent, the engine's own estimate, so
  // the last step of any file (an empty one included) reads 100.
  void StepProgress(int percent) override;
  void EndProgress() override;
  // Moves the bar, and the percentage with it, between the steps.
  void Pulse(int permille) override;

  // The 中止 button (kCtlStopButton) shown at the right while the progress
  // is: a click runs stop, which the main window sets.
  void SetStopAction(std::function<void()> stop) { stop_ = std::move(stop); }
  QPushButton* StopButton() const;

  bool Shown() const;
  QString Text() const;
  int BarValue() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Place();

  QStatusBar* statusBar_;
  QPointer<QProgressBar> bar_;
  QPointer<QLabel> text_;
  QPointer<QPushButton> stopButton_;
  std::function<void()> stop_;
  std::string action_;
  int percent_ = 0;
};

// " %3u%% - %s中...": "   0% - 解析中..." when an analysis starts.
std::string ProgressLine(int percent, const std::string& action);
