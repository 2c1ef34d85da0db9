// The forum header lines of a split: one per old log, carrying the range of
// message numbers it covers, and one for the log's new file. They head the
// body-log outputs, go into the undo records and from there into AR.LST, so
// they are CP932 bytes exactly as the host writes them.
#include "engine/header_lines.h"

#include <cstdio>
#include <string_view>

#include "platform/encoding.h"
#include "platform/local_time.h"
#include "platform/name_in_line.h"

namespace {

// "番会議室" in CP932: the name of a room the room list leaves unnamed is its
// number followed by this.
constexpr std::string_view kUnnamedRoomSuffix = "\x94\xd4\x89\xef\x8b\x63\x8e\xba";

// True when text is well-formed UTF-8 (overlong forms and surrogates refused).
bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t j = 1; j < length; ++j) {
      const unsigned char next = static_cast<unsigned char>(text[i + j]);
      if (j == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// The file system gives the folder's name as UTF-8. A name that is not
// UTF-8 came over from the host's own platform as it was, already CP932:
// converting it would turn every Japanese character into "?". A control
// character in it would break the line.
std::string ForumNameCp932(const std::string& forumName) {
  return plat::NameForLine(IsUtf8(forumName) ? plat::Utf8ToCp932(forumName) : forumName);
}

std::string Formatted(const char* format, int first, int second = 0) {
  char text[32];
  std::snprintf(text, sizeof text, format, first, second);
  return text;
}

}  // namespace

std::vector<std::string> ForumHeaderLines(const std::string& forumName, const std::string& roomName, int room,
                                          int lowest, const std::vector<std::int32_t>& cutPoints, std::time_t today) {
  std::vector<std::string> lines;
  if (cutPoints.size() < 2) return lines;
  const std::string roomText = roomName.empty() ? std::to_string(room) + std::string(kUnnamedRoomSuffix) : roomName;
  // One date for every line of the split.
  const std::string date = plat::FormatLocalTime(today, "%y/%m/%d");
  const std::string lead = "- " + ForumNameCp932(forumName) + "  MES(" + Formatted("%2d", room) + "):" + roomText;
  const std::string tail = " " + date + " -";

  const std::size_t oldLogs = cutPoints.size() - 2;
  for (std::size_t i = 0; i < oldLogs; ++i) {
    const int first = i == 0 ? lowest : cutPoints[i] + 1;
    const int last = cutPoints[i + 1];
    lines.push_back(lead + Formatted("(%05d-%05d)", first, last) + tail);
  }
  lines.push_back(lead + tail);
  return lines;
}
