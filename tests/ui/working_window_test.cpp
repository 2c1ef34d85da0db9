// The window while a command reads a large log on the user-interface
// thread: it is laid out and repainted, its progress display follows a
// resize, and what the user does meanwhile starts nothing.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <chrono>

#include "resources/ids.h"
#include "tests/ui/kiv_window.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/qt_text.h"
#include "ui/views/status_progress.h"

namespace {

// Counts the paints of the watched widgets and the progress bars made in
// the status bar (one per file a command reads).
class WindowWatch : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    if (event->type() == QEvent::ChildPolished &&
        qobject_cast<QProgressBar*>(static_cast<QChildEvent*>(event)->child())) {
      ++barsMade;
    }
    (void)watched;
    return false;
  }
  int paints = 0;
  int barsMade = 0;
};

TEST(WorkingWindow, LongAnalysisRepaintsFollowsAResizeAndTakesNoInput) {
  // A sparse body log long enough to take several pump intervals to read.
  KivWindow w("--forums 1 --rooms 1", true, "truncate -s 256M FORUM1/MES_02.LOG");
  w.ClickNode(QStringLiteral("FORUM1"));
  w.SelectFiles({QStringLiteral("MES_02.LOG")});
  CMainFrame& frame = w.frame();
  QStatusBar* statusBar = frame.statusBar();
  WindowWatch watch;
  statusBar->installEventFilter(&watch);
  frame.list()->viewport()->installEventFilter(&watch);

  // Runs only when the window is pumped while the file is read.
  const QSize before = frame.size();
  int ticks = 0;
  int paintsAtResize = -1;
  bool barFollowed = false;
  bool inputSent = false;
  QString textSeen;
  qint64 longestGap = 0;
  QElapsedTimer sinceTick;
  QTimer ticker;
  ticker.setInterval(5);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    if (!frame.progress().Shown()) return;
    if (sinceTick.isValid()) longestGap = std::max(longestGap, sinceTick.elapsed());
    sinceTick.start();
    ++ticks;
    if (paintsAtResize < 0) {
      frame.resize(before + QSize(300, 120));
      paintsAtResize = watch.paints;
      return;
    }
    const auto* bar = statusBar->findChild<QProgressBar*>(IdName(ids::kCtlProgressBar));
    const auto* text = statusBar->findChild<QWidget*>(IdName(ids::kCtlProgressText));
    if (statusBar->width() > before.width() && bar && text) {
      barFollowed = barFollowed || text->geometry().right() == statusBar->rect().right() - 10;
      textSeen = frame.progress().Text();
    }
    if (!inputSent && barFollowed) {
      inputSent = true;
      QToolBar* tools = frame.toolBar();
      QTest::mouseClick(tools->widgetForAction(frame.action(ids::kCmdSplit)), Qt::LeftButton);
      QTest::keyClick(frame.list(), Qt::Key_I, Qt::ControlModifier);
      QTest::keyClick(frame.list(), Qt::Key_Return);
      QTest::mouseDClick(frame.list()->viewport(), Qt::LeftButton, {},
                         frame.list()->visualItemRect(frame.list()->topLevelItem(0)).center());
    }
  });
  ticker.start();
  w.Trigger(ids::kCmdAnalyze);
  ticker.stop();
  const int paintsDuring = watch.paints;
  QTest::qWait(100);  // anything held back would run now

  EXPECT_GE(ticks, 3);
  EXPECT_LT(longestGap, 500) << "the window went unpumped for " << longestGap << " ms";
  EXPECT_GT(paintsDuring, paintsAtResize) << "no repaint after the resize";
  EXPECT_TRUE(barFollowed) << "the progress display kept its old width";
  EXPECT_TRUE(textSeen.endsWith(QStringLiteral("% - 解析中..."))) << textSeen.toStdString();
  EXPECT_TRUE(inputSent);
  // The file was read once; no split dialog, no box.
  EXPECT_EQ(watch.barsMade, 1);
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty()) << w.unexpectedDialogs().join(' ').toStdString();
  EXPECT_TRUE(w.MessageIds().empty());
  EXPECT_EQ(frame.size(), before + QSize(300, 120));
}

}  // namespace
