// Generated inputs against the text-mode rules themselves: CR LF becomes
// LF, the input stops at 0x1A, and the result is cut into pieces of at most
// 1023 bytes that end after each LF. Lines cluster around the piece size and
// the buffer edge, where the reader's look-ahead has to get it right.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
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
    // The last rounds span three reads, the later ones read ahead on a
    // second thread; their end-of-text marks fall beyond the first.
    const std::size_t target = round < 50 ? 20000 : 2 * plat::TextReader::kBufferSize + 5000;
    std::uniform_int_distribution<int> length(1015, 1030), rare(0, 199);
    while (raw.size() < target) {
      std::string line(static_cast<std::size_t>(round % 3 == 0 ? length(random) / 40 : length(random)), 'a');
      for (char& c : line) {
        int r = rare(random);
        const bool mark = r == 2 && round % 5 == 0 && (round < 50 || raw.size() > plat::TextReader::kBufferSize);
        c = r == 0 ? '\r' : r == 1 ? '\x82' : mark ? '\x1a' : 'a' + r % 26;
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
    const std::size_t mark = raw.find('\x1a');
    EXPECT_EQ(in.EndMarkOffset(), mark == std::string::npos ? -1 : static_cast<std::int64_t>(mark)) << round;
    EXPECT_EQ(in.Offset(), mark == std::string::npos ? raw.size() : mark) << round;

    // The bulk view hands out the same bytes however much is asked for at a
    // time; asking for nearly a buffer keeps most of one unread across a read.
    ASSERT_TRUE(in.Rewind());
    std::string bulk;
    std::size_t want = 1 + static_cast<std::size_t>(round);
    while (in.Fill(want) && !in.Unread().empty()) {
      const std::string_view view = in.Unread();
      const std::size_t take = std::min(view.size(), want / 3 + 1);
      bulk.append(view.substr(0, take));
      in.Skip(take);
      want = want * 5 % plat::TextReader::kBufferSize + 1;
    }
    EXPECT_TRUE(in.Ended()) << round;
    EXPECT_EQ(in.error(), 0) << round;
    EXPECT_TRUE(bulk == raw.substr(0, mark)) << "round " << round;  // no megabyte dumps
  }
}

}  // namespace
