#include "checker/progress_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>

#include "resources/ids.h"

namespace {

TEST(ProgressWindow, NamesEachFolderAndStaysUntilTheWalkIsDone) {
  int argc = 1;
  char name[] = "kiv_checker_tests";
  char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  ProgressWindow window;
  EXPECT_EQ(window.objectName(), QString::number(ids::kCheckerProgressDialog));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("ゾルベン"));
  EXPECT_FALSE(window.windowIcon().isNull());
  auto* line = window.findChild<QLabel*>(QString::number(ids::kCheckerFolderLine));
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->alignment().testFlag(Qt::AlignHCenter));

  window.ShowProgress();
  EXPECT_TRUE(window.isVisible());
  window.EnteringFolder("会議室FORUM");  // names on disk are UTF-8
  EXPECT_EQ(line->text(), QStringLiteral("会議室FORUM"));

  // Closing from the system menu mid-walk is refused.
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  window.CloseProgress();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
