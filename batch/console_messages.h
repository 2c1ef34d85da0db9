#pragma once
#include <cstdio>

#include "ports/messages.h"

// kiv-batch's message boxes: each is written to standard error as its
// caption, ": ", its text, then an empty line; it never waits for an
// answer. A box is answered with its first button (Yes or OK): the
// commands' questions are answered by BatchDecisions.
class ConsoleMessages : public MessagePort {
 public:
  explicit ConsoleMessages(std::FILE* out) : out_(out) {}

  MsgResult ShowMessage(const Message& message, MsgStyle style) override;
  void ReportFileError(const std::string& file, int err) override;

  int fileErrors() const { return fileErrors_; }

 private:
  std::FILE* out_;
  int fileErrors_ = 0;
};
