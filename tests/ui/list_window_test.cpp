// The main window on a generated shared log folder: the tree, the rows of
// the chosen forum, the cases with nothing to list, the greeting and the
// column clicks.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QTest>
#include <filesystem>

#include "commands/entry_row.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "ports/rows.h"
#include "resources/ids.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_window.h"
#include "ui/app/kiv_app.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"

namespace {

QStringList Files(std::initializer_list<const char*> names) {
  QStringList list;
  for (const char* n : names) list << QString::fromLatin1(n);
  return list;
}

TEST(ListWindow, ForumLeafShowsItsRowsAndOtherNodesShowNothing) {
  KivWindow w;
  CKivTreeView* tree = w.frame().tree();
  ASSERT_NE(tree->FindItem(QStringLiteral("ﾛｸﾞﾌｫﾙﾀﾞ")), nullptr);
  EXPECT_EQ(tree->FindItem(QStringLiteral("HP")), nullptr);  // never entered
  EXPECT_EQ(w.frame().list()->topLevelItemCount(), 0);
  EXPECT_FALSE(w.frame().action(ids::kCmdAnalyze)->isEnabled());
  EXPECT_FALSE(w.frame().action(ids::kCmdExternalLaunch)->isEnabled());

  w.ClickNode(QStringLiteral("FORUM1"));
  ASSERT_NE(w.app().doc().CurrentFolder(), nullptr);
  EXPECT_EQ(w.Column(0), Files({"MES#01.LOG", "MES#02.LOG", "MES#03.LOG", "MES_01.LOG", "MES_02.LOG", "MES_03.LOG"}));
  const int body = w.RowOf(QStringLiteral("MES_01.LOG"));
  const int title = w.RowOf(QStringLiteral("MES#01.LOG"));
  const CKivListView* list = w.frame().list();
  EXPECT_EQ(list->topLevelItem(body)->text(kColumnRoom), QStringLiteral("雑談会議室"));  // CP932 room list on screen
  EXPECT_EQ(list->topLevelItem(body)->text(kColumnKind), QStringLiteral("本文"));
  EXPECT_EQ(list->topLevelItem(title)->text(kColumnKind), QStringLiteral("ﾀｲﾄﾙ"));
  const auto size = std::filesystem::file_size(w.Forum("FORUM1") + "/MES_01.LOG");
  EXPECT_EQ(list->topLevelItem(body)->text(kColumnSize).toStdString(), GroupedSize(size));
  EXPECT_EQ(list->topLevelItem(body)->text(kColumnLowest), QStringLiteral("-"));
  EXPECT_EQ(list->topLevelItem(body)->text(kColumnHighest), QStringLiteral("-"));
  EXPECT_EQ(list->RowIcon(body), 0);
  EXPECT_EQ(list->RowIcon(title), 2);
  EXPECT_TRUE(list->IsRowSelected(0));
  EXPECT_TRUE(list->IsRowFocused(0));
  EXPECT_TRUE(w.frame().action(ids::kCmdAnalyze)->isEnabled());
  EXPECT_EQ(w.frame().action(ids::kCmdAnalyze)->statusTip(), QStringLiteral("ログの解析を開始"));
  EXPECT_EQ(w.frame().action(ids::kCmdAnalyze)->toolTip(), QStringLiteral("解析"));

  // Right arrow on the forum's leaf goes to the list, Left arrow back to the tree.
  w.frame().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.frame()));
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Right);
  EXPECT_TRUE(w.frame().list()->hasFocus());
  QTest::keyClick(w.frame().list(), Qt::Key_Left);
  EXPECT_TRUE(tree->hasFocus());

  // Analyse two rooms; 未解析 then picks the one left.
  w.SelectFiles(Files({"MES_01.LOG", "MES_02.LOG"}));
  w.Trigger(ids::kCmdAnalyze);
  EXPECT_EQ(list->topLevelItem(body)->text(kColumnLowest), QStringLiteral("1"));
  EXPECT_NE(list->topLevelItem(w.RowOf(QStringLiteral("MES#02.LOG")))->text(kColumnHighest), QStringLiteral("-"));
  EXPECT_EQ(list->topLevelItem(w.RowOf(QStringLiteral("MES_03.LOG")))->text(kColumnHighest), QStringLiteral("-"));
  w.Trigger(ids::kCmdSelectUnanalyzed);
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    EXPECT_EQ(list->IsRowSelected(i), list->topLevelItem(i)->text(0).endsWith(QStringLiteral("03.LOG"))) << i;
  }

  // The root (a node with children) makes no folder current.
  w.ClickNode(QStringLiteral("ﾛｸﾞﾌｫﾙﾀﾞ"));
  EXPECT_EQ(w.app().doc().CurrentFolder(), nullptr);
  EXPECT_EQ(list->topLevelItemCount(), 0);
  EXPECT_FALSE(w.frame().action(ids::kCmdAnalyze)->isEnabled());
  EXPECT_TRUE(w.messages().boxes.empty());
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
}

TEST(ListWindow, NothingToListIsAnEmptyListNotACrash) {
  {
    KivWindow empty("", false);
    EXPECT_EQ(empty.frame().tree()->topLevelItemCount(), 0);
    EXPECT_EQ(empty.frame().list()->topLevelItemCount(), 0);
  }
  KivWindow w;
  w.ClickNode(QStringLiteral("FORUM2"));
  ASSERT_GT(w.frame().list()->topLevelItemCount(), 0);
  // Gone from the disk since the tree was built: chosen, it lists nothing.
  std::filesystem::remove_all(w.Forum("FORUM1"));
  w.ClickNode(QStringLiteral("FORUM1"));
  EXPECT_EQ(w.frame().list()->topLevelItemCount(), 0);
  EXPECT_FALSE(w.frame().action(ids::kCmdAnalyze)->isEnabled());
  EXPECT_TRUE(w.frame().action(ids::kCmdExternalLaunch)->isEnabled());
  // The list, given the focus with nothing in it, hands it to the tree.
  w.frame().list()->setFocus(Qt::MouseFocusReason);
  EXPECT_TRUE(w.frame().tree()->hasFocus());
}

TEST(ListWindow, ColumnClicksCycleTheOrderAndTheCompanionForumGreets) {
  KivWindow w("--forums 2 --rooms 3", true, "mv FORUM2 RURIRIR");
  w.ClickNode(QStringLiteral("FORUM1"));
  QHeaderView* header = w.frame().list()->header();
  const QStringList scan = w.Column(0);
  auto click = [&](int column) {
    QTest::mouseClick(
        header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2));
  };
  click(0);
  EXPECT_EQ(w.Column(0), Files({"MES_01.LOG", "MES#01.LOG", "MES_02.LOG", "MES#02.LOG", "MES_03.LOG", "MES#03.LOG"}));
  click(0);
  EXPECT_EQ(w.Column(0), Files({"MES#03.LOG", "MES_03.LOG", "MES#02.LOG", "MES_02.LOG", "MES#01.LOG", "MES_01.LOG"}));
  click(0);
  EXPECT_EQ(w.Column(0), scan);
  for (int column : {1, 4, 5}) {
    click(column);
    EXPECT_EQ(w.Column(0), scan) << column;
  }
  click(3);
  QStringList sizes = w.Column(3);
  for (QString& s : sizes) s.remove(QLatin1Char(','));
  for (int i = 1; i < sizes.size(); ++i) EXPECT_LE(sizes[i - 1].toInt(), sizes[i].toInt());
  EXPECT_EQ(w.app().doc().m_nSortColumn, 3);
  EXPECT_TRUE(w.frame().list()->IsRowSelected(0));

  // RURIRIR greets on every fill of the list while the companion settings were never stored.
  int greetings = 0;
  auto greet = [&greetings](QDialog& d) {
    if (d.objectName() == IdName(ids::kDlgGreeting)) ++greetings;
    d.accept();
  };
  QueueModalAction(greet);
  w.ClickNode(QStringLiteral("RURIRIR"));
  EXPECT_EQ(greetings, 1);
  QueueModalAction(greet);
  click(0);
  EXPECT_EQ(greetings, 2);
  w.app().mode().m_bCompanionStored = true;
  click(0);
  EXPECT_EQ(QueuedModalActions(), 0);
  EXPECT_EQ(greetings, 2);
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty()) << w.unexpectedDialogs().join(QLatin1Char(' ')).toStdString();
}

TEST(ListWindow, CompanionVoiceInTitlePromptsAndRowsAndADoubleClickSplits) {
  KivWindow w("--forums 1 --rooms 1", true, "printf '' > FORUM1/MES_07.LOG", "[Secret]\nType=1\n");
  EXPECT_EQ(w.frame().windowTitle(), QStringLiteral("たろうぃっく  Ver 1.30　（ピルカちゃんモード）"));
  EXPECT_EQ(w.frame().action(ids::kCmdAnalyze)->statusTip(),
            QStringLiteral("ログの解析を始めるよ、ヨルマおにいちゃん"));
  EXPECT_EQ(w.frame().action(ids::kCmdAnalyze)->toolTip(), QStringLiteral("解析"));  // tooltips keep the normal voice
  w.ClickNode(QStringLiteral("FORUM1"));
  const int unnamed = w.RowOf(QStringLiteral("MES_07.LOG"));
  ASSERT_GE(unnamed, 0);
  EXPECT_EQ(w.Column(kColumnRoom)[unnamed], QStringLiteral("わかんないよぅ～(;_;)"));
  EXPECT_EQ(w.Column(kColumnSize)[unnamed], QStringLiteral("0"));

  w.Trigger(ids::kCmdSelectAll);  // 全選択
  w.Trigger(ids::kCmdAnalyze);
  w.SelectFiles(Files({"MES_01.LOG"}));
  QString opened;
  QueueModalAction([&opened](QDialog& d) {
    opened = d.objectName();
    d.reject();
  });
  CKivListView* list = w.frame().list();
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                     list->visualItemRect(list->topLevelItem(w.RowOf(QStringLiteral("MES_01.LOG")))).center());
  EXPECT_EQ(opened, IdName(ids::kDlgSplitSingle));
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
}

TEST(ListWindow, LogsOfSeveralGigabytesShowAndSortAtTheirTrueSize) {
  KivWindow w("--forums 1 --rooms 2", true, "truncate -s 3200000000 FORUM1/MES_05.LOG");  // sparse
  w.ClickNode(QStringLiteral("FORUM1"));
  const int big = w.RowOf(QStringLiteral("MES_05.LOG"));
  ASSERT_GE(big, 0);
  EXPECT_EQ(w.Column(kColumnSize)[big], QStringLiteral("3,200,000,000"));
  // サイズ ascending, then descending: the big log goes last, then first.
  w.frame().list()->OnColumnClick(kColumnSize);
  EXPECT_EQ(w.Column(0).last(), QStringLiteral("MES_05.LOG"));
  w.frame().list()->OnColumnClick(kColumnSize);
  EXPECT_EQ(w.Column(0).first(), QStringLiteral("MES_05.LOG"));
}

// Forum folders and log files that come and go while the window is open
// show without a restart; the forum chosen keeps its folder object (its undo
// records) while it exists.
TEST(ListWindow, TheTreeAndTheListFollowTheDisk) {
  KivWindow w("--forums 2 --rooms 1");
  CKivTreeView* tree = w.frame().tree();
  w.ClickNode(QStringLiteral("FORUM1"));
  const CDirectory* forum1 = w.app().doc().CurrentFolder();
  ASSERT_NE(forum1, nullptr);
  const int rows = w.frame().list()->topLevelItemCount();

  // A new forum folder is empty until the host puts its first log there.
  MakeDir(w.Forum("NEWFORUM"));
  QTest::qWait(600);
  WriteBytes(w.Forum("NEWFORUM") + "/MES_01.LOG", "");
  QTRY_VERIFY_WITH_TIMEOUT(tree->FindItem(QStringLiteral("NEWFORUM")) != nullptr, 5000);
  std::filesystem::remove_all(w.Forum("FORUM2"));
  QTRY_VERIFY_WITH_TIMEOUT(tree->FindItem(QStringLiteral("FORUM2")) == nullptr, 5000);
  EXPECT_EQ(w.app().doc().CurrentFolder(), forum1);
  EXPECT_EQ(tree->currentItem(), tree->FindItem(QStringLiteral("FORUM1")));

  // A log added to the forum shown; a log that grows is no change of names.
  WriteBytes(w.Forum("FORUM1") + "/MES_07.LOG", "");
  QTRY_COMPARE_WITH_TIMEOUT(w.frame().list()->topLevelItemCount(), rows + 1, 5000);
  std::filesystem::rename(w.Forum("NEWFORUM"), w.Forum("RENAMED"));
  QTRY_VERIFY_WITH_TIMEOUT(tree->FindItem(QStringLiteral("RENAMED")) != nullptr, 5000);
  EXPECT_EQ(tree->FindItem(QStringLiteral("NEWFORUM")), nullptr);

  // F5 reads the disk at once; the forum shown gone, the list empties.
  std::filesystem::remove_all(w.Forum("FORUM1"));
  QTest::keyClick(&w.frame(), Qt::Key_F5);
  EXPECT_EQ(tree->FindItem(QStringLiteral("FORUM1")), nullptr);
  EXPECT_EQ(w.app().doc().CurrentFolder(), nullptr);
  EXPECT_EQ(w.frame().list()->topLevelItemCount(), 0);
  EXPECT_TRUE(w.messages().boxes.empty());
}

}  // namespace
