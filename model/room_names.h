#pragma once
#include <string_view>

// The room table of a forum folder's MES.LOG: after its heading line, every
// line that starts with a room number carries that room's name from byte
// offset 28 on (where the heading's last column begins).

// The heading line, CP932: 番号　発言 (未読) 　最新　　会議室名 (36 bytes).
inline constexpr std::string_view kRoomTableHeading =
    "\x94\xd4\x8d\x86\x81\x40\x94\xad\x8c\xbe\x20\x28\x96\xa2\x93\xc7\x29\x20"
    "\x81\x40\x8d\xc5\x90\x56\x81\x40\x81\x40\x89\xef\x8b\x63\x8e\xba\x96\xbc";
inline constexpr std::size_t kRoomNameOffset = 28;

struct RoomLine {
  int room = 0;           // 0 when the line is no room line
  std::string_view name;  // bytes from offset 28, trailing white space removed
};

// Reads one line of the table (with or without its line end).
RoomLine ParseRoomLine(std::string_view line);
