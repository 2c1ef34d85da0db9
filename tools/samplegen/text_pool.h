#pragma once
#include <string>
#include <vector>

#include "tools/samplegen/prng.h"

namespace samplegen {

// The Japanese material of the samples, as CP932 bytes, made once. Every body
// line is made of double-byte characters only, so no piece of a line that the
// log reader cuts at 1023 bytes can start with a digit or a space and be taken
// for a header.
class TextPool {
 public:
  static const TextPool& Get();

  const std::vector<std::string>& authors() const { return authors_; }
  const std::vector<std::string>& subjects() const { return subjects_; }
  const std::vector<std::string>& roomNames() const { return roomNames_; }
  const std::vector<std::string>& forumTitles() const { return forumTitles_; }

  // One ordinary line of message text (40 to 76 bytes, no LF).
  const std::string& BodyLine(Prng& rng) const { return bodyLines_[rng.Below(kBodyLines)]; }

  // A quoted line ("> " and text), as replies carry.
  std::string QuoteLine(Prng& rng) const;

  // A line of exactly `bytes` bytes (made even by one ASCII letter at the end
  // when odd), for lines longer than the reader's 1023-byte pieces.
  std::string LongLine(Prng& rng, std::size_t bytes) const;

  // The mean length of BodyLine(), for sizing messages to a byte target.
  double meanBodyLine() const { return meanBodyLine_; }

 private:
  TextPool();
  static constexpr std::uint32_t kBodyLines = 1024;

  std::vector<std::string> authors_, subjects_, roomNames_, forumTitles_, phrases_;
  std::vector<std::string> bodyLines_;
  double meanBodyLine_ = 0;
};

}  // namespace samplegen
