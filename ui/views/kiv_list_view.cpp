#include "ui/views/kiv_list_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <algorithm>

#include "commands/analyze_command.h"
#include "commands/command_notes.h"
#include "commands/entry_row.h"
#include "commands/export_command.h"
#include "commands/forum_repair.h"
#include "commands/launch_command.h"
#include "commands/room_selection.h"
#include "commands/split_command.h"
#include "commands/undo_command.h"
#include "messages/companion_mode.h"
#include "model/directory.h"
#include "model/log_names.h"
#include "platform/file_ops.h"
#include "resources/ids.h"
#include "ui/dialogs/greeting_dlg.h"
#include "ui/qt_support/kiv_icons.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"
#include "ui/qt_support/window_pump.h"

namespace {

// Tells the window, however a command ends, that it has.
struct CommandEnd {
  explicit CommandEnd(CKivListView& view) : view(view) {}
  ~CommandEnd() { emit view.commandEnded(); }
  CKivListView& view;
};

constexpr int kIconRole = Qt::UserRole + 1;

const char* const kHeaders[kListColumns] = {"ファイル名", "会議室名", "種別", "サイズ", "最小", "最大"};

bool RightAligned(int column) { return column >= kColumnSize; }

// The widest texts a column usually holds. The room names are the rooms'
// own; their column is made for twenty full-width characters.
const char* const kWidestName[] = {"MES_00.LOG", "MES#00.LOG", "MES_88.LOG", "MES#88.LOG"};
const char* const kWidestRoom[] = {"会議室会議室会議室会議室会議室会議室会議"};
const char* const kWidestKind[] = {"本文", "ﾀｲﾄﾙ", "書庫", "不明"};
const char* const kWidestSize[] = {"8,888,888,888", "9,999,999,999"};
const char* const kWidestNumber[] = {"65535", "88888", "99999", "-"};

// The dialog font the default widths were made for draws a full-width
// character 12 pixels wide.
constexpr double kDesignedFullWidth = 12.0;

}  // namespace

CKivListView::CKivListView(CKivDoc& doc, Messenger& messenger, DecisionPort& decisions, ProgressPort& progress,
                           const Clock& clock, SplitDialogPort& dialogs, ProcessLauncher& launcher, QWidget* parent)
    : QTreeWidget(parent),
      doc_(doc),
      messenger_(messenger),
      dialogs_(dialogs),
      launcher_(launcher),
      forumLock_(doc, messenger, plat::kLockHolderKiv),
      ctx_{doc, *this, messenger, decisions, progress, clock, &forumLock_} {
  setObjectName(QStringLiteral("CKivListView"));
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSortingEnabled(false);
  setColumnCount(kListColumns);
  header()->setSectionsClickable(true);
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  for (int i = 0; i < 4; ++i) icons_[static_cast<std::size_t>(i)] = KivIcon(ids::kIconBody + i);
  connect(header(), &QHeaderView::sectionClicked, this, &CKivListView::OnColumnClick);
  doc_.AddView(this);
}

CKivListView::~CKivListView() { doc_.RemoveView(this); }

void CKivListView::OnInitialUpdate(const std::optional<ColumnWidths>& storedWidths) {
  ClearRows();
  QStringList labels;
  for (const char* text : kHeaders) labels << QString::fromUtf8(text);
  setHeaderLabels(labels);
  const ColumnWidths widths = storedWidths ? *storedWidths : DefaultWidths();
  for (int c = 0; c < kListColumns; ++c) {
    setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    headerItem()->setTextAlignment(
        c, RightAligned(c) ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
  }
}

void CKivListView::WidenNarrowColumns() {
  const ColumnWidths wanted = DefaultWidths();
  for (int c = 0; c < kListColumns; ++c) {
    const int width = wanted[static_cast<std::size_t>(c)];
    if (columnWidth(c) < width) setColumnWidth(c, width);
  }
}

CKivListView::ColumnWidths CKivListView::DefaultWidths() const {
  const QFontMetricsF metrics(font());
  const double scale = std::max(1.0, metrics.horizontalAdvance(QStringLiteral("会議室名")) / (4 * kDesignedFullWidth));
  const int iconSide =
      iconSize().isValid() ? iconSize().width() : style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  const auto widest = [&](int column, auto& texts) {
    QStyleOptionViewItem cell;
    initViewItemOption(&cell);
    cell.font = font();
    cell.fontMetrics = QFontMetrics(font());
    cell.features |= QStyleOptionViewItem::HasDisplay;
    if (column == kColumnName) {
      cell.features |= QStyleOptionViewItem::HasDecoration;
      cell.decorationSize = QSize(iconSide, iconSide);
      cell.icon = icons_[0];
    }
    int width = 0;
    for (const char* text : texts) {
      cell.text = QString::fromUtf8(text);
      width = std::max(width, style()->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), this).width());
    }
    QStyleOptionHeader section;
    section.initFrom(header());
    section.text = QString::fromUtf8(kHeaders[column]);
    section.fontMetrics = header()->fontMetrics();
    width = std::max(width, style()->sizeFromContents(QStyle::CT_HeaderSection, &section, QSize(), header()).width());
    return width;
  };
  const int needed[kListColumns] = {widest(kColumnName, kWidestName),     widest(kColumnRoom, kWidestRoom),
                                    widest(kColumnKind, kWidestKind),     widest(kColumnSize, kWidestSize),
                                    widest(kColumnLowest, kWidestNumber), widest(kColumnHighest, kWidestNumber)};
  ColumnWidths widths{};
  for (int c = 0; c < kListColumns; ++c) {
    const auto at = static_cast<std::size_t>(c);
    widths[at] = std::max(static_cast<int>(kDefaultWidths[at] * scale + 0.5), needed[c]);
  }
  return widths;
}

int CKivListView::WidthForColumns(const ColumnWidths& widths) const {
  int width = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  for (int w : widths) width += w;
  return width;
}

CKivListView::ColumnWidths CKivListView::CurrentWidths() const {
  ColumnWidths widths{};
  for (int c = 0; c < kListColumns; ++c) widths[static_cast<std::size_t>(c)] = columnWidth(c);
  return widths;
}

void CKivListView::OnUpdate(int hint) {
  ClearRows();
  CDirectory* dir = doc_.CurrentFolder();
  if (hint != kHintLogFolderChanged && dir) {
    // What a command cut short left in the folder (Kiv closed or killed
    // while it worked) is resolved before the folder is shown.
    if (hint == kHintFolderChosen) RepairForumIfFree(messenger_, dir->path, plat::kLockHolderKiv);
    if (hint != kHintOrderChanged) doc_.RescanEntries();
    RebuildRows(*this, *dir, messenger_.mode());
  }
  emit commandStateChanged();
  if (hint != kHintLogFolderChanged && dir) MaybeGreet();
}

void CKivListView::MaybeGreet() {
  const CDirectory* dir = doc_.CurrentFolder();
  if (!ShowsGreeting(messenger_.mode(), dir->name)) return;
  CGreetingDlg greeting(window());
  ExecModal(greeting);
}

QString CKivListView::PassedOverNote() const {
  const CDirectory* dir = doc_.CurrentFolder();
  if (!dir) return {};
  std::string names;
  for (int i = 0; i < RowCount() && static_cast<std::size_t>(i) < dir->entries.size(); ++i) {
    const CFileEntry& entry = *dir->entries[static_cast<std::size_t>(i)];
    const bool log = entry.kind == kKindBody || entry.kind == kKindTitle;
    if (!IsRowSelected(i) || !log || IsCommandRoom(entry.room)) continue;
    if (!names.empty()) names += "、";
    names += entry.name;
  }
  return names.empty() ? QString() : Qs(FormatCompanionText(messenger_.mode(), ids::kStrNotePassedOver, names));
}

void CKivListView::ClearRows() {
  while (topLevelItemCount() > 0) delete takeTopLevelItem(topLevelItemCount() - 1);
}

int CKivListView::RowCount() const { return topLevelItemCount(); }

bool CKivListView::IsRowSelected(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item && item->isSelected();
}

bool CKivListView::IsRowFocused(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item && currentItem() == item;
}

void CKivListView::SetCellText(int row, int column, const std::string& text) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (item && column >= 0 && column < kListColumns) item->setText(column, Qs(text));
}

void CKivListView::InsertRow(int row, const EntryRow& texts, int states) {
  auto* item = new QTreeWidgetItem;
  for (int c = 0; c < kListColumns; ++c) {
    item->setText(c, Qs(texts.cells[static_cast<std::size_t>(c)]));
    if (RightAligned(c)) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
  }
  if (texts.icon >= 0 && texts.icon < 4) item->setIcon(kColumnName, icons_[static_cast<std::size_t>(texts.icon)]);
  item->setData(kColumnName, kIconRole, texts.icon);
  if (row < 0 || row > RowCount()) row = RowCount();
  insertTopLevelItem(row, item);
  if (states & kRowSelected) item->setSelected(true);
  if (states & kRowFocused) selectionModel()->setCurrentIndex(indexFromItem(item), QItemSelectionModel::NoUpdate);
}

void CKivListView::DeleteRow(int row) {
  if (row >= 0 && row < RowCount()) delete takeTopLevelItem(row);
}

void CKivListView::RepaintNow() {
  executeDelayedItemsLayout();
  viewport()->repaint();
  PumpWindow();
}

void CKivListView::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void CKivListView::EndWaitCursor() {
  if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

int CKivListView::RowIcon(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item ? item->data(kColumnName, kIconRole).toInt() : -1;
}

bool CKivListView::HasFolder() const { return doc_.CurrentFolder() != nullptr; }

bool CKivListView::HasFolderWithFiles() const {
  const CDirectory* dir = doc_.CurrentFolder();
  return dir && !dir->entries.empty();
}

void CKivListView::OnAnalyze() {
  if (!HasFolderWithFiles() || WindowAtWork()) return;
  CommandAtWork atWork;
  const CommandEnd ended(*this);
  const QString passedOver = PassedOverNote();
  ::OnAnalyze(ctx_);
  emit commandStateChanged();
  if (!passedOver.isEmpty()) emit statusLine(passedOver);
}

void CKivListView::OnSplit() {
  if (!HasFolder() || WindowAtWork()) return;
  CommandAtWork atWork;
  const CommandEnd ended(*this);
  const QString passedOver = PassedOverNote();
  const SplitOutcome outcome = ::OnSplit(ctx_, dialogs_);
  emit commandStateChanged();
  QString note = outcome.kind == SplitOutcome::Kind::Ran ? Qs(SplitNote(messenger_.mode(), outcome.report)) : QString();
  if (!passedOver.isEmpty()) note = note.isEmpty() ? passedOver : note + QStringLiteral("  ") + passedOver;
  if (!note.isEmpty()) emit statusLine(note);
}

void CKivListView::OnUndo() {
  if (!HasFolderWithFiles() || WindowAtWork()) return;
  CommandAtWork atWork;
  const CommandEnd ended(*this);
  const HeldForum forum(&forumLock_);
  if (!forum) return;
  const UndoReport report = UndoSelected(ctx_);
  emit commandStateChanged();
  const std::string note = UndoNote(messenger_.mode(), report);
  if (!note.empty()) emit statusLine(Qs(note));
}

void CKivListView::OnSelectAll() {
  for (int i = 0; i < RowCount(); ++i) topLevelItem(i)->setSelected(true);
}

void CKivListView::OnSelectNone() {
  for (int i = 0; i < RowCount(); ++i) topLevelItem(i)->setSelected(false);
}

void CKivListView::OnSelectInvert() {
  for (int i = 0; i < RowCount(); ++i) topLevelItem(i)->setSelected(!topLevelItem(i)->isSelected());
}

void CKivListView::OnSelectUnanalyzed() {
  const CDirectory* dir = doc_.CurrentFolder();
  if (!dir) return;
  for (int i = 0; i < RowCount(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    topLevelItem(i)->setSelected(at < dir->entries.size() && !dir->entries[at]->RangeKnown());
  }
}

void CKivListView::OnExportHeaders() {
  if (WindowAtWork()) return;
  CommandAtWork atWork;
  const CommandEnd ended(*this);
  // Held only when there is something to write.
  if (!HasFolder() || CollectExportRecords(*doc_.CurrentFolder()).empty()) return;
  const HeldForum forum(&forumLock_);
  if (!forum) return;
  const ExportReport report = ::OnExportHeaders(ctx_);
  emit commandStateChanged();
  if (report.lines > 0 && doc_.CurrentFolder()) {
    emit statusLine(Qs(FormatCompanionText(messenger_.mode(), ids::kStrNoteExported, std::to_string(report.lines),
                                           plat::JoinPath(doc_.CurrentFolder()->path, kArchiveListName))));
  }
}

void CKivListView::OnExternalLaunch() {
  if (!HasFolder()) return;
  ::OnExternalLaunch(ctx_, launcher_);
}

void CKivListView::OnColumnClick(int column) { doc_.ClickSortColumn(column); }

void CKivListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Left && event->modifiers() == Qt::NoModifier) {
    emit nextPaneRequested();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void CKivListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) OnSplit();
}

// A right click takes the selected files back by one split; no menu.
void CKivListView::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse) OnUndo();
  event->accept();
}

// With nothing to list, the list passes its turn on to the folder tree.
void CKivListView::focusInEvent(QFocusEvent* event) {
  QTreeWidget::focusInEvent(event);
  if (!HasFolderWithFiles() && event->reason() != Qt::PopupFocusReason) emit nextPaneRequested();
}
