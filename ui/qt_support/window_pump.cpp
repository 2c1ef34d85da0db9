#include "ui/qt_support/window_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>

namespace {

int commandsAtWork = 0;
bool pumping = false;

// What the user does to the program; the window system's own events
// (exposure, resizing, focus, timers) pass. Only spontaneous events are the
// user's: the work itself may send such events to its own widgets.
bool IsUserInput(const QEvent& event) {
  // A key is offered as a shortcut by the shortcut machinery itself, which
  // sends the offer rather than the window system.
  if (event.type() == QEvent::ShortcutOverride) return true;
  if (!event.spontaneous()) return false;
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::Close: return true;
    default: return false;
  }
}

WorkControls* workControls = nullptr;

bool IsMouse(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return true;
    default: return false;
  }
}

// What the work controls take; true when the event is theirs.
bool ToWorkControls(QObject* watched, QEvent* event) {
  if (!workControls) return false;
  if (IsMouse(*event)) return workControls->TakesClicks(watched, *event);
  if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    workControls->EscapePressed();
    event->accept();
    return false;  // handled: dropped below all the same
  }
  if (event->type() == QEvent::Close) workControls->CloseRequested();
  return false;
}

class InputDropper : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!IsUserInput(*event)) return false;
    if (ToWorkControls(watched, event)) return false;
    // A key is first offered as a shortcut: taken as the focus widget's
    // own, it triggers no command, and the key itself is then dropped.
    if (event->type() == QEvent::ShortcutOverride)
      event->accept();
    else
      event->ignore();
    return true;
  }
};

QElapsedTimer& LastPump() {
  static QElapsedTimer timer;
  return timer;
}

}  // namespace

CommandAtWork::CommandAtWork() { ++commandsAtWork; }

CommandAtWork::~CommandAtWork() { --commandsAtWork; }

bool WindowAtWork() { return commandsAtWork > 0 || pumping; }

void PumpWindow() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || pumping) return;
  QElapsedTimer& last = LastPump();
  if (last.isValid() && last.elapsed() < kPumpIntervalMs) return;
  pumping = true;
  InputDropper dropper;
  app->installEventFilter(&dropper);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  app->removeEventFilter(&dropper);
  pumping = false;
  last.start();
  if (workControls && commandsAtWork > 0) workControls->AfterPump();
}

void SetWorkControls(WorkControls* controls) { workControls = controls; }
