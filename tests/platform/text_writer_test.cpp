#include "platform/file_error.h"
#include "platform/text_writer.h"

#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

using plat::TextWriter;
using Mode = plat::TextWriter::Mode;

class TextWriterTest : public ::testing::Test {
 protected:
  std::string file() const { return tmp.Sub("OUT.LOG"); }
  TempDir tmp;
};

}  // namespace

TEST_F(TextWriterTest, EveryLfGoesOutAsCrLf) {
  TextWriter out;
  ASSERT_TRUE(out.Open(file(), Mode::CreateNew));
  EXPECT_TRUE(out.Write("one\ntwo\n\n"));
  EXPECT_TRUE(out.Write(std::string("\x83\x65\x83\x58\x83\x67\0tail", 11)));  // CP932 and a NUL
  // As in the host's text mode, a CR already there is written as it is.
  EXPECT_TRUE(out.Write("cr\r\n"));
  EXPECT_TRUE(out.Close());
  EXPECT_EQ(ReadBytes(file()), std::string("one\r\ntwo\r\n\r\n\x83\x65\x83\x58\x83\x67\0tailcr\r\r\n", 28));
}

TEST_F(TextWriterTest, LineEndsAtTheBufferEdgeAreNotLost) {
  // LFs at every offset around the buffer's end, so one of them is expanded
  // where only one byte of room is left.
  std::string text;
  std::string expected;
  for (std::size_t i = 0; text.size() < TextWriter::kBufferSize + 8192; ++i) {
    std::string line(i % 7, static_cast<char>('a' + i % 26));
    text += line + "\n";
    expected += line + "\r\n";
  }
  TextWriter out;
  ASSERT_TRUE(out.Open(file(), Mode::CreateNew));
  ASSERT_TRUE(out.Write(text));
  ASSERT_TRUE(out.Close());
  EXPECT_EQ(ReadBytes(file()), expected);
}

// Text in the file's own form: CR LF stays, a bare LF gets its CR, wherever
// it falls among the bytes looked at together and across calls, and big
// stretches that go out directly keep their place among the small ones.
TEST_F(TextWriterTest, FileTextGivesOnlyABareLfItsCr) {
  std::string expected;
  std::vector<std::string> parts;
  for (std::size_t at = 0; at < 40; ++at) {
    std::string part(at, 'x');
    part += "\n";                                     // bare at every offset
    part += std::string(at % 5, 'y') + "\r\n\r\r\n";  // kept
    parts.push_back(part);
    expected += std::string(at, 'x') + "\r\n" + std::string(at % 5, 'y') + "\r\n\r\r\n";
  }
  parts.push_back("ends with a CR\r");  // ... whose LF comes in the next call
  parts.push_back("\nthen a bare one\n");
  expected += "ends with a CR\r\nthen a bare one\r\n";
  parts.push_back("\n");  // after an LF, a bare one again
  expected += "\r\n";
  const std::string big(TextWriter::kBufferSize, 'B');
  parts.push_back(big);
  parts.push_back("small\r\n");
  expected += big + "small\r\n";
  TextWriter out;
  ASSERT_TRUE(out.Open(file(), Mode::CreateNew));
  for (const std::string& part : parts) ASSERT_TRUE(out.WriteFileText(part));
  ASSERT_TRUE(out.Close());
  EXPECT_TRUE(ReadBytes(file()) == expected);  // no megabyte dumps
}

TEST_F(TextWriterTest, ModesNeverTouchWhatTheyMustNot) {
  WriteBytes(file(), "kept\r\n");
  TextWriter out;
  // CreateNew refuses an existing file and leaves it as it was.
  EXPECT_FALSE(out.Open(file(), Mode::CreateNew));
  EXPECT_EQ(out.error(), EEXIST);
  EXPECT_EQ(ReadBytes(file()), "kept\r\n");

  ASSERT_TRUE(out.Open(file(), Mode::Append));
  ASSERT_TRUE(out.Write("added\n"));
  ASSERT_TRUE(out.Close());
  EXPECT_EQ(ReadBytes(file()), "kept\r\nadded\r\n");

  TextWriter again;
  ASSERT_TRUE(again.Open(file(), Mode::Truncate));
  ASSERT_TRUE(again.Write("new\n"));
  ASSERT_TRUE(again.Sync());
  ASSERT_TRUE(again.Close());
  EXPECT_EQ(ReadBytes(file()), "new\r\n");

  // Append creates a missing file.
  TextWriter fresh;
  ASSERT_TRUE(fresh.Open(tmp.Sub("NEW.LOG"), Mode::Append));
  ASSERT_TRUE(fresh.Close());
  EXPECT_EQ(ReadBytes(tmp.Sub("NEW.LOG")), "");
}

TEST_F(TextWriterTest, AFailedWriteSticksUntilClose) {
  TextWriter out;
  ASSERT_TRUE(out.Open(file(), Mode::CreateNew));
  ASSERT_TRUE(out.Write("buffered\n"));  // still in memory
  {
    InjectedFault fault(plat::FileOp::Write, "/OUT.LOG", ENOSPC);
    EXPECT_FALSE(out.Flush());
    EXPECT_EQ(fault.hits(), 1);
  }
  EXPECT_EQ(out.error(), ENOSPC);
  // The disk has room again, but what was lost stays lost: every later call
  // says so, and Close does not report success.
  EXPECT_FALSE(out.Write("more\n"));
  EXPECT_FALSE(out.Flush());
  EXPECT_FALSE(out.Sync());
  EXPECT_FALSE(out.Close());
  EXPECT_EQ(out.error(), ENOSPC);
}

TEST_F(TextWriterTest, FailingSyncOrCloseIsReported) {
  {
    TextWriter out;
    ASSERT_TRUE(out.Open(file(), Mode::CreateNew));
    ASSERT_TRUE(out.Write("x\n"));
    InjectedFault fault(plat::FileOp::Sync, "/OUT.LOG", EIO);
    EXPECT_FALSE(out.Sync());
    EXPECT_EQ(out.error(), EIO);
    EXPECT_FALSE(out.Close());
  }
  {
    TextWriter out;
    ASSERT_TRUE(out.Open(file(), Mode::Truncate));
    ASSERT_TRUE(out.Write("x\n"));
    InjectedFault fault(plat::FileOp::Close, "/OUT.LOG", EIO);
    EXPECT_FALSE(out.Close());
    EXPECT_EQ(out.error(), EIO);
    EXPECT_FALSE(out.IsOpen());
  }
  {
    // Close flushes first: a write failing there fails the Close.
    TextWriter out;
    ASSERT_TRUE(out.Open(file(), Mode::Truncate));
    ASSERT_TRUE(out.Write("x\n"));
    InjectedFault fault(plat::FileOp::Write, "/OUT.LOG", EDQUOT);
    EXPECT_FALSE(out.Close());
    EXPECT_EQ(out.error(), EDQUOT);
  }
}

TEST_F(TextWriterTest, OpenFailuresLeaveNothingOpen) {
  TextWriter out;
  EXPECT_FALSE(out.Write("x"));
  EXPECT_EQ(out.error(), EBADF);
  EXPECT_FALSE(out.Open(tmp.Sub("NO/SUCH/DIR"), Mode::Append));
  EXPECT_EQ(out.error(), ENOENT);
  EXPECT_FALSE(out.IsOpen());
  {
    InjectedFault fault(plat::FileOp::Open, "/OUT.LOG", EACCES);
    EXPECT_FALSE(out.Open(file(), Mode::CreateNew));
    EXPECT_EQ(out.error(), EACCES);
  }
  EXPECT_FALSE(plat::FileExists(file()));
  // After a failed open the writer can open again, with its error cleared.
  ASSERT_TRUE(out.Open(file(), Mode::CreateNew));
  EXPECT_EQ(out.error(), 0);
  ASSERT_TRUE(out.Write("kept\n"));
  // One file at a time: a second open is refused and costs the first nothing.
  EXPECT_FALSE(out.Open(tmp.Sub("OTHER.LOG"), Mode::Append));
  EXPECT_TRUE(out.Write("also kept\n"));
  EXPECT_TRUE(out.Close());
  EXPECT_EQ(ReadBytes(file()), "kept\r\nalso kept\r\n");
  EXPECT_FALSE(plat::FileExists(tmp.Sub("OTHER.LOG")));
}
