#pragma once
#include <string>
#include <string_view>

#include "ports/messages.h"

// The voice the main program speaks in. Owned by the application; loaded
// from the "Secret" settings at start-up, changed only by the companion
// dialog. Texts are UTF-8.
struct CompanionMode {
  int m_nCompanionType = 0;    // 0 off, 1 on and male user, 2 on and female user
  std::string m_strUserName;   // %1
  std::string m_strHonorific;  // %2
  bool m_bCompanionStored = false;
  std::string m_strTitle;
};

// The id a text is taken from: 4096 lower while the companion speaks.
int CompanionId(const CompanionMode& mode, int id);

// The text of CompanionId(id) with every "%1" and "%2" replaced; a missing
// string gives an empty text. The one-argument form replaces "%1" only.
// Arguments are UTF-8; what they bring in is never replaced again. When the
// companion has no twin for id, the normal text is used rather than nothing.
std::string FormatCompanionText(const CompanionMode& mode, int id, const std::string& first, const std::string& second);
std::string FormatCompanionText(const CompanionMode& mode, int id, const std::string& first);

// Every "%1" of text replaced by first and every "%2" by second, in one
// left-to-right pass: what an argument brings in is never replaced again.
// The one filling of the program's texts.
std::string FillPlaceholders(std::string_view text, const std::string& first, const std::string& second);

// A status-bar prompt: the formatted text with the user's name and honorific,
// cut before its first "\n".
std::string CompanionPrompt(const CompanionMode& mode, int id);

// The tooltip of a command: the part after "\n" of its normal prompt (empty when none).
std::string CommandTooltip(int id);

// Shows the message id through the port: text in the current voice, caption
// from the unshifted id captionId (id + 1 when captionId is 0).
MsgResult CompanionMessageBox(MessagePort& port, const CompanionMode& mode, int id, const std::string& first,
                              const std::string& second, MsgStyle style, int captionId = 0);

// The honorific for a companion type: "おねえちゃん" for 2, else "おにいちゃん".
std::string CompanionHonorific(int companionType);

// The main window's title for a companion type: the program name, "  Ver "
// and the version text, in the voice of that type.
std::string CompanionWindowTitle(int companionType);

// The mixed-log message: the position prefix "<file> - line <n> :" (normal
// voice always), followed directly by the mixed-log text in the current
// voice with the user's name and honorific. fileName is UTF-8.
std::string MixedLogText(const CompanionMode& mode, const std::string& fileName, int line);

// The companion dialog's fields: the check box, the name edit and the radio
// group (0 男, 1 女).
struct CompanionChoice {
  bool on = false;
  std::string name;
  int radio = 0;
};

// Opening the companion dialog: from now on the mode is written at exit, even
// when the dialog is cancelled. Returns the dialog's initial fields.
CompanionChoice BeginCompanionDialog(CompanionMode& mode);

// The dialog's OK: name, type, honorific and window title follow the choice
// at once. The window's title and icons are the caller's to change.
void ApplyCompanionChoice(CompanionMode& mode, const CompanionChoice& choice);

// True when filling the list for this forum folder shows the greeting: its
// name is exactly RURIRIR or VOZERUD (bytes, case counts) and the mode has
// never been stored.
bool ShowsGreeting(const CompanionMode& mode, const std::string& folderName);

// What the core is handed to speak to the user: the port and the voice.
class Messenger {
 public:
  Messenger(MessagePort& port, const CompanionMode& mode) : port_(port), mode_(mode) {}

  // The message id with the caller's first argument and the honorific as %2.
  MsgResult Box(int id, const std::string& first, MsgStyle style, int captionId = 0) {
    return CompanionMessageBox(port_, mode_, id, first, mode_.m_strHonorific, style, captionId);
  }
  // The message id with the user's name and honorific.
  MsgResult BoxToUser(int id, MsgStyle style, int captionId = 0) {
    return CompanionMessageBox(port_, mode_, id, mode_.m_strUserName, mode_.m_strHonorific, style, captionId);
  }
  // The mixed-log message box: no owner window, information icon, OK.
  MsgResult MixedLogError(const std::string& fileName, int line);
  void FileError(const std::string& file, int err) { port_.ReportFileError(file, err); }

  MessagePort& port() { return port_; }
  const CompanionMode& mode() const { return mode_; }

 private:
  MessagePort& port_;
  const CompanionMode& mode_;
};
