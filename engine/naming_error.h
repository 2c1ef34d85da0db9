#pragma once
#include <cstdint>
#include <string>

// What went wrong naming the old logs of one file: the message to show and
// the file it names. Made by CLogFile::MakeOldLogNames, shown and discarded
// by the caller.
struct CNameError {
  std::int32_t messageId = 0;
  std::string fileName;
  // Not 0 when the folder could not be listed: the file error to show
  // instead of the message, fileName then naming the folder.
  int listError = 0;
};

// The naming state the split command keeps for each room during one command.
inline constexpr std::uint32_t kNamingFresh = 0x80000000u;       // no file of the room named yet
inline constexpr std::uint32_t kNamingError = 0x4000000u;        // naming failed for the room
inline constexpr std::uint32_t kArchiveLetterBits = 0x3FFFFFFu;  // letters A..Z
