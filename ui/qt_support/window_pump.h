#pragma once

class QEvent;
class QObject;

// Kiv's commands work on the user-interface thread, reading logs of some
// gigabytes in one go. So that the window never looks hung meanwhile, the
// points where the work reports (its progress, its rows) pump the window:
// at most every kPumpIntervalMs, pending layout, resizing and painting are
// done, while what the user does in the window (keys, clicks, the menus, the
// wheel, the close box) is dropped. A command therefore never starts inside
// another, and nothing the user did while it worked runs after it.

inline constexpr int kPumpIntervalMs = 50;

// Marks a command of the window at work, for as long as it lives.
class CommandAtWork {
 public:
  CommandAtWork();
  ~CommandAtWork();
  CommandAtWork(const CommandAtWork&) = delete;
  CommandAtWork& operator=(const CommandAtWork&) = delete;
};

// While a command works, or while the window is pumped: what the window
// would otherwise start on its own (rereading the folder when the user
// comes back to it) waits.
bool WindowAtWork();

// What the user may still do while a command works: click the stop button,
// press Esc, or click the close box. The window that runs commands says
// what each does; every other input stays dropped.
class WorkControls {
 public:
  virtual ~WorkControls() = default;
  // Mouse input that receiver (the stop button, or the window it lies in,
  // which the window system hands the input first) gets, reaches it.
  virtual bool TakesClicks(const QObject* receiver, const QEvent& event) const = 0;
  virtual void EscapePressed() = 0;
  // The close box: the close itself is dropped; AfterPump may ask.
  virtual void CloseRequested() = 0;
  // After each pump, outside the pass over the events: a question may be
  // asked here.
  virtual void AfterPump() = 0;
};

// The controls the pump hands input to (null: none); they must outlive
// their use.
void SetWorkControls(WorkControls* controls);

// Lets the window lay itself out and repaint, unless it did so less than
// kPumpIntervalMs ago.
void PumpWindow();
