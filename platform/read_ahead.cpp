#include "platform/read_ahead.h"

#include <cerrno>
#include <chrono>
#include <system_error>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat {

namespace {

// How long a thread spins before it sleeps. The caller waits for a read
// under way, which from the page cache takes some tens of microseconds; the
// second thread waits for the caller to scan a block, which takes about as
// long in an analysis. Waking a sleeping thread costs about as much again,
// so both spin a little longer than that, and no longer: on a busy machine
// a spinning thread takes the core the other one waits for.
constexpr std::chrono::microseconds kCallerSpin(200);
constexpr std::chrono::microseconds kWorkerSpin(100);

inline void Pause() {
#if defined(__SSE2__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

void ReadAhead::Start(int fd, char* into, std::size_t blockSize) {
  Stop();
  fd_ = fd;
  blockSize_ = blockSize;
  stop_ = false;
  into_ = into;
  posted_ = true;
  state_ = kAsked;
  step_ = 0;
  spentAhead_ = spentHere_ = Clock::duration::zero();
  aheadWins_ = true;
  last_ = Clock::now();
  try {
    worker_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // Without a second thread the caller reads on by itself.
  }
}

template <class Ready>
void ReadAhead::Await(Ready ready, std::chrono::microseconds spin) {
  const auto until = std::chrono::steady_clock::now() + spin;
  for (unsigned i = 1;; ++i) {
    if (ready()) return;
    Pause();
    if (i % 64 == 0 && std::chrono::steady_clock::now() > until) break;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  ++sleepers_;
  woken_.wait(lock, ready);
  --sleepers_;
}

void ReadAhead::Wake() {
  // The state was stored before sleepers_ is looked at, and a sleeper
  // counts itself before it looks at the state: one of the two sees the
  // other, so no wake-up is lost.
  if (sleepers_.load() == 0) return;
  std::lock_guard<std::mutex> lock(mutex_);
  woken_.notify_all();
}

ReadAhead::Block ReadAhead::Take(char* here) {
  int asked = kAsked;
  if (!posted_) {
    block_ = ReadBlock(here ? here : into_);
  } else if (state_.compare_exchange_strong(asked, kReading)) {
    // Waiting for the second thread to be scheduled would cost more than
    // the read.
    block_ = ReadBlock(into_);
  } else {
    Await([this] { return state_.load() == kDone; }, kCallerSpin);
  }
  state_.store(kIdle);
  Time();
  return block_;
}

bool ReadAhead::AheadFor(int step) const {
  // First the thread settles in, untimed; then the two trials.
  if (step < kTrial) return true;
  if (step < 2 * kTrial) return false;
  if (step < 3 * kTrial) return true;
  return aheadWins_;
}

void ReadAhead::Time() {
  // The time from one block taken to the next is what the pass spends on a
  // block, its scan and its read together. The first blocks of each trial
  // are left out: they follow blocks of the other way, and a thread that
  // slept meanwhile takes a while to be running again. The thread keeps
  // the rest of the cycle unless the pass alone was clearly faster: a
  // machine that makes it lose does so by far.
  const Clock::time_point now = Clock::now();
  if (step_ >= kTrial && step_ < 3 * kTrial && step_ % kTrial >= kWarmUp) {
    (AheadFor(step_) ? spentAhead_ : spentHere_) += now - last_;
  }
  if (step_ == 3 * kTrial - 1) aheadWins_ = spentHere_ * 8 > spentAhead_ * 7;
  last_ = now;
  if (++step_ == kCycle) {
    step_ = 0;
    spentAhead_ = spentHere_ = Clock::duration::zero();
  }
}

void ReadAhead::Request(char* into) {
  into_ = into;
  posted_ = AheadFor(step_);
  if (!posted_) return;  // the caller reads it at Take
  state_.store(kAsked);
  Wake();
}

void ReadAhead::Stop() {
  if (worker_.joinable()) {
    stop_.store(true);
    Wake();
    worker_.join();
  }
  state_ = kIdle;
}

void ReadAhead::Run() {
  for (;;) {
    Await([this] { return stop_.load() || state_.load() == kAsked; }, kWorkerSpin);
    if (stop_.load()) return;
    int asked = kAsked;
    if (!state_.compare_exchange_strong(asked, kReading)) continue;  // the caller read it itself
    block_ = ReadBlock(into_);
    state_.store(kDone);
    Wake();
  }
}

ReadAhead::Block ReadAhead::ReadBlock(char* into) const {
  Block block;
  block.data = into;
  for (;;) {
    const auto n = ::read(fd_, into, blockSize_);
    if (n >= 0) {
      block.size = static_cast<std::size_t>(n);
      return block;
    }
    if (errno != EINTR) {
      block.error = errno;
      return block;
    }
  }
}

}  // namespace plat
