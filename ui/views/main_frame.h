#pragma once
#include <cstdint>
#include <map>
#include <memory>

#include <QFont>
#include <QMainWindow>

#include "ui/settings/pane_font_colors.h"

class CKivApp;
class CKivListView;
class CKivTreeView;
class FolderWatch;
class QAction;
class QSplitter;
class QTimer;
class QToolBar;
class QtSplitDialogs;
class SpawnLauncher;
class StatusBarProgress;
class WorkStop;

// CMainFrame: Kiv's one top-level window: the menu, the accelerators, the
// toolbar, the one-pane status bar with the command prompts and the
// progress display, and the splitter with the folder tree left and the log
// list right. It remembers its placement, the pane width and the column
// widths when it closes.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CKivApp& app, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Shows the window as it was left (or at its default place), and builds
  // the tree: the first showing after the document exists.
  void ShowFirstTime();

  CKivTreeView* tree() const { return tree_; }
  CKivListView* list() const { return list_; }
  StatusBarProgress& progress() { return *progress_; }
  QAction* action(int id) const;
  QSplitter* splitter() const { return splitter_; }
  QToolBar* toolBar() const { return toolBar_; }

  // ids::kCmdSettings: the settings sheet, its OK applied to the document and
  // the application.
  void OnSettings();
  // ids::kCmdColoursAndFonts: the colour and font dialog; its OK applies to the panes
  // at once, and they are stored when the window closes.
  void OnColoursAndFonts();
  // The help commands: the manual at the section of what has the focus
  // (its table of contents for the topics command).
  void OnHelp(int id);
  // ids::kCmdAbout: the About box, the way into the companion dialog.
  void OnAbout();

  // Enables the commands as the list's state allows.
  void UpdateCommandStates();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* MakeAction(int id, const char* text, const QKeySequence& shortcut = {});
  void BuildMenu();
  void BuildToolBar();
  void FocusNextPane();
  void FitFirstWindow(int treeWidth);
  // Once shown, the frame with its title bar lies whole on its screen.
  void KeepFrameOnScreen();
  void RescanOnReturn();
  // ids::kCmdRefresh, and names that came or went on the disk: the tree and
  // the list read again, once no command or dialog is at work.
  void RefreshFromDisk();
  void ChooseLastForum();
  void OfferSettingsForMissingFolder();
  bool SaveOnClose();
  void LoadPaneLooks();
  // Title, icon and prompts in the voice the mode now speaks in.
  void ShowCompanionMode();
  void SavePaneLooks();
  void SetListColors(std::uint32_t text, std::uint32_t back);

  CKivApp& app_;
  std::map<int, QAction*> actions_;
  std::unique_ptr<StatusBarProgress> progress_;
  std::unique_ptr<WorkStop> workStop_;
  std::unique_ptr<QtSplitDialogs> dialogs_;
  std::unique_ptr<SpawnLauncher> launcher_;
  FolderWatch* watch_ = nullptr;
  QTimer* refreshLater_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  CKivTreeView* tree_ = nullptr;
  CKivListView* list_ = nullptr;
  bool closing_ = false;
  // The list's colours as stored or chosen (0x00BBGGRR; not colours are
  // kept as they came, and the list keeps its own colour for them).
  std::uint32_t listText_ = 0;
  std::uint32_t listBack_ = 0;
  // A pane's font as the settings held it, and the font made from it: while
  // the pane still has that font, the height is written back as it was read
  // (a cell height stays one) rather than as the character height it drew.
  struct StoredFont {
    bool read = false;
    PaneFont stored;
    QFont made;
  };
  StoredFont listStored_;
  StoredFont treeStored_;
  PaneFont FontToStore(const QWidget& pane, const StoredFont& stored) const;
};
