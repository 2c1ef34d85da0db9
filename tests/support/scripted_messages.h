#pragma once
#include <deque>
#include <string>
#include <vector>

#include "ports/messages.h"

// A message port that records every box and file-error report and answers
// boxes from a script (the first queued answer; Ok/Yes when none is queued,
// whichever the box offers).
class ScriptedMessages : public MessagePort {
 public:
  struct Box {
    std::string text;
    std::string caption;
    MsgStyle style;
  };
  struct FileError {
    std::string file;
    int err;
  };

  MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) override {
    boxes.push_back({text, caption, style});
    if (!answers.empty()) {
      MsgResult r = answers.front();
      answers.pop_front();
      return r;
    }
    return style.buttons == MsgButtons::YesNo || style.buttons == MsgButtons::YesNoCancel ? MsgResult::Yes
                                                                                          : MsgResult::Ok;
  }
  void ReportFileError(const std::string& file, int err) override { fileErrors.push_back({file, err}); }

  void Answer(MsgResult r) { answers.push_back(r); }
  void Clear() {
    boxes.clear();
    fileErrors.clear();
    answers.clear();
  }

  std::vector<Box> boxes;
  std::vector<FileError> fileErrors;
  std::deque<MsgResult> answers;
};
