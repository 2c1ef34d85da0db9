#pragma once
#include <cstdio>
#include <string>

#include "ports/progress.h"

// The progress display on a terminal: one line on standard error, redrawn
// in place, in the desktop's form "  35% - 解析中...". Silent when the
// stream is not a terminal, so logs of scheduled runs stay clean.
class ConsoleProgress : public ProgressPort {
 public:
  explicit ConsoleProgress(std::FILE* out);

  void SetProgressAction(const std::string& action) override { action_ = action; }
  void BeginProgress() override;
  void StepProgress(int percent) override;
  void EndProgress() override;

 private:
  void Draw();

  std::FILE* out_;
  bool terminal_;
  bool shown_ = false;
  int percent_ = 0;
  std::string action_;
};
