#pragma once
#include <cstdio>
#include <vector>

#include "commands/room_selection.h"
#include "model/kiv_doc.h"
#include "ports/rows.h"

struct CompanionMode;

// kiv-batch's log list: the rows the desktop list would show, kept in
// memory, rebuilt from the document's current folder as the list is.
class BatchRows : public RowsPort, public CKivView {
 public:
  BatchRows(CKivDoc& doc, const CompanionMode& mode) : doc_(doc), mode_(mode) {}

  int RowCount() const override { return static_cast<int>(rows_.size()); }
  bool IsRowSelected(int row) const override { return Valid(row) && rows_[Index(row)].selected; }
  bool IsRowFocused(int row) const override { return Valid(row) && rows_[Index(row)].focused; }
  void SetCellText(int row, int column, const std::string& text) override;
  void InsertRow(int row, const EntryRow& texts, int states) override;
  void DeleteRow(int row) override;
  void RepaintNow() override {}

  // Hints 0 and 1 rescan the current folder and rebuild; 3 rebuilds; 2 empties.
  void OnUpdate(int hint) override;

  // Selects exactly the rows whose entry is in one of rooms; every row when
  // allRooms is set.
  void SelectRooms(RoomSet rooms, bool allRooms);

  // One line per row: the six texts separated by tabs.
  void Print(std::FILE* out) const;
  // One JSON object per row and line, with the fields of Print: "file",
  // "room", "kind" (texts), "size" (bytes), "lowest" and "highest" (numbers,
  // null where Print shows "-").
  void PrintJson(std::FILE* out) const;

 private:
  struct Row {
    EntryRow texts;
    bool selected = false;
    bool focused = false;
  };
  bool Valid(int row) const { return row >= 0 && row < RowCount(); }
  static std::size_t Index(int row) { return static_cast<std::size_t>(row); }

  CKivDoc& doc_;
  const CompanionMode& mode_;
  std::vector<Row> rows_;
};
