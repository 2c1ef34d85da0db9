#pragma once
#include <QObject>

class QLocalServer;
class QWidget;

// One copy of Kiv per user. The running copy listens on a local socket
// named after its main window's class, "KivMainWindow"; a second copy that
// reaches it asks it to come forward and then ends without a window.
class RunningCopy : public QObject {
  Q_OBJECT

 public:
  // True when another copy was running and has been asked to show itself.
  static bool AskRunningCopyToShow();

  // Listens for later copies; each makes window shown in its normal state
  // when it is minimised, else raised and activated.
  explicit RunningCopy(QWidget* window);
  ~RunningCopy() override;

 private:
  void ShowWindow();

  QWidget* window_;
  QLocalServer* server_;
};
