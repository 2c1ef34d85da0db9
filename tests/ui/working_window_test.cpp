// The window while a command reads a large log on the user-interface
// thread: it is laid out and repainted, its progress display follows a
// resize, and what the user does meanwhile starts nothing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>

#include "commands/entry_row.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "platform/interrupt.h"
#include "resources/ids.h"
#include "tests/ui/kiv_window.h"
#include "ui/views/kiv_list_view.h"
#include "ui/app/kiv_app.h"
#include "ui/qt_support/modal_run.h"
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
  KivWindow w("--forums 1 --rooms 1", true, "truncate -s 1G FORUM1/MES_02.LOG");
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
    const auto* stop = statusBar->findChild<QWidget*>(IdName(ids::kCtlStopButton));
    if (statusBar->width() > before.width() && bar && text && stop) {
      barFollowed = barFollowed || (stop->geometry().right() == statusBar->rect().right() &&
                                    text->geometry().right() < stop->geometry().left());
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

// Does what the user does once, at the first pump of the window while a
// command's progress shows.
class DuringWork {
 public:
  DuringWork(CMainFrame& frame, std::function<void()> action) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, &frame, action] {
      if (done || !frame.progress().Shown()) return;
      done = true;
      action();
    });
    timer_.start();
  }
  bool done = false;

 private:
  QTimer timer_;
};

const CFileEntry* EntryOf(KivWindow& w, const std::string& name) {
  for (const auto& entry : w.app().doc().CurrentFolder()->entries) {
    if (entry->name == name) return entry.get();
  }
  return nullptr;
}

std::map<std::string, std::uintmax_t> FilesIn(const std::string& folder) {
  std::map<std::string, std::uintmax_t> files;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    files[item.path().filename().string()] = item.is_regular_file() ? item.file_size() : 0;
  }
  return files;
}

// A log whose first message is followed by gigabytes of nothing: long to
// read, and analysed only when read to its end.
constexpr char kLongLog[] = "head -c 3000 FORUM1/MES_01.LOG > FORUM1/MES_02.LOG && truncate -s 4G FORUM1/MES_02.LOG";

TEST(WorkingWindow, TheStopButtonAndEscStopALongAnalysisWithTheFileLeftAsItWas) {
  KivWindow w("--forums 1 --rooms 1", true, kLongLog);
  w.ClickNode(QStringLiteral("FORUM1"));
  CMainFrame& frame = w.frame();
  for (const bool byEsc : {false, true}) {
    SCOPED_TRACE(byEsc ? "Esc" : "中止");
    w.SelectFiles({QStringLiteral("MES_02.LOG")});
    DuringWork during(frame, [&] {
      if (byEsc) {
        QTest::keyClick(frame.list(), Qt::Key_Escape);
      } else {
        QTest::mouseClick(frame.progress().StopButton(), Qt::LeftButton);
      }
    });
    w.Trigger(ids::kCmdAnalyze);
    ASSERT_TRUE(during.done);
    EXPECT_FALSE(plat::InterruptRequested());  // the next command runs
    EXPECT_EQ(frame.statusBar()->currentMessage(),
              QStringLiteral("中止しました。処理中だったファイルは元のままです。"));
    EXPECT_TRUE(frame.isVisible());  // Esc stopped the work; it did not end Kiv
    EXPECT_FALSE(EntryOf(w, "MES_02.LOG")->RangeKnown());
    EXPECT_EQ(w.Column(kColumnLowest)[w.RowOf(QStringLiteral("MES_02.LOG"))], QStringLiteral("-"));
    EXPECT_TRUE(w.MessageIds().empty()) << w.MessageIds()[0];
  }
}

TEST(WorkingWindow, AStoppedSplitLeavesTheFolderAsItWas) {
  KivWindow w("--forums 1 --rooms 1", true,
              "cp FORUM1/MES_01.LOG x && truncate -s +1G FORUM1/MES_01.LOG && cat x >> FORUM1/MES_01.LOG && rm x");
  w.ClickNode(QStringLiteral("FORUM1"));
  w.SelectFiles({QStringLiteral("MES_01.LOG")});
  w.Trigger(ids::kCmdAnalyze);
  ASSERT_TRUE(EntryOf(w, "MES_01.LOG")->RangeKnown());
  const auto before = FilesIn(w.Forum("FORUM1"));
  CMainFrame& frame = w.frame();
  w.SelectFiles({QStringLiteral("MES_01.LOG")});
  QueueModalAction([](QDialog& d) {
    auto* kind = d.findChild<QComboBox*>(IdName(ids::kCtlSingleKind));
    kind->setCurrentIndex(kind->findText(QStringLiteral("本文のみ")));
    d.findChild<QLineEdit*>(IdName(ids::kCtlSingleNumber))->setText(QStringLiteral("8"));
    d.findChild<QPushButton*>(QStringLiteral("OK"))->click();
  });
  DuringWork during(frame, [&] { QTest::mouseClick(frame.progress().StopButton(), Qt::LeftButton); });
  w.Trigger(ids::kCmdSplit);
  ASSERT_TRUE(during.done);
  EXPECT_EQ(FilesIn(w.Forum("FORUM1")), before);  // no backup, no old log, no journal, the log whole
  EXPECT_TRUE(EntryOf(w, "MES_01.LOG")->undoList.empty());
  EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("中止しました。処理中だったファイルは元のままです。"));
}

TEST(WorkingWindow, TheCloseBoxDuringWorkAsksOnceAndYesStopsThenCloses) {
  KivWindow w("--forums 1 --rooms 1", true, kLongLog);
  w.ClickNode(QStringLiteral("FORUM1"));
  w.SelectFiles({QStringLiteral("MES_02.LOG")});
  CMainFrame& frame = w.frame();
  DuringWork during(frame, [&] { frame.close(); });
  w.Trigger(ids::kCmdAnalyze);
  ASSERT_TRUE(during.done);
  EXPECT_EQ(w.MessageIds(), std::vector<int>{ids::kMsgStopToClose});
  EXPECT_FALSE(EntryOf(w, "MES_02.LOG")->RangeKnown());
  QTRY_VERIFY_WITH_TIMEOUT(!frame.isVisible(), 2000);
}

}  // namespace
