#include "platform/text_reader.h"

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

using plat::TextReader;

// Every piece the reader hands out, in order; the last element is the
// result that ended the reading (0 at the end, -1 on an error).
struct Reading {
  std::vector<std::string> pieces;
  int last = 0;
  int error = 0;
};

Reading ReadAll(const std::string& path) {
  Reading r;
  TextReader in;
  EXPECT_TRUE(in.Open(path)) << path;
  char buf[TextReader::kMaxPiece + 1];
  for (;;) {
    int n = in.ReadLine(buf);
    if (n <= 0) {
      r.last = n;
      r.error = in.error();
      break;
    }
    EXPECT_EQ(buf[n], '\0');
    r.pieces.emplace_back(buf, static_cast<std::size_t>(n));
  }
  EXPECT_TRUE(in.Close());
  return r;
}

std::string Joined(const std::vector<std::string>& pieces) {
  std::string all;
  for (const std::string& p : pieces) all += p;
  return all;
}

class TextReaderTest : public ::testing::Test {
 protected:
  Reading ReadBytesAsText(const std::string& bytes) {
    WriteBytes(tmp.Sub("LOG"), bytes);
    return ReadAll(tmp.Sub("LOG"));
  }
  TempDir tmp;
};

}  // namespace

TEST_F(TextReaderTest, LineEndsBecomeLfAndLoneCrStays) {
  Reading r = ReadBytesAsText("one\r\ntwo\rthree\r\n\r\nlast");
  ASSERT_EQ(r.last, 0);
  EXPECT_EQ(r.pieces, (std::vector<std::string>{"one\n", "two\rthree\n", "\n", "last"}));

  // A bare LF is a line end too; a CR at the very end of the file stays.
  r = ReadBytesAsText("a\nb\r");
  EXPECT_EQ(r.pieces, (std::vector<std::string>{"a\n", "b\r"}));

  r = ReadBytesAsText("");
  EXPECT_TRUE(r.pieces.empty());
  EXPECT_EQ(r.last, 0);
}

TEST_F(TextReaderTest, EndOfTextMarkEndsTheInput) {
  Reading r = ReadBytesAsText("first\r\nsec\x1aond\r\nthird\r\n");
  EXPECT_EQ(r.pieces, (std::vector<std::string>{"first\n", "sec"}));
  EXPECT_EQ(r.last, 0);

  // Right after a CR: the CR has no LF to pair with and stays.
  r = ReadBytesAsText("x\r\x1a\n");
  EXPECT_EQ(r.pieces, (std::vector<std::string>{"x\r"}));

  r = ReadBytesAsText(
      "\x1a"
      "everything after it");
  EXPECT_TRUE(r.pieces.empty());
}

TEST_F(TextReaderTest, EndOfTextMarkLeftToAScan) {
  // A scan that finds the mark itself sees the bytes past it until it says
  // where the input ends; a reader given back looks through what is unread,
  // and one rewound searches again on its own.
  const std::string bytes = "first\r\nsec\x1aond\r\n";
  WriteBytes(tmp.Sub("LOG"), bytes);
  TextReader in;
  ASSERT_TRUE(in.Open(tmp.Sub("LOG")));
  in.LeaveEndMarkToScan();
  ASSERT_TRUE(in.Fill(100));
  EXPECT_EQ(in.Unread(), bytes);
  in.Skip(2);
  in.EndAt(10);
  EXPECT_EQ(in.Unread(), "rst\r\nsec");
  EXPECT_TRUE(in.Ended());
  EXPECT_EQ(in.EndMarkOffset(), 10);
  EXPECT_EQ(in.WhatFollowsEndMark(), TextReader::AfterEndMark::Data);

  ASSERT_TRUE(in.Rewind());
  ASSERT_TRUE(in.Fill(100));
  EXPECT_EQ(in.Unread(), "first\r\nsec");
  ASSERT_TRUE(in.Rewind());
  in.LeaveEndMarkToScan();
  ASSERT_TRUE(in.Fill(100));
  in.Skip(3);
  in.SearchEndMark();
  EXPECT_EQ(in.Unread(), "st\r\nsec");
  EXPECT_EQ(in.EndMarkOffset(), 10);
  EXPECT_TRUE(in.Close());
}

TEST_F(TextReaderTest, LongLinesArriveInPiecesOf1023Bytes) {
  // 1022 bytes and CR LF: one piece of 1023 with its LF.
  std::string fits(1022, 'a');
  // 1023 bytes and CR LF: the 1023 bytes, then the LF on its own.
  std::string over(1023, 'b');
  Reading r = ReadBytesAsText(fits + "\r\n" + over + "\r\n" + "end\r\n");
  ASSERT_EQ(r.pieces.size(), 4u);
  EXPECT_EQ(r.pieces[0], fits + "\n");
  EXPECT_EQ(r.pieces[1], over);
  EXPECT_EQ(r.pieces[2], "\n");
  EXPECT_EQ(r.pieces[3], "end\n");

  // A CR LF that falls across a piece's end still becomes one LF.
  std::string edge(1022, 'c');
  r = ReadBytesAsText(edge + "d\r\nx");
  ASSERT_EQ(r.pieces.size(), 3u);
  EXPECT_EQ(r.pieces[0], edge + "d");
  EXPECT_EQ(r.pieces[1], "\n");
}

TEST_F(TextReaderTest, OneMegabyteLineIsReadWholeInPieces) {
  std::string line(1 << 20, 'z');
  for (std::size_t i = 0; i < line.size(); i += 97) line[i] = static_cast<char>(0x80 + i % 0x7F);
  Reading r = ReadBytesAsText(line + "\r\nnext\r\n");
  ASSERT_EQ(r.last, 0);
  std::size_t full = line.size() / TextReader::kMaxPiece;
  ASSERT_EQ(r.pieces.size(), full + 2);
  for (std::size_t i = 0; i < full; ++i) ASSERT_EQ(r.pieces[i].size(), TextReader::kMaxPiece) << i;
  EXPECT_EQ(Joined(r.pieces), line + "\nnext\n");
}

// Lines of 1000 bytes and CR LF up to the last byte of the first buffer
// load, which then holds the CR, and tail after it.
std::string CrAtBufferEdge(const std::string& tail) {
  const std::size_t edge = TextReader::kBufferSize;
  std::string bytes;
  while (bytes.size() + 1002 < edge - 1) bytes += std::string(1000, 'q') + "\r\n";
  bytes += std::string(edge - 1 - bytes.size(), 'p');
  bytes += "\r" + tail;
  return bytes;
}

std::string TextModeOf(const std::string& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
}

TEST_F(TextReaderTest, CrAtTheBufferEdgePairsWithTheLfBeyondIt) {
  for (const std::string& tail : {std::string("\nnext\r\n"), std::string("lone\r\n")}) {
    std::string bytes = CrAtBufferEdge(tail);
    ASSERT_EQ(bytes[TextReader::kBufferSize - 1], '\r');
    Reading r = ReadBytesAsText(bytes);
    ASSERT_EQ(r.last, 0);
    EXPECT_EQ(Joined(r.pieces), TextModeOf(bytes));
    for (const std::string& p : r.pieces) {
      ASSERT_LE(p.size(), TextReader::kMaxPiece);
      std::size_t lf = p.find('\n');
      ASSERT_TRUE(lf == std::string::npos || lf == p.size() - 1);
    }
    // The piece holding the edge: "ppp\n" for CR LF, "ppp\rlone\n" for a lone CR.
    ASSERT_GE(r.pieces.size(), 2u);
    const std::string& atEdge = r.pieces[r.pieces.size() - (tail[0] == '\n' ? 2 : 1)];
    EXPECT_EQ(atEdge.substr(atEdge.find_first_not_of('p')), tail[0] == '\n' ? "\n" : "\rlone\n");
  }
}

TEST_F(TextReaderTest, BinaryBytesPassThroughUnchanged) {
  std::string garbage;
  for (int i = 0; i < 256; ++i) {
    if (i != '\r' && i != '\n' && i != 0x1a) garbage += static_cast<char>(i);
  }
  Reading r = ReadBytesAsText(garbage + "\r\n" + garbage);
  ASSERT_EQ(r.pieces.size(), 2u);
  EXPECT_EQ(r.pieces[0], garbage + "\n");  // NUL bytes included
  EXPECT_EQ(r.pieces[1], garbage);
}

TEST_F(TextReaderTest, ReadErrorsAreReportedAndStick) {
  // Blocks of 1 MiB: the first read goes through, then one of the blocks
  // read ahead fails, or one the pass read itself while it timed the two
  // ways (the 18th read and those after), or none. Everything read before the
  // failing read is handed out, every time the same, and nothing after it.
  std::string line = std::string(999, 'k') + "\r\n";
  std::string bytes;
  while (bytes.size() < 20 * TextReader::kBufferSize + 4096) bytes += line;
  WriteBytes(tmp.Sub("LOG"), bytes);

  for (int pass : {1, 2, 3, 18, 1000}) {
    InjectedFault fault(plat::FileOp::Read, "/LOG", EIO, pass);
    TextReader in;
    ASSERT_TRUE(in.Open(tmp.Sub("LOG")));
    char buf[TextReader::kMaxPiece + 1];
    int n = 0;
    std::string text;
    while ((n = in.ReadLine(buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
    const bool fails = pass < 1000;
    EXPECT_EQ(n, fails ? -1 : 0) << pass;
    EXPECT_EQ(in.error(), fails ? EIO : 0) << pass;
    const std::size_t read = fails ? static_cast<std::size_t>(pass) * TextReader::kBufferSize : bytes.size();
    EXPECT_TRUE(text == TextModeOf(bytes.substr(0, read))) << pass;  // no megabyte dumps
    EXPECT_EQ(in.Offset(), read) << pass;
    EXPECT_EQ(in.ReadLine(buf), fails ? -1 : 0);
    std::string s;
    EXPECT_FALSE(in.ReadLine(s));
    EXPECT_EQ(fault.hits(), fails ? 1 : 0);
    EXPECT_TRUE(in.Close());
  }
}

TEST_F(TextReaderTest, BigLogRewoundOrClosedMidway) {
  // A log of several buffer loads is read ahead on a second thread: going
  // back, closing or dropping the reader in the middle waits for that read
  // and leaves the reader as good as new.
  std::string bytes;
  for (int i = 0; bytes.size() < 3 * TextReader::kBufferSize + 100; ++i) {
    bytes += std::to_string(i) + std::string(static_cast<std::size_t>(i % 1500), 'w') + "\r\n";
  }
  WriteBytes(tmp.Sub("LOG"), bytes);
  const std::string whole = TextModeOf(bytes);
  char buf[TextReader::kMaxPiece + 1];
  const auto readTo = [&](TextReader& in, std::uint64_t offset) {
    std::string text;
    while (in.Offset() < offset && in.ReadLine(buf) > 0) text += buf;
    return text;
  };

  TextReader in;
  for (std::uint64_t stop : {TextReader::kBufferSize + 10, 2 * TextReader::kBufferSize + 10}) {
    ASSERT_TRUE(in.Open(tmp.Sub("LOG")));
    readTo(in, stop);
    ASSERT_TRUE(in.Rewind());
    EXPECT_TRUE(readTo(in, bytes.size()) == whole) << stop;
    EXPECT_EQ(in.ReadLine(buf), 0);
    ASSERT_TRUE(in.Rewind());
    readTo(in, stop);
    EXPECT_TRUE(in.Close());
    EXPECT_FALSE(in.IsOpen());
  }
  // Opened again after a close in the middle, it reads the log whole.
  ASSERT_TRUE(in.Open(tmp.Sub("LOG")));
  EXPECT_TRUE(readTo(in, bytes.size()) == whole);
  {
    TextReader dropped;
    ASSERT_TRUE(dropped.Open(tmp.Sub("LOG")));
    readTo(dropped, TextReader::kBufferSize + 10);
  }
}

TEST_F(TextReaderTest, OpenAndCloseFailuresSayWhy) {
  TextReader in;
  EXPECT_FALSE(in.Open(tmp.Sub("MISSING")));
  EXPECT_EQ(in.error(), ENOENT);
  EXPECT_FALSE(in.IsOpen());
  char buf[TextReader::kMaxPiece + 1];
  EXPECT_EQ(in.ReadLine(buf), -1);
  EXPECT_FALSE(in.Close());

  // A folder is no file to read.
  EXPECT_FALSE(in.Open(tmp.path()));
  EXPECT_EQ(in.error(), EISDIR);
  EXPECT_FALSE(in.IsOpen());

  WriteBytes(tmp.Sub("LOG"), "x\r\n");
  {
    InjectedFault fault(plat::FileOp::Open, "/LOG", EACCES);
    EXPECT_FALSE(in.Open(tmp.Sub("LOG")));
    EXPECT_EQ(in.error(), EACCES);
  }
  ASSERT_TRUE(in.Open(tmp.Sub("LOG")));
  // One file at a time: a second open is refused and the first stays usable.
  EXPECT_FALSE(in.Open(tmp.Sub("LOG")));
  EXPECT_EQ(in.ReadLine(buf), 2);
  {
    InjectedFault fault(plat::FileOp::Close, "/LOG", EIO);
    EXPECT_FALSE(in.Close());
    EXPECT_EQ(in.error(), EIO);
  }
  EXPECT_FALSE(in.IsOpen());
}
