#include "commands/room_selection.h"

#include <bit>

#include "model/directory.h"
#include "ports/rows.h"

bool CollectSelectedRooms(const RowsPort& rows, const CDirectory& dir, RoomSet& rooms, bool& singleRoom) {
  rooms = 0;
  singleRoom = false;
  bool anySelected = false;
  const int count = rows.RowCount();
  for (int i = 0; i < count && static_cast<std::size_t>(i) < dir.entries.size(); ++i) {
    if (!rows.IsRowSelected(i)) continue;
    anySelected = true;
    rooms |= RoomBit(dir.entries[static_cast<std::size_t>(i)]->room);
  }
  singleRoom = CountRooms(rooms) == 1;
  return anySelected;
}

int CountRooms(RoomSet rooms) { return std::popcount(rooms); }
