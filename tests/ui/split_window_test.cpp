// The split, undo and export commands run from the main window through the
// real dialogs and the keypad, with every box answered from a script.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "commands/entry_row.h"
#include "platform/forum_lock.h"
#include "ports/rows.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_window.h"
#include "ui/app/kiv_app.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"
#include "ui/views/status_progress.h"

namespace {

template <typename T>
T* Control(QDialog& d, int id) {
  T* control = d.findChild<T*>(QString::number(id));
  if (!control) ADD_FAILURE() << "no control " << id << " in dialog " << d.objectName().toStdString();
  return control;
}

void Click(QDialog& d, const char* button) {
  QPushButton* b = d.findChild<QPushButton*>(QString::fromLatin1(button));
  ASSERT_NE(b, nullptr) << button;
  b->click();
}

std::string Caption(int id) { return std::string(KivString(id)); }

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(prefix, 0) == 0) names.push_back(name);
  }
  return names;
}

// Notes what the lowest-number cell of a row reads each time the list paints.
class PaintWatch : public QObject {
 public:
  PaintWatch(CKivListView* list, int row) : list_(list), row_(row) { list->viewport()->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && list_->topLevelItem(row_)) {
      seen << list_->topLevelItem(row_)->text(kColumnLowest);
    }
    return false;
  }
  QStringList seen;

 private:
  CKivListView* list_;
  int row_;
};

void RightClickRow(CKivListView* list, int row) {
  const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
  QContextMenuEvent menu(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
  QCoreApplication::sendEvent(list->viewport(), &menu);
}

struct AnalysedForum {
  explicit AnalysedForum(const std::string& beforeStart = "") : w("--forums 2 --rooms 3", true, beforeStart) {
    w.ClickNode(QStringLiteral("FORUM1"));
    w.Trigger(ids::kCmdSelectAll);
    w.Trigger(ids::kCmdAnalyze);
    w.messages().Clear();
  }
  KivWindow w;
  std::string forum = w.Forum("FORUM1");
};

TEST(SplitWindow, SingleRoomThroughItsDialogThenExportAndUndoByRightClick) {
  AnalysedForum f;
  KivWindow& w = f.w;
  CKivListView* list = w.frame().list();
  w.SelectFiles({QStringLiteral("MES_01.LOG"), QStringLiteral("MES#01.LOG")});
  PaintWatch watch(list, w.RowOf(QStringLiteral("MES_01.LOG")));

  QString bodyFile, bodyRange;
  QueueModalAction([&](QDialog& d) {
    EXPECT_EQ(d.objectName(), IdName(ids::kDlgSplitSingle));
    bodyFile = Control<QLabel>(d, ids::kCtlBodyFile)->text();
    bodyRange = Control<QLabel>(d, ids::kCtlBodyRange)->text();
    Control<QRadioButton>(d, ids::kCtlSingleCutMethod)->click();
    Control<QRadioButton>(d, ids::kCtlSingleArchiveForm)->click();
    Control<QLineEdit>(d, ids::kCtlSingleNumber)->setText(QStringLiteral("8"));
    Click(d, "OK");
  });
  w.Trigger(ids::kCmdSplit);
  EXPECT_EQ(bodyFile, QStringLiteral("MES_01.LOG"));
  EXPECT_EQ(bodyRange, QStringLiteral("    1 -    16"));
  ASSERT_EQ(w.MessageIds(), std::vector<int>{ids::kMsgConfirmSplit});  // the confirmation, answered Yes

  const int body = w.RowOf(QStringLiteral("MES_01.LOG"));
  const int title = w.RowOf(QStringLiteral("MES#01.LOG"));
  EXPECT_TRUE(watch.seen.contains(QStringLiteral("cutting..")));
  EXPECT_EQ(list->topLevelItem(body)->text(kColumnLowest), QStringLiteral("9"));
  EXPECT_EQ(list->topLevelItem(title)->text(kColumnLowest), QStringLiteral("9"));
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    for (int c : {kColumnLowest, kColumnHighest})
      EXPECT_NE(list->topLevelItem(i)->text(c), QStringLiteral("cutting.."));
  }
  EXPECT_EQ(list->RowIcon(body), 1);
  EXPECT_EQ(list->RowIcon(title), 3);
  EXPECT_EQ(list->RowIcon(w.RowOf(QStringLiteral("MES_02.LOG"))), 0);
  EXPECT_FALSE(w.frame().progress().Shown());
  EXPECT_TRUE(Exists(f.forum + "/MES_01.B00"));
  EXPECT_TRUE(Exists(f.forum + "/MES#01.B00"));
  EXPECT_EQ(FilesStartingWith(f.forum, "AR_").size(), 1u);

  // One AR.LST line for the room: the title log's old log shares its name.
  w.Trigger(ids::kCmdExportHeaders);
  const std::string arList = ReadBytes(f.forum + "/AR.LST");
  EXPECT_EQ(arList.rfind("M " + FilesStartingWith(f.forum, "AR_").front() + " ", 0), 0u) << arList;
  EXPECT_EQ(std::count(arList.begin(), arList.end(), '\n'), 1);
  EXPECT_EQ(w.frame().statusBar()->currentMessage().toStdString(),
            "1 行の会議室ヘッダを " + f.forum + "/AR.LST に書き出しました。");

  // A right click takes the selected logs back.
  w.SelectFiles({QStringLiteral("MES_01.LOG"), QStringLiteral("MES#01.LOG")});
  RightClickRow(list, w.RowOf(QStringLiteral("MES_01.LOG")));
  EXPECT_EQ(list->RowIcon(w.RowOf(QStringLiteral("MES_01.LOG"))), 0);
  EXPECT_EQ(list->RowIcon(w.RowOf(QStringLiteral("MES#01.LOG"))), 2);
  EXPECT_EQ(list->topLevelItem(w.RowOf(QStringLiteral("MES_01.LOG")))->text(kColumnLowest), QStringLiteral("1"));
  EXPECT_FALSE(Exists(f.forum + "/MES_01.B00"));
  EXPECT_TRUE(FilesStartingWith(f.forum, "AR_").empty());
  EXPECT_TRUE(w.messages().fileErrors.empty());
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
}

struct BatchEnd {
  int status = -1;
  std::string err;
};

// kiv-batch on the forum, as a timer starts it while Kiv is open.
BatchEnd RunKivBatch(const std::string& args) {
  TempDir io;
  const std::string command = "KIV_LOCK_WAIT_MS=100 " KIV_BATCH_EXE " " + args + " >/dev/null 2>" + io.Sub("err");
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(io.Sub("err"))};
}

std::string BusyText(const std::string& forum, const char* holder) {
  return "フォーラム " + forum + " は他のプログラム (" + holder + ", PID " + std::to_string(::getpid()) +
         ") が変更中です。しばらくしてからやり直してください。";
}

// Kiv holds its forum only while a command writes there: kiv-batch runs
// beside a Kiv that shows the forum, is refused (and says by whom) while a
// split of Kiv's writes, and a list runs all the while. The other way round,
// a command of Kiv's finds the forum held by another program, says so and
// writes nothing; the history Kiv writes as it ends waits for the user.
TEST(SplitWindow, KivHoldsTheForumOnlyWhileACommandWritesAndTellsWhenAnotherProgramHoldsIt) {
  AnalysedForum f;
  KivWindow& w = f.w;
  CKivListView* list = w.frame().list();
  EXPECT_EQ(RunKivBatch("split " + f.forum + " --rooms 3 --number 8").status, 0);
  w.Trigger(ids::kCmdAnalyze);

  class WhileKivSplits : public QObject {
   public:
    WhileKivSplits(CKivListView* view, int row, const std::string& forum) : view_(view), row_(row), forum_(forum) {
      view->viewport()->installEventFilter(this);
    }
    // The row shows the split at work: the forum is Kiv's now.
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint && !split &&
          view_->topLevelItem(row_)->text(kColumnLowest) == QStringLiteral("cutting..")) {
        split = RunKivBatch("split " + forum_ + " --rooms 2 --number 8");
        listed = RunKivBatch("list " + forum_);
      }
      return false;
    }
    std::optional<BatchEnd> split, listed;

   private:
    CKivListView* view_;
    int row_;
    std::string forum_;
  };
  w.SelectFiles({QStringLiteral("MES_01.LOG")});
  const auto splitRoomOne = [&] {
    QueueModalAction([&](QDialog& d) {
      Control<QLineEdit>(d, ids::kCtlSingleNumber)->setText(QStringLiteral("8"));
      Click(d, "OK");
    });
    w.Trigger(ids::kCmdSplit);
  };
  {
    WhileKivSplits meanwhile(list, w.RowOf(QStringLiteral("MES_01.LOG")), f.forum);
    splitRoomOne();
    ASSERT_TRUE(meanwhile.split && meanwhile.listed);
    EXPECT_EQ(meanwhile.split->status, 1);
    EXPECT_EQ(meanwhile.split->err, Caption(ids::kMsgForumBusy + 1) + ": " + BusyText(f.forum, "Kiv") + "\n\n");
    EXPECT_EQ(meanwhile.listed->status, 0) << meanwhile.listed->err;
  }
  EXPECT_TRUE(Exists(f.forum + "/MES_01.B00"));
  EXPECT_FALSE(Exists(f.forum + "/MES_02.B00"));
  EXPECT_FALSE(Exists(f.forum + "/~KIV.LCK"));

  // Held by kiv-batch: Kiv's split and export say so and write nothing.
  auto held = std::make_unique<plat::ForumLock>();
  int err = 0;
  ASSERT_EQ(held->Acquire(f.forum, plat::kLockHolderBatch, std::chrono::milliseconds(0), &err),
            plat::ForumLock::Outcome::Held);
  ::setenv("KIV_LOCK_WAIT_MS", "100", 1);
  w.messages().Clear();
  const std::vector<std::string> before = FilesStartingWith(f.forum, "");
  w.SelectFiles({QStringLiteral("MES#02.LOG")});
  splitRoomOne();
  w.Trigger(ids::kCmdExportHeaders);
  ASSERT_EQ(w.messages().boxes.size(), 3u);  // the confirmation, then the forum held twice
  for (std::size_t i : {1u, 2u}) {
    EXPECT_EQ(w.messages().boxes[i].id, ids::kMsgForumBusy);
    EXPECT_EQ(w.messages().boxes[i].text, BusyText(f.forum, "kiv-batch"));
  }
  EXPECT_EQ(FilesStartingWith(f.forum, ""), before);
  EXPECT_FALSE(Exists(f.forum + "/AR.LST"));

  // As Kiv ends, the history waits for the holder: the user tries again
  // once it has finished.
  w.messages().whenShown = [&](const ScriptedMessages::Box& box) {
    if (box.id == ids::kMsgForumBusyForHistory) held.reset();
  };
  w.app().Exit();
  w.messages().whenShown = nullptr;
  ::unsetenv("KIV_LOCK_WAIT_MS");
  EXPECT_EQ(w.MessageIds().back(), ids::kMsgForumBusyForHistory);
  EXPECT_NE(ReadBytes(f.forum + "/FORUM1.KIV").find("AR_2402A.LOG"), std::string::npos);
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
}

TEST(SplitWindow, CtrlUNeverPutsTheBackupOverALogTheHostWroteToSinceTheSplit) {
  AnalysedForum f;
  KivWindow& w = f.w;
  CKivListView* list = w.frame().list();
  w.SelectFiles({QStringLiteral("MES_01.LOG")});
  QueueModalAction([&](QDialog& d) {
    Control<QRadioButton>(d, ids::kCtlSingleCutMethod)->click();
    Control<QLineEdit>(d, ids::kCtlSingleNumber)->setText(QStringLiteral("8"));
    Click(d, "OK");
  });
  w.Trigger(ids::kCmdSplit);
  const std::string log = f.forum + "/MES_01.LOG";
  const std::string split = ReadBytes(log);
  const std::string original = ReadBytes(f.forum + "/MES_01.B00");
  ASSERT_FALSE(original.empty());

  // Kiv is in front (the offscreen platform activates no window of its
  // own) and stays there while the host appends: no rescan comes between.
  QApplication::setActiveWindow(&w.frame());
  QCoreApplication::processEvents();
  const std::string hostLine = "HOST WROTE THIS\r\n";
  const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, hostLine.data(), hostLine.size()), static_cast<ssize_t>(hostLine.size()));
  ASSERT_EQ(::close(fd), 0);
  w.messages().Clear();
  w.SelectFiles({QStringLiteral("MES_01.LOG")});
  list->setFocus();
  QTest::keyClick(list, Qt::Key_U, Qt::ControlModifier);

  ASSERT_EQ(w.MessageIds(), std::vector<int>{ids::kMsgWrittenSinceSplit});
  const std::string text = w.messages().boxes[0].text;
  EXPECT_EQ(text.rfind("MES_01.LOG :\n", 0), 0u) << text;
  EXPECT_EQ(ReadBytes(log), split + hostLine);
  EXPECT_EQ(ReadBytes(f.forum + "/MES_01.B00"), original);
  const int row = w.RowOf(QStringLiteral("MES_01.LOG"));
  EXPECT_EQ(list->RowIcon(row), 0) << "nothing left to undo";
  EXPECT_EQ(list->topLevelItem(row)->text(kColumnLowest), QStringLiteral("-"));
  EXPECT_EQ(list->topLevelItem(row)->text(kColumnSize).toStdString(),
            GroupedSize(static_cast<unsigned>(split.size() + hostLine.size())));

  // A later undo, with or without a rescan first, leaves the log as well.
  w.messages().Clear();
  w.Trigger(ids::kCmdUndo);
  emit qApp->applicationStateChanged(Qt::ApplicationActive);  // back from another program: a rescan
  w.SelectFiles({QStringLiteral("MES_01.LOG")});
  w.Trigger(ids::kCmdUndo);
  EXPECT_TRUE(w.messages().boxes.empty());
  EXPECT_EQ(ReadBytes(log), split + hostLine);
  EXPECT_EQ(ReadBytes(f.forum + "/MES_01.B00"), original);
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
}

// Two rooms cut at 1000 below their highest number, room 1 holding only
// messages 1251-2500: the status line names the old logs made and the room
// left alone, which keeps its logs as they were; the rows show the new
// ranges at once, and the undo says what it took back.
TEST(SplitWindow, SeveralRoomsLeaveAloneARoomWithNothingToMoveAndTheStatusLineSaysWhatWasDone) {
  const std::string room1 = std::string(KIV_SAMPLEGEN_PATH) + " --room 1 --first 1251 --messages 1250 --force --log ";
  KivWindow w("--forums 1 --rooms 2 --messages 2500", true,
              room1 + "FORUM1/MES_01.LOG && " + room1 + "FORUM1/MES#01.LOG --kind title");
  const std::string forum = w.Forum("FORUM1");
  w.ClickNode(QStringLiteral("FORUM1"));
  w.Trigger(ids::kCmdSelectAll);
  w.Trigger(ids::kCmdAnalyze);
  const std::string log1 = ReadBytes(forum + "/MES_01.LOG");
  w.Trigger(ids::kCmdSelectAll);
  QueueModalAction([&](QDialog& d) {
    Control<QRadioButton>(d, ids::kCtlMultiCutMethod)->click();
    Control<QLineEdit>(d, ids::kCtlMultiNumber)->setText(QStringLiteral("1000"));
    Click(d, "OK");
  });
  w.Trigger(ids::kCmdSplit);
  const QString said = w.frame().statusBar()->currentMessage();
  EXPECT_TRUE(said.startsWith(QStringLiteral("2 個の旧ログを作りました: AR"))) << said.toStdString();
  EXPECT_TRUE(said.endsWith(QStringLiteral("会議室 1 には切り出すメッセージがないため、分割しませんでした。")))
      << said.toStdString();
  EXPECT_EQ(ReadBytes(forum + "/MES_01.LOG"), log1);
  EXPECT_FALSE(Exists(forum + "/MES_01.B00"));
  EXPECT_FALSE(Exists(forum + "/MES#01.B00"));
  EXPECT_EQ(w.Column(kColumnLowest)[w.RowOf(QStringLiteral("MES_02.LOG"))], QStringLiteral("1001"));
  EXPECT_EQ(w.Column(kColumnLowest)[w.RowOf(QStringLiteral("MES_01.LOG"))], QStringLiteral("1251"));

  w.Trigger(ids::kCmdSelectAll);
  w.Trigger(ids::kCmdUndo);
  EXPECT_EQ(w.frame().statusBar()->currentMessage(),
            QStringLiteral("2 個のログを分割前に戻しました: MES#02.LOG、MES_02.LOG"));
  EXPECT_EQ(w.Column(kColumnLowest)[w.RowOf(QStringLiteral("MES_02.LOG"))], QStringLiteral("1"));
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
}

TEST(SplitWindow, TwoRoomsUseTheMultiDialogWhichRefusesAStepOfZero) {
  AnalysedForum f;
  KivWindow& w = f.w;
  w.SelectFiles({QStringLiteral("MES_02.LOG"), QStringLiteral("MES_03.LOG")});
  bool stayedOpen = false;
  QueueModalAction([&](QDialog& d) {
    EXPECT_EQ(d.objectName(), IdName(ids::kDlgSplitMulti));
    Control<QRadioButton>(d, ids::kCtlMultiStepMethod)->click();
    EXPECT_EQ(Control<QLineEdit>(d, ids::kCtlMultiNumber)->text(), QStringLiteral("1000"));
    Control<QLineEdit>(d, ids::kCtlMultiNumber)->setText(QStringLiteral("0"));
    Click(d, "OK");
    stayedOpen = d.isVisible();
    Control<QLineEdit>(d, ids::kCtlMultiNumber)->setText(QStringLiteral("10"));
    QComboBox* kinds = Control<QComboBox>(d, ids::kCtlMultiKind);
    kinds->setCurrentIndex(kinds->findText(QStringLiteral("本文のみ")));
    Click(d, "OK");
  });
  w.Trigger(ids::kCmdSplit);
  EXPECT_TRUE(stayedOpen);
  ASSERT_GE(w.messages().boxes.size(), 1u);
  EXPECT_EQ(w.messages().boxes[0].id, ids::kMsgZeroStep);
  EXPECT_EQ(w.messages().boxes[0].style.icon, MsgIcon::Question);
  // Method 1 with step 10: body logs only, both rooms.
  CKivListView* list = w.frame().list();
  EXPECT_EQ(list->RowIcon(w.RowOf(QStringLiteral("MES_02.LOG"))), 1);
  EXPECT_EQ(list->RowIcon(w.RowOf(QStringLiteral("MES_03.LOG"))), 1);
  EXPECT_EQ(list->RowIcon(w.RowOf(QStringLiteral("MES#02.LOG"))), 2);
  EXPECT_TRUE(Exists(f.forum + "/MES_03.B00"));
  EXPECT_FALSE(Exists(f.forum + "/MES#03.B00"));
}

TEST(SplitWindow, SingleDialogAsksOutsideTheRangeAndTakesTheKeypadNumber) {
  AnalysedForum f;
  KivWindow& w = f.w;
  w.SelectFiles({QStringLiteral("MES_01.LOG")});
  QString afterPad, selectedAfterPad, afterOff, secondMethod, backToFirst;
  bool stayedOpenOnNo = false, stayedOpenOnZero = false, refusedTooHigh = false;
  QueueModalAction([&](QDialog& d) {
    QLineEdit* number = Control<QLineEdit>(d, ids::kCtlSingleNumber);
    // The keypad: 4 0 0 0 and OK fill the field and select it.
    number->setFocus();
    QueueModalAction([](QDialog& pad) {
      EXPECT_EQ(pad.objectName(), IdName(ids::kDlgNumberPad));
      for (int digit : {4, 0, 0, 0}) pad.findChild<QPushButton*>(IdName(ids::kCtlPadDigit0 + digit))->click();
      EXPECT_EQ(pad.findChild<QLabel*>(IdName(ids::kCtlPadDisplay))->text(), QStringLiteral("4000 "));
      pad.findChild<QPushButton*>(QStringLiteral("OK"))->click();
    });
    QTest::mouseClick(&d, Qt::RightButton, {}, QPoint(d.width() - 3, 3));
    afterPad = number->text();
    selectedAfterPad = number->selectedText();
    // Capped at 65536 and dismissed with OFF: the field keeps its number.
    QueueModalAction([](QDialog& pad) {
      for (int digit : {6, 5, 5, 3, 7, 1}) pad.findChild<QPushButton*>(IdName(ids::kCtlPadDigit0 + digit))->click();
      EXPECT_EQ(pad.findChild<QLabel*>(IdName(ids::kCtlPadDisplay))->text(), QStringLiteral("65536 "));
      pad.findChild<QPushButton*>(QStringLiteral("OFF"))->click();
    });
    QTest::mouseClick(&d, Qt::RightButton, {}, QPoint(d.width() - 3, 3));
    afterOff = number->text();
    // With the focus elsewhere a right click opens no keypad.
    Control<QRadioButton>(d, ids::kCtlSingleArchiveForm)->setFocus();
    QTest::mouseClick(&d, Qt::RightButton, {}, QPoint(d.width() - 3, 3));

    // The second method proposes 1000; the first brings the number back.
    Control<QRadioButton>(d, ids::kCtlSingleStepMethod)->click();
    secondMethod = number->text();
    Control<QRadioButton>(d, ids::kCtlSingleCutMethod)->click();
    backToFirst = number->text();

    // Outside 0-65536 the dialog's own check refuses the number and keeps the field.
    number->setText(QStringLiteral("65537"));
    Click(d, "OK");
    refusedTooHigh = d.isVisible() && d.focusWidget() == number && number->selectedText() == number->text();
    number->setText(QStringLiteral("4000"));

    // 4000 lies beyond the room's range (1-16): asked, and No keeps the dialog.
    w.messages().Answer(MsgResult::No);
    Click(d, "OK");
    stayedOpenOnNo = d.isVisible();
    Control<QRadioButton>(d, ids::kCtlSingleStepMethod)->click();
    number->setText(QStringLiteral("0"));
    Click(d, "OK");
    stayedOpenOnZero = d.isVisible();
    Click(d, "Cancel");
  });
  w.Trigger(ids::kCmdSplit);
  EXPECT_EQ(afterPad, QStringLiteral("4000"));
  EXPECT_EQ(selectedAfterPad, QStringLiteral("4000"));
  EXPECT_EQ(afterOff, QStringLiteral("4000"));
  EXPECT_EQ(secondMethod, QStringLiteral("1000"));
  EXPECT_EQ(backToFirst, QStringLiteral("4000"));
  EXPECT_TRUE(refusedTooHigh);
  EXPECT_TRUE(stayedOpenOnNo);
  EXPECT_TRUE(stayedOpenOnZero);
  // The number field's own refusal has no id; it is told under the program's name.
  EXPECT_EQ(w.MessageIds(), (std::vector<int>{0, ids::kMsgOutsideRange, ids::kMsgZeroStep}));
  EXPECT_EQ(w.messages().boxes[0].caption, Caption(ids::kStrProgramName));
  EXPECT_EQ(w.messages().boxes[1].style.buttons, MsgButtons::YesNo);
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty()) << w.unexpectedDialogs().join(QLatin1Char(' ')).toStdString();
  EXPECT_FALSE(Exists(f.forum + "/MES_01.B00"));  // cancelled: nothing split
}

TEST(SplitWindow, ARoomWithOnlyATitleLogOffersOnlyTitlesAndSplitsThem) {
  AnalysedForum f("rm FORUM1/MES_03.LOG");
  KivWindow& w = f.w;
  w.SelectFiles({QStringLiteral("MES#03.LOG")});
  QString bodyFile;
  QStringList offered;
  QueueModalAction([&](QDialog& d) {
    bodyFile = Control<QLabel>(d, ids::kCtlBodyFile)->text();
    QApplication::setActiveWindow(&d);  // the offscreen platform activates no dialog of its own
    QComboBox* kinds = Control<QComboBox>(d, ids::kCtlSingleKind);
    kinds->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < kinds->count(); ++i) offered << kinds->itemText(i);
    Control<QRadioButton>(d, ids::kCtlSingleCutMethod)->click();
    Control<QLineEdit>(d, ids::kCtlSingleNumber)->setText(QStringLiteral("5"));
    Click(d, "OK");
  });
  w.Trigger(ids::kCmdSplit);
  EXPECT_EQ(bodyFile, QStringLiteral("なし"));
  EXPECT_EQ(offered, QStringList{QStringLiteral("タイトルのみ")});
  EXPECT_TRUE(Exists(f.forum + "/MES#03.B00"));
  EXPECT_EQ(w.frame().list()->RowIcon(w.RowOf(QStringLiteral("MES#03.LOG"))), 3);
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
}

TEST(StatusBarProgressLine, StepsShowTheEnginesPercentAndEndClearsIt) {
  EXPECT_EQ(ProgressLine(0, "解析"), "   0% - 解析中...");
  EXPECT_EQ(ProgressLine(100, "分割"), " 100% - 分割中...");
  AnalysedForum f;
  StatusBarProgress& progress = f.w.frame().progress();
  progress.EndProgress();  // nothing shown: nothing happens
  EXPECT_FALSE(progress.Shown());
  progress.SetProgressAction("分割");
  progress.BeginProgress();
  EXPECT_EQ(progress.Text(), QStringLiteral("   0% - 分割中..."));
  progress.StepProgress(5);
  EXPECT_EQ(progress.BarValue(), 5);
  // Between the steps the pulses move it on, and a step never takes it back.
  progress.Pulse(87);
  EXPECT_EQ(progress.Text(), QStringLiteral("   8% - 分割中..."));
  progress.StepProgress(5);
  EXPECT_EQ(progress.BarValue(), 8);
  // An empty file's only step is the last one: the line and the bar both say 100.
  progress.StepProgress(100);
  EXPECT_EQ(progress.Text(), QStringLiteral(" 100% - 分割中..."));
  EXPECT_EQ(progress.BarValue(), 100);
  progress.BeginProgress();  // again: the same display from 0
  EXPECT_EQ(progress.BarValue(), 0);
  progress.EndProgress();
  EXPECT_FALSE(progress.Shown());
}

}  // namespace
