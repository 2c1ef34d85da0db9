#include "tools/samplegen/civil_time.h"

#include "platform/local_time.h"

namespace samplegen {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int* y, int* m, int* d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *y = static_cast<int>(yoe + era * 400 + (*m <= 2));
}

}  // namespace

std::int64_t MinutesSinceEpoch(const CivilTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 1440 + t.hour * 60 + t.minute;
}

CivilTime AddMinutes(const CivilTime& t, std::int64_t minutes) {
  std::int64_t total = MinutesSinceEpoch(t) + minutes;
  std::int64_t days = total >= 0 ? total / 1440 : (total - 1439) / 1440;
  std::int64_t rest = total - days * 1440;
  CivilTime out;
  CivilFromDays(days, &out.year, &out.month, &out.day);
  out.hour = static_cast<int>(rest / 60);
  out.minute = static_cast<int>(rest % 60);
  return out;
}

std::time_t ToLocalTime(const CivilTime& t) { return plat::MakeLocalTime(t.year, t.month, t.day, t.hour, t.minute, 0); }

}  // namespace samplegen
