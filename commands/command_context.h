#pragma once
#include "messages/companion_mode.h"

class CKivDoc;
class Clock;
class ProgressPort;
class RowsPort;

// What every command of the log list works with: the document (current
// folder and settings), the list rows, the voice and message port, the
// progress display and the clock. All of it is owned by the front end.
struct CommandContext {
  CKivDoc& doc;
  RowsPort& rows;
  Messenger& messenger;
  ProgressPort& progress;
  const Clock& clock;
};
