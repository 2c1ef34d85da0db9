#include "commands/archive_line.h"

std::string_view SecondField(std::string_view line) {
  // 0x20 is never the second byte of a CP932 character, so splitting the
  // bytes at spaces never cuts a character.
  std::size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t gap = line.find(' ', first);
  if (gap == std::string_view::npos) return {};
  std::size_t second = line.find_first_not_of(' ', gap);
  if (second == std::string_view::npos) return {};
  std::size_t end = line.find(' ', second);
  return line.substr(second, end == std::string_view::npos ? std::string_view::npos : end - second);
}
