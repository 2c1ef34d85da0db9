#pragma once
#include <string>
#include <vector>

#include "model/entry_order.h"
#include "model/folder_set.h"

class CDirectory;
class Clock;
class ProfilePort;

// What a view redoes when the document asks it to update.
enum UpdateHint : int {
  kHintGeneral = 0,           // rebuild; the list rescans the current folder first
  kHintFolderChosen = 1,      // the tree made another folder current
  kHintLogFolderChanged = 2,  // the folders were discarded: the tree rebuilds, the list empties
  kHintOrderChanged = 3,      // the list rebuilds in the new order without reading the disk
};

// A view of the document: the folder tree, the log list, or kiv-batch's rows.
class CKivView {
 public:
  virtual ~CKivView() = default;
  virtual void OnUpdate(int hint) = 0;
};

// What the settings sheet shows and hands back (the checker flag belongs to
// the application and does not pass through the document).
struct DocumentSettings {
  std::string logFolder;
  int backUp = 1;  // the stored backup mode
  std::string exeFile;
  std::string exeOpt;
};

// The single document: owns the forum folders of the shared log folder,
// knows the current one, and holds the settings the commands work with.
// Settings are read from the profile when the document is made and written
// back when it is destroyed; the profile must outlive the document. Texts
// are UTF-8 (paths as the file system gives them).
class CKivDoc {
 public:
  // defaultsMode: the run ignores the stored sort order and does not write
  // it back. clock is handed to the folders for their history files (null:
  // the system clock) and must outlive the document.
  CKivDoc(ProfilePort& profile, bool defaultsMode, const Clock* clock = nullptr);
  // As Shutdown().
  ~CKivDoc();
  CKivDoc(const CKivDoc&) = delete;
  CKivDoc& operator=(const CKivDoc&) = delete;

  // At exit: every folder, in map order, is sorted by room and kind and
  // destroyed (writing its undo history); then the settings are written.
  // Runs once; later calls do nothing.
  void Shutdown();

  // Settings.
  std::string m_strLogFolder;          // Setting/LOGFILE
  std::string m_strExeFile1;           // Shell/ExeFile1
  std::string m_strExeOpt1;            // Shell/ExeOpt1
  bool m_bNoOverwriteConfirm = false;  // this run only, never stored
  int m_nBackUp = 1;                   // BackUp in effect for this run
  int m_nBackUpStored = 1;             // BackUp as the settings sheet shows it; takes effect next run
  int m_nArcType = 0;                  // NamingForm the split dialogs start from, as stored (0 archive, 1 serial)
  int m_nSepMethod = 0;                // SplitMethod the split dialogs start from, as stored (0 single, 1 multiple)
  int m_nSortState0 = 0;               // file-name column: 0 scan order, 1 ascending, 2 descending
  int m_nSortState2 = 0;               // kind column
  int m_nSortState3 = 0;               // size column
  int m_nSortColumn = 0;               // 0, 2 or 3
  // Cleared when the user agrees at close to save in defaults mode: the
  // sort order is then written as well.
  bool m_bDefaultsMode;

  // "Sort" packs the four sort fields: state0 + state2 * 4 + state3 * 16 + column * 64.
  int PackedSort() const;
  void UnpackSort(int packed);

  // The forum folders and the current one (not owned; null when none).
  FolderSet& folders() { return folders_; }
  CDirectory* CurrentFolder() const { return current_; }
  void SetCurrentFolder(CDirectory* dir) { current_ = dir; }

  // The entry order the sort state selects (null: scan order).
  EntryOrder CurrentOrder() const;
  // Brings the current folder's entries up to date with the disk and sorts
  // them; nothing when no folder is current.
  void RescanEntries();
  void SortEntries(EntryOrder order);

  // A click on list column 0, 2 or 3: that column's state advances
  // (0 -> 1 -> 2 -> 0) and it becomes the sort column; the entries are
  // sorted and the views updated with hint 3. False (nothing done) for other
  // columns or when no current folder holds an entry.
  bool ClickSortColumn(int column);

  // ids::kCmdNoOverwriteConfirm.
  void ToggleNoOverwriteConfirm() { m_bNoOverwriteConfirm = !m_bNoOverwriteConfirm; }

  // The settings sheet: what it is filled with, and its OK. A new shared log
  // folder (compared exactly) is written at once, all folders are destroyed
  // (writing their histories), none is current, and the views get hint 2.
  // The stored backup mode changes, the one in effect does not. Returns true
  // when the shared log folder changed.
  // The sheet shows the stored shared log folder, also while this run
  // works on another (UseLogFolderForThisRun).
  DocumentSettings SettingsForSheet() const;
  bool ApplySettings(const DocumentSettings& sheet);
  // A shared log folder for this run only (given on the command line): used
  // instead of the stored one, which is neither changed nor written.
  void UseLogFolderForThisRun(const std::string& folder);

  void AddView(CKivView* view);
  void RemoveView(CKivView* view);
  // Every view but sender is asked to update with hint.
  void UpdateAllViews(CKivView* sender, int hint);

 private:
  void ReadSettings();
  void WriteSettings();

  ProfilePort& profile_;
  std::string storedLogFolder_;  // Setting/LOGFILE, which m_strLogFolder may differ from for one run
  FolderSet folders_;
  CDirectory* current_ = nullptr;
  std::vector<CKivView*> views_;
  bool shutDown_ = false;
};
