// A second copy finds the first through its local socket and brings it back.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "ui/app/running_copy.h"

namespace {

TEST(RunningCopy, ASecondCopyShowsTheMinimisedFirstInItsNormalState) {
  QWidget window;
  window.showMinimized();
  QTest::qWait(10);
  ASSERT_TRUE(window.isMinimized());
  {
    RunningCopy listener(&window);
    EXPECT_TRUE(RunningCopy::AskRunningCopyToShow());
    for (int waited = 0; window.isMinimized() && waited < 2000; waited += 10) QTest::qWait(10);
    EXPECT_FALSE(window.isMinimized());
  }
  // With the first copy gone, a new start finds nobody and runs.
  EXPECT_FALSE(RunningCopy::AskRunningCopyToShow());
}

}  // namespace
