// The platform's guards against files that are not what they seem: FIFOs and
// devices in a file's place, links that lead out of a folder, and text after
// an end-of-text byte.
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "platform/confined_path.h"
#include "platform/file_error.h"
#include "platform/folder_visits.h"
#include "platform/name_in_line.h"
#include "platform/text_reader.h"
#include "platform/text_writer.h"
#include "tests/support/temp_dir.h"

namespace {

using plat::TextReader;

class SpecialFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeDir(Root());
    MakeDir(tmp.Sub("outside"));
    WriteBytes(tmp.Sub("outside/file"), "x");
    WriteBytes(Root() + "/file", "x");
    MakeDir(Root() + "/sub");
  }
  std::string Root() const { return tmp.Sub("root"); }
#ifndef _WIN32
  void Link(const std::string& target, const std::string& name) {
    ASSERT_EQ(::symlink(target.c_str(), (Root() + "/" + name).c_str()), 0);
  }
#endif
  int Refusal(const std::string& name) {
    int err = 0;
    return plat::IsConfinedFile(Root(), Root() + "/" + name, &err) ? 0 : err;
  }
  TempDir tmp;
};

TEST_F(SpecialFilesTest, OnlyRegularFilesOpenAndNothingWaitsOnAFifo) {
#ifndef _WIN32
  // Windows has no FIFO or device file a folder could hold.
  ASSERT_EQ(::mkfifo((Root() + "/fifo").c_str(), 0666), 0);
  ASSERT_EQ(::mknod((Root() + "/zero").c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
  for (const char* name : {"fifo", "zero"}) {
    TextReader in;
    EXPECT_FALSE(in.Open(Root() + "/" + name)) << name;
    EXPECT_EQ(in.error(), plat::kErrNotRegularFile) << name;
    for (auto mode : {plat::TextWriter::Mode::Append, plat::TextWriter::Mode::Truncate}) {
      plat::TextWriter out;
      EXPECT_FALSE(out.Open(Root() + "/" + name, mode)) << name;
      EXPECT_EQ(out.error(), plat::kErrNotRegularFile) << name;
    }
  }
#endif
  TextReader folder;
  EXPECT_FALSE(folder.Open(Root() + "/sub"));
  EXPECT_EQ(folder.error(), EISDIR);
  TextReader file;
  ASSERT_TRUE(file.Open(Root() + "/file"));
  std::string line;
  EXPECT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "x");
}

TEST_F(SpecialFilesTest, WhatFollowsTheEndMark) {
  struct Case {
    std::string bytes;
    TextReader::AfterEndMark expected;
  } cases[] = {
      {"a\r\nb\r\n", TextReader::AfterEndMark::NoMark},
      {"a\r\nb\r\n\x1a", TextReader::AfterEndMark::OnlyLineEnds},
      {"a\r\nb\x1a\r\n\x1a\x1a\n", TextReader::AfterEndMark::OnlyLineEnds},
      {"a\r\nb\x1a\r\nc\r\n", TextReader::AfterEndMark::Data},
      {"\x1a\x1a x", TextReader::AfterEndMark::Data},
      // Past the reader's own buffer: the mark is found late, the text after it still seen.
      {std::string(3 << 20, 'a') + "\x1a" + std::string(100000, '\n') + "z", TextReader::AfterEndMark::Data},
  };
  for (const Case& c : cases) {
    WriteBytes(Root() + "/log", c.bytes);
    TextReader in;
    ASSERT_TRUE(in.Open(Root() + "/log"));
    char piece[TextReader::kMaxPiece + 1];
    while (in.ReadLine(piece) > 0) {
    }
    EXPECT_EQ(in.WhatFollowsEndMark(), c.expected) << c.bytes.size();
    EXPECT_EQ(in.ReadLine(piece), 0);  // the input stays ended
  }
}

#ifdef _WIN32
// Symbolic links need a privilege on Windows that the tests don't have, and
// there are no FIFOs: what is left is the plain file, the new name, the
// folder, and a folder whose name merely begins like the root.
TEST_F(SpecialFilesTest, ConfinedFilesStayInsideAndAreRegular) {
  EXPECT_EQ(Refusal("file"), 0);
  EXPECT_EQ(Refusal("new"), 0);
  EXPECT_EQ(Refusal("sub"), EISDIR);
  MakeDir(tmp.Sub("root2"));
  int err = 0;
  EXPECT_FALSE(plat::IsConfinedFile(Root(), tmp.Sub("root2/x"), &err));
  EXPECT_EQ(err, plat::kErrOutsideFolder);
  EXPECT_FALSE(plat::IsConfinedFile(Root(), tmp.Sub("outside/file"), &err));
  EXPECT_EQ(err, plat::kErrOutsideFolder);
  EXPECT_TRUE(plat::IsConfinedFile(Root(), Root() + "/sub/../file"));
}

TEST_F(SpecialFilesTest, FolderVisitsStayInsideAndEnterEachFolderOnce) {
  plat::FolderVisits visits(Root());
  EXPECT_FALSE(visits.Enter(Root()));  // the root was entered first
  EXPECT_FALSE(visits.Enter(tmp.Sub("outside")));
  EXPECT_TRUE(visits.Enter(Root() + "/sub"));
  EXPECT_FALSE(visits.Enter(Root() + "/sub"));
  EXPECT_FALSE(plat::IsLink(Root() + "/sub"));
}
#else
TEST_F(SpecialFilesTest, ConfinedFilesStayInsideAndAreRegular) {
  ASSERT_EQ(::mkfifo((Root() + "/fifo").c_str(), 0666), 0);
  Link("file", "in");
  Link("sub/../file", "in_roundabout");
  Link("missing", "dangling_in");
  Link(tmp.Sub("outside/file"), "out");
  Link(tmp.Sub("outside/missing"), "dangling_out");
  Link(tmp.Sub("nowhere/missing"), "dangling_far");
  Link("../outside/file", "out_relative");
  Link("out", "out_by_two");
  Link("fifo", "to_fifo");
  Link("loop_b", "loop_a");
  Link("loop_a", "loop_b");
  Link("/", "to_root");
  EXPECT_EQ(Refusal("file"), 0);
  EXPECT_EQ(Refusal("new"), 0);
  EXPECT_EQ(Refusal("in"), 0);
  EXPECT_EQ(Refusal("in_roundabout"), 0);
  EXPECT_EQ(Refusal("dangling_in"), 0);
  EXPECT_EQ(Refusal("out"), plat::kErrOutsideFolder);
  EXPECT_EQ(Refusal("dangling_out"), plat::kErrOutsideFolder);
  EXPECT_EQ(Refusal("dangling_far"), plat::kErrOutsideFolder);
  EXPECT_EQ(Refusal("out_relative"), plat::kErrOutsideFolder);
  EXPECT_EQ(Refusal("out_by_two"), plat::kErrOutsideFolder);
  EXPECT_EQ(Refusal("fifo"), plat::kErrNotRegularFile);
  EXPECT_EQ(Refusal("to_fifo"), plat::kErrNotRegularFile);
  EXPECT_EQ(Refusal("loop_a"), ELOOP);
  EXPECT_EQ(Refusal("to_root"), plat::kErrOutsideFolder);
  EXPECT_EQ(Refusal("sub"), EISDIR);
  // A root reached through a link of its own is the same root.
  ASSERT_EQ(::symlink(Root().c_str(), tmp.Sub("root_link").c_str()), 0);
  EXPECT_TRUE(plat::IsConfinedFile(tmp.Sub("root_link"), tmp.Sub("root_link/in")));
  // A folder whose name merely begins like the root is not inside it.
  MakeDir(tmp.Sub("root2"));
  Link(tmp.Sub("root2/x"), "to_root2");
  EXPECT_EQ(Refusal("to_root2"), plat::kErrOutsideFolder);
}

TEST_F(SpecialFilesTest, FolderVisitsStayInsideAndEnterEachFolderOnce) {
  Link("/", "to_root");
  Link(Root(), "back");
  Link("sub", "sub_again");
  plat::FolderVisits visits(Root());
  EXPECT_FALSE(visits.Enter(Root() + "/to_root"));
  EXPECT_FALSE(visits.Enter(Root() + "/back"));  // the root was entered first
  EXPECT_TRUE(visits.Enter(Root() + "/sub"));
  EXPECT_FALSE(visits.Enter(Root() + "/sub_again"));
  EXPECT_TRUE(plat::IsLink(Root() + "/sub_again"));
  EXPECT_FALSE(plat::IsLink(Root() + "/sub"));
}
#endif

TEST(NameForLine, ControlCharactersBecomeUnderscoresAndNothingElseChanges) {
  EXPECT_EQ(plat::NameForLine("F\r\nM EVIL.LOG\t-\x7f"), "F__M EVIL.LOG_-_");
  // CP932 and UTF-8 multibyte names pass as they are (ソ ends in 0x5C, 表 too).
  EXPECT_EQ(plat::NameForLine("\x83\x5c\x95\x5c"), "\x83\x5c\x95\x5c");
  EXPECT_EQ(plat::NameForLine("ソフト表"), "ソフト表");
}

}  // namespace
