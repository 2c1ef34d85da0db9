#include "ui/app/kiv_app.h"

#include "profile/settings_store.h"
#include "resources/ids.h"
#include "resources/settings_keys.h"
#include "resources/string_table.h"

std::string KivProgramName() { return std::string(KivString(ids::kStrProgramName)); }

CKivApp::CKivApp(SettingsStore& profile, const Clock& clock, const StartOptions& options)
    : m_bDefaultsMode(options.defaultsMode),
      profile_(profile),
      clock_(clock),
      messages_(KivProgramName()),
      messenger_(messages_, mode_),
      decisions_(messenger_),
      historyWriter_(messenger_, decisions_, plat::kLockHolderKiv) {
  LoadCompanion();
  m_bCheckListAtStart = profile_.GetProfileInt(settings::kSetting, settings::kCheckList, 0) != 0;
  doc_ = std::make_unique<CKivDoc>(profile_, m_bDefaultsMode, &clock_);
  doc_->folders().SetHistoryWriter(&historyWriter_);
  // A folder given for this run replaces the stored one without being stored.
  if (options.logFolder) doc_->UseLogFolderForThisRun(*options.logFolder);
}

CKivApp::~CKivApp() { Exit(); }

void CKivApp::LoadCompanion() {
  mode_.m_nCompanionType = profile_.GetProfileInt(settings::kSecret, settings::kCompanionType, 0);
  mode_.m_strHonorific = CompanionHonorific(mode_.m_nCompanionType);
  std::string name = profile_.GetProfileString(settings::kSecret, settings::kUserName, "");
  mode_.m_bCompanionStored = !name.empty();
  mode_.m_strUserName = name.empty() ? std::string(KivString(ids::kStrDefaultUserName)) : name;
  mode_.m_strTitle = CompanionWindowTitle(mode_.m_nCompanionType);
}

void CKivApp::Exit() {
  if (exited_) return;
  exited_ = true;
  doc_->Shutdown();
  if (mode_.m_bCompanionStored) {
    profile_.WriteProfileInt(settings::kSecret, settings::kCompanionType, mode_.m_nCompanionType);
    profile_.WriteProfileString(settings::kSecret, settings::kUserName, mode_.m_strUserName);
  }
  profile_.WriteProfileInt(settings::kSetting, settings::kCheckList, m_bCheckListAtStart ? 1 : 0);
  profile_.Commit();
}
