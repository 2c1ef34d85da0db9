#pragma once
#include "messages/companion_mode.h"

class CKivDoc;
class Clock;
class DecisionPort;
class ProgressPort;
class RowsPort;

// How a command that writes takes the current forum, once the user has
// confirmed it, so that no other program writes there meanwhile.
class ForumWriteGate {
 public:
  virtual ~ForumWriteGate() = default;
  // Holds the forum until Leave(); false, with the user told, when another
  // program keeps it: the command then writes nothing.
  virtual bool Enter() = 0;
  virtual void Leave() = 0;
};

// The forum held for as long as the object lives; held at once without a
// gate (kiv-batch holds its forum for its whole run).
class HeldForum {
 public:
  explicit HeldForum(ForumWriteGate* gate) : gate_(gate), held_(!gate || gate->Enter()) {}
  ~HeldForum() {
    if (gate_ && held_) gate_->Leave();
  }
  HeldForum(const HeldForum&) = delete;
  HeldForum& operator=(const HeldForum&) = delete;
  explicit operator bool() const { return held_; }

 private:
  ForumWriteGate* gate_;
  bool held_;
};

// What every command of the log list works with: the document (current
// folder and settings), the list rows, the voice and message port, the
// answers to the commands' questions, the progress display and the clock, and the gate a command that writes takes
// the forum through (null when the front end holds it already). All of it
// is owned by the front end.
struct CommandContext {
  CKivDoc& doc;
  RowsPort& rows;
  Messenger& messenger;
  DecisionPort& decisions;
  ProgressPort& progress;
  const Clock& clock;
  ForumWriteGate* writeGate = nullptr;
};
