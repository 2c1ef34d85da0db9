#pragma once
#include <memory>
#include <optional>
#include <string>

#include "commands/forum_writer.h"
#include "messages/box_decisions.h"
#include "messages/companion_mode.h"
#include "model/kiv_doc.h"
#include "ui/qt_support/desktop_message_box.h"

class Clock;
class SettingsStore;

// How Kiv was started.
struct StartOptions {
  bool defaultsMode = false;             // Shift held, or --defaults
  std::optional<std::string> logFolder;  // a shared log folder for this run only, not stored
};

// The caption of Kiv's own file-error reports: the program's name.
std::string KivProgramName();

// CKivApp: what one run of Kiv holds besides its window: the settings
// store, the companion voice and the title, the message port, and the
// document. Exit() is the end of the run: the document goes (writing the
// folders' histories and its settings), then the companion settings and the
// checker flag are written and the store is committed.
class CKivApp {
 public:
  CKivApp(SettingsStore& profile, const Clock& clock, const StartOptions& options);
  ~CKivApp();
  CKivApp(const CKivApp&) = delete;
  CKivApp& operator=(const CKivApp&) = delete;

  void Exit();

  SettingsStore& profile() { return profile_; }
  const Clock& clock() const { return clock_; }
  CompanionMode& mode() { return mode_; }
  DesktopMessageBox& messages() { return messages_; }
  Messenger& messenger() { return messenger_; }
  DecisionPort& decisions() { return decisions_; }
  CKivDoc& doc() { return *doc_; }

  bool m_bCheckListAtStart = false;
  bool m_bDefaultsMode = false;

 private:
  void LoadCompanion();

  SettingsStore& profile_;
  const Clock& clock_;
  CompanionMode mode_;
  DesktopMessageBox messages_;
  Messenger messenger_;
  BoxDecisions decisions_;
  // Writes each forum's history under the forum's lock; outlives the document.
  LockingHistoryWriter historyWriter_;
  std::unique_ptr<CKivDoc> doc_;
  bool exited_ = false;
};
