#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "tools/samplegen/civil_time.h"
#include "tools/samplegen/header_format.h"

namespace samplegen {

enum class LogKind { Body, Title };

// How one log file is to look. Texts are CP932 bytes.
struct LogOptions {
  LogKind kind = LogKind::Body;
  // The header layout; when absent, Body5 for a body log and Title5 for a
  // title log.
  std::optional<HeaderTemplate> layout;
  std::uint64_t seed = 1;
  int room = 1;
  std::string forumName = "FORUM1";
  std::string roomName;            // empty: the host's "%d番会議室"
  bool forumHeader = true;         // body logs start with the forum header line
  std::string forumHeaderLine;     // written instead of the made one when not empty
  int first = 1;                   // number of the first message (of the lowest when shuffled)
  int messages = 20;               // used when targetBytes is 0
  std::uint64_t targetBytes = 0;   // grow the file to at least this size instead
  int maxNumber = 65536;           // numbers stay at or below this (99999 at most)
  int meanLines = 0;               // text lines per message; 0: 6, or more as a byte target needs
  bool shuffle = false;            // numbers out of order
  bool longLines = false;          // some lines longer than the reader's 1023-byte pieces
  bool mixed = false;              // body log: one title-format line inside a message
  int mixedAt = 2;                 // index of the message carrying it (the last when fewer)
  std::optional<CivilTime> start;  // time of the first message; default from seed and room
  bool replace = false;            // overwrite an existing file instead of failing
  bool setFileTime = true;         // file time = time of the last message
};

// What was written, for tests and benchmarks to check the log reader against.
struct LogResult {
  bool ok = false;
  std::string error;  // file name and reason when !ok
  int messages = 0;
  int lowest = 0;
  int highest = 0;
  int meanLines = 0;            // the mean text lines per message used
  std::uint64_t bytes = 0;      // size on disk (CR LF counted)
  int readerLines = 0;          // lines as the reader counts them (pieces of <= 1023 bytes)
  int mixedLine = 0;            // reader line number of the title-format line; 0 when none
  int longLines = 0;            // physical lines longer than 1023 bytes with their LF
  std::string forumHeaderLine;  // as written, without line end; empty when none
  CivilTime lastTime;           // time of the last message
  std::time_t mtime = 0;        // file time that was set (0 when not set)
};

// The host's forum header line of a current log: "- %s  MES(%2d):%s %s -".
std::string CurrentLogHeaderLine(const std::string& forumName, int room, const std::string& roomName,
                                 const CivilTime& date);

// Writes one body or title log, streaming (the file is never held in memory).
// A body and a title log made with the same seed, room, first, shuffle and
// messages (take the body's result.messages and result.meanLines when it was
// sized by bytes) carry the same numbers in the same order.
LogResult WriteLogFile(const std::string& path, const LogOptions& options);

}  // namespace samplegen
