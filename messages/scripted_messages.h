#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ports/messages.h"

// A message port that shows nothing: it records every box (its id, text,
// caption and style) and file-error report and answers each box from a
// script (the first queued answer; when none is queued, the box's first
// button: Yes or OK). The one way boxes are
// answered without a user: tests hand it to the core as its port, or to the
// desktop message box as its script; a companion program started by a test
// fills one from its environment.
class ScriptedMessages : public MessagePort {
 public:
  struct Box {
    int id;
    std::string text;
    std::string caption;
    MsgStyle style;
  };
  struct FileError {
    std::string file;
    int err;
  };

  static MsgResult FirstButton(MsgButtons buttons) {
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes : MsgResult::Ok;
  }

  MsgResult ShowMessage(const Message& message, MsgStyle style) override {
    boxes.push_back({message.id, message.text, message.caption, style});
    if (whenShown) whenShown(boxes.back());
    if (!answers.empty()) {
      MsgResult r = answers.front();
      answers.pop_front();
      return r;
    }
    return FirstButton(style.buttons);
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
  // Called as each box shows, before it is answered: what the user might do
  // meanwhile (another program finishes, say).
  std::function<void(const Box&)> whenShown;
};
