#include "messages/companion_mode.h"

#include <gtest/gtest.h>

#include <string>

#include "messages/scripted_messages.h"
#include "resources/ids.h"
#include "resources/string_table.h"

namespace {

CompanionMode Off() { return CompanionMode{}; }

CompanionMode On(int type = 1, std::string name = "ヨルマ") {
  CompanionMode m;
  m.m_nCompanionType = type;
  m.m_strUserName = std::move(name);
  m.m_strHonorific = CompanionHonorific(type);
  return m;
}

MsgStyle YesNo() {
  MsgStyle s;
  s.buttons = MsgButtons::YesNo;
  return s;
}

TEST(CompanionId, ShiftsOnlyWhileTheCompanionSpeaks) {
  EXPECT_EQ(CompanionId(Off(), ids::kMsgConfirmSplit), ids::kMsgConfirmSplit);
  EXPECT_EQ(CompanionId(On(1), ids::kMsgConfirmSplit), ids::kMsgConfirmSplit - 4096);
  EXPECT_EQ(CompanionId(On(2), ids::kStrProgramName), ids::kStrProgramName - 4096);
  // Any non-zero type turns the voice on.
  EXPECT_EQ(CompanionId(On(7), ids::kCmdAnalyze), ids::kCmdAnalyze - 4096);
}

TEST(CompanionMessageBox, SplitConfirmationInBothVoices) {
  ScriptedMessages port;
  port.Answer(MsgResult::No);
  CompanionMode on = On();
  EXPECT_EQ(CompanionMessageBox(port, on, ids::kMsgConfirmSplit, on.m_strUserName, on.m_strHonorific, YesNo()),
            MsgResult::No);
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, "ヨルマおにいちゃん‥‥ログを分割しちゃうけど、ほんとにいいの？");
  EXPECT_EQ(port.boxes[0].caption, "実行確認");
  EXPECT_EQ(port.boxes[0].style.buttons, MsgButtons::YesNo);

  // The normal text has no placeholders: the arguments are ignored.
  EXPECT_EQ(CompanionMessageBox(port, Off(), ids::kMsgConfirmSplit, "ヨルマ", "おにいちゃん", YesNo()), MsgResult::Yes);
  ASSERT_EQ(port.boxes.size(), 2u);
  EXPECT_EQ(port.boxes[1].text, "分割を開始します。よろしいですか？");
  EXPECT_EQ(port.boxes[1].caption, "実行確認");
}

TEST(CompanionMessageBox, CaptionIsNeverShifted) {
  ScriptedMessages port;
  CompanionMode on = On(2, "ミナ");
  MsgStyle style;
  style.icon = MsgIcon::Exclamation;
  CompanionMessageBox(port, on, ids::kMsgNameOverflow, "MES_05.LOG", on.m_strHonorific, style);
  CompanionMessageBox(port, on, ids::kMsgGenerationsBack, "3", on.m_strHonorific, style);
  // A caller's own caption id is taken as it is, in the companion voice too.
  CompanionMessageBox(port, on, ids::kMsgChangedSinceAnalysis, "MES_05.LOG", on.m_strHonorific, style,
                      ids::kMsgBackupExistsCaption);
  ASSERT_EQ(port.boxes.size(), 3u);
  EXPECT_EQ(port.boxes[0].text,
            "MES_05.LOG :\nおねえちゃん、書庫ファイル名の添え字があふれちゃって名前が付けられないよぅ～(;_;)");
  EXPECT_EQ(port.boxes[0].caption, "書庫ファイル名生成不能");
  EXPECT_EQ(port.boxes[1].text, "おねえちゃん、3 回前の状態に戻すよ。");
  EXPECT_EQ(port.boxes[1].caption, "２回以上前へのやり直しの確認");
  EXPECT_EQ(port.boxes[1].id, ids::kMsgGenerationsBack) << "the id names the message, whatever the voice";
  EXPECT_EQ(port.boxes[2].caption, "上書き確認");
  EXPECT_EQ(port.boxes[2].style.icon, MsgIcon::Exclamation);
}

TEST(FormatCompanionText, OneArgumentFormFillsTheFirstOnly) {
  // The folder check passes the honorific as its only argument.
  CompanionMode on = On();
  EXPECT_EQ(FormatCompanionText(on, ids::kMsgNotAFolder, on.m_strHonorific),
            "そのパス、フォルダじゃないよ。‥‥変なおにいちゃん。");
  EXPECT_EQ(FormatCompanionText(Off(), ids::kMsgNotAFolder, "おにいちゃん"),
            "指定されたパスはフォルダではありません。\nフォルダを指定してください。");
  // "%2" survives the one-argument form.
  EXPECT_EQ(FormatCompanionText(on, ids::kMsgGenerationsBack, "2"), "%2、2 回前の状態に戻すよ。");
}

TEST(FormatCompanionText, ArgumentsAreNeverReplacedAgain) {
  CompanionMode on = On(1, "%2と%1");
  EXPECT_EQ(CompanionPrompt(on, ids::kCmdAnalyze), "ログの解析を始めるよ、%2と%1おにいちゃん");
  EXPECT_EQ(FormatCompanionText(on, ids::kMsgConfirmSplit - ids::kCompanionVoiceShift, "%2", "%1"),
            "%2%1‥‥ログを分割しちゃうけど、ほんとにいいの？");
}

TEST(FormatCompanionText, EmptyNameLeavesJustTheHonorific) {
  EXPECT_EQ(CompanionPrompt(On(1, ""), ids::kCmdAnalyze), "ログの解析を始めるよ、おにいちゃん");
}

TEST(FormatCompanionText, MissingTextsAreEmptyAndTwinlessTextsKeepTheirVoice) {
  ScriptedMessages port;
  EXPECT_EQ(FormatCompanionText(Off(), 12345, "a", "b"), "");
  EXPECT_EQ(FormatCompanionText(On(), 12345, "a"), "");
  EXPECT_EQ(CompanionPrompt(On(), ids::kCmdHelp + 1), "");
  CompanionMessageBox(port, On(), 12345, "a", "b", MsgStyle{});
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, "");
  EXPECT_EQ(port.boxes[0].caption, "");

  // The checker message has no companion twin: it must not turn blank.
  CompanionMode on = On();
  CompanionMessageBox(port, on, ids::kMsgCheckerMissing, on.m_strUserName, on.m_strHonorific, MsgStyle{},
                      ids::kMsgCheckerMissingCaption);
  ASSERT_EQ(port.boxes.size(), 2u);
  EXPECT_EQ(port.boxes[1].text, KivString(ids::kMsgCheckerMissing));
  EXPECT_EQ(port.boxes[1].caption, "書庫リストファイル調整エラー");
}

TEST(CompanionPrompt, CutsBeforeTheLineBreak) {
  EXPECT_EQ(CompanionPrompt(Off(), ids::kCmdAnalyze), "ログの解析を開始");
  EXPECT_EQ(CompanionPrompt(On(), ids::kCmdAnalyze), "ログの解析を始めるよ、ヨルマおにいちゃん");
  EXPECT_EQ(CompanionPrompt(Off(), ids::kStrIdlePrompt), "ﾍﾙﾌﾟを表示するには [F1] を押してください。");
  EXPECT_EQ(CompanionPrompt(On(2, "ミナ"), ids::kStrIdlePrompt), "ヘルプが見たい時は[F1]を押してね、ミナおねえちゃん");
  EXPECT_EQ(CompanionPrompt(On(), ids::kStrWindowRestorePrompt), "ｳｨﾝﾄﾞｳを通常のｻｲｽﾞに戻すよ");
}

TEST(CommandTooltip, IsThePartAfterTheBreakOfTheNormalText) {
  EXPECT_EQ(CommandTooltip(ids::kCmdAnalyze), "解析");
  EXPECT_EQ(CommandTooltip(ids::kCmdUndo), "直前に戻す");
  EXPECT_EQ(CommandTooltip(ids::kCmdHelpIndex), "ﾍﾙﾌﾟ ｲﾝﾃﾞｯｸｽ");
  EXPECT_EQ(CommandTooltip(ids::kStrIdlePrompt), "");  // a prompt without a tooltip
  EXPECT_EQ(CommandTooltip(12345), "");
}

TEST(CompanionTexts, HonorificAndWindowTitle) {
  EXPECT_EQ(CompanionHonorific(0), "おにいちゃん");
  EXPECT_EQ(CompanionHonorific(1), "おにいちゃん");
  EXPECT_EQ(CompanionHonorific(2), "おねえちゃん");
  EXPECT_EQ(CompanionWindowTitle(0), "Tallowick  Ver 1.30");
  EXPECT_EQ(CompanionWindowTitle(1), "たろうぃっく  Ver 1.30　（ピルカちゃんモード）");
  EXPECT_EQ(CompanionWindowTitle(2), CompanionWindowTitle(1));
}

TEST(MixedLog, PrefixStaysNormalAndTheTextFollowsDirectly) {
  EXPECT_EQ(MixedLogText(Off(), "MES_05.LOG", 57),
            "MES_05.LOG - line 57 :このファイルには本文ログとタイトルログが混在していますので処理できません。\n"
            "ファイルから正しくログを分離してください。");
  std::string on = MixedLogText(On(), "MES#05.LOG", 3);
  EXPECT_EQ(on.rfind("MES#05.LOG - line 3 :ヨルマおにいちゃん、このファイルの中には", 0), 0u) << on;
  EXPECT_NE(on.find("ごめんなさいおにいちゃん、"), std::string::npos);

  ScriptedMessages port;
  CompanionMode mode = On();
  Messenger messenger(port, mode);
  EXPECT_EQ(messenger.MixedLogError("MES#05.LOG", 3), MsgResult::Ok);
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, on);
  EXPECT_EQ(port.boxes[0].caption, "混在ログエラー");
  EXPECT_EQ(port.boxes[0].style.icon, MsgIcon::Information);
  EXPECT_EQ(port.boxes[0].style.buttons, MsgButtons::Ok);
  EXPECT_TRUE(port.boxes[0].style.noOwner);
}

TEST(Messenger, SpeaksInTheModeItSeesNow) {
  ScriptedMessages port;
  CompanionMode mode = Off();
  Messenger messenger(port, mode);
  messenger.Box(ids::kMsgChangedSinceAnalysis, "MES_05.LOG", MsgStyle{});
  // The companion dialog changes the mode in place; later messages follow.
  mode = On();
  messenger.Box(ids::kMsgChangedSinceAnalysis, "MES_05.LOG", MsgStyle{});
  messenger.BoxToUser(ids::kMsgLaunchFailed, MsgStyle{});
  ASSERT_EQ(port.boxes.size(), 3u);
  EXPECT_EQ(port.boxes[0].text.rfind("MES_05.LOG :\nこのファイルは解析後、", 0), 0u);
  EXPECT_EQ(port.boxes[1].text.rfind("MES_05.LOG :\nおにいちゃん、このファイルは調べた後に", 0), 0u);
  EXPECT_EQ(port.boxes[2].text,
            "え～ん、プログラムが動かないよぅ～(;_;)\nちゃんとヨルマおにいちゃんに言われた通りにしたのにぃ～(;_;)");
  EXPECT_EQ(port.boxes[2].caption, "外部起動失敗");
}

}  // namespace

namespace {

TEST(CompanionDialog, OpeningStoresTheModeAndShowsItsFields) {
  CompanionMode mode = On(2, "ミナ");
  CompanionChoice start = BeginCompanionDialog(mode);
  EXPECT_TRUE(mode.m_bCompanionStored);
  EXPECT_TRUE(start.on);
  EXPECT_EQ(start.name, "ミナ");
  EXPECT_EQ(start.radio, 1);
  // Cancelled: nothing else changed, but the greeting no longer appears.
  EXPECT_EQ(mode.m_nCompanionType, 2);
  EXPECT_FALSE(ShowsGreeting(mode, "RURIRIR"));
}

TEST(CompanionDialog, OkSwitchesVoiceTitleAndHonorificTogether) {
  CompanionMode mode = Off();
  mode.m_strUserName = "ヨルマ";
  ApplyCompanionChoice(mode, {true, "", 1});
  EXPECT_EQ(mode.m_nCompanionType, 2);
  EXPECT_EQ(mode.m_strHonorific, "おねえちゃん");
  EXPECT_EQ(mode.m_strUserName, "");  // an empty name is taken as it is
  EXPECT_EQ(mode.m_strTitle, "たろうぃっく  Ver 1.30　（ピルカちゃんモード）");
  EXPECT_EQ(CompanionPrompt(mode, ids::kCmdAnalyze), "ログの解析を始めるよ、おねえちゃん");

  // Unchecked: back to the normal voice; the chosen honorific is kept for later.
  ApplyCompanionChoice(mode, {false, "ヨルマ", 1});
  EXPECT_EQ(mode.m_nCompanionType, 0);
  EXPECT_EQ(mode.m_strHonorific, "おねえちゃん");
  EXPECT_EQ(mode.m_strTitle, "Tallowick  Ver 1.30");
  EXPECT_EQ(CompanionPrompt(mode, ids::kCmdAnalyze), "ログの解析を開始");
}

TEST(Greeting, OnlyForTheTwoFolderNamesUntilTheModeIsStored) {
  CompanionMode mode = Off();
  EXPECT_TRUE(ShowsGreeting(mode, "RURIRIR"));
  EXPECT_TRUE(ShowsGreeting(mode, "VOZERUD"));
  EXPECT_FALSE(ShowsGreeting(mode, "ruririr"));
  EXPECT_FALSE(ShowsGreeting(mode, "RURIRIR2"));
  mode.m_bCompanionStored = true;
  EXPECT_FALSE(ShowsGreeting(mode, "VOZERUD"));
}

}  // namespace
