#include "platform/interrupt.h"

#include <csignal>
#include <cstdlib>

namespace plat {

namespace {

volatile std::sig_atomic_t g_signal = 0;

extern "C" void OnSignal(int signal) {
  g_signal = signal;
#ifdef _WIN32
  // Windows' C runtime puts the default back before calling the handler.
  std::signal(signal, OnSignal);
#endif
}

}  // namespace

#ifdef _WIN32
// Ctrl-C and Ctrl-Break at the console come as SIGINT and SIGBREAK; SIGTERM
// is only ever raised by the program itself there.
void CatchInterrupts() {
  std::signal(SIGINT, OnSignal);
  std::signal(SIGBREAK, OnSignal);
  std::signal(SIGTERM, OnSignal);
}
#else
void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Reads and writes go on where they were: the work looks at the request
  // between its steps.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}
#endif

bool InterruptRequested() { return g_signal != 0; }

int InterruptSignal() { return g_signal; }

void EndAsInterrupted() {
  const int signal = g_signal;
  if (signal == 0) return;
#ifdef _WIN32
  // The status a console program ends with when Ctrl-C ends it.
  std::_Exit(static_cast<int>(0xC000013AU));
#else
  std::signal(signal, SIG_DFL);
  std::raise(signal);
#endif
}

void RequestInterrupt() { g_signal = SIGINT; }

void ClearInterrupt() { g_signal = 0; }

void SetInterruptForTest(int signal) { g_signal = signal; }

}  // namespace plat
