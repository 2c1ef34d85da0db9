#include "ui/views/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "platform/process_start.h"
#include "messages/companion_mode.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "platform/file_ops.h"
#include "profile/settings_store.h"
#include "resources/ids.h"
#include "resources/settings_keys.h"
#include "ui/dialogs/about_dlg.h"
#include "ui/dialogs/color_font_dlg.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/app/kiv_app.h"
#include "ui/qt_support/kiv_icons.h"
#include "ui/qt_support/screen_fit.h"
#include "ui/views/folder_watch.h"
#include "ui/views/kiv_list_view.h"
#include "ui/settings/kiv_prop_sheet.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/work_stop.h"
#include "ui/views/manual.h"
#include "ui/qt_support/modal_run.h"
#include "ui/settings/pane_font_qt.h"
#include "ui/dialogs/qt_split_dialogs.h"
#include "ui/qt_support/qt_text.h"
#include "ui/views/status_progress.h"
#include "ui/qt_support/window_pump.h"
#include "ui/settings/window_values.h"

namespace {

constexpr int kDefaultTreeWidth = 150;

// HTML help needs a viewer the desktop does not have: always off.
constexpr int kWithoutHandler[] = {ids::kCmdHtmlHelp};

}  // namespace

CMainFrame::CMainFrame(CKivApp& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setObjectName(QStringLiteral("KivMainWindow"));
  setWindowTitle(Qs(app_.mode().m_strTitle));
  setWindowIcon(KivIcon(app_.mode().m_nCompanionType != 0 ? ids::kIconCompanion : ids::kIconProgram));
  setFont(DialogFont());
  app_.messages().SetOwner(this);

  progress_ = std::make_unique<StatusBarProgress>(statusBar());
  dialogs_ = std::make_unique<QtSplitDialogs>(app_.messenger(), app_.decisions(), this);
  launcher_ = std::make_unique<SpawnLauncher>();

  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("splitter"));
  splitter_->setChildrenCollapsible(false);
  tree_ = new CKivTreeView(app_.doc(), splitter_);
  list_ = new CKivListView(app_.doc(), app_.messenger(), app_.decisions(), *progress_, app_.clock(), *dialogs_,
                           *launcher_, splitter_);
  splitter_->addWidget(tree_);
  splitter_->addWidget(list_);
  splitter_->setStretchFactor(1, 1);
  // The splitter's one row fills the window, so only the tree's width is taken.
  const auto view = LoadViewSize(app_.profile(), app_.m_bDefaultsMode);
  const int treeWidth = view ? (*view)[0] : kDefaultTreeWidth;
  resize(640, 400);
  splitter_->setSizes({treeWidth, std::max(1, width() - treeWidth)});
  setCentralWidget(splitter_);

  BuildMenu();
  BuildToolBar();

  // The prompt line: a command's prompt while it is pointed at, else the idle prompt.
  connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
    if (text.isEmpty()) statusBar()->showMessage(Qs(CompanionPrompt(app_.mode(), ids::kStrIdlePrompt)));
  });
  statusBar()->showMessage(Qs(CompanionPrompt(app_.mode(), ids::kStrIdlePrompt)));

  connect(tree_, &CKivTreeView::nextPaneRequested, list_, [this] { list_->setFocus(Qt::TabFocusReason); });
  connect(list_, &CKivListView::nextPaneRequested, tree_, [this] { tree_->setFocus(Qt::TabFocusReason); });
  connect(list_, &CKivListView::commandStateChanged, this, &CMainFrame::UpdateCommandStates);
  workStop_ = std::make_unique<WorkStop>(*this, *progress_, app_.messenger());
  connect(list_, &CKivListView::commandEnded, this, [this] { workStop_->CommandEnded(); });
  connect(list_, &CKivListView::statusLine, this, [this](const QString& text) { statusBar()->showMessage(text); });
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) RescanOnReturn();
  });
  // The tree and the list follow the disk while Kiv runs.
  watch_ = new FolderWatch(this);
  refreshLater_ = new QTimer(this);
  refreshLater_->setSingleShot(true);
  refreshLater_->setInterval(500);
  connect(refreshLater_, &QTimer::timeout, this, &CMainFrame::RefreshFromDisk);
  connect(watch_, &FolderWatch::namesChanged, this, &CMainFrame::RefreshFromDisk);
  connect(tree_, &CKivTreeView::rebuilt, this, [this] { watch_->Watch(tree_->FoldersToWatch()); });

  // The columns are measured in the list's own font.
  LoadPaneLooks();
  list_->OnInitialUpdate(LoadColumnWidths(app_.profile(), app_.m_bDefaultsMode));
  FitFirstWindow(treeWidth);
  UpdateCommandStates();
}

// Unless its placement is stored (ShowFirstTime), the window starts wide
// enough for the tree and a whole row of the list, as far as the screen
// allows.
void CMainFrame::FitFirstWindow(int treeWidth) {
  const int wanted = treeWidth + splitter_->handleWidth() + list_->WidthForColumns(list_->CurrentWidths());
  int room = wanted;
  if (const QScreen* s = screen()) room = s->availableGeometry().width();
  resize(std::max(width(), std::min(wanted, room)), height());
  splitter_->setSizes({treeWidth, std::max(1, width() - treeWidth)});
}

CMainFrame::~CMainFrame() {
  // The views go before the document they are registered with.
  delete splitter_;
  app_.messages().SetOwner(nullptr);
}

QAction* CMainFrame::action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::MakeAction(int id, const char* text, const QKeySequence& shortcut) {
  auto* a = new QAction(QString::fromUtf8(text), this);
  a->setObjectName(IdName(id));
  a->setStatusTip(Qs(CompanionPrompt(app_.mode(), id)));
  a->setToolTip(Qs(CommandTooltip(id)));
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  a->setShortcutContext(Qt::WindowShortcut);
  const QIcon icon = KivIcon(id);
  if (!icon.isNull()) a->setIcon(icon);
  addAction(a);
  actions_[id] = a;
  return a;
}

void CMainFrame::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  file->addAction(MakeAction(ids::kCmdAnalyze, "解析開始(&I)", QKeySequence(Qt::CTRL | Qt::Key_I)));
  QAction* split = MakeAction(ids::kCmdSplit, "分割実行(&S)");
  split->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  file->addAction(split);
  file->addAction(MakeAction(ids::kCmdUndo, "やり直し(&U)", QKeySequence(Qt::CTRL | Qt::Key_U)));
  file->addSeparator();
  file->addAction(MakeAction(ids::kCmdSelectAll, "全選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A)));
  file->addAction(MakeAction(ids::kCmdSelectInvert, "選択反転(&R)", QKeySequence(Qt::CTRL | Qt::Key_R)));
  file->addAction(MakeAction(ids::kCmdSelectUnanalyzed, "未解析(&O)", QKeySequence(Qt::CTRL | Qt::Key_O)));
  file->addAction(MakeAction(ids::kCmdSelectNone, "全解除(&N)", QKeySequence(Qt::CTRL | Qt::Key_N)));
  file->addSeparator();
  QAction* exit = MakeAction(ids::kCmdExit, "終了(&X)");
  exit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::Key_Escape)});
  file->addAction(exit);

  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  QAction* toolBarToggle = MakeAction(ids::kCmdToggleToolBar, "ツールバー(&T)");
  toolBarToggle->setCheckable(true);
  toolBarToggle->setChecked(true);
  view->addAction(toolBarToggle);
  QAction* statusToggle = MakeAction(ids::kCmdToggleStatusBar, "ステータスバー(&S)");
  statusToggle->setCheckable(true);
  statusToggle->setChecked(true);
  view->addAction(statusToggle);
  view->addSeparator();
  view->addAction(MakeAction(ids::kCmdRefresh, "最新の情報に更新(&R)", QKeySequence(Qt::Key_F5)));

  QMenu* options = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
  QAction* noConfirm = MakeAction(ids::kCmdNoOverwriteConfirm, "上書き確認をしない(&W)");
  noConfirm->setCheckable(true);
  noConfirm->setChecked(app_.doc().m_bNoOverwriteConfirm);
  options->addAction(noConfirm);
  options->addSeparator();
  options->addAction(MakeAction(ids::kCmdExportHeaders, "会議室ヘッダ書き出し(&P)"));
  QAction* launch = MakeAction(ids::kCmdExternalLaunch, "外部起動(&E)");
  launch->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_Return), QKeySequence(Qt::SHIFT | Qt::Key_Enter)});
  options->addAction(launch);
  options->addSeparator();
  options->addAction(MakeAction(ids::kCmdColoursAndFonts, "色・フォントの設定(&F)"));
  options->addAction(MakeAction(ids::kCmdSettings, "設定(&P)"));

  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->addAction(MakeAction(ids::kCmdHelpTopics, "トピックス一覧(&H)"));
  help->addAction(MakeAction(ids::kCmdContextHelp, "状況依存ヘルプ(&C)", QKeySequence(Qt::SHIFT | Qt::Key_F1)));
  help->addSeparator();
  help->addAction(MakeAction(ids::kCmdHtmlHelp, "HTMLヘルプ"));
  help->addSeparator();
  help->addAction(MakeAction(ids::kCmdAbout, "バージョン情報(&A)..."));

  MakeAction(ids::kCmdHelp, "", QKeySequence(Qt::Key_F1));
  MakeAction(ids::kCmdNextPane, "", QKeySequence(Qt::Key_Tab));
  MakeAction(ids::kCmdPreviousPane, "", QKeySequence(Qt::SHIFT | Qt::Key_Backtab));

  connect(action(ids::kCmdAnalyze), &QAction::triggered, list_, &CKivListView::OnAnalyze);
  connect(action(ids::kCmdSplit), &QAction::triggered, list_, &CKivListView::OnSplit);
  connect(action(ids::kCmdUndo), &QAction::triggered, list_, &CKivListView::OnUndo);
  connect(action(ids::kCmdSelectAll), &QAction::triggered, list_, &CKivListView::OnSelectAll);
  connect(action(ids::kCmdSelectInvert), &QAction::triggered, list_, &CKivListView::OnSelectInvert);
  connect(action(ids::kCmdSelectUnanalyzed), &QAction::triggered, list_, &CKivListView::OnSelectUnanalyzed);
  connect(action(ids::kCmdSelectNone), &QAction::triggered, list_, &CKivListView::OnSelectNone);
  connect(action(ids::kCmdExportHeaders), &QAction::triggered, list_, &CKivListView::OnExportHeaders);
  connect(action(ids::kCmdExternalLaunch), &QAction::triggered, list_, &CKivListView::OnExternalLaunch);
  connect(noConfirm, &QAction::triggered, this, [this, noConfirm] {
    app_.doc().ToggleNoOverwriteConfirm();
    noConfirm->setChecked(app_.doc().m_bNoOverwriteConfirm);
  });
  connect(action(ids::kCmdSettings), &QAction::triggered, this, &CMainFrame::OnSettings);
  connect(action(ids::kCmdColoursAndFonts), &QAction::triggered, this, &CMainFrame::OnColoursAndFonts);
  connect(action(ids::kCmdAbout), &QAction::triggered, this, &CMainFrame::OnAbout);
  for (int id : {ids::kCmdHelpTopics, ids::kCmdContextHelp, ids::kCmdHelp}) {
    connect(action(id), &QAction::triggered, this, [this, id] { OnHelp(id); });
  }
  connect(exit, &QAction::triggered, this, &QWidget::close);
  connect(toolBarToggle, &QAction::toggled, this, [this](bool on) { toolBar_->setVisible(on); });
  connect(action(ids::kCmdRefresh), &QAction::triggered, this, &CMainFrame::RefreshFromDisk);
  connect(statusToggle, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
  connect(action(ids::kCmdNextPane), &QAction::triggered, this, &CMainFrame::FocusNextPane);
  connect(action(ids::kCmdPreviousPane), &QAction::triggered, this, &CMainFrame::FocusNextPane);
  for (int id : kWithoutHandler) action(id)->setEnabled(false);
}

void CMainFrame::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("toolbar"));
  toolBar_->setObjectName(IdName(ids::kToolBarMain));
  toolBar_->setIconSize(QSize(16, 15));
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  const int order[] = {ids::kCmdAnalyze,
                       ids::kCmdSplit,
                       ids::kCmdUndo,
                       0,
                       ids::kCmdSelectAll,
                       ids::kCmdSelectInvert,
                       ids::kCmdSelectUnanalyzed,
                       ids::kCmdSelectNone,
                       0,
                       ids::kCmdExternalLaunch,
                       ids::kCmdExportHeaders,
                       ids::kCmdAbout,
                       ids::kCmdContextHelp};
  for (int id : order) {
    if (id == 0)
      toolBar_->addSeparator();
    else
      toolBar_->addAction(action(id));
  }
  connect(toolBar_, &QToolBar::visibilityChanged, action(ids::kCmdToggleToolBar), &QAction::setChecked);
}

void CMainFrame::OnSettings() {
  CKivPropSheet sheet(app_.messenger(), SheetSettings{app_.doc().SettingsForSheet(), app_.m_bCheckListAtStart}, this);
  if (!sheet.Run()) return;
  const SheetSettings result = sheet.Result();
  app_.m_bCheckListAtStart = result.checkListAtStart;
  app_.doc().ApplySettings(result.document);
  UpdateCommandStates();
}

// Each pane starts in its own font and colours, then takes the stored ones.
void CMainFrame::LoadPaneLooks() {
  PaneFontColors listLook{PaneFontOf(list_->font()), PaneTextColor(*list_), PaneBackColor(*list_)};
  if (LoadPaneFontColors(app_.profile(), app_.m_bDefaultsMode, listLook, settings::kListPane)) {
    list_->setFont(FontFromPane(list_->font(), listLook.font));
    listStored_ = StoredFont{true, listLook.font, list_->font()};
  }
  SetListColors(listLook.textColor, listLook.backColor);
  PaneFontColors treeLook{PaneFontOf(tree_->font()), NoColor, NoColor};
  if (LoadPaneFontColors(app_.profile(), app_.m_bDefaultsMode, treeLook, settings::kTreePane)) {
    tree_->setFont(FontFromPane(tree_->font(), treeLook.font));
    treeStored_ = StoredFont{true, treeLook.font, tree_->font()};
  }
}

PaneFont CMainFrame::FontToStore(const QWidget& pane, const StoredFont& stored) const {
  if (stored.read && pane.font() == stored.made) return stored.stored;
  // A font chosen in the colour and font dialog, or the pane's own.
  return PaneFontOf(pane.font());
}

void CMainFrame::SavePaneLooks() {
  SavePaneFontColors(app_.profile(), PaneFontColors{FontToStore(*list_, listStored_), listText_, listBack_},
                     settings::kListPane);
  SavePaneFontColors(app_.profile(), PaneFontColors{FontToStore(*tree_, treeStored_), NoColor, NoColor},
                     settings::kTreePane);
}

void CMainFrame::SetListColors(std::uint32_t text, std::uint32_t back) {
  listText_ = text;
  listBack_ = back;
  SetPaneColors(*list_, text, back);
}

void CMainFrame::OnColoursAndFonts() {
  CColorFontDlg dialog(tree_->font(), list_->font(), list_->palette().color(QPalette::Text),
                       list_->palette().color(QPalette::Base), this);
  if (ExecModal(dialog) != QDialog::Accepted) return;
  tree_->setFont(dialog.treeFont());
  list_->setFont(dialog.listFont());
  list_->WidenNarrowColumns();
  SetListColors(ColorRef(dialog.listText()), ColorRef(dialog.listBack()));
}

void CMainFrame::OnHelp(int id) {
  OpenManual(app_.messages(), id == ids::kCmdHelpTopics ? QStringLiteral("topics") : QStringLiteral("window"), this);
}

void CMainFrame::OnAbout() {
  CAboutDlg about(
      app_.mode(), [this] { ShowCompanionMode(); }, this);
  ExecModal(about);
}

void CMainFrame::ShowCompanionMode() {
  setWindowTitle(Qs(app_.mode().m_strTitle));
  setWindowIcon(KivIcon(app_.mode().m_nCompanionType != 0 ? ids::kIconCompanion : ids::kIconProgram));
  for (auto& [id, a] : actions_) a->setStatusTip(Qs(CompanionPrompt(app_.mode(), id)));
  statusBar()->showMessage(Qs(CompanionPrompt(app_.mode(), ids::kStrIdlePrompt)));
}

void CMainFrame::UpdateCommandStates() {
  const bool withFiles = list_->HasFolderWithFiles();
  for (int id : {ids::kCmdAnalyze, ids::kCmdSplit, ids::kCmdUndo, ids::kCmdSelectAll, ids::kCmdSelectInvert,
                 ids::kCmdSelectUnanalyzed, ids::kCmdSelectNone}) {
    action(id)->setEnabled(withFiles);
  }
  action(ids::kCmdExportHeaders)->setEnabled(true);
  action(ids::kCmdExternalLaunch)->setEnabled(list_->HasFolder());
}

// With two panes, the next and the previous pane are the same: the other one.
void CMainFrame::FocusNextPane() {
  if (list_->hasFocus())
    tree_->setFocus(Qt::TabFocusReason);
  else
    list_->setFocus(Qt::TabFocusReason);
}

// Back from another program, which may have written the logs: the list
// shows the disk as it is now.
void CMainFrame::RescanOnReturn() {
  if (closing_ || WindowAtWork() || QApplication::activeModalWidget() || !app_.doc().CurrentFolder()) return;
  app_.doc().UpdateAllViews(nullptr, kHintGeneral);
}

void CMainFrame::RefreshFromDisk() {
  if (closing_) return;
  if (WindowAtWork() || QApplication::activeModalWidget()) {
    refreshLater_->start();
    return;
  }
  tree_->Refresh();
}

void CMainFrame::ChooseLastForum() {
  if (app_.m_bDefaultsMode) return;
  const std::string last = app_.profile().GetProfileString(settings::kSetting, settings::kLastForum, "");
  if (!last.empty()) tree_->ChooseFolder(last);
}

void CMainFrame::ShowFirstTime() {
  const auto placement = LoadWindowPlacement(app_.profile(), app_.m_bDefaultsMode);
  if (placement) {
    // Stored on another screen, or under another scale, it may not fit this one.
    const QRect stored(placement->left, placement->top, placement->right - placement->left,
                       placement->bottom - placement->top);
    setGeometry(FitWithin(stored, AvailableAreaFor(stored)));
  }
  tree_->OnInitialUpdate();
  ChooseLastForum();
  const int state = placement ? placement->showState : kShowNormal;
  if (state == kShowMaximized)
    showMaximized();
  else if (state == kShowMinimized)
    showMinimized();
  else
    show();
  if (state == kShowNormal) KeepFrameOnScreen();
  RescanOnReturn();
  OfferSettingsForMissingFolder();
}

void CMainFrame::KeepFrameOnScreen() {
  const QRect frame = frameGeometry();
  const QRect fitted = FitWithin(frame, AvailableAreaFor(frame));
  if (fitted == frame) return;
  const QRect client = geometry();
  setGeometry(fitted.marginsRemoved(QMargins(client.left() - frame.left(), client.top() - frame.top(),
                                             frame.right() - client.right(), frame.bottom() - client.bottom())));
}

// A shared log folder that is gone (moved, or on a drive not mounted) would
// leave the tree empty without a word.
void CMainFrame::OfferSettingsForMissingFolder() {
  const std::string& folder = app_.doc().m_strLogFolder;
  if (folder.empty() || plat::IsDirectory(folder)) return;
  const MsgResult answer =
      app_.messenger().Box(ids::kMsgMissingLogFolder, folder, MsgStyle{MsgButtons::YesNo, MsgIcon::Exclamation});
  if (answer == MsgResult::Yes) OnSettings();
}

bool CMainFrame::SaveOnClose() {
  if (app_.m_bDefaultsMode) {
    const MsgResult answer =
        app_.messenger().BoxToUser(ids::kMsgAskSaveWindow, MsgStyle{MsgButtons::YesNo, MsgIcon::Question});
    if (answer != MsgResult::Yes) return false;
    app_.m_bDefaultsMode = false;
    app_.doc().m_bDefaultsMode = false;
  }
  const QRect r = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  const int state = isMinimized() ? kShowMinimized : isMaximized() ? kShowMaximized : kShowNormal;
  SaveWindowPlacement(app_.profile(),
                      WindowPlacement{state, r.top(), r.left(), r.top() + r.height(), r.left() + r.width()});
  SaveViewSize(app_.profile(), tree_->width(), splitter_->height());
  const CDirectory* forum = app_.doc().CurrentFolder();
  app_.profile().WriteProfileString(settings::kSetting, settings::kLastForum, forum ? forum->path : std::string());
  const CKivListView::ColumnWidths widths = list_->CurrentWidths();
  SaveColumnWidths(app_.profile(), {widths[0], widths[1], widths[2], widths[3], widths[4], widths[5]});
  SavePaneLooks();
  return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Not in the middle of a command: the user is asked whether to stop it.
  if (WindowAtWork()) {
    workStop_->CloseRequested();
    event->ignore();
    return;
  }
  if (!closing_) {
    closing_ = true;
    SaveOnClose();
  }
  event->accept();
}
