// MIRVASTO run on the user's settings in the old layout; Kiv then reads the
// present layout through its own store.
#include <cstdlib>
#include <gtest/gtest.h>

#include "profile/qsettings_profile.h"
#include "tests/checker/companion_process.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(MirvastoProcess, LeavesThePresentLayoutForKiv) {
  TempDir config;
  MakeDir(config.Sub("Orvanta"));
  WriteBytes(config.Sub("Orvanta/Tallowick.conf"),
             "[Strings]\nLOGFILE=/srv/logs\\\\\nExeFile1=/usr/bin/lv\nExeOpt1=%D\n"
             "[Int]\nArcType=1\n"
             "[Setting]\ny=10\nx=20\nheight=300\nwidth=400\nViewCol=150\nViewRow=320\n"
             "Col0=1\nCol1=2\nCol2=3\nCol3=4\nCol4=5\nCol5=6\n");

  CompanionRun run = RunCompanion(KIV_MIRVASTO_PATH, {}, config.path());
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(
      run.messages,
      (std::vector<std::string>{"Change KIV Registry\tレジストリは更新されました。新しい KIV を起動してください。"}));

  // Kiv's own store, at the place it looks for the user's settings. This
  // is the one test here that opens that store.
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  QSettingsProfile kiv;
  ASSERT_EQ(kiv.Location(), config.Sub("Orvanta/Tallowick.conf"));
  EXPECT_EQ(kiv.GetProfileString("Setting", "LOGFILE", ""), "/srv/logs");
  EXPECT_EQ(kiv.GetProfileInt("Setting", "ArcType", -1), 1);
  EXPECT_EQ(kiv.GetProfileString("Setting", "WindowPlace", ""), "1:10:20:310:420");
  EXPECT_EQ(kiv.GetProfileString("Setting", "View", ""), "150:320");
  EXPECT_EQ(kiv.GetProfileString("Setting", "Cols", ""), "1:2:3:4:5:6");
  EXPECT_EQ(kiv.GetProfileString("Shell", "ExeFile1", ""), "/usr/bin/lv");
  EXPECT_EQ(kiv.GetProfileString("Shell", "ExeOpt1", ""), "%D");
  EXPECT_FALSE(kiv.HasSection("Strings"));

  // Deleting everything, answered Yes.
  run = RunCompanion(KIV_MIRVASTO_PATH, {"--delete-all"}, config.path(), "yes");
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  ASSERT_EQ(run.messages.size(), 2u) << run.output;
  EXPECT_EQ(run.messages[1], "Change KIV Registry\tTallowick の全てのレジストリ設定は削除されました。");
  EXPECT_FALSE(QSettingsProfile().HasAnyValue());
}

}  // namespace
