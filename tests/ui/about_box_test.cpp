// The About box and the companion dialog behind it, on the real window.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "resources/ids.h"
#include "resources/string_table.h"
#include "tests/ui/kiv_window.h"
#include "ui/views/help_window.h"
#include "ui/app/kiv_app.h"
#include "ui/views/main_frame.h"
#include "ui/views/manual.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"

namespace {

QString Label(QDialog& d, int id) { return d.findChild<QLabel*>(QString::number(id))->text(); }

void PressOk(QDialog& d, Qt::KeyboardModifiers held) {
  QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OK")), Qt::LeftButton, held);
}

TEST(AboutBox, CtrlAndShiftOnOkOpenTheCompanionDialogWhichSwitchesTheVoice) {
  KivWindow w("--forums 1 --rooms 1");
  CompanionMode& mode = w.app().mode();
  ASSERT_EQ(mode.m_nCompanionType, 0);

  // Shift alone, then Ctrl alone: the box just closes.
  QString title, notice;
  QueueModalAction([&](QDialog& d) {
    title = Label(d, ids::kCtlAboutTitle);
    notice = Label(d, ids::kCtlAboutNotice);
    PressOk(d, Qt::ShiftModifier);
  });
  w.Trigger(ids::kCmdAbout);
  QueueModalAction([&](QDialog& d) { PressOk(d, Qt::ControlModifier); });
  w.Trigger(ids::kCmdAbout);
  EXPECT_EQ(title, QStringLiteral("Tallowick  Ver 1.30"));
  EXPECT_EQ(notice.toStdString(), KivString(ids::kStrAboutNotice));
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
  EXPECT_FALSE(mode.m_bCompanionStored);

  // Entered and cancelled: nothing changes but that the mode is now stored.
  bool nameEnabledWhileOff = true;
  QueueModalAction([&](QDialog& about) {
    QueueModalAction([&](QDialog& companion) {
      EXPECT_EQ(companion.objectName(), IdName(ids::kDlgCompanion));
      nameEnabledWhileOff = companion.findChild<QLineEdit*>(IdName(ids::kCtlCompanionName))->isEnabled();
      companion.findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
    });
    PressOk(about, Qt::ControlModifier | Qt::ShiftModifier);
  });
  w.Trigger(ids::kCmdAbout);
  EXPECT_FALSE(nameEnabledWhileOff);
  EXPECT_TRUE(mode.m_bCompanionStored);
  EXPECT_EQ(mode.m_nCompanionType, 0);
  EXPECT_EQ(w.frame().windowTitle(), QStringLiteral("Tallowick  Ver 1.30"));

  // Turned on for a woman: title, honorific and prompts change at once.
  QueueModalAction([&](QDialog& about) {
    QueueModalAction([&](QDialog& companion) {
      companion.findChild<QCheckBox*>(IdName(ids::kCtlCompanionOn))->click();
      EXPECT_TRUE(companion.findChild<QLineEdit*>(IdName(ids::kCtlCompanionName))->isEnabled());
      companion.findChild<QRadioButton*>(IdName(ids::kCtlCompanionFemale))->click();
      companion.findChild<QPushButton*>(QStringLiteral("OK"))->click();
    });
    PressOk(about, Qt::ControlModifier | Qt::ShiftModifier);
  });
  w.Trigger(ids::kCmdAbout);
  EXPECT_EQ(mode.m_nCompanionType, 2);
  EXPECT_EQ(mode.m_strHonorific, "おねえちゃん");
  EXPECT_EQ(w.frame().windowTitle(), QStringLiteral("たろうぃっく  Ver 1.30　（ピルカちゃんモード）"));
  EXPECT_EQ(w.frame().action(ids::kCmdAnalyze)->statusTip(),
            QStringLiteral("ログの解析を始めるよ、ヨルマおねえちゃん"));

  QueueModalAction([&](QDialog& d) {
    title = Label(d, ids::kCtlAboutTitle);
    notice = Label(d, ids::kCtlAboutNotice);
    d.reject();
  });
  w.Trigger(ids::kCmdAbout);
  EXPECT_EQ(title, QStringLiteral("たろうぃっく  Ver 1.30　（ピルカちゃんモード）"));
  EXPECT_EQ(notice.toStdString(), KivString(ids::kStrAboutNotice - ids::kCompanionVoiceShift));
}

TEST(HelpCommands, OpenTheManualBesideTheProgramAtSectionsItHas) {
  KivWindow w("--forums 1 --rooms 1");
  std::vector<QUrl> opened;
  SetManualOpener([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  w.Trigger(ids::kCmdHelpTopics);
  w.Trigger(ids::kCmdContextHelp);
  QTest::keyClick(&w.frame(), Qt::Key_F1);
  SetManualOpener({});
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0].toLocalFile(), ManualPath());
  QFile page(ManualPath());
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const QByteArray html = page.readAll();
  for (const QUrl& url : opened) {
    EXPECT_TRUE(html.contains("id=\"" + url.fragment().toUtf8() + "\"")) << url.toString().toStdString();
  }
  EXPECT_EQ(opened[0].fragment(), QStringLiteral("topics"));
  EXPECT_FALSE(w.frame().action(ids::kCmdHtmlHelp)->isEnabled());
  EXPECT_TRUE(w.messages().fileErrors.empty());
}

TEST(HelpCommands, F1ShowsTheManualInTheProgramsOwnWindow) {
  KivWindow w("--forums 1 --rooms 1");
  QTest::keyClick(&w.frame(), Qt::Key_F1);
  auto* help = w.frame().findChild<CHelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->isWindow());
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Tallowick 説明書"));
  EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("画面の見方")));
  const int atWindowSection = help->verticalScrollBar()->value();
  EXPECT_GT(atWindowSection, 0);  // at the section on the window, not the top

  // The topics command brings the same window back to the table of contents,
  // and its links lead within the manual.
  help->close();
  w.Trigger(ids::kCmdHelpTopics);
  EXPECT_EQ(w.frame().findChildren<CHelpWindow*>().size(), 1);
  EXPECT_TRUE(help->isVisible());
  EXPECT_LT(help->verticalScrollBar()->value(), atWindowSection);
  help->setSource(QUrl(QStringLiteral("#split")));
  EXPECT_GT(help->verticalScrollBar()->value(), atWindowSection);
  EXPECT_TRUE(w.messages().fileErrors.empty());

  // Closed from the keyboard, and opened again beside the main window.
  for (const QKeyCombination keys : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::CTRL, Qt::Key_W)}) {
    help->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help, keys.key(), keys.keyboardModifiers());
    EXPECT_FALSE(help->isVisible()) << keys.key();
    EXPECT_TRUE(w.frame().isVisible());  // Esc in the help window is not Esc in the main window
    w.Trigger(ids::kCmdHelpTopics);
    EXPECT_TRUE(help->isVisible());
  }
}

TEST(HelpCommands, TheHelpWindowOpensBesideTheMainWindowWithinTheScreen) {
  const QRect screen(0, 0, 1920, 1040);
  struct Case {
    QRect owner;
    QSize size;
    QRect expected;
  } cases[] = {
      {{100, 100, 800, 600}, {640, 560}, {900, 100, 640, 560}},   // right of it
      {{1200, 50, 700, 600}, {640, 560}, {560, 50, 640, 560}},    // no room right: left of it
      {{0, 0, 1920, 1040}, {640, 560}, {1280, 0, 640, 560}},      // no room beside: over it, on the screen
      {{300, 900, 400, 300}, {640, 560}, {700, 480, 640, 560}},   // moved up to lie whole on the screen
      {{-500, -80, 400, 300}, {2400, 1400}, {0, 0, 1920, 1040}},  // shrunk to the screen
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HelpWindowPlacement(c.owner, c.size, screen), c.expected) << c.owner.x() << "," << c.owner.y();
  }
}

}  // namespace

TEST(HelpCommands, TheManualIsFoundInTheInstalledTreeWhereverItLies) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QDir top(root.path());
  ASSERT_TRUE(top.mkpath(QStringLiteral("moved/usr/bin")));
  const QString bin = top.filePath(QStringLiteral("moved/usr/bin"));
  const QString installed = top.filePath(QStringLiteral("moved/usr/share/doc/kiv/Kiv.html"));
  // Neither there: the installed place is the one to name as missing.
  EXPECT_EQ(ManualPathFrom(bin), installed);
  // One folder holding program and manual.
  const QString beside = top.filePath(QStringLiteral("moved/usr/bin/Kiv.html"));
  QFile(beside).open(QIODevice::WriteOnly);
  EXPECT_EQ(ManualPathFrom(bin), beside);
  // The installed tree wins over a stray copy beside the program.
  ASSERT_TRUE(top.mkpath(QStringLiteral("moved/usr/share/doc/kiv")));
  QFile(installed).open(QIODevice::WriteOnly);
  EXPECT_EQ(ManualPathFrom(bin), installed);
}
