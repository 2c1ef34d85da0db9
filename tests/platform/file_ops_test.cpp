#include "platform/file_ops.h"

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "platform/file_error.h"
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
