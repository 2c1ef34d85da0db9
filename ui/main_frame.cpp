#include "ui/main_frame.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "commands/process_launcher.h"
#include "messages/companion_mode.h"
#include "model/kiv_doc.h"
#include "platform/file_ops.h"
#include "profile/settings_store.h"
#include "ui/about_dlg.h"
#include "ui/color_font_dlg.h"
#include "ui/dialog_font.h"
#include "ui/kiv_app.h"
#include "ui/kiv_icons.h"
#include "ui/kiv_list_view.h"
#include "ui/kiv_prop_sheet.h"
#include "ui/kiv_tree_view.h"
#include "ui/manual.h"
#include "ui/modal_run.h"
#include "ui/pane_font_qt.h"
#include "ui/qt_split_dialogs.h"
#include "ui/qt_text.h"
#include "ui/status_progress.h"
#include "ui/window_pump.h"
#include "ui/window_values.h"

namespace {

enum CommandId : int {
  kAnalyze = 49408,
  kSplit = 49409,
  kUndo = 49410,
  kSelectAll = 49411,
  kSelectInvert = 49412,
  kSelectUnanalyzed = 49413,
  kSelectNone = 49414,
  kColoursAndFonts = 49415,
  kSettings = 49416,
  kNoOverwriteConfirm = 49417,
  kExportHeaders = 49418,
  kExternalLaunch = 49419,
  kHtmlHelp = 49420,
  kAbout = 57664,
  kExit = 57665,
  kHelpTopics = 57667,
  kContextHelp = 57669,
  kHelp = 57670,
  kNextPane = 57680,
  kPreviousPane = 57681,
  kToggleToolBar = 59392,
  kToggleStatusBar = 59393,
};
constexpr int kIdlePrompt = 57345;
constexpr int kAskSaveWindow = 49678;  // caption 49679
constexpr int kMissingLogFolder = 50236;  // caption 50237
constexpr int kProgramIcon = 128;
constexpr int kCompanionIcon = 157;
constexpr int kDefaultTreeWidth = 150;

// HTML help needs a viewer the desktop does not have: always off.
constexpr int kWithoutHandler[] = {kHtmlHelp};

}  // namespace

CMainFrame::CMainFrame(CKivApp& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setObjectName(QStringLiteral("KivMainWindow"));
  setWindowTitle(Qs(app_.mode().m_strTitle));
  setWindowIcon(KivIcon(app_.mode().m_nCompanionType != 0 ? kCompanionIcon : kProgramIcon));
  setFont(DialogFont());
  app_.messages().SetOwner(this);

  progress_ = std::make_unique<StatusBarProgress>(statusBar());
  dialogs_ = std::make_unique<QtSplitDialogs>(app_.messenger(), this);
  launcher_ = std::make_unique<SpawnLauncher>();

  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("splitter"));
  splitter_->setChildrenCollapsible(false);
  tree_ = new CKivTreeView(app_.doc(), splitter_);
  list_ = new CKivListView(app_.doc(), app_.messenger(), *progress_, app_.clock(), *dialogs_, *launcher_, splitter_);
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
    if (text.isEmpty()) statusBar()->showMessage(Qs(CompanionPrompt(app_.mode(), kIdlePrompt)));
  });
  statusBar()->showMessage(Qs(CompanionPrompt(app_.mode(), kIdlePrompt)));

  connect(tree_, &CKivTreeView::nextPaneRequested, list_, [this] { list_->setFocus(Qt::TabFocusReason); });
  connect(list_, &CKivListView::nextPaneRequested, tree_, [this] { tree_->setFocus(Qt::TabFocusReason); });
  connect(list_, &CKivListView::commandStateChanged, this, &CMainFrame::UpdateCommandStates);
  connect(list_, &CKivListView::statusLine, this, [this](const QString& text) { statusBar()->showMessage(text); });
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) RescanOnReturn();
  });

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
  file->addAction(MakeAction(kAnalyze, "解析開始(&I)", QKeySequence(Qt::CTRL | Qt::Key_I)));
  QAction* split = MakeAction(kSplit, "分割実行(&S)");
  split->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  file->addAction(split);
  file->addAction(MakeAction(kUndo, "やり直し(&U)", QKeySequence(Qt::CTRL | Qt::Key_U)));
  file->addSeparator();
  file->addAction(MakeAction(kSelectAll, "全選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A)));
  file->addAction(MakeAction(kSelectInvert, "選択反転(&R)", QKeySequence(Qt::CTRL | Qt::Key_R)));
  file->addAction(MakeAction(kSelectUnanalyzed, "未解析(&O)", QKeySequence(Qt::CTRL | Qt::Key_O)));
  file->addAction(MakeAction(kSelectNone, "全解除(&N)", QKeySequence(Qt::CTRL | Qt::Key_N)));
  file->addSeparator();
  QAction* exit = MakeAction(kExit, "終了(&X)");
  exit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::Key_Escape)});
  file->addAction(exit);

  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  QAction* toolBarToggle = MakeAction(kToggleToolBar, "ツールバー(&T)");
  toolBarToggle->setCheckable(true);
  toolBarToggle->setChecked(true);
  view->addAction(toolBarToggle);
  QAction* statusToggle = MakeAction(kToggleStatusBar, "ステータスバー(&S)");
  statusToggle->setCheckable(true);
  statusToggle->setChecked(true);
  view->addAction(statusToggle);

  QMenu* options = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
  QAction* noConfirm = MakeAction(kNoOverwriteConfirm, "上書き確認をしない(&W)");
  noConfirm->setCheckable(true);
  noConfirm->setChecked(app_.doc().m_bNoOverwriteConfirm);
  options->addAction(noConfirm);
  options->addSeparator();
  options->addAction(MakeAction(kExportHeaders, "会議室ヘッダ書き出し(&P)"));
  QAction* launch = MakeAction(kExternalLaunch, "外部起動(&E)");
  launch->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_Return), QKeySequence(Qt::SHIFT | Qt::Key_Enter)});
  options->addAction(launch);
  options->addSeparator();
  options->addAction(MakeAction(kColoursAndFonts, "色・フォントの設定(&F)"));
  options->addAction(MakeAction(kSettings, "設定(&P)"));

  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->addAction(MakeAction(kHelpTopics, "トピックス一覧(&H)"));
  help->addAction(MakeAction(kContextHelp, "状況依存ヘルプ(&C)", QKeySequence(Qt::SHIFT | Qt::Key_F1)));
  help->addSeparator();
  help->addAction(MakeAction(kHtmlHelp, "HTMLヘルプ"));
  help->addSeparator();
  help->addAction(MakeAction(kAbout, "バージョン情報(&A)..."));

  MakeAction(kHelp, "", QKeySequence(Qt::Key_F1));
  MakeAction(kNextPane, "", QKeySequence(Qt::Key_Tab));
  MakeAction(kPreviousPane, "", QKeySequence(Qt::SHIFT | Qt::Key_Backtab));

  connect(action(kAnalyze), &QAction::triggered, list_, &CKivListView::OnAnalyze);
  connect(action(kSplit), &QAction::triggered, list_, &CKivListView::OnSplit);
  connect(action(kUndo), &QAction::triggered, list_, &CKivListView::OnUndo);
  connect(action(kSelectAll), &QAction::triggered, list_, &CKivListView::OnSelectAll);
  connect(action(kSelectInvert), &QAction::triggered, list_, &CKivListView::OnSelectInvert);
  connect(action(kSelectUnanalyzed), &QAction::triggered, list_, &CKivListView::OnSelectUnanalyzed);
  connect(action(kSelectNone), &QAction::triggered, list_, &CKivListView::OnSelectNone);
  connect(action(kExportHeaders), &QAction::triggered, list_, &CKivListView::OnExportHeaders);
  connect(action(kExternalLaunch), &QAction::triggered, list_, &CKivListView::OnExternalLaunch);
  connect(noConfirm, &QAction::triggered, this, [this, noConfirm] {
    app_.doc().ToggleNoOverwriteConfirm();
    noConfirm->setChecked(app_.doc().m_bNoOverwriteConfirm);
  });
  connect(action(kSettings), &QAction::triggered, this, &CMainFrame::OnSettings);
  connect(action(kColoursAndFonts), &QAction::triggered, this, &CMainFrame::OnColoursAndFonts);
  connect(action(kAbout), &QAction::triggered, this, &CMainFrame::OnAbout);
  for (int id : {kHelpTopics, kContextHelp, kHelp}) {
    connect(action(id), &QAction::triggered, this, [this, id] { OnHelp(id); });
  }
  connect(exit, &QAction::triggered, this, &QWidget::close);
  connect(toolBarToggle, &QAction::toggled, this, [this](bool on) { toolBar_->setVisible(on); });
  connect(statusToggle, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
  connect(action(kNextPane), &QAction::triggered, this, &CMainFrame::FocusNextPane);
  connect(action(kPreviousPane), &QAction::triggered, this, &CMainFrame::FocusNextPane);
  for (int id : kWithoutHandler) action(id)->setEnabled(false);
}

void CMainFrame::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("toolbar"));
  toolBar_->setObjectName(QStringLiteral("128"));
  toolBar_->setIconSize(QSize(16, 15));
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  const int order[] = {kAnalyze, kSplit, kUndo, 0, kSelectAll, kSelectInvert, kSelectUnanalyzed, kSelectNone,
                       0, kExternalLaunch, kExportHeaders, kAbout, kContextHelp};
  for (int id : order) {
    if (id == 0) toolBar_->addSeparator();
    else toolBar_->addAction(action(id));
  }
  connect(toolBar_, &QToolBar::visibilityChanged, action(kToggleToolBar), &QAction::setChecked);
}

void CMainFrame::OnSettings() {
  CKivPropSheet sheet(app_.messenger(), SheetSettings{app_.doc().SettingsForSheet(), app_.m_bCheckListAtStart}, this);
  if (!sheet.Run()) return;
  const SheetSettings result = sheet.Result();
  app_.m_bCheckListAtStart = result.checkListAtStart;
  app_.doc().ApplySettings(result.document);
  UpdateCommandStates();
}

namespace {
constexpr const char kListPane[] = "List";
constexpr const char kTreePane[] = "Tree";
}  // namespace

// Each pane starts in its own font and colours, then takes the stored ones.
void CMainFrame::LoadPaneLooks() {
  PaneFontColors listLook{PaneFontOf(list_->font()), PaneTextColor(*list_), PaneBackColor(*list_)};
  if (LoadPaneFontColors(app_.profile(), app_.m_bDefaultsMode, listLook, kListPane)) {
    list_->setFont(FontFromPane(list_->font(), listLook.font));
    listStored_ = StoredFont{true, listLook.font, list_->font()};
  }
  SetListColors(listLook.textColor, listLook.backColor);
  PaneFontColors treeLook{PaneFontOf(tree_->font()), NoColor, NoColor};
  if (LoadPaneFontColors(app_.profile(), app_.m_bDefaultsMode, treeLook, kTreePane)) {
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
                     kListPane);
  SavePaneFontColors(app_.profile(), PaneFontColors{FontToStore(*tree_, treeStored_), NoColor, NoColor}, kTreePane);
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
  SetListColors(ColorRef(dialog.listText()), ColorRef(dialog.listBack()));
}

void CMainFrame::OnHelp(int id) {
  OpenManual(app_.messages(), id == kHelpTopics ? QStringLiteral("topics") : QStringLiteral("window"), this);
}

void CMainFrame::OnAbout() {
  CAboutDlg about(app_.mode(), [this] { ShowCompanionMode(); }, this);
  ExecModal(about);
}

void CMainFrame::ShowCompanionMode() {
  setWindowTitle(Qs(app_.mode().m_strTitle));
  setWindowIcon(KivIcon(app_.mode().m_nCompanionType != 0 ? kCompanionIcon : kProgramIcon));
  for (auto& [id, a] : actions_) a->setStatusTip(Qs(CompanionPrompt(app_.mode(), id)));
  statusBar()->showMessage(Qs(CompanionPrompt(app_.mode(), kIdlePrompt)));
}

void CMainFrame::UpdateCommandStates() {
  const bool withFiles = list_->HasFolderWithFiles();
  for (int id : {kAnalyze, kSplit, kUndo, kSelectAll, kSelectInvert, kSelectUnanalyzed, kSelectNone}) {
    action(id)->setEnabled(withFiles);
  }
  action(kExportHeaders)->setEnabled(true);
  action(kExternalLaunch)->setEnabled(list_->HasFolder());
}

// With two panes, the next and the previous pane are the same: the other one.
void CMainFrame::FocusNextPane() {
  if (list_->hasFocus()) tree_->setFocus(Qt::TabFocusReason);
  else list_->setFocus(Qt::TabFocusReason);
}

// Back from another program, which may have written the logs: the list
// shows the disk as it is now.
void CMainFrame::RescanOnReturn() {
  if (closing_ || WindowAtWork() || QApplication::activeModalWidget() || !app_.doc().CurrentFolder()) return;
  app_.doc().UpdateAllViews(nullptr, kHintGeneral);
}

void CMainFrame::ShowFirstTime() {
  const auto placement = LoadWindowPlacement(app_.profile(), app_.m_bDefaultsMode);
  if (placement) {
    setGeometry(placement->left, placement->top, placement->right - placement->left,
                placement->bottom - placement->top);
  }
  tree_->OnInitialUpdate();
  const int state = placement ? placement->showState : kShowNormal;
  if (state == kShowMaximized) showMaximized();
  else if (state == kShowMinimized) showMinimized();
  else show();
  RescanOnReturn();
  OfferSettingsForMissingFolder();
}

// A shared log folder that is gone (moved, or on a drive not mounted) would
// leave the tree empty without a word.
void CMainFrame::OfferSettingsForMissingFolder() {
  const std::string& folder = app_.doc().m_strLogFolder;
  if (folder.empty() || plat::IsDirectory(folder)) return;
  const MsgResult answer =
      app_.messenger().Box(kMissingLogFolder, folder, MsgStyle{MsgButtons::YesNo, MsgIcon::Exclamation});
  if (answer == MsgResult::Yes) OnSettings();
}

bool CMainFrame::SaveOnClose() {
  if (app_.m_bDefaultsMode) {
    const MsgResult answer =
        app_.messenger().BoxToUser(kAskSaveWindow, MsgStyle{MsgButtons::YesNo, MsgIcon::Question});
    if (answer != MsgResult::Yes) return false;
    app_.m_bDefaultsMode = false;
    app_.doc().m_bDefaultsMode = false;
  }
  const QRect r = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  const int state = isMinimized() ? kShowMinimized : isMaximized() ? kShowMaximized : kShowNormal;
  SaveWindowPlacement(app_.profile(), WindowPlacement{state, r.top(), r.left(), r.top() + r.height(),
                                                      r.left() + r.width()});
  SaveViewSize(app_.profile(), tree_->width(), splitter_->height());
  const CKivListView::ColumnWidths widths = list_->CurrentWidths();
  SaveColumnWidths(app_.profile(), {widths[0], widths[1], widths[2], widths[3], widths[4], widths[5]});
  SavePaneLooks();
  return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    SaveOnClose();
  }
  event->accept();
}
