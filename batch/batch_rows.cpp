#include "batch/batch_rows.h"

#include "batch/json_text.h"
#include "commands/entry_row.h"
#include "model/directory.h"

void BatchRows::SetCellText(int row, int column, const std::string& text) {
  if (Valid(row) && column >= 0 && column < kListColumns) {
    rows_[Index(row)].texts.cells[static_cast<std::size_t>(column)] = text;
  }
}

void BatchRows::InsertRow(int row, const EntryRow& texts, int states) {
  if (row < 0 || row > RowCount()) row = RowCount();
  rows_.insert(rows_.begin() + row, Row{texts, (states & kRowSelected) != 0, (states & kRowFocused) != 0});
}

void BatchRows::DeleteRow(int row) {
  if (Valid(row)) rows_.erase(rows_.begin() + row);
}

void BatchRows::OnUpdate(int hint) {
  rows_.clear();
  CDirectory* dir = doc_.CurrentFolder();
  if (hint == kHintLogFolderChanged || !dir) return;
  if (hint != kHintOrderChanged) doc_.RescanEntries();
  RebuildRows(*this, *dir, mode_);
}

void BatchRows::SelectRooms(RoomSet rooms, bool allRooms) {
  const CDirectory* dir = doc_.CurrentFolder();
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const bool inRooms = dir && i < dir->entries.size() && RoomInSet(rooms, dir->entries[i]->room);
    rows_[i].selected = allRooms || inRooms;
  }
}

void BatchRows::PrintJson(std::FILE* out) const {
  const CDirectory* dir = doc_.CurrentFolder();
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const auto& cells = rows_[i].texts.cells;
    const CFileEntry* entry = dir && i < dir->entries.size() ? dir->entries[i].get() : nullptr;
    const bool known = entry && entry->RangeKnown();
    std::string line = "{\"file\":" + JsonString(cells[kColumnName]) + ",\"room\":" + JsonString(cells[kColumnRoom]) +
                       ",\"kind\":" + JsonString(cells[kColumnKind]) +
                       ",\"size\":" + (entry && entry->size >= 0 ? std::to_string(entry->size) : std::string("null")) +
                       ",\"lowest\":" + (known ? std::to_string(entry->lowest) : std::string("null")) +
                       ",\"highest\":" + (known ? std::to_string(entry->highest) : std::string("null")) + "}\n";
    std::fputs(line.c_str(), out);
  }
}

void BatchRows::Print(std::FILE* out) const {
  for (const Row& row : rows_) {
    for (int c = 0; c < kListColumns; ++c) {
      if (c != 0) std::fputc('\t', out);
      std::fputs(row.texts.cells[static_cast<std::size_t>(c)].c_str(), out);
    }
    std::fputc('\n', out);
  }
}
