#pragma once
#include <cstdint>
#include <ctime>

namespace samplegen {

// A wall-clock time of the host's messages. Kept as calendar fields and
// advanced by our own arithmetic so the dates in a sample never depend on the
// time zone of the machine that makes it; only the file times (SetFileTime)
// are turned into a time_t, as local time.
struct CivilTime {
  int year = 1998;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
};

CivilTime AddMinutes(const CivilTime& t, std::int64_t minutes);

// Minutes since 1970-01-01 00:00 of the same calendar (no zone).
std::int64_t MinutesSinceEpoch(const CivilTime& t);

// The same wall-clock time as a local time_t, for file modification times.
std::time_t ToLocalTime(const CivilTime& t);

}  // namespace samplegen
