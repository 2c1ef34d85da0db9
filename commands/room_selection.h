#pragma once
#include <cstdint>

class CDirectory;
class CFileEntry;
class RowsPort;

// The rooms a command acts on: bit r set for room r. Only rooms 1 to 20
// have a place in the per-room tables of the commands, so a log whose name
// gives another room number never brings its room into the set: such files
// are shown, but neither analysed nor split.
using RoomSet = std::uint32_t;

inline constexpr int kFirstRoom = 1;
inline constexpr int kLastRoom = 20;

inline bool IsCommandRoom(int room) { return room >= kFirstRoom && room <= kLastRoom; }
inline bool RoomInSet(RoomSet set, int room) { return IsCommandRoom(room) && (set >> room & 1u) != 0; }
inline RoomSet RoomBit(int room) { return IsCommandRoom(room) ? (1u << room) : 0u; }

// Sets the room of every selected row (row i shows entry i of dir) in
// rooms, and singleRoom when exactly one room is in it. True when any row
// is selected.
bool CollectSelectedRooms(const RowsPort& rows, const CDirectory& dir, RoomSet& rooms, bool& singleRoom);

// Number of rooms in the set.
int CountRooms(RoomSet rooms);
