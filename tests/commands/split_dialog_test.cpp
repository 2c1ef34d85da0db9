#include <gtest/gtest.h>

#include "commands/split_dialog_logic.h"
#include "commands/split_dialog_prep.h"
#include "resources/ids.h"
#include "tests/commands/forum_fixture.h"

namespace {

SplitSingleValues BothLogs(int bodyLow, int bodyHigh, int titleLow, int titleHigh) {
  SplitSingleValues v;
  v.m_nBodyLow = bodyLow;
  v.m_nBodyHigh = bodyHigh;
  v.m_nTitleLow = titleLow;
  v.m_nTitleHigh = titleHigh;
  v.m_nFilesPresent = kFilesBoth;
  v.choices.m_nKindIndex = kKindIndexBoth;
  v.choices.m_nMethod = SplitMethod::Single;
  return v;
}

struct Voice {
  CompanionMode mode;
  ScriptedMessages port;
  Messenger messenger{port, mode};
  BoxDecisions decisions{messenger};
};

}  // namespace

TEST(SplitDialogPrep, TheProposedNumberIsTheHighestRoundedToItsLeadingMagnitude) {
  EXPECT_EQ(RoundToLeadingMagnitude(12345), 12000);
  EXPECT_EQ(RoundToLeadingMagnitude(9999), 9000);
  EXPECT_EQ(RoundToLeadingMagnitude(987), 900);
  EXPECT_EQ(RoundToLeadingMagnitude(42), 40);
  EXPECT_EQ(RoundToLeadingMagnitude(7), 7);
  EXPECT_EQ(RoundToLeadingMagnitude(0), 0);
}

TEST(SplitDialogPrep, TheSingleDialogShowsBothLogsAndTheMultipleOneNone) {
  ForumFixture f;
  const std::string body = f.WriteLog(3, kKindBody, 1, 9999);
  const std::string title = f.WriteLog(3, kKindTitle, 12, 9000);
  f.AnalyzeRooms({3});
  SplitSingleValues v = PrepareSplitSingle(*f.dir, RoomBit(3), NamingForm::Archive, SplitMethod::Single);
  EXPECT_EQ(v.m_strBodyFile, body);
  EXPECT_EQ(v.m_strBodyRange, "    1 -  9999");
  EXPECT_EQ(v.m_strTitleFile, title);
  EXPECT_EQ(v.m_strTitleRange, "   12 -  9011");
  EXPECT_EQ(v.choices.m_nKindIndex, kKindIndexBoth);
  EXPECT_EQ(v.m_nFilesPresent, kFilesBoth);
  EXPECT_EQ(v.choices.m_nNumber, 9000);
  EXPECT_EQ(v.choices.m_nSavedNumber, 9000);
  EXPECT_EQ(v.choices.m_nMethod, SplitMethod::Single);
  v = PrepareSplitSingle(*f.dir, RoomBit(3), NamingForm::Serial, SplitMethod::Multiple);
  EXPECT_EQ(v.choices.m_nNumber, 1000);
  EXPECT_EQ(v.choices.m_nSavedNumber, 9000);
  EXPECT_EQ(v.choices.m_nForm, NamingForm::Serial);
  SplitMultiValues m = PrepareSplitMulti(NamingForm::Serial, SplitMethod::Multiple);
  EXPECT_EQ(m.m_nNumber, 1000);
  EXPECT_EQ(m.m_nSavedNumber, 0);
  EXPECT_EQ(m.m_nKindIndex, kKindIndexBoth);
}

TEST(SplitDialogLogic, OkAsksWhenTheNumberLiesOutsideTheChosenLogsRange) {
  Voice voice;
  SplitSingleValues v = BothLogs(1, 9999, 10000, 60000);
  v.choices.m_nNumber = 9000;
  v.choices.m_nKindIndex = kKindIndexBody;
  EXPECT_EQ(CheckSingleOk(v, voice.messenger, voice.decisions), DialogOk::Close);
  EXPECT_TRUE(voice.port.boxes.empty());

  v.choices.m_nKindIndex = kKindIndexTitle;  // the body range would hold it
  voice.port.Answer(MsgResult::No);
  EXPECT_EQ(CheckSingleOk(v, voice.messenger, voice.decisions), DialogOk::StayOpen);
  ASSERT_EQ(voice.port.boxes.size(), 1u);
  EXPECT_EQ(voice.port.boxes[0].id, ids::kMsgOutsideRange);
  EXPECT_EQ(voice.port.boxes[0].style.icon, MsgIcon::Question);

  v.choices.m_nKindIndex = kKindIndexBoth;
  v.choices.m_nNumber = 60001;
  EXPECT_EQ(CheckSingleOk(v, voice.messenger, voice.decisions), DialogOk::Close) << "Yes accepts the number";
  v.choices.m_nNumber = 65537;
  EXPECT_EQ(CheckSingleOk(v, voice.messenger, voice.decisions), DialogOk::BadNumber);
  v.choices.m_nNumber = -1;
  EXPECT_EQ(CheckSingleOk(v, voice.messenger, voice.decisions), DialogOk::BadNumber);
}

TEST(SplitDialogLogic, AStepOfZeroIsRefusedByBothDialogs) {
  Voice voice;
  SplitMultiValues m;
  m.m_nMethod = SplitMethod::Multiple;
  m.m_nNumber = 0;
  EXPECT_EQ(CheckMultiOk(m, voice.messenger), DialogOk::StayOpen);
  ASSERT_EQ(voice.port.boxes.size(), 1u);
  EXPECT_EQ(voice.port.boxes[0].id, ids::kMsgZeroStep);
  m.m_nMethod = SplitMethod::Single;
  EXPECT_EQ(CheckMultiOk(m, voice.messenger), DialogOk::Close);
  m.m_nNumber = 65536;
  EXPECT_EQ(CheckMultiOk(m, voice.messenger), DialogOk::Close);

  SplitSingleValues v = BothLogs(1, 100, 1, 100);
  v.choices.m_nMethod = SplitMethod::Multiple;
  v.choices.m_nNumber = 0;
  EXPECT_EQ(CheckSingleOk(v, voice.messenger, voice.decisions), DialogOk::StayOpen);
  EXPECT_EQ(voice.port.boxes.back().id, ids::kMsgZeroStep);
  v.choices.m_nMethod = SplitMethod::Single;  // 0 lies below the range: asked, then accepted
  EXPECT_EQ(CheckSingleOk(v, voice.messenger, voice.decisions), DialogOk::Close);
  EXPECT_EQ(voice.port.boxes.back().id, ids::kMsgOutsideRange);
}

TEST(NumberPad, KeyedValuesAreCappedAt65536) {
  NumberPadValues pad;
  for (int d : {6, 5, 5, 3, 7, 1}) PressNumberPadDigit(pad, d);
  EXPECT_EQ(pad.display, "65536 ");
  ClearNumberPad(pad);
  for (int d : {0, 0, 7}) PressNumberPadDigit(pad, d);
  EXPECT_EQ(pad.display, "7 ");
}
