#include "messages/companion_mode.h"

#include <string_view>

#include "resources/ids.h"
#include "resources/string_table.h"

namespace {

// The text id speaks in the current voice. Captions, the checker message
// and other texts have no twin; a box that showed nothing would leave the
// user guessing, so those fall back to their normal text.
std::string_view VoicedText(const CompanionMode& mode, int id) {
  int voiced = CompanionId(mode, id);
  if (voiced != id && HasString(voiced)) return KivString(voiced);
  return KivString(id);
}

// One left-to-right pass: an argument is copied in as it is, so a name that
// itself holds "%2" stays the user's name. second == nullptr leaves "%2".
std::string Fill(std::string_view text, const std::string& first, const std::string* second) {
  std::string out;
  out.reserve(text.size() + first.size() + (second ? second->size() : 0));
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == '1') {
        out += first;
        ++i;
        continue;
      }
      if (text[i + 1] == '2' && second) {
        out += *second;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string_view BeforeFirstBreak(std::string_view text) { return text.substr(0, text.find('\n')); }

}  // namespace

std::string FillPlaceholders(std::string_view text, const std::string& first, const std::string& second) {
  return Fill(text, first, &second);
}

int CompanionId(const CompanionMode& mode, int id) {
  return mode.m_nCompanionType != 0 ? id - ids::kCompanionVoiceShift : id;
}

std::string FormatCompanionText(const CompanionMode& mode, int id, const std::string& first,
                                const std::string& second) {
  return Fill(VoicedText(mode, id), first, &second);
}

std::string FormatCompanionText(const CompanionMode& mode, int id, const std::string& first) {
  return Fill(VoicedText(mode, id), first, nullptr);
}

std::string CompanionPrompt(const CompanionMode& mode, int id) {
  // The cut belongs to the text (prompt before "\n", tooltip after), so it is
  // made before the name goes in.
  return Fill(BeforeFirstBreak(VoicedText(mode, id)), mode.m_strUserName, &mode.m_strHonorific);
}

std::string CommandTooltip(int id) {
  std::string_view text = KivString(id);
  std::size_t br = text.find('\n');
  if (br == std::string_view::npos) return {};
  return std::string(BeforeFirstBreak(text.substr(br + 1)));
}

MsgResult CompanionMessageBox(MessagePort& port, const CompanionMode& mode, int id, const std::string& first,
                              const std::string& second, MsgStyle style, int captionId) {
  Message message;
  message.id = id;
  message.text = FormatCompanionText(mode, id, first, second);
  message.caption = KivString(captionId != 0 ? captionId : id + 1);
  return port.ShowMessage(message, style);
}

std::string CompanionHonorific(int companionType) {
  return std::string(KivString(companionType == 2 ? ids::kStrHonorificFemale : ids::kStrHonorificMale));
}

std::string CompanionWindowTitle(int companionType) {
  CompanionMode mode;
  mode.m_nCompanionType = companionType;
  std::string title(VoicedText(mode, ids::kStrProgramName));
  title += "  Ver ";
  title += VoicedText(mode, ids::kStrVersion);
  return title;
}

std::string MixedLogText(const CompanionMode& mode, const std::string& fileName, int line) {
  std::string lineText = std::to_string(line);
  std::string text = Fill(KivString(ids::kMsgLinePrefix), fileName, &lineText);
  text += FormatCompanionText(mode, ids::kMsgMixedLog, mode.m_strUserName, mode.m_strHonorific);
  return text;
}

MsgResult Messenger::MixedLogError(const std::string& fileName, int line) {
  MsgStyle style;
  style.buttons = MsgButtons::Ok;
  style.icon = MsgIcon::Information;
  style.noOwner = true;
  return port_.ShowMessage(
      Message{ids::kMsgMixedLog, MixedLogText(mode_, fileName, line), std::string(KivString(ids::kMsgMixedLogCaption))},
      style);
}

CompanionChoice BeginCompanionDialog(CompanionMode& mode) {
  mode.m_bCompanionStored = true;
  CompanionChoice choice;
  choice.on = mode.m_nCompanionType != 0;
  choice.name = mode.m_strUserName;
  choice.radio = mode.m_nCompanionType == 2 ? 1 : 0;
  return choice;
}

void ApplyCompanionChoice(CompanionMode& mode, const CompanionChoice& choice) {
  // The radio group has two buttons; anything else is taken as the first.
  const int radio = choice.radio == 1 ? 1 : 0;
  mode.m_strUserName = choice.name;
  mode.m_strHonorific = std::string(KivString(ids::kStrHonorificMale + radio));
  mode.m_nCompanionType = choice.on ? radio + 1 : 0;
  mode.m_strTitle = CompanionWindowTitle(mode.m_nCompanionType);
}

bool ShowsGreeting(const CompanionMode& mode, const std::string& folderName) {
  return !mode.m_bCompanionStored && (folderName == "RURIRIR" || folderName == "VOZERUD");
}
