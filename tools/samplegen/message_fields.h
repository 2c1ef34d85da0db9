#pragma once
#include <cstdint>
#include <string>

#include "tools/samplegen/civil_time.h"
#include "tools/samplegen/header_format.h"

namespace samplegen {

// Everything about a message its header shows is drawn from the seed, the
// room and the message's position in the log alone, so the body log and the
// title log of a room describe each message alike.
struct MessageKey {
  std::uint64_t seed = 1;
  int room = 1;
  int index = 0;      // position in the log, from 0; times grow with it
  int number = 1;     // message number
  int first = 1;      // lowest number of the room (replies point at or above it)
  int meanLines = 6;  // mean number of text lines per message
  CivilTime start;    // time of the log's first message
};

MessageFields MakeMessageFields(const MessageKey& key);

// The time of the message at `index`: 30 to 119 minutes after the one before
// it on average, never earlier.
CivilTime MessageTime(std::uint64_t seed, int room, int index, const CivilTime& start);

// A seed's own start for a room's log, somewhere in 1996 or 1997.
CivilTime DefaultStart(std::uint64_t seed, int room);

// The exact header text (CP932, each line ending in LF) the samples give
// message `number` in the given layout, for room 1 of a log starting at 1.
std::string HeaderText(HeaderTemplate t, int number, std::uint64_t seed = 1);

}  // namespace samplegen
