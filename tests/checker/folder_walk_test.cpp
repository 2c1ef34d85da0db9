#include "checker/folder_walk.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

const char kStale[] = "M AR_9701A.LOG kept\r\nM AR_9702A.LOG gone\r\n";
const char kReconciled[] = "M AR_9701A.LOG kept\r\n";

class RecordingObserver : public WalkObserver {
 public:
  void EnteringFolder(const std::string& name) override { entered.push_back(name); }
  void Reconciled(const std::string& folder, const ReconcileResult&) override { reconciled.push_back(folder); }
  std::vector<std::string> entered;
  std::vector<std::string> reconciled;
};

class FolderWalkTest : public ::testing::Test {
 protected:
  // A folder holding one existing old log and a list that names it and a
  // missing one.
  void MakeForum(const std::string& folder) {
    MakeDir(folder);
    WriteBytes(folder + "/AR_9701A.LOG", "log\r\n");
    WriteBytes(folder + "/AR.LST", kStale);
  }
  std::string ListOf(const std::string& folder) { return ReadBytes(folder + "/AR.LST"); }
  TempDir tmp_;
  RecordingObserver observer_;
};

TEST_F(FolderWalkTest, ReconcilesOnlyFoldersWithoutSubfoldersAndSkipsHostPages) {
  std::string root = tmp_.path();
  MakeForum(root);                 // has subfolders: not a forum
  MakeForum(root + "/FORUM1");     // holds only HP: still a forum
  MakeForum(root + "/FORUM1/HP");  // never walked
  MakeForum(root + "/GROUP1");     // has a subfolder: not a forum
  MakeForum(root + "/GROUP1/FORUM2");
  MakeForum(root + "/hp");  // skipped in any case
  WalkSummary summary = WalkSharedLogFolder(root, &observer_);

  EXPECT_EQ(ListOf(root + "/FORUM1"), kReconciled);
  EXPECT_EQ(ListOf(root + "/GROUP1/FORUM2"), kReconciled);
  EXPECT_EQ(ListOf(root), kStale);
  EXPECT_EQ(ListOf(root + "/FORUM1/HP"), kStale);
  EXPECT_EQ(ListOf(root + "/GROUP1"), kStale);
  EXPECT_EQ(ListOf(root + "/hp"), kStale);

  // Depth first, each subfolder named alone as the walk enters it.
  EXPECT_EQ(observer_.entered, (std::vector<std::string>{"FORUM1", "GROUP1", "FORUM2"}));
  EXPECT_EQ(observer_.reconciled, (std::vector<std::string>{root + "/FORUM1", root + "/GROUP1/FORUM2"}));
  EXPECT_EQ(summary.listsRewritten, 2u);
  EXPECT_EQ(summary.linesDropped, 2u);
}

TEST_F(FolderWalkTest, SharedLogFolderWithoutSubfoldersIsItselfReconciled) {
  MakeForum(tmp_.path());
  MakeForum(tmp_.Sub("HP"));
  WalkSharedLogFolder(tmp_.path(), &observer_);
  EXPECT_EQ(ListOf(tmp_.path()), kReconciled);
  EXPECT_EQ(ListOf(tmp_.Sub("HP")), kStale);
  EXPECT_TRUE(observer_.entered.empty());
}

TEST_F(FolderWalkTest, LinkBackToAnAncestorEndsTheWalk) {
  MakeForum(tmp_.Sub("FORUM1"));
  std::filesystem::create_directory_symlink(tmp_.path(), tmp_.Sub("FORUM1/loop"));
  MakeForum(tmp_.Sub("FORUM2"));
  WalkSharedLogFolder(tmp_.path(), &observer_);
  // FORUM1 has a subfolder, even one that leads back; FORUM2 is a forum.
  EXPECT_EQ(ListOf(tmp_.Sub("FORUM1")), kStale);
  EXPECT_EQ(ListOf(tmp_.Sub("FORUM2")), kReconciled);
}

}  // namespace
