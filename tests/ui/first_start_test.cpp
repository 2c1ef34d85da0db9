// Kiv's window at a first start, with nothing of its own stored: the list's
// columns hold their texts in the font in use, and the window a whole row.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>

#include "profile/qsettings_profile.h"
#include "resources/ids.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_run.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"

namespace {

TEST(FirstStart, ColumnsHoldTheirTextsAndTheWindowAWholeRow) {
  TempDir dir;
  const std::string shared = dir.Sub("logs");
  ASSERT_EQ(std::system((std::string(KIV_SAMPLEGEN_PATH) + " " + shared + " --forums 1 --rooms 3 >/dev/null").c_str()),
            0);
  const std::string ini = dir.Sub("Tallowick.ini");
  QSettingsProfile(ini).WriteProfileString("Setting", "LOGFILE", shared);
  KivRun run(ini, false);
  CMainFrame frame(run.app);
  frame.ShowFirstTime();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  CKivTreeView* tree = frame.tree();
  QTreeWidgetItem* forum = tree->FindItem(QStringLiteral("FORUM1"));
  ASSERT_NE(forum, nullptr);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(forum).center());
  CKivListView* list = frame.list();
  ASSERT_GT(list->topLevelItemCount(), 0);
  list->selectAll();
  frame.action(ids::kCmdAnalyze)->trigger();  // analysed, so the numbers show too
  QTest::qWait(20);

  // What the list itself finds its rows and headers need, in its font.
  const QAbstractItemView* view = list;
  const CKivListView::ColumnWidths widths = list->CurrentWidths();
  for (int c = 0; c < kListColumns; ++c) {
    const int width = widths[static_cast<std::size_t>(c)];
    EXPECT_GE(width, list->header()->sectionSizeHint(c)) << "header of column " << c;
    EXPECT_GE(width, view->sizeHintForColumn(c)) << "rows of column " << c;
  }
  // A size of some gigabytes fits too.
  list->topLevelItem(0)->setText(kColumnSize, QStringLiteral("4,294,967,296"));
  EXPECT_GE(widths[kColumnSize], view->sizeHintForColumn(kColumnSize));

  // Nothing to scroll sideways: the whole row is in the window.
  int total = 0;
  for (int w : widths) total += w;
  EXPECT_GE(list->viewport()->width(), total);
  EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
  frame.close();
  run.app.Exit();
}

}  // namespace
