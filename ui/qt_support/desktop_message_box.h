#pragma once
#include <memory>
#include <string>

#include "ports/messages.h"

class QWidget;

// The message boxes of Kiv and of its companion programs (TORBLEN,
// MIRVASTO), as QMessageBox with the box's own icon and Japanese standard
// buttons. A box is owned by the open modal dialog when there is one (the
// split dialog asks its range question over itself), else by the owner
// window; a box marked noOwner has none. The standard file-error report is
// a box with the exclamation icon under the program's own caption.
//
// With a script port set, nothing is shown: every box and report goes to
// that port, which records it and answers (tests hand it a ScriptedMessages).
class DesktopMessageBox : public MessagePort {
 public:
  explicit DesktopMessageBox(std::string fileErrorCaption, QWidget* owner = nullptr);
  ~DesktopMessageBox() override;

  void SetOwner(QWidget* owner) { owner_ = owner; }
  void SetScript(MessagePort* script) { script_ = script; }

  // A companion program started by a test: when the environment holds
  // KIV_MESSAGE_ANSWERS, each box is written to standard error as one line
  // "MESSAGE<TAB>caption<TAB>text" (line breaks of the text as "\n") and
  // answered with the next word of that comma-separated list ("ok",
  // "cancel", "yes", "no"), or, when the list is used up, with the box's
  // first button. Without the variable, nothing changes.
  void TakeScriptFromEnvironment();

  MsgResult ShowMessage(const Message& message, MsgStyle style) override;
  void ReportFileError(const std::string& file, int err) override;

 private:
  QWidget* Owner(const MsgStyle& style) const;

  std::string fileErrorCaption_;
  QWidget* owner_;
  MessagePort* script_ = nullptr;
  std::unique_ptr<MessagePort> environmentScript_;
};
