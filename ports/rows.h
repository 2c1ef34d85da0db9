#pragma once
#include <array>
#include <string>

// The rows of the log list as the commands edit them. Row i always shows
// entry i of the current forum folder; the commands keep that so when they
// redraw, insert or delete a row. Texts are UTF-8.

enum ListColumn : int {
  kColumnName = 0,     // ファイル名, with the icon
  kColumnRoom = 1,     // 会議室名
  kColumnKind = 2,     // 種別
  kColumnSize = 3,     // サイズ
  kColumnLowest = 4,   // 最小
  kColumnHighest = 5,  // 最大
};
inline constexpr int kListColumns = 6;

// Row states as InsertRow takes them.
inline constexpr int kRowFocused = 1;
inline constexpr int kRowSelected = 2;

// What one row shows: the icon index (0 body or other, 1 with undo records,
// 2 title, 3 title with undo records) and the six column texts.
struct EntryRow {
  int icon = 0;
  std::array<std::string, kListColumns> cells;
};

class RowsPort {
 public:
  virtual ~RowsPort() = default;

  virtual int RowCount() const = 0;
  virtual bool IsRowSelected(int row) const = 0;
  virtual bool IsRowFocused(int row) const = 0;

  virtual void SetCellText(int row, int column, const std::string& text) = 0;
  // Inserts a row at index row (0..RowCount()) with the given states.
  virtual void InsertRow(int row, const EntryRow& texts, int states) = 0;
  virtual void DeleteRow(int row) = 0;
  // Shows the rows as they are now, before the command goes on.
  virtual void RepaintNow() = 0;

  // The wait cursor around the reading of one file.
  virtual void BeginWaitCursor() {}
  virtual void EndWaitCursor() {}
};
