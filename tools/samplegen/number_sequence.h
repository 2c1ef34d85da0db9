#pragma once
#include <cstdint>
#include <vector>

namespace samplegen {

// The message numbers of a room's log in file order: first, first + 1, ...,
// or, shuffled, the same numbers with each run of eight put in a random
// order, so lowest and highest are not the first and last message. The same
// seed and room give the same order for the body and the title log.
class NumberSequence {
 public:
  static constexpr int kBlock = 8;

  // limit: how many numbers there can be at most (the last block may be short).
  NumberSequence(std::uint64_t seed, int room, int first, int limit, bool shuffle);

  bool Done() const { return produced_ >= limit_; }
  int Next();  // precondition: !Done()
  // True when every number handed out so far forms whole blocks, so stopping
  // here leaves no gap in the numbers.
  bool AtBlockEnd() const { return pos_ == block_.size(); }

 private:
  void FillBlock();

  std::uint64_t state_;
  int next_;
  int limit_;
  int produced_ = 0;
  bool shuffle_;
  std::vector<int> block_;
  std::size_t pos_ = 0;
};

}  // namespace samplegen
