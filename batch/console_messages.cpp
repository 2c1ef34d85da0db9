#include "batch/console_messages.h"

#include "platform/file_error.h"

MsgResult ConsoleMessages::ShowMessage(const Message& message, MsgStyle style) {
  std::fprintf(out_, "%s: %s\n\n", message.caption.c_str(), message.text.c_str());
  std::fflush(out_);
  switch (style.buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::OkCancel: return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgResult::Yes;
  }
  return MsgResult::Ok;
}

void ConsoleMessages::ReportFileError(const std::string& file, int err) {
  ++fileErrors_;
  std::fprintf(out_, "%s\n\n", plat::FileErrorText(file, err).c_str());
  std::fflush(out_);
}
