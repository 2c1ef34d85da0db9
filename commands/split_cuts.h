#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "commands/room_selection.h"
#include "commands/split_request.h"

class CDirectory;
class CFileEntry;

// Whether the entry is one of the logs the request splits.
bool TakesPart(const CFileEntry& entry, RoomSet rooms, int kindSet);

// Whether the entry's file still has the last-write time the entry holds.
bool SameTime(const CDirectory& dir, const CFileEntry& entry);

// The per-room values of one split run, indexed by room number: the lowest
// and highest message number over the logs the request takes in, and each
// room's naming state.
struct RoomTables {
  std::array<int, kLastRoom + 1> low;
  std::array<int, kLastRoom + 1> high;
  std::array<std::uint32_t, kLastRoom + 1> naming;
};
RoomTables TablesOf(const CDirectory& dir, const SplitRequest& request);

// The number the room's logs are cut at (first method), or the step
// (second method).
int CutValue(const SplitRequest& request, const RoomTables& tables, int room);

// Several rooms cut under the first method: a room none of whose logs taking
// part holds a message at or below its cut point has nothing to move to an
// old log, and is left alone (no backup, no empty old log, no header line
// with a range running backwards). The rooms still to split.
RoomSet LeaveAloneRoomsWithNothingToSplit(const SplitRequest& request, const RoomTables& tables,
                                          std::vector<int>& leftAlone);
