// The undo records a split leaves on its entry.
#include <gtest/gtest.h>

#include "engine/log_file.h"
#include "messages/scripted_messages.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "tests/support/temp_dir.h"

TEST(UndoRecords, OneRecordPerOldLogAfterTheEarlierSplits) {
  TempDir dir;
  FixedClock clock(plat::MakeLocalTime(1998, 2, 10));
  ScriptedMessages port;
  CompanionMode mode;
  Messenger messenger(port, mode);
  NoProgress progress;
  const std::time_t backupTime = plat::MakeLocalTime(1998, 2, 9, 21, 15, 7);
  WriteBytes(dir.Sub("MES_05.B02"), "backup");
  plat::SetFileTime(dir.Sub("MES_05.B02"), backupTime);
  CFileEntry entry;
  entry.name = "MES_05.LOG";
  entry.kind = kKindBody;
  entry.undoList.emplace_back();

  CLogFile log(dir.path(), &entry, messenger, progress, clock);
  std::uint32_t state = kNamingFresh;
  ASSERT_FALSE(log.MakeOldLogNames(1000, 1, 2500, NamingForm::Archive, SplitMethod::Multiple, state));
  ASSERT_TRUE(log.Open("MES_05.B02"));
  log.RecordUndo(2, {"first", "second", "current"}, NamingForm::Archive, "MES_05.B02");
  ASSERT_EQ(entry.undoList.size(), 3u);
  const char* names[] = {"AR_9802A.LOG", "AR_9802B.LOG"};
  const char* lines[] = {"first", "second"};
  for (std::size_t i = 0; i < 2; ++i) {
    const CUndo& undo = entry.undoList[i + 1];
    EXPECT_EQ(undo.generation, 2);
    EXPECT_EQ(undo.oldLogName, names[i]);
    EXPECT_EQ(undo.backupName, "MES_05.B02");
    EXPECT_EQ(undo.backupTime, backupTime);
    EXPECT_EQ(undo.headerLine, lines[i]);
    EXPECT_EQ(undo.namingForm, NamingForm::Archive);
    EXPECT_EQ(undo.exported, 0);
  }
}
