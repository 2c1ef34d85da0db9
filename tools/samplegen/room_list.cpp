#include "tools/samplegen/room_list.h"

#include <cstdio>
#include <cstring>

#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "platform/text_writer.h"

namespace samplegen {

const std::string& RoomTableHeader() {
  static const std::string header = plat::Utf8ToCp932("番号　発言 (未読) 　最新　　会議室名");
  return header;
}

std::string FormatRoomLine(const RoomLine& room) {
  // Number, count, unread and latest right-aligned under their headings;
  // the name column starts at byte 28.
  char cols[64];
  std::snprintf(cols, sizeof cols, "%4d %5d (%4d)  %5d", room.room, room.messages, room.unread, room.highest);
  std::string line = cols;
  if (room.name.empty()) return line;
  line.resize(28, ' ');
  return line + room.name;
}

bool WriteRoomList(const std::string& path, const std::string& forumName, const std::string& forumTitle,
                   const CivilTime& when, const std::vector<RoomLine>& rooms, bool replace, std::string* error) {
  plat::TextWriter out;
  if (out.Open(path, replace ? plat::TextWriter::Mode::Truncate : plat::TextWriter::Mode::CreateNew)) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "  %02d/%02d/%02d %2d:%02d\n", when.year % 100, when.month, when.day, when.hour,
                  when.minute);
    out.Write(plat::Utf8ToCp932("【") + forumTitle + plat::Utf8ToCp932("】") + " " + forumName + "\n");
    out.Write(plat::Utf8ToCp932("会議室一覧") + stamp);
    out.Write("\n");
    out.Write(RoomTableHeader() + "\n");
    for (const RoomLine& room : rooms) out.Write(FormatRoomLine(room) + "\n");
    if (out.Close()) return true;
    if (!replace) plat::DeleteFile(path);  // made by this call and left unfinished
  }
  if (error) *error = path + ": " + std::strerror(out.error());
  return false;
}

}  // namespace samplegen
