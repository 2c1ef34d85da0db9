// The desktop programs started where no window can be opened: one clear
// line and status 2, never Qt's abort.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "ui/qt_support/display_check.h"

namespace {

struct Program {
  const char* path;
  QStringList args;
};

TEST(NoDisplay, EachDesktopProgramSaysSoAndEndsWithStatusTwo) {
  const Program programs[] = {
      {KIV_EXE, {}},
      {KIV_TORBLEN_EXE, {QStringLiteral("/KIV")}},
      {KIV_MIRVASTO_EXE, {}},
  };
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(name));
  // Settings of the test's own, should a program get as far as reading them.
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/nonexistent/kiv-no-display"));
  for (const Program& program : programs) {
    SCOPED_TRACE(program.path);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QString::fromLocal8Bit(program.path), program.args);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), kNoDisplayExit);
    EXPECT_EQ(process.readAllStandardError().toStdString(), std::string(kNoDisplayLine) + "\n");
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
  }
}

TEST(NoDisplay, APlatformThatNeedsNoneIsADisplay) {
  const char* plain[] = {"Kiv"};
  const char* offscreen[] = {"Kiv", "-platform", "offscreen"};
  const char* x11[] = {"Kiv", "-platform", "xcb"};
  qunsetenv("DISPLAY");
  qunsetenv("WAYLAND_DISPLAY");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  EXPECT_TRUE(HasDisplay(1, plain));
  EXPECT_FALSE(HasDisplay(3, x11));  // Qt's argument wins over the environment
  qunsetenv("QT_QPA_PLATFORM");
  EXPECT_FALSE(HasDisplay(1, plain));
  EXPECT_TRUE(HasDisplay(3, offscreen));
  qputenv("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_TRUE(HasDisplay(1, plain));
  qunsetenv("WAYLAND_DISPLAY");
  qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace
