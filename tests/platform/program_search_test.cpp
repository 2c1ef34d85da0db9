#include "platform/program_search.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/temp_dir.h"

namespace {

void MakeProgram(const std::string& path, bool executable = true) {
  WriteBytes(path, "#!/bin/sh\n");
#ifdef _WIN32
  (void)executable;  // Windows has no execute permission: every file with the name runs
#else
  ::chmod(path.c_str(), executable ? 0755 : 0644);
#endif
}

// The search path's separator: ';' on Windows, where ':' follows a drive letter.
#ifdef _WIN32
constexpr const char* kSep = ";";
#else
constexpr const char* kSep = ":";
#endif

class ProgramSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"own", "cwd", "p1", "p2"}) MakeDir(tmp_.Sub(f));
    where_.programFolder = tmp_.Sub("own");
    where_.currentFolder = tmp_.Sub("cwd");
    where_.searchPath = tmp_.Sub("p1") + kSep + tmp_.Sub("p2");
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
#ifndef _WIN32
  MakeProgram(tmp_.Sub("own/TORBLEN"), /*executable=*/false);
#endif
  MakeDir(tmp_.Sub("cwd/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), std::nullopt);
  MakeProgram(tmp_.Sub("p2/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), tmp_.Sub("p2/TORBLEN"));
#ifndef _WIN32
  // Names are matched exactly: a program is never taken for another. (On
  // Windows the file system itself finds names without regard to case.)
  EXPECT_EQ(plat::FindProgramIn("torblen", where_), std::nullopt);
#endif
}

TEST_F(ProgramSearchTest, EmptySearchPathEntryIsTheCurrentFolderAndEmptyFoldersAreSkipped) {
  where_.programFolder.clear();
  where_.currentFolder = tmp_.Sub("p2");
  where_.searchPath = tmp_.Sub("p1") + kSep + kSep;
  MakeProgram(tmp_.Sub("p2/TORBLEN"));
  EXPECT_EQ(plat::FindProgramIn("TORBLEN", where_), tmp_.Sub("p2/TORBLEN"));
}

TEST(ProgramSearch, FindsAProgramBesideTheRunningOne) {
  std::string own = plat::RunningProgramFolder();
  ASSERT_FALSE(own.empty());
#ifdef _WIN32
  // No /proc on Windows; FindProgram adds the ".EXE" itself, and the file
  // system finds "name.exe" under that spelling.
  EXPECT_EQ(plat::FindProgram("kiv_platform_tests"), own + "/kiv_platform_tests.EXE");
#else
  std::string self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
  EXPECT_EQ(plat::FindProgram(self), own + "/" + self);
#endif
  EXPECT_EQ(plat::FindProgram("no-such-program-anywhere"), std::nullopt);
}

}  // namespace
