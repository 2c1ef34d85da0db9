#include "commands/archive_list.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/dir_search.h"
#include "platform/fault_injection.h"
#include "tests/support/temp_dir.h"

namespace {

// "ＭＥＳ" and a description in CP932, as the host writes them.
const std::string kDescription = "- FORUM1  MES( 1):\x8e\x47\x92\x6b(00001-00008) 97/04/21 -";

class ArchiveListTest : public ::testing::Test {
 protected:
  std::string List() const { return tmp_.Sub("AR.LST"); }
  void Touch(const std::string& name) { WriteBytes(tmp_.Sub(name), "log\r\n"); }
  ReconcileResult Reconcile() {
    std::vector<plat::FoundItem> listing;
    plat::FindFiles(tmp_.path(), "*.*", &listing);
    return ReconcileArchiveList(tmp_.path(), listing);
  }
  std::vector<std::string> Names() const {
    std::vector<plat::FoundItem> listing;
    plat::FindFiles(tmp_.path(), "*.*", &listing);
    std::vector<std::string> names;
    for (const auto& i : listing) names.push_back(i.name);
    return names;
  }
  TempDir tmp_;
};

TEST_F(ArchiveListTest, ListWhoseFilesAllExistIsRewrittenByteForByte) {
  Touch("AR_9704A.LOG");
  Touch("AR_9705A.LOG");
  MakeDir(tmp_.Sub("AR_OLD"));  // a folder counts as much as a file
  std::string longLine = "M AR_9705A.LOG " + std::string(1500, 'x') + "\r\n";
  std::string bytes = "M AR_9704A.LOG " + kDescription + "\r\n" + longLine +
                      "   M   AR_OLD   spaced  \r\n"
                      "M AR_9704A.LOG last line without its end";
  WriteBytes(List(), bytes);
  ReconcileResult r = Reconcile();
  EXPECT_EQ(r.outcome, ReconcileOutcome::Rewritten);
  EXPECT_EQ(r.kept, 4u);
  EXPECT_EQ(r.dropped, 0u);
  EXPECT_EQ(ReadBytes(List()), bytes);
  EXPECT_EQ(Names(), (std::vector<std::string>{"AR.LST", "AR_9704A.LOG", "AR_9705A.LOG", "AR_OLD"}));
}

TEST_F(ArchiveListTest, DropsLinesOfMissingFilesAndLinesWithoutADescription) {
  Touch("AR_9701A.LOG");
  Touch("AR_9703A.LOG");
  WriteBytes(List(),
             "M AR_9701A.LOG first\r\n"
             "M AR_9702A.LOG gone\r\n"
             "\r\n"
             "M\r\n"
             "M AR_9701A.LOG\r\n"        // the name carries the line end: no such file
             "M ar_9703a.log third\r\n"  // the host's names match in any case
             "M AR_9704A.LOG gone too\r\n");
  ReconcileResult r = Reconcile();
  EXPECT_EQ(r.outcome, ReconcileOutcome::Rewritten);
  EXPECT_EQ(r.kept, 2u);
  EXPECT_EQ(r.dropped, 5u);
  EXPECT_EQ(ReadBytes(List()), "M AR_9701A.LOG first\r\nM ar_9703a.log third\r\n");
}

TEST_F(ArchiveListTest, LongLineIsKeptOrDroppedWhole) {
  // Judging the 1023-byte pieces one by one would keep the start of the
  // first line and glue it onto the next line kept.
  Touch("AR_9705A.LOG");
  std::string lostLong = "M AR_9702A.LOG " + std::string(1100, 'y') + " AR_9705A.LOG tail\r\n";
  std::string keptLong = "M AR_9705A.LOG " + std::string(2100, 'z') + " AR_9702A.LOG tail\r\n";
  WriteBytes(List(), lostLong + keptLong + "M AR_9705A.LOG short\r\n");
  Reconcile();
  EXPECT_EQ(ReadBytes(List()), keptLong + "M AR_9705A.LOG short\r\n");
}

TEST_F(ArchiveListTest, FolderWithoutListIsLeftAlone) {
  Touch("AR_9705A.LOG");
  EXPECT_EQ(Reconcile().outcome, ReconcileOutcome::NoList);
  EXPECT_EQ(Names(), (std::vector<std::string>{"AR_9705A.LOG"}));
}

// Every way the rewrite can fail, one at a time: the list keeps its
// contents and nothing is left beside it.
struct InjectedFault {
  plat::FileOp op;
  const char* pathPart;  // the operation fails only on a path holding this
};
InjectedFault g_fault;
int FailOne(plat::FileOp op, const char* path) {
  return op == g_fault.op && std::strstr(path, g_fault.pathPart) ? EIO : 0;
}

class ArchiveListFaultTest : public ArchiveListTest, public ::testing::WithParamInterface<InjectedFault> {
 protected:
  void TearDown() override { plat::SetFaultHook(nullptr); }
};

TEST_P(ArchiveListFaultTest, FailedRewriteLeavesTheListWhole) {
  Touch("AR_9701A.LOG");
  std::string bytes = "M AR_9701A.LOG kept\r\nM AR_9702A.LOG gone\r\n";
  WriteBytes(List(), bytes);
  g_fault = GetParam();
  plat::SetFaultHook(FailOne);
  ReconcileResult r = Reconcile();
  plat::SetFaultHook(nullptr);
  EXPECT_NE(r.outcome, ReconcileOutcome::Rewritten);
  EXPECT_EQ(ReadBytes(List()), bytes);
  EXPECT_EQ(Names(), (std::vector<std::string>{"AR.LST", "AR_9701A.LOG"}));
}

INSTANTIATE_TEST_SUITE_P(
    EachFileOperation, ArchiveListFaultTest,
    ::testing::Values(InjectedFault{plat::FileOp::Open, "AR.LST"}, InjectedFault{plat::FileOp::Read, "AR.LST"},
                      InjectedFault{plat::FileOp::Open, "AR.LST.new"}, InjectedFault{plat::FileOp::Write, "AR.LST.new"},
                      InjectedFault{plat::FileOp::Sync, "AR.LST.new"}, InjectedFault{plat::FileOp::Close, "AR.LST.new"},
                      InjectedFault{plat::FileOp::Rename, "AR.LST.new"}));

TEST_F(ArchiveListTest, NeverOverwritesAFileWhereTheNewListWouldGo) {
  Touch("AR_9701A.LOG");
  WriteBytes(tmp_.Sub("AR.LST.new"), "the user's own\r\n");
  // What many killed runs would have left: it never uses the names up.
  for (int n = 1; n < 150; ++n) Touch("AR.LST.new" + std::to_string(n));
  WriteBytes(List(), "M AR_9701A.LOG kept\r\nM AR_9702A.LOG gone\r\n");
  EXPECT_EQ(Reconcile().outcome, ReconcileOutcome::Rewritten);
  EXPECT_EQ(ReadBytes(List()), "M AR_9701A.LOG kept\r\n");
  EXPECT_EQ(ReadBytes(tmp_.Sub("AR.LST.new")), "the user's own\r\n");
}

TEST_F(ArchiveListTest, LinkedListIsRewrittenWhereItLies) {
  Touch("AR_9701A.LOG");
  MakeDir(tmp_.Sub("lists"));
  WriteBytes(tmp_.Sub("lists/FORUM1.LST"), "M AR_9701A.LOG kept\r\nM AR_9702A.LOG gone\r\n");
  std::filesystem::create_symlink("lists/FORUM1.LST", List());
  EXPECT_EQ(Reconcile().outcome, ReconcileOutcome::Rewritten);
  EXPECT_TRUE(std::filesystem::is_symlink(List()));
  EXPECT_EQ(ReadBytes(tmp_.Sub("lists/FORUM1.LST")), "M AR_9701A.LOG kept\r\n");
}

}  // namespace
