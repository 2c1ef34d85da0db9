#include "batch/console_progress.h"

#include "platform/console.h"

ConsoleProgress::ConsoleProgress(std::FILE* out) : out_(out), terminal_(plat::IsTerminal(out)) {}

void ConsoleProgress::Draw() {
  if (!terminal_) return;
  std::fprintf(out_, "\r %3d%% - %s中...", percent_, action_.c_str());
  std::fflush(out_);
  shown_ = true;
}

void ConsoleProgress::BeginProgress() {
  percent_ = 0;
  Draw();
}

void ConsoleProgress::StepProgress(int percent) {
  percent_ = percent;
  Draw();
}

void ConsoleProgress::EndProgress() {
  if (terminal_ && shown_) {
    std::fputs("\r\x1b[K", out_);
    std::fflush(out_);
  }
  shown_ = false;
  percent_ = 0;
}
