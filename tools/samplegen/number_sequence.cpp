#include "tools/samplegen/number_sequence.h"

#include <algorithm>
#include <utility>

#include "tools/samplegen/prng.h"

namespace samplegen {

NumberSequence::NumberSequence(std::uint64_t seed, int room, int first, int limit, bool shuffle)
    : state_(DeriveSeed(seed, 0x5E9, static_cast<std::uint64_t>(room))),
      next_(first),
      limit_(std::max(0, limit)),
      shuffle_(shuffle) {
  block_.reserve(kBlock);
}

void NumberSequence::FillBlock() {
  block_.clear();
  pos_ = 0;
  const int n = std::min(kBlock, limit_ - produced_);
  for (int i = 0; i < n; ++i) block_.push_back(next_++);
  if (!shuffle_) return;
  Prng rng(state_);
  state_ = rng.Next();
  for (int i = n - 1; i > 0; --i)
    std::swap(block_[static_cast<std::size_t>(i)], block_[rng.Below(static_cast<std::uint32_t>(i + 1))]);
}

int NumberSequence::Next() {
  if (pos_ == block_.size()) FillBlock();
  ++produced_;
  return block_[pos_++];
}

}  // namespace samplegen
