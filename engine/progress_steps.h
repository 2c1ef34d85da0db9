#pragma once
#include <cstdint>
#include <string>

#include "ports/progress.h"

// The progress of one pass over a log: one step each time the bytes consumed
// pass the next multiple of 5 percent of the file's length, at most one step
// per line, and a completion step at the end of the input.
class ProgressSteps {
 public:
  ProgressSteps(ProgressPort& port, std::uint64_t length) : port_(port), length_(length) { SetLimit(); }

  void Begin(const std::string& action) {
    port_.SetProgressAction(action);
    port_.BeginProgress();
  }
  // Called after each line: the test is a multiplication and a comparison,
  // because a division per line would cost as much as reading the line.
  void Consumed(std::uint64_t bytes) {
    if (bytes * 100 >= limit_) Step();
    if (bytes >= pulseAt_) Pulse(bytes);
  }
  // For a pass that looks at the input in stretches rather than lines: every
  // step the bytes have passed since the last call.
  void ConsumedUpTo(std::uint64_t bytes) {
    while (bytes * 100 >= limit_) Step();
    if (bytes >= pulseAt_) Pulse(bytes);
  }
  void Complete() { port_.StepProgress(100); }
  void End() { port_.EndProgress(); }

 private:
  void Step() {
    port_.StepProgress(threshold_);
    threshold_ += 5;
    SetLimit();
  }
  // The steps of a large file are far apart (5 percent of 3 GB is a few
  // hundred milliseconds of reading): the display is also pulsed in between.
  void Pulse(std::uint64_t bytes) {
    port_.Pulse(length_ == 0 || bytes >= length_ ? 1000 : static_cast<int>(bytes * 1000 / length_));
    pulseAt_ = bytes + ProgressPort::kPulseBytes;
  }
  // bytes * 100 / length > threshold exactly when bytes * 100 reaches
  // (threshold + 1) * length. Counted bytes include one CR per line, so a
  // file with bare LF ends (or one the host grew meanwhile) can run past its
  // length: the ordinary steps stop short of the completion step.
  void SetLimit() { limit_ = length_ == 0 || threshold_ >= 100 ? UINT64_MAX : (threshold_ + 1) * length_; }

  ProgressPort& port_;
  std::uint64_t length_;
  int threshold_ = 5;
  std::uint64_t limit_ = 0;
  std::uint64_t pulseAt_ = ProgressPort::kPulseBytes;
};
