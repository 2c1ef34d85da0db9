#include "ui/views/work_stop.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include "messages/companion_mode.h"
#include "platform/interrupt.h"
#include "resources/ids.h"
#include "ui/qt_support/qt_text.h"
#include "ui/views/status_progress.h"

WorkStop::WorkStop(QWidget& window, StatusBarProgress& progress, Messenger& messenger)
    : window_(window), progress_(progress), messenger_(messenger) {
  progress_.SetStopAction([this] { Stop(); });
  SetWorkControls(this);
}

WorkStop::~WorkStop() {
  SetWorkControls(nullptr);
  progress_.SetStopAction({});
}

void WorkStop::Stop() {
  plat::RequestInterrupt();
  if (QPushButton* button = progress_.StopButton()) button->setEnabled(false);
}

bool WorkStop::TakesClicks(const QObject* receiver, const QEvent& event) const {
  const QPushButton* button = progress_.StopButton();
  if (!button || !button->isEnabled()) return false;
  if (receiver == button) return true;
  // The window system hands the click to the window first, which passes it
  // on to the widget under the pointer.
  if (receiver != window_.windowHandle()) return false;
  const auto& mouse = static_cast<const QMouseEvent&>(event);
  return button->rect().contains(button->mapFromGlobal(mouse.globalPosition().toPoint()));
}

void WorkStop::AfterPump() {
  if (!closeWanted_ || closeAfterWork_) return;
  closeWanted_ = false;
  if (messenger_.BoxToUser(ids::kMsgStopToClose, MsgStyle{MsgButtons::YesNo, MsgIcon::Question}) != MsgResult::Yes) {
    return;
  }
  closeAfterWork_ = true;
  Stop();
}

void WorkStop::CommandEnded() {
  if (plat::InterruptRequested()) {
    plat::ClearInterrupt();
    window_.findChild<QStatusBar*>()->showMessage(Qs(FormatCompanionText(messenger_.mode(), ids::kStrNoteStopped, "")));
  }
  if (closeAfterWork_) {
    closeAfterWork_ = false;
    QTimer::singleShot(0, &window_, [this] { window_.close(); });
  }
}
