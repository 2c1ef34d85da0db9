#include "platform/interrupt.h"

#include <csignal>

namespace plat {

namespace {

volatile std::sig_atomic_t g_signal = 0;

extern "C" void OnSignal(int signal) { g_signal = signal; }

}  // namespace

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

bool InterruptRequested() { return g_signal != 0; }

int InterruptSignal() { return g_signal; }

void EndAsInterrupted() {
  const int signal = g_signal;
  if (signal == 0) return;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void SetInterruptForTest(int signal) { g_signal = signal; }

}  // namespace plat
