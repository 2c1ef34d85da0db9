#include "ui/qt_support/window_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>

namespace {

int commandsAtWork = 0;
bool pumping = false;

// What the user does to the program; the window system's own events
// (exposure, resizing, focus, timers) pass. Only spontaneous events are the
// user's: the work itself may send such events to its own widgets.
bool IsUserInput(const QEvent& event) {
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
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

class InputDropper : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (!IsUserInput(*event)) return false;
    // A key is first offered as a shortcut: taken as the focus widget's
    // own, it triggers no command, and the key itself is then dropped.
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    else event->ignore();
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
}
