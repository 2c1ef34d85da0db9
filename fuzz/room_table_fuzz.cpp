// The room table of MES.LOG as the folder loads it, against a reading of the
// table written from its rules alone: lines come in text-mode pieces of at
// most 1023 bytes; after the heading line, a line whose leading number (read
// as atoi reads it) is a room number names that room from byte 28 on,
// trailing white space removed; a later line of a room wins.
//
// Input: byte 0 odd puts the heading line first (so the fuzzer needs not
// find its 36 bytes by itself); the rest is the file.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/scratch_folder.h"
#include "model/directory.h"
#include "model/room_names.h"
#include "platform/file_ops.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

long long AtoiClamped(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long value = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    value = value * 10 + (s[i++] - '0');
    if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;  // beyond every room
  }
  return negative ? -value : value;
}

std::vector<std::string> Pieces(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && end - start < 1023) {
      if (text[end++] == '\n') break;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end;
  }
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::string file = (data[0] & 1) ? std::string(kRoomTableHeading) + "\r\n" : std::string();
  file.append(reinterpret_cast<const char*>(data + 1), size - 1);

  fuzzing::EmptyScratchFolder();
  const std::string& folder = fuzzing::ScratchFolder();
  fuzzing::PutFile(plat::JoinPath(folder, "MES.LOG"), file);

  std::string expected[CDirectory::kRoomSlots];
  bool inTable = false;
  for (const std::string& piece : Pieces(fuzzing::TextModeContent(file))) {
    // Every line parsed on its own must hold up too, table or not.
    RoomLine parsed = ParseRoomLine(piece);
    if (!parsed.name.empty() && !Trimmed(piece).ends_with(parsed.name)) fuzzing::Fail("name not from the line");
    if (!inTable) {
      inTable = Trimmed(piece) == kRoomTableHeading;
      continue;
    }
    long long room = AtoiClamped(piece);
    if (room >= 1 && room < CDirectory::kRoomSlots) {
      std::string_view text = Trimmed(piece);
      expected[room] = text.size() > kRoomNameOffset ? std::string(text.substr(kRoomNameOffset)) : std::string();
    }
  }

  CDirectory dir("FORUM1", folder);
  dir.LoadRoomNames();
  for (int room = 1; room < CDirectory::kRoomSlots; ++room) {
    if (dir.RoomName(room) != expected[room]) fuzzing::Fail("a room name differs from the table's");
  }
  return 0;
}
