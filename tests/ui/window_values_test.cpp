// What the main window remembers: the value texts, and what a close writes
// or, in defaults mode answered No, leaves alone.
#include "ui/settings/window_values.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "messages/scripted_messages.h"
#include "model/directory.h"
#include "ports/clock.h"
#include "profile/qsettings_profile.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_run.h"
#include "ui/app/kiv_app.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"

namespace {

TEST(WindowValueText, WrapsNegativeCoordinatesAndNeverWritesPastItsFields) {
  const std::array<std::int32_t, 5> placement{1, 20, -4, 500, 700};
  const std::string text = FormatWindowValue<5>(placement);
  EXPECT_EQ(text, "1:20:4294967292:500:700");
  EXPECT_EQ(ParseWindowValue<5>(text), placement);
  EXPECT_EQ(ParseWindowValue<2>("150:300:9:9:9"), (std::array<std::int32_t, 2>{150, 300}));
  EXPECT_EQ(ParseWindowValue<6>("90:264"), (std::array<std::int32_t, 6>{90, 264, 0, 0, 0, 0}));
  EXPECT_EQ(ParseWindowValue<2>(""), std::nullopt);
}

TEST(MainWindowClose, WritesItsPlacementUnlessDefaultsModeIsAnsweredNo) {
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  MakeDir(dir.Sub("logs/FORUM1"));
  WriteBytes(dir.Sub("logs/FORUM1/MES_01.LOG"), "");
  const std::string ini = dir.Sub("Tallowick.ini");
  {
    QSettingsProfile seed(ini);
    seed.WriteProfileString("Setting", "LOGFILE", dir.Sub("logs"));
    seed.WriteProfileString("Setting", "Cols", "91:92:93:94:95:96");
  }
  {
    KivRun run(ini, false);
    CMainFrame frame(run.app);
    frame.ShowFirstTime();
    EXPECT_NE(frame.tree()->FindItem(QStringLiteral("FORUM1")), nullptr);  // the stored shared log folder
    frame.showMaximized();
    QTest::qWait(20);
    frame.close();
    EXPECT_TRUE(run.messages.boxes.empty());
    run.app.Exit();
  }
  std::string placement;
  {
    QSettingsProfile stored(ini);
    placement = stored.GetProfileString("Setting", "WindowPlace", "");
    EXPECT_EQ(placement.rfind("3:", 0), 0u) << placement;
    EXPECT_EQ(stored.GetProfileString("Setting", "Cols", ""), "91:92:93:94:95:96");  // restored, then kept
    EXPECT_FALSE(stored.GetProfileString("Setting", "View", "").empty());
  }
  {
    KivRun run(ini, true);
    CMainFrame frame(run.app);
    frame.ShowFirstTime();
    EXPECT_FALSE(frame.isMaximized());  // defaults: the stored placement is not applied
    run.messages.Answer(MsgResult::No);
    frame.close();
    ASSERT_EQ(run.messages.boxes.size(), 1u);
    EXPECT_EQ(run.messages.boxes[0].id, ids::kMsgAskSaveWindow);
    run.app.Exit();
  }
  QSettingsProfile stored(ini);
  EXPECT_EQ(stored.GetProfileString("Setting", "WindowPlace", ""), placement);
}

TEST(MainWindowClose, DefaultsModeAnsweredYesWritesTheSortOrderToo) {
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  const std::string ini = dir.Sub("Tallowick.ini");
  {
    QSettingsProfile seed(ini);
    seed.WriteProfileString("Setting", "LOGFILE", dir.Sub("logs"));
    seed.WriteProfileInt("Setting", "Sort", 0x49);
  }
  {
    KivRun run(ini, true);
    CMainFrame frame(run.app);
    frame.ShowFirstTime();
    run.messages.Answer(MsgResult::Yes);
    frame.close();
    run.app.Exit();
  }
  QSettingsProfile stored(ini);
  // The run's own order (scan order, as defaults mode started with) is kept.
  EXPECT_EQ(stored.GetProfileInt("Setting", "Sort", -1), 0);
  EXPECT_FALSE(stored.GetProfileString("Setting", "WindowPlace", "").empty());
}

// A placement stored on a larger screen, or under twice the scale, comes back
// moved and shrunk onto this screen; one that fits comes back as it was.
TEST(MainWindowOpen, AStoredPlacementThatDoesNotFitTheScreenIsFittedToIt) {
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  const std::string ini = dir.Sub("Tallowick.ini");
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const struct {
    std::string stored;  // show state:top:left:bottom:right; -200 is kept as 4294967096
    bool fits;
  } cases[] = {
      {"1:400:600:1800:3000", false},
      {"1:4294967096:4294967196:100:200", false},
      {"1:20:30:300:500", true},
  };
  for (const auto& c : cases) {
    {
      QSettingsProfile seed(ini);
      seed.WriteProfileString("Setting", "LOGFILE", dir.Sub("logs"));
      seed.WriteProfileString("Setting", "WindowPlace", c.stored);
    }
    KivRun run(ini, false);
    CMainFrame frame(run.app);
    frame.ShowFirstTime();
    EXPECT_TRUE(available.contains(frame.frameGeometry())) << c.stored;
    if (c.fits) {
      EXPECT_EQ(frame.geometry(), QRect(30, 20, 470, 280));
    }
    frame.close();
    run.app.Exit();
  }
}

// The forum chosen when Kiv closed is chosen again at start, while it exists
// and unless the stored layout is not to be applied.
TEST(MainWindowOpen, TheForumChosenLastIsChosenAgain) {
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  for (const char* forum : {"logs/FORUM1", "logs/FORUM2"}) {
    MakeDir(dir.Sub(forum));
    WriteBytes(dir.Sub(forum) + "/MES_01.LOG", "");
  }
  const std::string ini = dir.Sub("Tallowick.ini");
  {
    QSettingsProfile seed(ini);
    seed.WriteProfileString("Setting", "LOGFILE", dir.Sub("logs"));
  }
  const auto start = [&](bool defaultsMode, const char* choose) {
    KivRun run(ini, defaultsMode);
    CMainFrame frame(run.app);
    frame.ShowFirstTime();
    const CDirectory* chosen = run.app.doc().CurrentFolder();
    const std::string path = chosen ? chosen->path : "";
    if (choose) frame.tree()->setCurrentItem(frame.tree()->FindItem(QString::fromLatin1(choose)));
    if (defaultsMode) run.messages.Answer(MsgResult::No);  // nothing stored
    frame.close();
    run.app.Exit();
    return path;
  };
  EXPECT_EQ(start(false, "FORUM2"), "");
  EXPECT_EQ(start(true, nullptr), "");
  EXPECT_EQ(start(false, nullptr), dir.Sub("logs/FORUM2"));
  std::filesystem::remove_all(dir.Sub("logs/FORUM2"));
  EXPECT_EQ(start(false, nullptr), "");
}

}  // namespace
