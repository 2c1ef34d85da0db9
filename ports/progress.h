#pragma once
#include <string>

// The status-bar progress display that long engine operations step.
class ProgressPort {
 public:
  static constexpr unsigned long long kPulseBytes = 256 * 1024;

  virtual ~ProgressPort() = default;
  virtual void BeginProgress() = 0;
  // The engine steps once each time its bytes read pass the next multiple of
  // 5 percent, giving that multiple (5 .. 95), and once with 100 at the end
  // of the input.
  virtual void StepProgress(int percent) = 0;  // 0 to 100
  virtual void EndProgress() = 0;
  // Called between the steps, about every kPulseBytes the pass reads, so a
  // display on the reading thread can keep its window alive and move on
  // between the steps; permille is how far the pass is (0 to 1000). It must
  // cost little when it has nothing to do.
  virtual void Pulse(int permille) { (void)permille; }
  // The activity word shown beside the percentage ("解析" while analysing,
  // "分割" while splitting); set right before BeginProgress.
  virtual void SetProgressAction(const std::string& action) { (void)action; }
};

// For callers that show no progress.
class NoProgress : public ProgressPort {
 public:
  void BeginProgress() override {}
  void StepProgress(int) override {}
  void EndProgress() override {}
};
