#pragma once
#include <string>
#include <vector>

#include "tools/samplegen/civil_time.h"

namespace samplegen {

// One room as the host's room list shows it. Texts are CP932 bytes.
struct RoomLine {
  int room = 1;
  int messages = 0;
  int unread = 0;
  int highest = 0;
  std::string name;  // empty: the line ends before the name column
};

// "番号　発言 (未読) 　最新　　会議室名" in CP932: the line the room table starts after.
const std::string& RoomTableHeader();

// A room line whose name starts at byte 28, under the header's last column.
std::string FormatRoomLine(const RoomLine& room);

// Writes a forum's MES.LOG: a few lines about the forum, a blank line, the
// table header and one line per room. False with *error (file and reason)
// when the file can't be written.
bool WriteRoomList(const std::string& path, const std::string& forumName, const std::string& forumTitle,
                   const CivilTime& when, const std::vector<RoomLine>& rooms, bool replace, std::string* error);

}  // namespace samplegen
