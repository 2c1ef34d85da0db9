#include "model/leading_number.h"

#include <climits>

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Gathered as a negative value so that INT_MIN itself is reachable.
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 - (text[i] - '0');
    if (value < INT_MIN) return negative ? INT_MIN : INT_MAX;
  }
  if (negative) return static_cast<int>(value);
  return value == INT_MIN ? INT_MAX : static_cast<int>(-value);
}

std::string_view TrimTrailingSpace(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsAsciiSpace(text[n - 1])) --n;
  return text.substr(0, n);
}
