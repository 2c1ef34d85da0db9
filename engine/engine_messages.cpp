#include "engine/engine_messages.h"

#include "resources/string_table.h"

namespace {

// Replaces every "%1" and "%2" of text.
std::string FillArgs(std::string_view text, const std::string& first, const std::string& second) {
  std::string out;
  out.reserve(text.size() + first.size() + second.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
      out += text[i + 1] == '1' ? first : second;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

void ShowLineProblem(Messenger& messenger, const std::string& fileName, long long lineNumber,
                     int textId, int captionId, bool companionText) {
  const CompanionMode& mode = messenger.mode();
  std::string text = FillArgs(KivString(kMsgLinePrefix), fileName, std::to_string(lineNumber));
  if (companionText) {
    text += FormatCompanionText(mode, textId, mode.m_strUserName, mode.m_strHonorific);
  } else {
    text += FillArgs(KivString(textId), mode.m_strUserName, mode.m_strHonorific);
  }
  MsgStyle style;
  style.buttons = MsgButtons::Ok;
  style.icon = MsgIcon::Information;
  style.noOwner = true;
  messenger.port().ShowMessage(text, std::string(KivString(captionId)), style);
}

void ShowNameError(Messenger& messenger, const CNameError& error) {
  if (error.listError != 0) {
    messenger.FileError(error.fileName, error.listError);
    return;
  }
  MsgStyle style;
  style.buttons = MsgButtons::Ok;
  style.icon = MsgIcon::Exclamation;
  messenger.Box(error.messageId, error.fileName, style);
}
