#include "commands/split_cuts.h"

#include <algorithm>

#include "engine/naming_error.h"
#include "model/directory.h"
#include "platform/file_ops.h"

namespace {

// Several rooms under the first method: the highest multiple of 1000 that
// leaves at least number of the room's messages in the current log.
int SeveralRoomsCut(int highest, int number) {
  const int d = highest - number;
  return d > 0 ? d / 1000 * 1000 : 0;
}

}  // namespace

bool TakesPart(const CFileEntry& entry, RoomSet rooms, int kindSet) {
  return RoomInSet(rooms, entry.room) && (entry.kind == kKindBody || entry.kind == kKindTitle) &&
         (entry.kind & kindSet) != 0;
}

bool SameTime(const CDirectory& dir, const CFileEntry& entry) {
  plat::FileStatus status;
  return plat::GetFileStatus(plat::JoinPath(dir.path, entry.name), &status) && status.mtime == entry.modificationTime;
}

RoomTables TablesOf(const CDirectory& dir, const SplitRequest& request) {
  RoomTables tables;
  tables.low.fill(kNoHighest);
  tables.high.fill(0);
  tables.naming.fill(kNamingFresh);
  for (const auto& entry : dir.entries) {
    if (!TakesPart(*entry, request.rooms, request.kindSet)) continue;
    const std::size_t room = static_cast<std::size_t>(entry->room);
    tables.low[room] = std::min(tables.low[room], entry->lowest);
    tables.high[room] = std::max(tables.high[room], entry->highest);
  }
  return tables;
}

int CutValue(const SplitRequest& request, const RoomTables& tables, int room) {
  if (request.singleRoom || request.method == SplitMethod::Multiple) return request.number;
  return SeveralRoomsCut(tables.high[static_cast<std::size_t>(room)], request.number);
}

RoomSet LeaveAloneRoomsWithNothingToSplit(const SplitRequest& request, const RoomTables& tables,
                                          std::vector<int>& leftAlone) {
  if (request.singleRoom || request.method != SplitMethod::Single) return request.rooms;
  RoomSet rooms = request.rooms;
  for (int room = kFirstRoom; room <= kLastRoom; ++room) {
    const auto at = static_cast<std::size_t>(room);
    // Every log taking part has its range known by now: no low means no log.
    if (!RoomInSet(rooms, room) || tables.low[at] == kNoHighest) continue;
    if (tables.low[at] <= SeveralRoomsCut(tables.high[at], request.number)) continue;
    rooms &= ~RoomBit(room);
    leftAlone.push_back(room);
  }
  return rooms;
}
