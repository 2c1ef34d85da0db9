// Kiv closed or killed while it split: when the user opens the forum again,
// the split cut short is finished before the list is shown, and the user is
// told in a box.
#include <gtest/gtest.h>

#include "resources/ids.h"
#include "resources/string_table.h"
#include "tests/support/stopped_commit.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_window.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/main_frame.h"

namespace {

TEST(RepairWindow, OpeningAForumFinishesASplitCutShortAndSaysSo) {
  KivWindow w("--forums 2 --rooms 2");
  const std::string forum = w.Forum("FORUM1");
  const std::string original = ReadBytes(forum + "/MES_01.LOG");
  ASSERT_TRUE(
      LeaveStoppedSplit(forum, "MES_01.LOG", "MES_01.B00", "AR_2402A.LOG", "old messages\r\n", "new messages\r\n"));

  w.ClickNode(QStringLiteral("FORUM1"));
  ASSERT_EQ(w.MessageIds(), std::vector<int>{ids::kMsgRepairSplitFinished});
  EXPECT_NE(w.messages().boxes[0].text.find("MES_01.LOG"), std::string::npos);
  EXPECT_EQ(ReadBytes(forum + "/MES_01.LOG"), "new messages\r\n");
  EXPECT_EQ(ReadBytes(forum + "/AR_2402A.LOG"), "old messages\r\n");
  EXPECT_EQ(ReadBytes(forum + "/MES_01.B00"), original);
  // The list shows the folder as the repair left it, with no working files.
  const QStringList names = w.Column(0);
  EXPECT_TRUE(names.contains(QStringLiteral("MES_01.LOG")));
  for (const QString& name : names) EXPECT_FALSE(name.startsWith(QStringLiteral("~KIV-"))) << name.toStdString();

  // Opening it again finds nothing left to do.
  w.ClickNode(QStringLiteral("FORUM2"));
  w.ClickNode(QStringLiteral("FORUM1"));
  EXPECT_EQ(w.MessageIds().size(), 1u);
}

}  // namespace
