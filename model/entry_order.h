#pragma once
#include "model/file_entry.h"

class CDirectory;

// An order of a folder's entries: negative when a goes before b. Each is the
// difference of the fields it names (held within the int range, so two far
// apart sizes can't wrap round and swap their places).
using EntryOrder = int (*)(const CFileEntry& a, const CFileEntry& b);

int ByScanOrder(const CFileEntry& a, const CFileEntry& b);
int ByRoomAndKind(const CFileEntry& a, const CFileEntry& b);
int ByRoomAndKindDescending(const CFileEntry& a, const CFileEntry& b);
int ByKind(const CFileEntry& a, const CFileEntry& b);
int ByKindDescending(const CFileEntry& a, const CFileEntry& b);
int BySize(const CFileEntry& a, const CFileEntry& b);
int BySizeDescending(const CFileEntry& a, const CFileEntry& b);

// The order a list column's sort state stands for: column 0 (file name),
// 2 (kind) or 3 (size), each with state 0 scan order, 1 ascending,
// 2 descending. Null for any other column or state: the entries then stay
// in scan order.
EntryOrder ChooseEntryOrder(int sortColumn, int columnState);

// Sorts dir's entries in place with the folder's own quicksort (not stable:
// equal keys end where its partitioning leaves them; ByScanOrder restores
// the order of the last rescan). A null order leaves them as they are.
void SortEntries(CDirectory& dir, EntryOrder order);
