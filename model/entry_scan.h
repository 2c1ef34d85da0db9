#pragma once
#include <cstdint>
#include <ctime>

#include "model/entry_order.h"

class CDirectory;
class CFileEntry;

// Brings dir's entries up to date with the MES*.LOG files on disk (MES.LOG
// itself and folders excepted), then sorts them by order (null: scan order).
//
// An entry survives only when a file of exactly its name still has exactly
// its modification time; it then keeps its analysis results and those undo
// records whose old log still exists. Every other file gets a new entry with
// its range unknown; a changed log's new entry takes over its undo records,
// retired. Entries whose file is gone or changed are destroyed.
// Each entry's index is its position in search order.
//
// A folder that can't be listed is left exactly as it was and the result is
// false: a passing failure to read the folder must not cost the entries
// their undo records.
bool RescanEntries(CDirectory& dir, EntryOrder order);

// Makes entry what a rescan makes of a log another program has changed: its
// time and size as they are now, its range and header text unknown, its undo
// records retired (kept for the history and the export, never undone).
// Kind, room and name stay, for they come from the name.
void RenewChangedEntry(CFileEntry& entry, std::time_t mtime, std::int64_t size);
