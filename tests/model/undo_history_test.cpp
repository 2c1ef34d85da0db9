// The history file a forum folder appends to when it goes.
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <string>

#include "model/directory.h"
#include "model/undo_history.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

class UndoHistoryTest : public ::testing::Test {
 protected:
  UndoHistoryTest() : clock_(plat::MakeLocalTime(1998, 2, 14, 9, 5, 42)) {
    MakeDir(dir_.Sub("FORUM1"));
  }

  std::unique_ptr<CDirectory> Folder() {
    return std::make_unique<CDirectory>("FORUM1", dir_.Sub("FORUM1"), &clock_);
  }

  static void AddEntry(CDirectory& folder, const std::string& name,
                       std::initializer_list<std::pair<const char*, const char*>> records) {
    auto entry = std::make_unique<CFileEntry>();
    entry->name = name;
    for (const auto& [oldLog, line] : records) {
      CUndo undo;
      undo.oldLogName = oldLog;
      undo.headerLine = line;
      entry->undoList.push_back(undo);
    }
    folder.entries.push_back(std::move(entry));
  }

  std::string History() const { return ReadBytes(dir_.Sub("FORUM1/FORUM1.KIV")); }

  TempDir dir_;
  FixedClock clock_;
};

// "- FORUM1  MES( 5):5番会議室(00001-03000) 98/02/10 -" in CP932.
const std::string kLine =
    "- FORUM1  MES( 5):5\x94\xd4\x89\xef\x8b\x63\x8e\xba(00001-03000) 98/02/10 -";

TEST_F(UndoHistoryTest, EachChangedLogGetsADatedBlockAppended) {
  WriteBytes(dir_.Sub("FORUM1/FORUM1.KIV"), "kept\r\n");
  {
    auto folder = Folder();
    AddEntry(*folder, "MES_05.LOG", {{"AR_9802A.LOG", kLine.c_str()}, {"AR_9802B.LOG", "- two -"}});
    AddEntry(*folder, "MES_06.LOG", {});
    AddEntry(*folder, "MES#05.LOG", {{"AR#9802A.LOG", "- title -"}});
  }
  const std::string stamp = "\r\n==================== 1998/02/14 09:05 ====================\r\n";
  EXPECT_EQ(History(), "kept\r\n" + stamp + "M AR_9802A.LOG " + kLine + "\r\nM AR_9802B.LOG - two -\r\n" +
                           stamp + "M AR#9802A.LOG - title -\r\n");
}

TEST_F(UndoHistoryTest, AFolderWithoutRecordsWritesNothing) {
  { auto folder = Folder(); AddEntry(*folder, "MES_05.LOG", {}); }
  EXPECT_FALSE(plat::FileExists(dir_.Sub("FORUM1/FORUM1.KIV")));
}

TEST_F(UndoHistoryTest, TheSharedLogFolderIsNamedByItsLastComponent) {
  CDirectory shared(dir_.Sub("FORUM1"), dir_.Sub("FORUM1"), &clock_);
  EXPECT_EQ(shared.HistoryFilePath(), dir_.Sub("FORUM1/FORUM1.KIV"));
  // A backslash is a character of a folder's name on this file system.
  CDirectory odd("A\\B", dir_.Sub("A\\B"), &clock_);
  EXPECT_EQ(odd.HistoryFilePath(), dir_.Sub("A\\B/A\\B.KIV"));
}

TEST_F(UndoHistoryTest, AFailedWriteLeavesTheFileAsItWas) {
  WriteBytes(dir_.Sub("FORUM1/FORUM1.KIV"), "kept\r\n");
  auto folder = Folder();
  AddEntry(*folder, "MES_05.LOG", {{"AR_9802A.LOG", "- one -"}});
  {
    InjectedFault fault(plat::FileOp::Write, "FORUM1.KIV", ENOSPC);
    EXPECT_FALSE(folder->WriteUndoHistory());
    EXPECT_GT(fault.hits(), 0);
  }
  EXPECT_EQ(History(), "kept\r\n");

  // A file the append would have created is not left behind half-written.
  plat::DeleteFile(dir_.Sub("FORUM1/FORUM1.KIV"));
  {
    InjectedFault fault(plat::FileOp::Write, "FORUM1.KIV", EIO);
    EXPECT_FALSE(folder->WriteUndoHistory());
  }
  EXPECT_FALSE(plat::FileExists(dir_.Sub("FORUM1/FORUM1.KIV")));
  folder->entries.clear();
}

TEST_F(UndoHistoryTest, AHistoryThatCantBeOpenedIsSkipped) {
  MakeDir(dir_.Sub("FORUM1/FORUM1.KIV"));
  auto folder = Folder();
  AddEntry(*folder, "MES_05.LOG", {{"AR_9802A.LOG", "- one -"}});
  EXPECT_FALSE(folder->WriteUndoHistory());
  EXPECT_TRUE(plat::IsDirectory(dir_.Sub("FORUM1/FORUM1.KIV")));
  folder.reset();  // destroying it is silent all the same
}

}  // namespace
