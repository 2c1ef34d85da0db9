// The undo records a split leaves on its entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/log_file.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace {

class UndoRecordsTest : public ::testing::Test {
 protected:
  UndoRecordsTest() : clock_(plat::MakeLocalTime(1998, 2, 10)), messenger_(port_, mode_) {
    entry_.name = "MES_05.LOG";
    entry_.kind = kKindBody;
    entry_.room = 5;
    entry_.lowest = 1;
    entry_.highest = 3500;
    WriteBytes(dir_.Sub("MES_05.B02"), "backup");
    plat::SetFileTime(dir_.Sub("MES_05.B02"), backupTime_);
  }

  TempDir dir_;
  FixedClock clock_;
  ScriptedMessages port_;
  CompanionMode mode_;
  Messenger messenger_;
  NoProgress progress_;
  CFileEntry entry_;
  const std::time_t backupTime_ = plat::MakeLocalTime(1998, 2, 9, 21, 15, 7);
};

TEST_F(UndoRecordsTest, OneRecordPerOldLogAfterTheEarlierSplits) {
  CUndo earlier;
  earlier.generation = 1;
  earlier.oldLogName = "MES_05.M00";
  entry_.undoList.push_back(earlier);

  CLogFile log(dir_.path(), &entry_, messenger_, progress_, clock_);
  std::uint32_t state = kNamingFresh;
  ASSERT_FALSE(log.MakeOldLogNames(1000, 1, 2500, kFormArchive, kMethodMultiple, state));
  ASSERT_TRUE(log.Open("MES_05.B02"));
  const std::vector<std::string> lines{"first", "second", "current"};
  log.RecordUndo(2, lines, kFormArchive);

  ASSERT_EQ(entry_.undoList.size(), 3u);
  EXPECT_EQ(entry_.undoList[0].oldLogName, "MES_05.M00");
  const char* names[] = {"AR_9802A.LOG", "AR_9802B.LOG"};
  for (int i = 0; i < 2; ++i) {
    const CUndo& undo = entry_.undoList[static_cast<std::size_t>(i) + 1];
    EXPECT_EQ(undo.generation, 2);
    EXPECT_EQ(undo.oldLogName, names[i]);
    EXPECT_EQ(undo.backupName, "MES_05.B02");
    EXPECT_EQ(undo.backupTime, backupTime_);
    EXPECT_EQ(undo.headerLine, lines[static_cast<std::size_t>(i)]);
    EXPECT_EQ(undo.namingForm, kFormArchive);
    EXPECT_EQ(undo.exported, 0);
    EXPECT_EQ(undo.previousLowest, log.previousLowest());
    EXPECT_EQ(undo.previousHighest, log.previousHighest());
  }
  EXPECT_TRUE(log.Close());
}

TEST_F(UndoRecordsTest, NoOldLogNoRecordAndNoBackupNoRecord) {
  {
    CLogFile log(dir_.path(), &entry_, messenger_, progress_, clock_);
    std::uint32_t state = kNamingFresh;
    ASSERT_FALSE(log.MakeOldLogNames(1000, 10, 1000, kFormSerial, kMethodMultiple, state));
    ASSERT_TRUE(log.Open("MES_05.B02"));
    log.RecordUndo(0, {"current"}, kFormSerial);
  }
  {
    // Never opened: there is no backup a record could lead back to.
    CLogFile log(dir_.path(), &entry_, messenger_, progress_, clock_);
    std::uint32_t state = kNamingFresh;
    ASSERT_FALSE(log.MakeOldLogNames(3000, 1, 3500, kFormSerial, kMethodSingle, state));
    log.RecordUndo(0, {"old", "current"}, kFormSerial);
  }
  EXPECT_TRUE(entry_.undoList.empty());
}

}  // namespace
