// Kiv closed or killed while it split: when the user opens the forum again,
// the split cut short is finished before the list is shown, and the user is
// told in a box.
#include <cerrno>

#include <gtest/gtest.h>

#include "commit/split_commit.h"
#include "platform/fault_injection.h"
#include "resources/string_table.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_window.h"
#include "ui/kiv_list_view.h"
#include "ui/main_frame.h"

namespace {

// A split of MES_01.LOG committed in its journal and stopped before any file
// moved, as a kill would leave it.
void LeaveAStoppedSplit(const std::string& forum) {
  commit::SplitPlan plan;
  plan.folder = forum;
  plan.logName = "MES_01.LOG";
  plan.backupName = "MES_01.B00";
  plan.outputNames = {"AR_2402A.LOG", "MES_01.LOG"};
  commit::SplitCommit split;
  commit::Fault fault;
  ASSERT_TRUE(split.Begin(plan, &fault));
  WriteBytes(forum + "/" + plan.tempNames[0], "old messages\r\n");
  WriteBytes(forum + "/" + plan.tempNames[1], "new messages\r\n");
  plat::FileIdentity source;
  ASSERT_TRUE(plat::GetFileIdentity(forum + "/MES_01.LOG", &source));
  plat::SetFaultHook(+[](plat::FileOp op, const char*) {
    return op == plat::FileOp::Link || op == plat::FileOp::Delete ? EIO : 0;
  });
  EXPECT_EQ(split.Commit(source, &fault), commit::Outcome::Stuck);
  plat::SetFaultHook(nullptr);
}

TEST(RepairWindow, OpeningAForumFinishesASplitCutShortAndSaysSo) {
  KivWindow w("--forums 2 --rooms 2");
  const std::string forum = w.Forum("FORUM1");
  const std::string original = ReadBytes(forum + "/MES_01.LOG");
  LeaveAStoppedSplit(forum);

  w.ClickNode(QStringLiteral("FORUM1"));
  ASSERT_EQ(w.Captions(), std::vector<std::string>{std::string(KivString(50225))});
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
  EXPECT_EQ(w.Captions().size(), 1u);
}

}  // namespace
