#pragma once
#include <cstdint>

namespace samplegen {

// splitmix64: small, fast and the same on every compiler and library, so a
// seed always gives the same sample bytes (std:: distributions do not).
class Prng {
 public:
  explicit Prng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A value in [0, n); n > 0. The tiny bias of the multiply-shift does not
  // matter for sample text and keeps it branch-free.
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32); }

  // A value in [lo, hi].
  int Between(int lo, int hi) { return lo + static_cast<int>(Below(static_cast<std::uint32_t>(hi - lo + 1))); }

  // True with probability 1/n.
  bool OneIn(std::uint32_t n) { return Below(n) == 0; }

 private:
  std::uint64_t state_;
};

// Derives an independent stream from a seed and a few keys (forum, room,
// message index ...), so one part of the sample can be regenerated without
// replaying the others: a title log gets the same message fields as its body
// log without drawing the body text.
inline std::uint64_t DeriveSeed(std::uint64_t seed, std::uint64_t a, std::uint64_t b = 0, std::uint64_t c = 0) {
  Prng p(seed ^ 0x5DEECE66Dull);
  std::uint64_t h = p.Next();
  for (std::uint64_t k : {a, b, c}) {
    Prng q(h ^ (k * 0xD1B54A32D192ED03ull));
    h = q.Next();
  }
  return h;
}

}  // namespace samplegen
