#pragma once
#include <string>

#include "ports/messages.h"

class QWidget;

// Message boxes of the two companion programs (TORBLEN, MIRVASTO) on the
// desktop, as QMessageBox.
//
// When the environment holds KIV_MESSAGE_ANSWERS, no box is shown: each is
// written to standard error as one line "MESSAGE<TAB>caption<TAB>text" (line
// breaks of the text as "\n") and answered with the next word of that
// comma-separated list ("ok", "cancel", "yes", "no"), or, when the list is
// used up, with the box's first button. Tests drive the programs this way.
class DesktopMessageBox : public MessagePort {
 public:
  explicit DesktopMessageBox(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) override;
  void ReportFileError(const std::string& file, int err) override;

 private:
  QWidget* owner_;
};
