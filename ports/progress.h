#pragma once

// The status-bar progress display that long engine operations step.
class ProgressPort {
 public:
  virtual ~ProgressPort() = default;
  virtual void BeginProgress() = 0;
  virtual void StepProgress(int percent) = 0;  // 0 to 100
  virtual void EndProgress() = 0;
};

// For callers that show no progress.
class NoProgress : public ProgressPort {
 public:
  void BeginProgress() override {}
  void StepProgress(int) override {}
  void EndProgress() override {}
};
