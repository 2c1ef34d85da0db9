#include "commands/entry_row.h"

#include "messages/companion_mode.h"
#include "model/directory.h"
#include "model/file_entry.h"
#include "platform/encoding.h"
#include "resources/ids.h"

std::string GroupedSize(std::uint64_t size) {
  const std::string t = std::to_string(size);
  const std::size_t n = t.size();
  if (n < 4) return t;
  std::size_t lead = n % 3;
  std::string out = t.substr(0, lead);
  for (std::size_t i = lead; i < n; i += 3) {
    if (i != 0) out += ',';
    out += t.substr(i, 3);
  }
  return out;
}

std::string LowestText(int lowest) { return lowest >= 1 ? std::to_string(lowest) : "-"; }

std::string HighestText(int highest) { return highest < kNoHighest ? std::to_string(highest) : "-"; }

std::string KindText(int kind) {
  switch (kind) {
    case kKindBody: return "本文";
    case kKindTitle: return "ﾀｲﾄﾙ";
    case kKindArchive: return "書庫";
    default: return "不明";
  }
}

std::string RoomNameText(const CDirectory& dir, int room, const CompanionMode& mode) {
  const std::string& name = dir.RoomName(room);
  if (name.empty()) return FormatCompanionText(mode, ids::kStrUnknownRoomName, mode.m_strUserName, mode.m_strHonorific);
  return plat::Cp932ToUtf8(name);
}

EntryRow MakeEntryRow(const CDirectory& dir, const CFileEntry& entry, const CompanionMode& mode) {
  EntryRow row;
  row.icon = (entry.kind == kKindTitle ? 2 : 0) + (entry.CanUndo() ? 1 : 0);
  row.cells[kColumnName] = entry.name;
  row.cells[kColumnRoom] = RoomNameText(dir, entry.room, mode);
  row.cells[kColumnKind] = KindText(entry.kind);
  // The size field holds -1 until a scan has seen the file; "%u" shows it as the scan would.
  row.cells[kColumnSize] = GroupedSize(entry.size > 0 ? static_cast<std::uint64_t>(entry.size) : 0);
  row.cells[kColumnLowest] = LowestText(entry.lowest);
  row.cells[kColumnHighest] = HighestText(entry.highest);
  return row;
}

void InsertEntryRow(RowsPort& rows, int i, const CDirectory& dir, const CFileEntry& entry, const CompanionMode& mode,
                    int states) {
  rows.InsertRow(i, MakeEntryRow(dir, entry, mode), states);
}

int RowStates(const RowsPort& rows, int i) {
  return (rows.IsRowSelected(i) ? kRowSelected : 0) | (rows.IsRowFocused(i) ? kRowFocused : 0);
}

void RedrawEntryRow(RowsPort& rows, int i, const CDirectory& dir, const CFileEntry& entry, const CompanionMode& mode) {
  int states = RowStates(rows, i);
  rows.DeleteRow(i);
  InsertEntryRow(rows, i, dir, entry, mode, states);
}

void RebuildRows(RowsPort& rows, const CDirectory& dir, const CompanionMode& mode) {
  for (int i = rows.RowCount(); i > 0; --i) rows.DeleteRow(i - 1);
  for (std::size_t i = 0; i < dir.entries.size(); ++i) {
    int states = i == 0 ? (kRowSelected | kRowFocused) : 0;
    InsertEntryRow(rows, static_cast<int>(i), dir, *dir.entries[i], mode, states);
  }
}
