#include <gtest/gtest.h>

#include <cerrno>

#include "commands/export_command.h"
#include "commands/split_command.h"
#include "platform/file_ops.h"
#include "tests/commands/forum_fixture.h"

namespace {

class ExportCommand : public ::testing::Test, public ForumFixture {
 protected:
  void SplitRoomsAt(const std::vector<int>& rooms, NamingForm form) {
    AnalyzeRooms(rooms);
    Refresh();
    SelectRooms(rooms);
    dialogs.onSingle = [form](SplitSingleValues& v) {
      v.choices.m_nNumber = 1000;
      v.choices.m_nForm = form;
    };
    dialogs.onMulti = [form](SplitMultiValues& v) {
      v.m_nNumber = 1000;
      v.m_nMethod = SplitMethod::Multiple;
      v.m_nForm = form;
    };
    ASSERT_EQ(OnSplit(ctx, dialogs).kind, SplitOutcome::Kind::Ran);
  }
  ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(ExportCommand, TheBodyOldLogCarriesTheRoomAndItsTitleTwinGetsNoLine) {
  WriteLog(1, kKindBody, 1, 1500);
  WriteLog(1, kKindTitle, 1, 1500);
  SplitRoomsAt({1}, NamingForm::Archive);
  ASSERT_TRUE(Exists("AR_9802A.LOG"));
  ASSERT_TRUE(Exists("AR#9802A.LOG"));
  ExportReport r = OnExportHeaders(ctx);
  EXPECT_EQ(r.lines, 1);
  EXPECT_EQ(ReadBytes(Path("AR.LST")),
            "M AR_9802A.LOG - FORUM1  MES( 1):1\x94\xd4\x89\xef\x8b\x63\x8e\xba(00001-01000) 98/02/10 -\r\n");

  // A second run without a split in between changes nothing.
  const std::string once = ReadBytes(Path("AR.LST"));
  plat::FileStatus before;
  plat::GetFileStatus(Path("AR.LST"), &before);
  EXPECT_EQ(OnExportHeaders(ctx).lines, 0);
  EXPECT_EQ(ReadBytes(Path("AR.LST")), once);
  EXPECT_TRUE(messages.boxes.size() == 1u) << "only the split's confirmation was ever shown";
}

TEST_F(ExportCommand, RoomsComeInOrderAndLinesFollowALastLineWithoutItsEnd) {
  WriteLog(3, kKindBody, 1, 1500);
  WriteLog(1, kKindBody, 1, 1500);
  WriteLog(2, kKindTitle, 1, 1500);
  WriteBytes(Path("AR.LST"), "M OLD.LOG - x -");
  SplitRoomsAt({3, 1, 2}, NamingForm::Archive);
  EXPECT_EQ(OnExportHeaders(ctx).lines, 3);
  const std::string list = ReadBytes(Path("AR.LST"));
  EXPECT_EQ(list.rfind("M OLD.LOG - x -M AR_9802", 0), 0u);
  const auto room1 = list.find("MES( 1)"), room2 = list.find("MES( 2)"), room3 = list.find("MES( 3)");
  ASSERT_NE(room3, std::string::npos);
  EXPECT_LT(room1, room2);
  EXPECT_LT(room2, room3);
  // Only the title log of room 2 was split: its old log is exported.
  EXPECT_NE(list.find("M AR#9802"), std::string::npos);
}

TEST_F(ExportCommand, SerialFormOldLogsAreNotExported) {
  WriteLog(1, kKindBody, 1, 1500);
  SplitRoomsAt({1}, NamingForm::Serial);
  EXPECT_EQ(OnExportHeaders(ctx).lines, 0);
  EXPECT_FALSE(Exists("AR.LST"));
}

TEST_F(ExportCommand, AFailedWriteLeavesTheListAsItWasAndTheRecordsToExport) {
  WriteLog(1, kKindBody, 1, 1500);
  WriteBytes(Path("AR.LST"), "M OLD.LOG - x -\r\n");
  SplitRoomsAt({1}, NamingForm::Archive);
  {
    FailOperation fail(plat::FileOp::Write, "AR.LST", ENOSPC);
    ExportReport r = OnExportHeaders(ctx);
    EXPECT_TRUE(r.failed);
  }
  ASSERT_EQ(messages.fileErrors.size(), 1u);
  EXPECT_EQ(messages.fileErrors[0].file, "AR.LST");
  EXPECT_EQ(ReadBytes(Path("AR.LST")), "M OLD.LOG - x -\r\n");
  EXPECT_EQ(OnExportHeaders(ctx).lines, 1) << "the records are offered again";
}

TEST_F(ExportCommand, ARoomWithTwoBodyLogsExportsTheOldLogsOfBoth) {
  // MES_01X.LOG also reads as room 1.
  WriteLog(1, kKindBody, 1, 1500);
  ASSERT_TRUE(plat::RenameNoReplace(Path("MES_01.LOG"), Path("MES_01X.LOG")));
  WriteLog(1, kKindBody, 1, 1500);
  SplitRoomsAt({1}, NamingForm::Serial);  // serial form: each log names its own old log
  for (auto& entry : dir->entries) {
    for (CUndo& u : entry->undoList) u.namingForm = NamingForm::Archive;  // as if archive-form names
  }
  std::vector<CUndo*> records = CollectExportRecords(*dir);
  EXPECT_EQ(records.size(), 2u);
}
