#pragma once
#include <ctime>
#include <string>

namespace plat {

// Formats t in local time with a strftime pattern ("%y%m", "%y/%m/%d",
// "%Y/%m/%d %H:%M", ...).
std::string FormatLocalTime(std::time_t t, const char* pattern);

// Local time from its parts (month 1-12); for tests and samples.
std::time_t MakeLocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace plat
