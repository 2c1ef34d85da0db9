#pragma once
#include <string>

#include "ports/messages.h"

class QWidget;

// Kiv's message boxes and its standard file-error report, as QMessageBox
// with the box's own icon and buttons. A box is owned by the open modal
// dialog when there is one (the split dialog asks its range question over
// itself), else by the main window; the mixed-log message has no owner.
//
// GUI tests hand it a script port instead: every box and report then goes
// to that port, which records it and answers, and nothing is shown.
class QtMessagePort : public MessagePort {
 public:
  explicit QtMessagePort(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  void SetScript(MessagePort* script) { script_ = script; }

  MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) override;
  void ReportFileError(const std::string& file, int err) override;

 private:
  QWidget* Owner(const MsgStyle& style) const;

  QWidget* owner_;
  MessagePort* script_ = nullptr;
};
