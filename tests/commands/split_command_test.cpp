#include <gtest/gtest.h>

#include <cerrno>

#include "commands/split_command.h"
#include "platform/file_ops.h"
#include "resources/ids.h"
#include "tests/commands/forum_fixture.h"

namespace {

class SplitCommand : public ::testing::Test, public ForumFixture {
 protected:
  SplitOutcome Split(const std::vector<int>& rooms) {
    Refresh();
    SelectRooms(rooms);
    return OnSplit(ctx, dialogs);
  }
  ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(SplitCommand, SeveralRoomsCutAtTheHighestThousandThatLeavesTheNumber) {
  WriteLog(3, kKindBody, 1, 12345);
  WriteLog(7, kKindBody, 1, 400);
  AnalyzeRooms({3, 7});
  dialogs.onMulti = [](SplitMultiValues& v) { v.m_nNumber = 500; };
  SplitOutcome out = Split({3, 7});
  ASSERT_EQ(out.kind, SplitOutcome::Kind::Ran);
  EXPECT_EQ(dialogs.multi.m_nKindIndex, kKindIndexBoth);
  EXPECT_EQ(dialogs.multi.m_nNumber, 0);
  EXPECT_EQ(out.report.split, 1);
  EXPECT_EQ(Entry("MES_03.LOG").lowest, 11001);
  EXPECT_EQ(Entry("MES_03.LOG").highest, 12345);
  EXPECT_EQ(Entry("MES_03.LOG").undoList.at(0).headerLine.find("(00001-11000)") != std::string::npos, true);
  // A cut at 0 would move nothing of room 7: it is left alone, with no
  // backup, no empty old log and no new generation.
  EXPECT_EQ(out.report.leftAlone, std::vector<int>{7});
  EXPECT_EQ(Entry("MES_07.LOG").lowest, 1);
  EXPECT_EQ(Entry("MES_07.LOG").highest, 400);
  EXPECT_TRUE(Entry("MES_07.LOG").undoList.empty());
  EXPECT_EQ(dir->Generation(3), 1);
  EXPECT_EQ(dir->Generation(7), 0);
  EXPECT_EQ(dir->Generation(4), 0);
  EXPECT_TRUE(Exists("MES_03.B00"));
  EXPECT_FALSE(Exists("MES_07.B00"));
  EXPECT_EQ(out.report.made.size(), 1u);
}

TEST_F(SplitCommand, ARoomWithOnlyATitleLogSplitsOnlyThatLog) {
  const std::string title = WriteLog(2, kKindTitle, 1, 2500);
  WriteLog(4, kKindBody, 1, 100);
  AnalyzeRooms({2, 4});
  Refresh();
  SelectRooms({2});
  SplitOutcome out = OnSplit(ctx, dialogs);
  ASSERT_EQ(out.kind, SplitOutcome::Kind::Ran);
  EXPECT_EQ(dialogs.single.m_strBodyFile, "なし");
  EXPECT_EQ(dialogs.single.m_strBodyRange, "なし");
  EXPECT_EQ(dialogs.single.m_strTitleFile, title);
  EXPECT_EQ(dialogs.single.m_strTitleRange, "    1 -  2500");
  EXPECT_EQ(dialogs.single.choices.m_nKindIndex, kKindIndexTitle);
  EXPECT_EQ(dialogs.single.m_nFilesPresent, kFilesTitle);
  EXPECT_EQ(dialogs.single.choices.m_nNumber, 2000);
  EXPECT_EQ(out.report.split, 1);
  EXPECT_EQ(Entry(title).lowest, 2001);
  EXPECT_TRUE(Entry("MES_04.LOG").undoList.empty());
  EXPECT_TRUE(Exists("AR#9802A.LOG"));
  // The split kept the row's selection and shows the new range.
  const int row = RowOf(title);
  EXPECT_TRUE(rows.IsRowSelected(row));
  EXPECT_EQ(rows.Cell(row, kColumnLowest), "2001");
  EXPECT_EQ(rows.rows[static_cast<std::size_t>(row)].texts.icon, 3);
}

TEST_F(SplitCommand, ALogNotAnalysedOrChangedSinceTurnsSplitIntoAnalyse) {
  const std::string body = WriteLog(1, kKindBody, 1, 50);
  const std::string title = WriteLog(1, kKindTitle, 1, 50);
  SplitOutcome out = Split({1});
  EXPECT_EQ(out.kind, SplitOutcome::Kind::Analysed);
  EXPECT_EQ(dialogs.shown, 0);
  EXPECT_EQ(Entry(body).highest, 50) << "the analysis ran";
  EXPECT_EQ(rows.Cell(RowOf(title), kColumnHighest), "50");

  Touch(title);  // the host appended to the title log
  rows.Select({RowOf(body)});
  out = OnSplit(ctx, dialogs);
  EXPECT_EQ(out.kind, SplitOutcome::Kind::Analysed);
  EXPECT_EQ(out.staleFile, title) << "unselected files of the room count too";
  EXPECT_EQ(dialogs.shown, 0);
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_FALSE(Exists("MES_01.B00"));
}

TEST_F(SplitCommand, AFileChangedAfterTheDialogStopsTheCommandWithoutRaisingGenerations) {
  WriteLog(1, kKindBody, 1, 3000);
  const std::string changed = WriteLog(2, kKindBody, 1, 3000);
  AnalyzeRooms({1, 2});
  dialogs.onMulti = [&](SplitMultiValues& v) {
    v.m_nNumber = 500;
    Touch(changed);
  };
  SplitOutcome out = Split({1, 2});
  ASSERT_EQ(out.kind, SplitOutcome::Kind::Ran);
  EXPECT_TRUE(out.report.stoppedChanged);
  EXPECT_FALSE(out.report.reachedEnd);
  EXPECT_EQ(out.report.split, 1);
  ASSERT_EQ(messages.boxes.size(), 2u);  // the confirmation, then the warning
  EXPECT_EQ(messages.boxes[1].id, ids::kMsgChangedSinceAnalysis);
  EXPECT_EQ(messages.boxes[1].text.rfind(changed + " :\n", 0), 0u);
  EXPECT_EQ(messages.boxes[1].style.icon, MsgIcon::Exclamation);
  EXPECT_TRUE(Exists("MES_01.B00")) << "files split before it stay split";
  EXPECT_FALSE(Exists("MES_02.B00"));
  EXPECT_EQ(dir->Generation(1), 0);
  EXPECT_EQ(dir->Generation(2), 0);
  EXPECT_EQ(rows.Cell(RowOf(changed), kColumnHighest), "3000") << "and the analysis ran";
}

TEST_F(SplitCommand, BackupsFollowTheGenerationOrOneBakFile) {
  const std::string body = WriteLog(1, kKindBody, 1, 5000);
  AnalyzeRooms({1});
  for (int i = 0; i < 3; ++i) dir->RaiseGeneration(1);
  dialogs.onSingle = [](SplitSingleValues& v) { v.choices.m_nNumber = 1000; };
  ASSERT_EQ(Split({1}).kind, SplitOutcome::Kind::Ran);
  EXPECT_TRUE(Exists("MES_01.B03"));
  dialogs.onSingle = [](SplitSingleValues& v) { v.choices.m_nNumber = 2000; };
  ASSERT_EQ(Split({1}).kind, SplitOutcome::Kind::Ran);
  EXPECT_TRUE(Exists("MES_01.B04"));
  EXPECT_EQ(Entry(body).undoList.back().generation, 4);
  EXPECT_EQ(dir->Generation(1), 5);

  doc->m_nBackUp = 0;
  dialogs.onSingle = [](SplitSingleValues& v) { v.choices.m_nNumber = 3000; };
  ASSERT_EQ(Split({1}).kind, SplitOutcome::Kind::Ran);
  EXPECT_TRUE(Exists("MES_01.BAK"));
  EXPECT_EQ(Entry(body).undoList.back().backupName, "MES_01.BAK");
}

TEST_F(SplitCommand, AnExistingBackupIsOverwrittenOnlyWhenTheUserSaysYes) {
  const std::string body = WriteLog(1, kKindBody, 1, 3000);
  WriteBytes(Path("MES_01.B00"), "earlier backup");
  AnalyzeRooms({1});

  messages.Answer(MsgResult::Yes);  // confirmation
  messages.Answer(MsgResult::No);   // keep the backup
  SplitOutcome out = Split({1});
  EXPECT_EQ(out.report.skipped, 1);
  EXPECT_EQ(ReadBytes(Path("MES_01.B00")), "earlier backup");
  ASSERT_EQ(messages.boxes.size(), 2u);
  EXPECT_EQ(messages.boxes[1].id, ids::kMsgBackupExists);
  EXPECT_EQ(messages.boxes[1].text.rfind("MES_01.B00 :\n", 0), 0u);
  EXPECT_EQ(rows.Cell(RowOf(body), kColumnLowest), "1") << "a file skipped before the rename keeps its row";
  EXPECT_EQ(dir->Generation(1), 1) << "the command reached its end";

  {
    // The next split meets B01: make it too, and let it fail to go.
    WriteBytes(Path("MES_01.B01"), "another backup");
    FailOperation fail(plat::FileOp::Delete, "MES_01.B01", EACCES);
    messages.Clear();
    out = Split({1});
    EXPECT_EQ(out.report.skipped, 1);
    ASSERT_EQ(messages.fileErrors.size(), 1u);
    EXPECT_EQ(messages.fileErrors[0].file, "MES_01.B01");
    EXPECT_EQ(ReadBytes(Path("MES_01.B01")), "another backup");
  }

  WriteBytes(Path("MES_01.B02"), "third backup");
  doc->ToggleNoOverwriteConfirm();
  messages.Clear();
  out = Split({1});
  EXPECT_EQ(out.report.split, 1);
  ASSERT_EQ(messages.boxes.size(), 1u) << "only the confirmation is asked";
  EXPECT_NE(ReadBytes(Path("MES_01.B02")), "third backup");
}

TEST_F(SplitCommand, RenameOrEngineFailuresLeaveTheLogInPlace) {
  const std::string body = WriteLog(1, kKindBody, 1, 3000);
  AnalyzeRooms({1});
  const std::string before = ReadBytes(Path(body));
  {
    // The backup name can't be given to the log.
    FailOperation fail(plat::FileOp::Link, body, EBUSY);
    SplitOutcome out = Split({1});
    EXPECT_EQ(out.report.skipped, 1);
    ASSERT_EQ(messages.fileErrors.size(), 1u);
    EXPECT_EQ(messages.fileErrors[0].file, "MES_01.LOG → MES_01.B00");
  }
  EXPECT_EQ(rows.Cell(RowOf(body), kColumnLowest), "1") << "no row keeps the working texts";
  EXPECT_NE(rows.Cell(RowOf(body), kColumnSize), "-");
  {
    // The first old log can't be created: the engine deletes what it made
    // and the log was never touched.
    FailOperation fail(plat::FileOp::Open, "-0.TMP", EACCES);
    messages.Clear();
    SplitOutcome out = Split({1});
    EXPECT_EQ(out.report.skipped, 1);
    EXPECT_EQ(out.report.split, 0);
  }
  EXPECT_EQ(ReadBytes(Path(body)), before);
  EXPECT_FALSE(Exists("MES_01.B00"));
  EXPECT_FALSE(Exists("MES_01.B01"));
  EXPECT_EQ(Entry(body).highest, 3000);
  EXPECT_TRUE(Entry(body).undoList.empty());
  EXPECT_EQ(rows.Cell(RowOf(body), kColumnHighest), "3000");
  {
    // The commit can't put the old log in its place: it is taken back, and
    // the log is whole under its own name with its row as it was.
    FailOperation noOldLog(plat::FileOp::Rename, "-0.TMP", EBUSY);
    messages.Clear();
    EXPECT_EQ(Split({1}).report.skipped, 1);
    ASSERT_EQ(messages.fileErrors.size(), 1u);
    EXPECT_NE(messages.fileErrors[0].file.find(".TMP → AR_9802"), std::string::npos) << messages.fileErrors[0].file;
  }
  EXPECT_EQ(ReadBytes(Path(body)), before);
  EXPECT_FALSE(Exists("MES_01.B02"));
  EXPECT_EQ(rows.Cell(RowOf(body), kColumnHighest), "3000");
  EXPECT_TRUE(Entry(body).undoList.empty());
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(SplitCommand, CancelOrNoChangesNothingButOkKeepsTheChosenSettings) {
  WriteLog(1, kKindBody, 1, 3000);
  AnalyzeRooms({1});
  dialogs.ok = false;
  EXPECT_EQ(Split({1}).kind, SplitOutcome::Kind::Cancelled);
  dialogs.ok = true;
  dialogs.onSingle = [](SplitSingleValues& v) {
    v.choices.m_nForm = NamingForm::Serial;
    v.choices.m_nMethod = SplitMethod::Multiple;
  };
  messages.Answer(MsgResult::No);
  EXPECT_EQ(Split({1}).kind, SplitOutcome::Kind::Declined);
  EXPECT_EQ(messages.boxes.back().id, ids::kMsgConfirmSplit);
  EXPECT_EQ(doc->m_nArcType, SettingOf(NamingForm::Serial));
  EXPECT_EQ(doc->m_nSepMethod, SettingOf(SplitMethod::Multiple));
  EXPECT_FALSE(Exists("MES_01.B00"));
  EXPECT_EQ(dir->Generation(1), 0);
  // The next dialog starts from the stored form and method: the step 1000.
  dialogs.ok = false;
  Split({1});
  EXPECT_EQ(dialogs.single.choices.m_nForm, NamingForm::Serial);
  EXPECT_EQ(dialogs.single.choices.m_nNumber, 1000);
  EXPECT_EQ(dialogs.single.choices.m_nSavedNumber, 3000);
}

TEST_F(SplitCommand, ANamingFailureSkipsThatFileAndTheOthersGoOn) {
  const std::string first = WriteLog(1, kKindBody, 1, 3500);
  const std::string second = WriteLog(2, kKindBody, 1, 3500);
  AnalyzeRooms({1, 2});
  WriteBytes(Path("MES_01.003"), "an old log of an earlier run");
  dialogs.onMulti = [](SplitMultiValues& v) {
    v.m_nNumber = 500;
    v.m_nForm = NamingForm::Serial;
  };
  SplitOutcome out = Split({1, 2});
  ASSERT_EQ(out.kind, SplitOutcome::Kind::Ran);
  EXPECT_EQ(out.report.split, 1);
  EXPECT_EQ(out.report.skipped, 1);
  ASSERT_EQ(messages.boxes.size(), 2u);
  EXPECT_EQ(messages.boxes[1].id, ids::kMsgNameClash);
  EXPECT_EQ(messages.boxes[1].text.rfind("MES_01.003:\n", 0), 0u);
  EXPECT_EQ(ReadBytes(Path("MES_01.003")), "an old log of an earlier run");
  EXPECT_FALSE(Exists("MES_01.B00"));
  EXPECT_TRUE(Exists("MES_02.003"));
  EXPECT_EQ(Entry(second).lowest, 3001);
  EXPECT_EQ(Entry(first).lowest, 1);
  EXPECT_EQ(dir->Generation(1), 1);
  EXPECT_EQ(dir->Generation(2), 1);
}
