#include "model/room_names.h"

#include <string>

#include "model/directory.h"
#include "model/leading_number.h"
#include "platform/file_ops.h"
#include "platform/text_reader.h"

RoomLine ParseRoomLine(std::string_view line) {
  RoomLine parsed;
  std::string_view text = TrimTrailingSpace(line);
  parsed.room = LeadingNumber(text);
  if (parsed.room != 0 && text.size() > kRoomNameOffset) parsed.name = text.substr(kRoomNameOffset);
  return parsed;
}

void CDirectory::LoadRoomNames() {
  plat::TextReader in;
  if (!in.Open(plat::JoinPath(path, "MES.LOG"))) return;
  std::string line;
  bool inTable = false;
  // A read error ends the table like the end of the file: what was read stays.
  while (in.ReadLine(line)) {
    if (!inTable) {
      inTable = TrimTrailingSpace(line) == kRoomTableHeading;
      continue;
    }
    RoomLine parsed = ParseRoomLine(line);
    if (parsed.room != 0) SetRoomName(parsed.room, std::string(parsed.name));
  }
  in.Close();
}
