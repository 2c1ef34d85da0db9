#include "engine/engine_messages.h"

#include "resources/string_table.h"

void ShowLineProblem(Messenger& messenger, const std::string& fileName, long long lineNumber, int textId, int captionId,
                     bool companionText) {
  const CompanionMode& mode = messenger.mode();
  std::string text = FillPlaceholders(KivString(ids::kMsgLinePrefix), fileName, std::to_string(lineNumber));
  if (companionText) {
    text += FormatCompanionText(mode, textId, mode.m_strUserName, mode.m_strHonorific);
  } else {
    text += FillPlaceholders(KivString(textId), mode.m_strUserName, mode.m_strHonorific);
  }
  MsgStyle style;
  style.buttons = MsgButtons::Ok;
  style.icon = MsgIcon::Information;
  style.noOwner = true;
  messenger.port().ShowMessage(Message{textId, text, std::string(KivString(captionId))}, style);
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
