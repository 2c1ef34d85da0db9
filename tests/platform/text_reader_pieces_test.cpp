// Generated inputs against the text-mode rules themselves: CR LF becomes
// LF, the input stops at 0x1A, and the result is cut into pieces of at most
// 1023 bytes that end after each LF. Lines cluster around the piece size and
// the buffer edge, where the reader's look-ahead has to get it right.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text_reader.h"
#include "tests/support/temp_dir.h"

namespace {

std::vector<std::string> ExpectedPieces(const std::string& raw) {
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\x1a') break;
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    piece += c;
    if (c == '\n' || piece.size() == plat::TextReader::kMaxPiece) {
      pieces.push_back(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

TEST(TextReaderPieces, GeneratedInputsFollowTheTextModeRules) {
  std::mt19937 random(1023);
  TempDir tmp;
  for (int round = 0; round < 60; ++round) {
    std::string raw;
    const std::size_t target = round < 50 ? 20000 : plat::TextReader::kBufferSize + 5000;
    std::uniform_int_distribution<int> length(1015, 1030), rare(0, 199);
    while (raw.size() < target) {
      std::string line(static_cast<std::size_t>(round % 3 == 0 ? length(random) / 40 : length(random)), 'a');
      for (char& c : line) {
        int r = rare(random);
        c = r == 0 ? '\r' : r == 1 ? '\x82' : r == 2 && round % 5 == 0 ? '\x1a' : 'a' + r % 26;
      }
      raw += line + (rare(random) < 150 ? "\r\n" : rare(random) < 100 ? "\n" : "\r");
    }
    if (round % 2) raw.pop_back();
    WriteBytes(tmp.Sub("LOG"), raw);

    plat::TextReader in;
    ASSERT_TRUE(in.Open(tmp.Sub("LOG")));
    std::vector<std::string> pieces;
    char buf[plat::TextReader::kMaxPiece + 1];
    int n;
    while ((n = in.ReadLine(buf)) > 0) pieces.emplace_back(buf, static_cast<std::size_t>(n));
    EXPECT_EQ(n, 0);
    EXPECT_EQ(pieces, ExpectedPieces(raw)) << "round " << round;
  }
}

}  // namespace
