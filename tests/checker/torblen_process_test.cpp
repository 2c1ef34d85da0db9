// TORBLEN as Kiv starts it, on a generated shared log folder.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/checker/companion_process.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class TorblenProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logs_ = tmp_.Sub("logs");
    std::string generate = std::string(KIV_SAMPLEGEN_PATH) + " " + logs_ + " --archive >/dev/null";
    ASSERT_EQ(std::system(generate.c_str()), 0);
    MakeDir(tmp_.Sub("config/Orvanta"));
    WriteBytes(tmp_.Sub("config/Orvanta/Tallowick.conf"), "[Setting]\nLOGFILE=" + logs_ + "\n");
    // A folder with subfolders is no forum: its own list stays as it is.
    WriteBytes(logs_ + "/GROUP1/AR.LST", "M AR_0000A.LOG not here\r\n");
  }

  // Every forum folder of the sample: its list before the run, and the
  // lines whose old log exists.
  struct Forum {
    std::string list;
    std::string before;
    std::string expected;
  };
  std::vector<Forum> Forums() {
    std::vector<Forum> forums;
    for (const char* f : {"FORUM1", "FORUM2", "GROUP1/FORUM3", "GROUP1/FORUM4"}) {
      Forum forum;
      forum.list = logs_ + "/" + f + "/AR.LST";
      forum.before = ReadBytes(forum.list);
      std::size_t start = 0;
      while (start < forum.before.size()) {
        std::size_t end = forum.before.find("\r\n", start) + 2;
        std::string line = forum.before.substr(start, end - start);
        std::string name = line.substr(2, line.find(' ', 2) - 2);
        if (fs::exists(logs_ + "/" + f + "/" + name)) forum.expected += line;
        start = end;
      }
      forums.push_back(forum);
    }
    return forums;
  }

  TempDir tmp_;
  std::string logs_;
};

TEST_F(TorblenProcessTest, SilentRunEndsByItselfAndLeavesTheListsInLine) {
  std::vector<Forum> forums = Forums();
  for (const Forum& f : forums) {
    // The sample lists an old log that is gone and one that is there.
    ASSERT_NE(f.expected, f.before) << f.list;
    ASSERT_FALSE(f.expected.empty()) << f.list;
  }
  CompanionRun run = RunCompanion(KIV_TORBLEN_PATH, {"/KIV"}, tmp_.Sub("config"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(run.messages.empty()) << run.output;
  for (const Forum& f : forums) EXPECT_EQ(ReadBytes(f.list), f.expected) << f.list;
  EXPECT_EQ(ReadBytes(logs_ + "/GROUP1/AR.LST"), "M AR_0000A.LOG not here\r\n");
}

TEST_F(TorblenProcessTest, RunByHandTellsWhenItIsDone) {
  CompanionRun run = RunCompanion(KIV_TORBLEN_PATH, {}, tmp_.Sub("config"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.messages, (std::vector<std::string>{"ゾルベン\tチェックが終了しました。"}));
}

}  // namespace
