#pragma once
// The last occurrence of a byte in a stretch, looked for from its end: how
// the header scan finds where the line before a header begins. The C
// library's memrchr compares a vector of bytes at a time where it has one;
// elsewhere (the Windows runtimes lack it) eight bytes are tested at once,
// so a line is never walked back byte by byte.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lastbyte {

// Without the C library's help: a word of eight bytes at a time from the
// end. A word holds the byte when one of its bytes XOR the byte is zero;
// the test below finds zero bytes exactly (no carry passes from one byte to
// the next), and the few bytes of a word that holds one are then looked at
// one by one, so the byte order of the machine does not matter.
inline const char* FindByWords(const char* p, std::size_t n, char c) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t pattern = 0x0101010101010101ULL * static_cast<unsigned char>(c);
  const char* end = p + n;
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, end - 8, 8);
    const std::uint64_t x = word ^ pattern;
    // A byte of x is zero exactly when neither its low seven bits added to
    // 0x7F nor its own top bit set the top bit.
    if (~(((x & kLow7) + kLow7) | x | kLow7) != 0) break;
    end -= 8;
  }
  while (end > p) {
    --end;
    if (*end == c) return end;
  }
  return nullptr;
}

inline const char* Find(const char* p, std::size_t n, char c) {
#if defined(__linux__) || defined(__FreeBSD__) || defined(__NetBSD__) || defined(__OpenBSD__)
  return static_cast<const char*>(memrchr(p, c, n));
#else
  return FindByWords(p, n, c);
#endif
}

}  // namespace lastbyte
