#include "batch/console_messages.h"

#include "platform/file_error.h"
#include "resources/ids.h"
#include "resources/string_table.h"

MsgResult ConsoleMessages::ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) {
  std::fprintf(out_, "%s: %s\n\n", caption.c_str(), text.c_str());
  std::fflush(out_);
  switch (style.buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::OkCancel: return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
      if (caption == KivString(ids::kMsgBackupExistsCaption)) return overwriteBackups_ ? MsgResult::Yes : MsgResult::No;
      return MsgResult::Yes;
  }
  return MsgResult::Ok;
}

void ConsoleMessages::ReportFileError(const std::string& file, int err) {
  ++fileErrors_;
  std::fprintf(out_, "%s\n\n", plat::FileErrorText(file, err).c_str());
  std::fflush(out_);
}
