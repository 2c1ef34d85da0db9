#pragma once
// Ctrl-C and SIGTERM in the command-line programs: the first one asks the
// work in progress to stop at its next safe point (uncommitted output taken
// back, a commit already begun finished), rather than killing it where it
// stands. The programs then end as the signal would have ended them.

namespace plat {

// Catches SIGINT and SIGTERM from now on; each only raises the request.
void CatchInterrupts();

// Whether a caught signal asks the work to stop (cheap: one load).
bool InterruptRequested();

// The signal caught, or 0.
int InterruptSignal();

// Ends the process the way the caught signal would have, once the work has
// stopped; returns when nothing was caught.
void EndAsInterrupted();

// The desktop program's stop (its 中止 button, Esc while a command works):
// the same request as a caught SIGINT, which the window's command then
// clears once it has stopped; the program goes on.
void RequestInterrupt();
void ClearInterrupt();

// Tests: raise or clear the request as a signal would.
void SetInterruptForTest(int signal);

}  // namespace plat
