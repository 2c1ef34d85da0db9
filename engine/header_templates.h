#pragma once
#include <array>

// The four texts by which the first line(s) of a message are recognised, in
// the order they are tried. Each template character stands for one byte:
// "9" a digit, "Z" a capital letter, "." any byte, "!" skips the rest of the
// line and goes on at the start of the next one; anything else is itself.
inline constexpr std::array<const char*, 4> kHeaderTemplates = {
    "99999/99999 ZZZ99999!(.9)   99/99/99 .9:99",  // body, five-digit numbers
    "999/999   ZZZ99999!(.9)   99/99/99 .9:99",    // body, three-digit numbers
    " ....9 ZZZ99999 99/99 .9:99 ..... ..9",       // title, five columns
    " ..9 ZZZ99999 99/99 .9:99 ... ..9",           // title, three columns
};

// Templates 0 and 1 are body headers, 2 and 3 title lines.
inline constexpr int kFirstBodyTemplate = 0;
inline constexpr int kFirstTitleTemplate = 2;

// The first template of the pair a log kind's own headers use: the lowest set
// bit of the kind picks it (bit 0 body, bit 1 title); -1 when neither is set.
inline int OwnTemplatePair(int kind) {
  if (kind & 1) return kFirstBodyTemplate;
  if (kind & 2) return kFirstTitleTemplate;
  return -1;
}

// The number a header line starts with: leading white space skipped, then the
// decimal digits up to the first other byte. Values are held at a ceiling far
// above every message number instead of overflowing. Inline: it is taken for
// every message of a log.
inline constexpr int kHeaderNumberCeiling = 1000000000;
inline int HeaderNumber(const char* line) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
  // White space: the space, and TAB LF VT FF CR, which follow each other.
  while (*p == ' ' || static_cast<unsigned char>(*p - '\t') <= '\r' - '\t') ++p;
  // Nine digits stay below the ceiling: they need no test against it.
  unsigned value = 0;
  for (int i = 0; i < 9; ++i, ++p) {
    const unsigned digit = static_cast<unsigned char>(*p - '0');
    if (digit > 9) return static_cast<int>(value);
    value = value * 10 + digit;
  }
  long long more = value;
  for (; static_cast<unsigned char>(*p - '0') <= 9; ++p) {
    more = more * 10 + (*p - '0');
    if (more > kHeaderNumberCeiling) return kHeaderNumberCeiling;
  }
  return static_cast<int>(more);
}
