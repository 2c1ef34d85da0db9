#include "model/kiv_doc.h"

#include <algorithm>

#include "model/directory.h"
#include "model/entry_scan.h"
#include "ports/profile.h"
#include "resources/settings_keys.h"

namespace {

// Marks a value that is not stored, so its default can be told apart from
// a stored 0.
constexpr int kAbsent = -1;

int ReadWithDefault(ProfilePort& profile, const char* name, int defaultValue) {
  int value = profile.GetProfileInt(settings::kSetting, name, kAbsent);
  return value == kAbsent ? defaultValue : value;
}

}  // namespace

CKivDoc::CKivDoc(ProfilePort& profile, bool defaultsMode, const Clock* clock)
    : m_bDefaultsMode(defaultsMode), profile_(profile), folders_(clock) {
  ReadSettings();
}

CKivDoc::~CKivDoc() { Shutdown(); }

void CKivDoc::ReadSettings() {
  m_strLogFolder = profile_.GetProfileString(settings::kSetting, settings::kLogFolder, "");
  storedLogFolder_ = m_strLogFolder;
  m_strExeFile1 = profile_.GetProfileString(settings::kShell, settings::kExeFile, "");
  m_strExeOpt1 = profile_.GetProfileString(settings::kShell, settings::kExeOptions, "");
  m_nBackUp = ReadWithDefault(profile_, settings::kBackUp, 1);
  m_nBackUpStored = m_nBackUp;
  m_nArcType = ReadWithDefault(profile_, settings::kArcType, 0);
  m_nSepMethod = ReadWithDefault(profile_, settings::kSepMethod, 0);
  UnpackSort(m_bDefaultsMode ? 0 : profile_.GetProfileInt(settings::kSetting, settings::kSort, 0));
}

void CKivDoc::WriteSettings() {
  profile_.WriteProfileInt(settings::kSetting, settings::kBackUp, m_nBackUpStored);
  profile_.WriteProfileInt(settings::kSetting, settings::kArcType, m_nArcType);
  profile_.WriteProfileInt(settings::kSetting, settings::kSepMethod, m_nSepMethod);
  profile_.WriteProfileString(settings::kShell, settings::kExeFile, m_strExeFile1);
  profile_.WriteProfileString(settings::kShell, settings::kExeOptions, m_strExeOpt1);
  if (!m_bDefaultsMode) profile_.WriteProfileInt(settings::kSetting, settings::kSort, PackedSort());
}

void CKivDoc::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  current_ = nullptr;
  folders_.Clear(ByRoomAndKind);
  WriteSettings();
}

int CKivDoc::PackedSort() const { return m_nSortState0 + m_nSortState2 * 4 + m_nSortState3 * 16 + m_nSortColumn * 64; }

void CKivDoc::UnpackSort(int packed) {
  m_nSortState0 = packed & 3;
  m_nSortState2 = (packed >> 2) & 3;
  m_nSortState3 = (packed >> 4) & 3;
  m_nSortColumn = (packed >> 6) & 7;
}

EntryOrder CKivDoc::CurrentOrder() const {
  switch (m_nSortColumn) {
    case 0: return ChooseEntryOrder(0, m_nSortState0);
    case 2: return ChooseEntryOrder(2, m_nSortState2);
    case 3: return ChooseEntryOrder(3, m_nSortState3);
    default: return nullptr;
  }
}

void CKivDoc::RescanEntries() {
  if (current_) ::RescanEntries(*current_, CurrentOrder());
}

void CKivDoc::SortEntries(EntryOrder order) {
  if (current_) ::SortEntries(*current_, order);
}

bool CKivDoc::ClickSortColumn(int column) {
  if (!current_ || current_->entries.empty()) return false;
  int* state = column == 0 ? &m_nSortState0 : column == 2 ? &m_nSortState2 : column == 3 ? &m_nSortState3 : nullptr;
  if (!state) return false;
  *state = (*state + 1) % 3;
  m_nSortColumn = column;
  SortEntries(CurrentOrder());
  UpdateAllViews(nullptr, kHintOrderChanged);
  return true;
}

DocumentSettings CKivDoc::SettingsForSheet() const {
  return DocumentSettings{storedLogFolder_, m_nBackUpStored, m_strExeFile1, m_strExeOpt1};
}

void CKivDoc::UseLogFolderForThisRun(const std::string& folder) { m_strLogFolder = folder; }

bool CKivDoc::ApplySettings(const DocumentSettings& sheet) {
  m_nBackUpStored = sheet.backUp;
  bool folderChanged = sheet.logFolder != storedLogFolder_;
  if (folderChanged) {
    m_strLogFolder = sheet.logFolder;
    storedLogFolder_ = sheet.logFolder;
    profile_.WriteProfileString(settings::kSetting, settings::kLogFolder, m_strLogFolder);
    current_ = nullptr;
    folders_.Clear();
    UpdateAllViews(nullptr, kHintLogFolderChanged);
  }
  m_strExeFile1 = sheet.exeFile;
  m_strExeOpt1 = sheet.exeOpt;
  return folderChanged;
}

void CKivDoc::AddView(CKivView* view) {
  if (view && std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void CKivDoc::RemoveView(CKivView* view) {
  views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void CKivDoc::UpdateAllViews(CKivView* sender, int hint) {
  // A view may add or remove views while it updates; work on a copy.
  std::vector<CKivView*> views = views_;
  for (CKivView* view : views) {
    if (view != sender && std::find(views_.begin(), views_.end(), view) != views_.end()) view->OnUpdate(hint);
  }
}
