#include "engine/header_templates.h"

int HeaderNumber(const char* line) {
  const char* p = line;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  int value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    int digit = *p - '0';
    if (value > (kHeaderNumberCeiling - digit) / 10) return kHeaderNumberCeiling;
    value = value * 10 + digit;
  }
  return value;
}
