#pragma once
#include <array>
#include <optional>

#include <QTreeWidget>

#include "commands/command_context.h"
#include "commands/forum_writer.h"
#include "model/kiv_doc.h"
#include "ports/rows.h"

class Clock;
class DecisionPort;
class Messenger;
class ProcessLauncher;
class ProgressPort;
class SplitDialogPort;

// CKivListView: the log files of the current forum folder, one row per
// entry in six columns, several rows selectable. The rows are the ones the
// commands edit (RowsPort); the commands themselves are those of commands/,
// run on the selected rows.
class CKivListView : public QTreeWidget, public RowsPort, public CKivView {
  Q_OBJECT

 public:
  using ColumnWidths = std::array<int, kListColumns>;
  static constexpr ColumnWidths kDefaultWidths = {90, 264, 45, 80, 60, 60};

  CKivListView(CKivDoc& doc, Messenger& messenger, DecisionPort& decisions, ProgressPort& progress, const Clock& clock,
               SplitDialogPort& dialogs, ProcessLauncher& launcher, QWidget* parent = nullptr);
  ~CKivListView() override;

  // Once, when the window is first shown: the columns, with the stored
  // widths when there are any, else DefaultWidths.
  void OnInitialUpdate(const std::optional<ColumnWidths>& storedWidths);
  // kDefaultWidths were made for a dialog font of other metrics: each is
  // scaled by the list's font and widened, when that is not enough, to what
  // its header and the widest of its usual texts need in that font.
  ColumnWidths DefaultWidths() const;
  // Each column narrower than DefaultWidths gives in the list's present font
  // is widened to it (after a font change); wider ones stay as they are.
  void WidenNarrowColumns();
  // The width the list needs to show whole rows of these columns.
  int WidthForColumns(const ColumnWidths& widths) const;
  void OnUpdate(int hint) override;

  ColumnWidths CurrentWidths() const;

  // RowsPort.
  int RowCount() const override;
  bool IsRowSelected(int row) const override;
  bool IsRowFocused(int row) const override;
  void SetCellText(int row, int column, const std::string& text) override;
  void InsertRow(int row, const EntryRow& texts, int states) override;
  void DeleteRow(int row) override;
  void RepaintNow() override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;

  // When the commands of the list may run.
  bool HasFolder() const;
  bool HasFolderWithFiles() const;

  // The commands (kCmdAnalyze to kCmdSelectNone, kCmdExportHeaders, kCmdExternalLaunch).
  void OnAnalyze();
  void OnSplit();
  void OnUndo();
  void OnSelectAll();
  void OnSelectInvert();
  void OnSelectUnanalyzed();
  void OnSelectNone();
  void OnExportHeaders();
  void OnExternalLaunch();
  void OnColumnClick(int column);

  // The icon index a row shows (0-3), -1 for no such row.
  int RowIcon(int row) const;

 signals:
  // The rows or the current folder changed: the frame re-enables its commands.
  void commandStateChanged();
  void nextPaneRequested();
  // A line for the status bar: what a command left alone, or what it wrote.
  void statusLine(const QString& text);
  // A command that works on the files (analyse, split, undo, export) ended.
  void commandEnded();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void ClearRows();
  // Analyse and split work on rooms 1 to 20: the selected files of other
  // rooms (MES_99.LOG), which they pass over, are named in the status bar.
  QString PassedOverNote() const;
  void MaybeGreet();

  CKivDoc& doc_;
  Messenger& messenger_;
  SplitDialogPort& dialogs_;
  ProcessLauncher& launcher_;
  // The current forum is held only while a command writes there, so that a
  // kiv-batch run by a timer can work on it while Kiv shows it.
  ForumWriteLock forumLock_;
  CommandContext ctx_;
  std::array<QIcon, 4> icons_;
};
