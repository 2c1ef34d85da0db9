#include "platform/program_search.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/temp_dir.h"

namespace {

void MakeProgram(const std::string& path, bool executable = true) {
  WriteBytes(path, "#!/bin/sh\n");
  ::chmod(path.c_str(), executable ? 0755 : 0644);
}

class ProgramSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"own", "cwd", "p1", "p2"}) MakeDir(tmp_.Sub(f));
    where_.programFolder = tmp_.Sub("own");
    where_.currentFolder = tmp_.Sub("cwd");
    where_.searchPath = tmp_.Sub("p1") + ":" + tmp_.Sub("p2");
  }
  TempDir tmp_;
  plat::ProgramSearchPath where_;
};

TEST_F(ProgramSearchTest, LooksInOwnFolderThenCurrentThenSearchPath) {
  MakeProgram(tmp_.Sub("p2/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), tmp_.Sub("p2/TORBLEN"));
  MakeProgram(tmp_.Sub("p1/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), tmp_.Sub("p1/TORBLEN"));
  MakeProgram(tmp_.Sub("cwd/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), tmp_.Sub("cwd/TORBLEN"));
  MakeProgram(tmp_.Sub("own/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), tmp_.Sub("own/TORBLEN"));
}

TEST_F(ProgramSearchTest, PassesOverWhatCannotBeRun) {
  MakeProgram(tmp_.Sub("own/TORBLEN"), /*executable=*/false);
  MakeDir(tmp_.Sub("cwd/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), std::nullopt);
  MakeProgram(tmp_.Sub("p2/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), tmp_.Sub("p2/TORBLEN"));
  // Names are matched exactly: a program is never taken for another.
  EXPECT_EQ(plat::FindProgramIn("torblen", where_), std::nullopt);
}

TEST_F(ProgramSearchTest, EmptySearchPathEntryIsTheCurrentFolderAndEmptyFoldersAreSkipped) {
  where_.programFolder.clear();
  where_.currentFolder = tmp_.Sub("p2");
  where_.searchPath = tmp_.Sub("p1") + "::";
  MakeProgram(tmp_.Sub("p2/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), tmp_.Sub("p2/TORBLEN"));
}

TEST(ProgramSearch, FindsAProgramBesideTheRunningOne) {
  std::string own = plat::RunningProgramFolder();
  ASSERT_FALSE(own.empty());
  std::string self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
  EXPECT_EQ(plat::FindProgram(self), own + "/" + self);
  EXPECT_EQ(plat::FindProgram("no-such-program-anywhere"), std::nullopt);
}

}  // namespace
