#include "model/room_names.h"

#include <string>
#include <vector>

#include "model/directory.h"
#include "model/leading_number.h"
#include "model/log_names.h"
#include "platform/dir_search.h"
#include "platform/file_ops.h"
#include "platform/text_reader.h"

RoomLine ParseRoomLine(std::string_view line) {
  RoomLine parsed;
  std::string_view text = TrimTrailingSpace(line);
  parsed.room = LeadingNumber(text);
  if (parsed.room != 0 && text.size() > kRoomNameOffset) parsed.name = text.substr(kRoomNameOffset);
  return parsed;
}

namespace {

// The folder's room list. The host's platform finds MES.LOG in any case of
// its letters, as the folder scan does; here the exact name is tried first
// and a name differing only in case is looked for when it is missing.
std::string RoomListPath(const std::string& folder) {
  std::string exact = plat::JoinPath(folder, kRoomListName);
  if (plat::FileExists(exact)) return exact;
  std::vector<plat::FoundItem> found;
  plat::FindFiles(folder, kRoomListName, &found);
  for (const plat::FoundItem& item : found) {
    if (!item.isDirectory) return plat::JoinPath(folder, item.name);
  }
  return exact;
}

}  // namespace

void CDirectory::LoadRoomNames() {
  plat::TextReader in;
  if (!in.Open(RoomListPath(path))) return;
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
