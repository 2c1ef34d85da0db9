#include "platform/file_ops.h"

#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/confined_path.h"
#include "platform/dir_search.h"
#include "platform/file_error.h"
#include "platform/text_reader.h"
#include "platform/text_writer.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

TEST(RenameNoReplace, NeverReplacesAnExistingTarget) {
  TempDir tmp;
  WriteBytes(tmp.Sub("MES_05.LOG"), "log");
  WriteBytes(tmp.Sub("MES_05.B00"), "backup");
  int err = 0;
  EXPECT_FALSE(plat::RenameNoReplace(tmp.Sub("MES_05.LOG"), tmp.Sub("MES_05.B00"), &err));
  EXPECT_EQ(err, EEXIST);
  EXPECT_EQ(ReadBytes(tmp.Sub("MES_05.LOG")), "log");
  EXPECT_EQ(ReadBytes(tmp.Sub("MES_05.B00")), "backup");

  // Nor an existing folder, nor a file by its own name.
  MakeDir(tmp.Sub("DIR"));
  EXPECT_FALSE(plat::RenameNoReplace(tmp.Sub("MES_05.LOG"), tmp.Sub("DIR"), &err));
  EXPECT_FALSE(plat::RenameNoReplace(tmp.Sub("MES_05.LOG"), tmp.Sub("MES_05.LOG"), &err));
  EXPECT_EQ(ReadBytes(tmp.Sub("MES_05.LOG")), "log");

  ASSERT_TRUE(plat::RenameNoReplace(tmp.Sub("MES_05.LOG"), tmp.Sub("MES_05.B01"), &err));
  EXPECT_FALSE(plat::FileExists(tmp.Sub("MES_05.LOG")));
  EXPECT_EQ(ReadBytes(tmp.Sub("MES_05.B01")), "log");

  EXPECT_FALSE(plat::RenameNoReplace(tmp.Sub("MES_05.LOG"), tmp.Sub("X"), &err));
  EXPECT_EQ(err, ENOENT);
}

TEST(RenameNoReplace, AnInjectedFailureMovesNothing) {
  TempDir tmp;
  WriteBytes(tmp.Sub("A"), "a");
  InjectedFault fault(plat::FileOp::Rename, "/A", EBUSY);
  int err = 0;
  EXPECT_FALSE(plat::RenameNoReplace(tmp.Sub("A"), tmp.Sub("B"), &err));
  EXPECT_EQ(err, EBUSY);
  EXPECT_TRUE(plat::FileExists(tmp.Sub("A")));
  EXPECT_FALSE(plat::FileExists(tmp.Sub("B")));
}

TEST(FileStatus, WholeSecondsSizeAndKind) {
  TempDir tmp;
  WriteBytes(tmp.Sub("F"), std::string(1234, 'x'));
  ASSERT_TRUE(plat::SetFileTime(tmp.Sub("F"), 901234567));
  plat::FileStatus st;
  ASSERT_TRUE(plat::GetFileStatus(tmp.Sub("F"), &st));
  EXPECT_EQ(st.mtime, 901234567);
  EXPECT_EQ(st.size, 1234);
  EXPECT_FALSE(st.isDirectory);
  ASSERT_TRUE(plat::GetFileStatus(tmp.path(), &st));
  EXPECT_TRUE(st.isDirectory);
  EXPECT_TRUE(plat::IsDirectory(tmp.path()));
  EXPECT_FALSE(plat::IsDirectory(tmp.Sub("F")));

  int err = 0;
  EXPECT_FALSE(plat::GetFileStatus(tmp.Sub("NONE"), &st, &err));
  EXPECT_EQ(err, ENOENT);
  InjectedFault fault(plat::FileOp::Status, "/F", EIO);
  EXPECT_FALSE(plat::GetFileStatus(tmp.Sub("F"), &st, &err));
  EXPECT_EQ(err, EIO);
}

TEST(DeleteFile, RemovesAFileAndSaysWhyWhenItCannot) {
  TempDir tmp;
  WriteBytes(tmp.Sub("F"), "x");
  int err = 0;
  {
    InjectedFault fault(plat::FileOp::Delete, "/F", EACCES);
    EXPECT_FALSE(plat::DeleteFile(tmp.Sub("F"), &err));
    EXPECT_EQ(err, EACCES);
    EXPECT_TRUE(plat::FileExists(tmp.Sub("F")));
  }
  EXPECT_TRUE(plat::DeleteFile(tmp.Sub("F"), &err));
  EXPECT_FALSE(plat::FileExists(tmp.Sub("F")));
  EXPECT_FALSE(plat::DeleteFile(tmp.Sub("F"), &err));
  EXPECT_EQ(err, ENOENT);
}

TEST(FileErrorReport, NamesTheFileOrBothSidesOfARename) {
  EXPECT_EQ(plat::RenameSubject("MES_05.LOG", "MES_05.B00"), "MES_05.LOG → MES_05.B00");
  std::string text = plat::FileErrorText("MES_05.LOG", ENOENT);
  EXPECT_EQ(text.rfind("MES_05.LOG", 0), 0u);
  EXPECT_NE(text.find(plat::FileErrorReason(ENOENT)), std::string::npos);
  // An errno without a reason of its own still says something.
  EXPECT_FALSE(plat::FileErrorReason(ELOOP).empty());
  EXPECT_NE(plat::FileErrorReason(ENOENT), plat::FileErrorReason(EACCES));
}

// The host goes on writing its logs while a split reads one, and the commit
// renames a log that is still open: every open lets others read, write,
// rename and delete (on Windows that is the sharing each open asks for).
TEST(OpenFiles, StayOpenToTheHostAndCanBeRenamed) {
  TempDir tmp;
  WriteBytes(tmp.Sub("MES_01.LOG"), "a\r\n");
  plat::TextReader in;
  ASSERT_TRUE(in.Open(tmp.Sub("MES_01.LOG")));
  plat::TextWriter out;
  ASSERT_TRUE(out.Open(tmp.Sub("MES_01.LOG"), plat::TextWriter::Mode::Append));
  ASSERT_TRUE(out.Write("b\n"));
  ASSERT_TRUE(out.Sync());
  EXPECT_TRUE(AppendBytes(tmp.Sub("MES_01.LOG"), "c\r\n"));
  int err = 0;
  ASSERT_TRUE(plat::LinkNoReplace(tmp.Sub("MES_01.LOG"), tmp.Sub("MES_01.B00"), &err)) << err;
  ASSERT_TRUE(plat::RenameNoReplace(tmp.Sub("MES_01.LOG"), tmp.Sub("MES_01.TMP"), &err)) << err;
  std::string line;
  ASSERT_TRUE(in.ReadLine(line));
  EXPECT_EQ(line, "a\n");
  EXPECT_TRUE(out.Close());
  EXPECT_TRUE(in.Close());
  EXPECT_EQ(ReadBytes(tmp.Sub("MES_01.TMP")), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(ReadBytes(tmp.Sub("MES_01.B00")), "a\r\nb\r\nc\r\n");
  ASSERT_TRUE(plat::DeleteFile(tmp.Sub("MES_01.TMP"), &err)) << err;
}

// A forum folder deep in the tree: the whole path far beyond the 260
// characters old Windows calls stop at, names in Japanese.
TEST(LongPaths, AFolderDeepInTheTreeWorksLikeAnyOther) {
  TempDir tmp;
  std::string folder = tmp.path();
  for (int i = 0; i < 8; ++i) {
    folder += "/\xE5\x85\xB1\xE6\x9C\x89\xE3\x83\xAD\xE3\x82\xB0" + std::string(40, 'a' + i);  // 共有ログ...
    ASSERT_TRUE(plat::MakeFolder(folder)) << folder.size();
  }
  ASSERT_GT(folder.size(), 400u);
  const std::string log = plat::JoinPath(folder, "MES_01.LOG");
  plat::TextWriter out;
  ASSERT_TRUE(out.Open(log, plat::TextWriter::Mode::CreateNew));
  ASSERT_TRUE(out.Write("x\n"));
  ASSERT_TRUE(out.Close());
  int err = 0;
  ASSERT_TRUE(plat::RenameNoReplace(log, plat::JoinPath(folder, "MES_01.B00"), &err)) << err;
  plat::FileStatus status;
  ASSERT_TRUE(plat::GetFileStatus(plat::JoinPath(folder, "MES_01.B00"), &status, &err)) << err;
  EXPECT_EQ(status.size, 3);
  std::vector<plat::FoundItem> items;
  ASSERT_TRUE(plat::FindFiles(folder, "MES_*.*", &items, &err)) << err;
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name, "MES_01.B00");
  EXPECT_TRUE(plat::IsConfinedFile(tmp.path(), plat::JoinPath(folder, "MES_01.B00"), &err)) << err;
}
