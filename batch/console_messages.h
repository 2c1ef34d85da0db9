#pragma once
#include <cstdio>

#include "ports/messages.h"

// kiv-batch's message boxes: each is written to standard error as its
// caption, ": ", its text, then an empty line; it never waits for an
// answer. Questions are answered Yes, except the question whether to
// overwrite an existing backup, answered as the command line says.
class ConsoleMessages : public MessagePort {
 public:
  explicit ConsoleMessages(std::FILE* out) : out_(out) {}

  MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) override;
  void ReportFileError(const std::string& file, int err) override;

  void SetOverwriteBackups(bool overwrite) { overwriteBackups_ = overwrite; }
  int fileErrors() const { return fileErrors_; }

 private:
  std::FILE* out_;
  bool overwriteBackups_ = false;
  int fileErrors_ = 0;
};
