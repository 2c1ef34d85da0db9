#include "platform/local_time.h"

namespace plat {

std::string FormatLocalTime(std::time_t t, const char* pattern) {
  struct tm parts;
#ifdef _WIN32
  if (::localtime_s(&parts, &t) != 0) return std::string();
#else
  if (!::localtime_r(&t, &parts)) return std::string();
#endif
  char out[128];
  std::size_t n = std::strftime(out, sizeof out, pattern, &parts);
  return std::string(out, n);
}

std::time_t MakeLocalTime(int year, int month, int day, int hour, int minute, int second) {
  struct tm parts = {};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  parts.tm_isdst = -1;
  return std::mktime(&parts);
}

}  // namespace plat
