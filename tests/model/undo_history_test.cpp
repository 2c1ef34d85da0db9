// The history file a forum folder appends to when it goes.
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include "model/directory.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

class UndoHistoryTest : public ::testing::Test {
 protected:
  UndoHistoryTest() : clock_(plat::MakeLocalTime(1998, 2, 14, 9, 5, 42)) { MakeDir(dir_.Sub("FORUM1")); }

  std::unique_ptr<CDirectory> Folder() {
    auto folder = std::make_unique<CDirectory>("FORUM1", dir_.Sub("FORUM1"), &clock_);
    Add(*folder, "MES_05.LOG",
        {{"AR_9802A.LOG", "- FORUM1  MES( 5):\x83\x65(00001-03000) 98/02/10 -"}, {"AR_9802B.LOG", "- two -"}});
    Add(*folder, "MES_06.LOG", {});
    Add(*folder, "MES#05.LOG", {{"AR#9802A.LOG", "- title -"}});
    return folder;
  }
  static void Add(CDirectory& folder, const char* name,
                  std::initializer_list<std::pair<const char*, const char*>> records) {
    auto entry = std::make_unique<CFileEntry>();
    entry->name = name;
    for (const auto& [oldLog, line] : records) {
      entry->undoList.emplace_back();
      entry->undoList.back().oldLogName = oldLog;
      entry->undoList.back().headerLine = line;
    }
    folder.entries.push_back(std::move(entry));
  }
  std::string History() const { return ReadBytes(dir_.Sub("FORUM1/FORUM1.KIV")); }

  TempDir dir_;
  FixedClock clock_;
};

TEST_F(UndoHistoryTest, EachChangedLogGetsADatedBlockAppended) {
  WriteBytes(dir_.Sub("FORUM1/FORUM1.KIV"), "kept\r\n");
  Folder().reset();
  const std::string stamp = "\r\n==================== 1998/02/14 09:05 ====================\r\n";
  EXPECT_EQ(History(), "kept\r\n" + stamp +
                           "M AR_9802A.LOG - FORUM1  MES( 5):\x83\x65(00001-03000) 98/02/10 -\r\n"
                           "M AR_9802B.LOG - two -\r\n" +
                           stamp + "M AR#9802A.LOG - title -\r\n");
}

TEST_F(UndoHistoryTest, AFailedWriteLeavesTheFileAsItWas) {
  auto folder = Folder();
  WriteBytes(dir_.Sub("FORUM1/FORUM1.KIV"), "kept\r\n");
  {
    InjectedFault fault(plat::FileOp::Write, "FORUM1.KIV", EIO);
    EXPECT_FALSE(folder->WriteUndoHistory());
  }
  EXPECT_EQ(History(), "kept\r\n");
  {
    // Unsure whether the file exists, the append could not be taken back safely.
    InjectedFault statusFault(plat::FileOp::Status, "FORUM1.KIV", EIO);
    EXPECT_FALSE(folder->WriteUndoHistory());
  }
  EXPECT_EQ(History(), "kept\r\n");
  folder->entries.clear();
}

TEST_F(UndoHistoryTest, HistoryFileIsNamedAfterTheFolder) {
  // The shared log folder is named by its path; a backslash is just a
  // character of a folder's name on this file system.
  EXPECT_EQ(CDirectory(dir_.Sub("FORUM1"), dir_.Sub("FORUM1")).HistoryFilePath(), dir_.Sub("FORUM1/FORUM1.KIV"));
  EXPECT_EQ(CDirectory("A\\B", dir_.Sub("A\\B")).HistoryFilePath(), dir_.Sub("A\\B/A\\B.KIV"));
}

}  // namespace
