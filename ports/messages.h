#pragma once
#include <string>

// How the core shows a message box and the standard file-error report.
// Texts are UTF-8: the front end shows them as they are.

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Exclamation, Question, Stop };
enum class MsgResult { Ok, Cancel, Yes, No };

// What a box shows: the text and caption, and the string table's id the
// text was made from, so that a port can tell one message from another
// without reading its text. 0 for a text of no id (a file-error report, a
// dialog's own refusal).
struct Message {
  int id = 0;
  std::string text;
  std::string caption;
};

struct MsgStyle {
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
  bool noOwner = false;  // shown without an owner window (the mixed-log message)
};

class MessagePort {
 public:
  virtual ~MessagePort() = default;

  // A modal box; returns the button pressed.
  virtual MsgResult ShowMessage(const Message& message, MsgStyle style) = 0;

  // The standard file-error report: file names the file (or "source → target"
  // for a rename) in the platform's own encoding, err is the errno value.
  virtual void ReportFileError(const std::string& file, int err) = 0;
};
