#pragma once
#include <cstdint>
#include <string>

#include "ports/rows.h"

class CDirectory;
class CFileEntry;
struct CompanionMode;

// The texts of the log list's rows, the same for the desktop program and
// kiv-batch.

// "%u" grouped by "," every three digits from the right: 1234567 -> 1,234,567.
std::string GroupedSize(std::uint64_t size);
// "%d" when 1 or more, else "-".
std::string LowestText(int lowest);
// "%d" when below 65536, else "-".
std::string HighestText(int highest);
// 本文, ﾀｲﾄﾙ, 書庫, or 不明 for any other kind.
std::string KindText(int kind);
// The room's name from the folder's MES.LOG, shown in UTF-8; 不明 (in the
// current voice) when the room has none.
std::string RoomNameText(const CDirectory& dir, int room, const CompanionMode& mode);

// All six texts and the icon of an entry's row.
EntryRow MakeEntryRow(const CDirectory& dir, const CFileEntry& entry, const CompanionMode& mode);

// Inserts row i for entry i with the given states (kRowSelected, kRowFocused).
void InsertEntryRow(RowsPort& rows, int i, const CDirectory& dir, const CFileEntry& entry, const CompanionMode& mode,
                    int states);

// The selected and focused states of row i, as InsertRow takes them.
int RowStates(const RowsPort& rows, int i);

// Draws row i again from its entry, keeping its selected and focused states.
void RedrawEntryRow(RowsPort& rows, int i, const CDirectory& dir, const CFileEntry& entry, const CompanionMode& mode);

// Deletes every row and inserts one per entry of dir in order, row 0
// selected and focused (the list's rebuild after an update).
void RebuildRows(RowsPort& rows, const CDirectory& dir, const CompanionMode& mode);
