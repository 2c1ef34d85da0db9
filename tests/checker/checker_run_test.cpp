#include "checker/checker_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "checker/silent_switch.h"
#include "messages/scripted_messages.h"
#include "platform/forum_lock.h"
#include "profile/qsettings_profile.h"
#include "tests/support/temp_dir.h"

namespace {

class FakeProgress : public CheckerProgress {
 public:
  void ShowProgress() override { events.push_back("show"); }
  void EnteringFolder(const std::string& name) override { events.push_back("enter " + name); }
  void CloseProgress() override { events.push_back("close"); }
  std::vector<std::string> events;
};

const char kStale[] = "M AR_9701A.LOG kept\r\nM AR_9702A.LOG gone\r\n";

class CheckerRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeDir(tmp_.Sub("logs/FORUM1"));
    WriteBytes(tmp_.Sub("logs/FORUM1/AR_9701A.LOG"), "log\r\n");
    WriteBytes(tmp_.Sub("logs/FORUM1/AR.LST"), kStale);
  }
  std::string Ini() const { return tmp_.Sub("Tallowick.conf"); }
  int Run(const std::vector<std::string>& args) {
    QSettingsProfile store(Ini());
    return RunChecker(args, store, messages_, progress_);
  }
  std::string List() const { return ReadBytes(tmp_.Sub("logs/FORUM1/AR.LST")); }

  TempDir tmp_;
  ScriptedMessages messages_;
  FakeProgress progress_;
};

TEST_F(CheckerRunTest, UnreadableSettingIsToldWithoutOwnerAndTouchesNothing) {
  // No settings at all; a section without the value; an empty value.
  for (const char* ini : {"", "[Setting]\nChkList=1\n", "[Setting]\nLOGFILE=\n"}) {
    WriteBytes(Ini(), ini);
    messages_.Clear();
    EXPECT_EQ(Run({"/KIV"}), 1) << ini;
    ASSERT_EQ(messages_.boxes.size(), 1u) << ini;
    const ScriptedMessages::Box& box = messages_.boxes[0];
    EXPECT_EQ(box.text, "KIV がインストールされていないか、以前のバージョンのレジストリをアップデートしていません。");
    EXPECT_EQ(box.caption, "ゾルベンのエラー");
    EXPECT_EQ(box.style.icon, MsgIcon::Information);
    EXPECT_TRUE(box.style.noOwner);
  }
  EXPECT_TRUE(progress_.events.empty());
  EXPECT_EQ(List(), kStale);
}

TEST_F(CheckerRunTest, SilentRunReconcilesWithoutCompletionBox) {
  // The names are found in any case, as the registry finds them.
  WriteBytes(Ini(), "[setting]\nlogfile=" + tmp_.Sub("logs") + "\n");
  EXPECT_EQ(Run({"-kiv"}), 0);
  EXPECT_TRUE(messages_.boxes.empty());
  EXPECT_EQ(List(), "M AR_9701A.LOG kept\r\n");
  EXPECT_EQ(progress_.events, (std::vector<std::string>{"show", "enter FORUM1", "close"}));
}

TEST_F(CheckerRunTest, InteractiveRunEndsWithCompletionBoxOwnedByTheWindow) {
  WriteBytes(Ini(), "[Setting]\nLOGFILE=" + tmp_.Sub("logs") + "\n");
  EXPECT_EQ(Run({"/KIV", "again"}), 0);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  const ScriptedMessages::Box& box = messages_.boxes[0];
  EXPECT_EQ(box.text, "チェックが終了しました。");
  EXPECT_EQ(box.caption, "ゾルベン");
  EXPECT_EQ(box.style.icon, MsgIcon::None);
  EXPECT_EQ(box.style.buttons, MsgButtons::Ok);
  EXPECT_FALSE(box.style.noOwner);
  EXPECT_EQ(progress_.events.back(), "close");
  EXPECT_EQ(List(), "M AR_9701A.LOG kept\r\n");
}

// Another program changing a forum: its list is left as it is, said so in
// the interactive run, and the walk goes on with the other forums.
TEST_F(CheckerRunTest, AForumAnotherProgramKeepsIsLeftAsItIsAndNamedWithItsHolder) {
  MakeDir(tmp_.Sub("logs/FORUM2"));
  WriteBytes(tmp_.Sub("logs/FORUM2/AR.LST"), kStale);
  WriteBytes(Ini(), "[Setting]\nLOGFILE=" + tmp_.Sub("logs") + "\n");
  plat::ForumLock held;
  int err = 0;
  ASSERT_EQ(held.Acquire(tmp_.Sub("logs/FORUM1"), plat::kLockHolderBatch, std::chrono::milliseconds(0), &err),
            plat::ForumLock::Outcome::Held);
  ::setenv("KIV_LOCK_WAIT_MS", "100", 1);
  for (const std::vector<std::string>& args : {std::vector<std::string>{"/KIV"}, std::vector<std::string>{}}) {
    WriteBytes(tmp_.Sub("logs/FORUM2/AR.LST"), kStale);
    messages_.Clear();
    EXPECT_EQ(Run(args), 0);
    EXPECT_EQ(List(), kStale);
    EXPECT_EQ(ReadBytes(tmp_.Sub("logs/FORUM2/AR.LST")), "");
    if (args.empty()) {
      ASSERT_EQ(messages_.boxes.size(), 2u);
      EXPECT_EQ(messages_.boxes[0].text,
                tmp_.Sub("logs/FORUM1/AR.LST") + " :\n他のプログラム (kiv-batch, PID " + std::to_string(::getpid()) +
                    ") がこのフォーラムを変更中のため、書庫リストファイルを変更しませんでした。");
      EXPECT_EQ(messages_.boxes[0].style.icon, MsgIcon::Exclamation);
    } else {
      EXPECT_TRUE(messages_.boxes.empty());
    }
  }
  ::unsetenv("KIV_LOCK_WAIT_MS");
  held.Release();
  EXPECT_EQ(Run({"/KIV"}), 0);
  EXPECT_EQ(List(), "M AR_9701A.LOG kept\r\n");
}

TEST(SilentSwitch, OnlyTheOneSwitchAloneInAnyCase) {
  for (const char* arg : {"/KIV", "-KIV", "/kiv", "-Kiv"}) EXPECT_TRUE(IsSilentRun({arg})) << arg;
  const std::vector<std::vector<std::string>> interactive = {
      {}, {"KIV"}, {"+KIV"}, {"/KI"}, {"/KIVX"}, {"//KIV"}, {"/ＫＩＶ"}, {"/KIV", "/KIV"}, {"/KIV", "x"}};
  for (const auto& args : interactive) EXPECT_FALSE(IsSilentRun(args)) << args.size();
}

}  // namespace
