#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "resources/ids.h"

namespace {

constexpr int kShift = ids::kCompanionVoiceShift;

// The normal voice's two blocks of texts; the companion's lie one shift below.
bool InNormalBlocks(int id) {
  return (id >= ids::kStrCompany && id < ids::kStrCompany + 0x600) ||
         (id >= ids::kStrProgramName && id < ids::kStrProgramName + 0x1000);
}
bool IsCompanionId(int id) { return InNormalBlocks(id + kShift); }

// Message boxes with their caption ids (the odd id that follows).
constexpr int kMessages[] = {ids::kMsgChangedSinceAnalysis,
                             ids::kMsgBackupExists,
                             ids::kMsgNameOverflow,
                             ids::kMsgNameClash,
                             ids::kMsgNoUsableBackup,
                             ids::kMsgConfirmSplit,
                             ids::kMsgLaunchFailed,
                             ids::kMsgAskSaveWindow,
                             ids::kMsgBadPath,
                             ids::kMsgNotAFolder,
                             ids::kMsgConfirmFolderChange,
                             ids::kMsgProgramMissing,
                             ids::kMsgOutsideRange,
                             ids::kMsgBackUpChangedLater,
                             ids::kMsgZeroStep,
                             ids::kMsgGenerationsBack,
                             ids::kMsgCheckerMissing,
                             ids::kMsgMixedLog,
                             ids::kMsgNumberOutOfRange,
                             ids::kMsgDataAfterEndMark,
                             ids::kMsgWrittenSinceSplit,
                             ids::kMsgForumBusy,
                             ids::kMsgForumBusyForHistory};

// Command and frame prompts: prompt, "\n", tooltip in the normal voice.
constexpr int kPromptsWithTooltip[] = {ids::kCmdAnalyze,       ids::kCmdSplit,
                                       ids::kCmdUndo,          ids::kCmdSelectAll,
                                       ids::kCmdSelectInvert,  ids::kCmdSelectUnanalyzed,
                                       ids::kCmdSelectNone,    ids::kCmdColoursAndFonts,
                                       ids::kCmdSettings,      ids::kCmdNoOverwriteConfirm,
                                       ids::kCmdExportHeaders, ids::kCmdExternalLaunch,
                                       ids::kCmdHtmlHelp,      ids::kCmdAbout,
                                       ids::kCmdExit,          ids::kCmdHelpIndex,
                                       ids::kCmdHelpTopics,    ids::kCmdHelpUsing,
                                       ids::kCmdContextHelp,   ids::kCmdHelp,
                                       ids::kCmdNextPane,      ids::kCmdPreviousPane,
                                       ids::kCmdToggleToolBar, ids::kCmdToggleStatusBar};

TEST(StringTable, LookupFindsEveryRowAndNothingElse) {
  auto table = KivStringTable();
  ASSERT_FALSE(table.empty());
  for (const KivStringEntry& e : table) {
    EXPECT_TRUE(HasString(e.id)) << e.id;
    EXPECT_EQ(KivString(e.id), e.text) << e.id;
    EXPECT_FALSE(e.text.empty()) << e.id;
  }
  // Unused or never-given ids, and ids around the table's ends.
  for (int id : {-1, 0, 1, ids::kCtlProgressBar, ids::kStrCompany - kShift, ids::kStrFolderBrowserTitle + 1,
                 ids::kStrUnknownRoomName + 1, ids::kMsgDataAfterEndMarkCaption + 1, ids::kStrTaskSwitchPrompt + 1,
                 0xFFFF, 1 << 30}) {
    EXPECT_FALSE(HasString(id)) << id;
    EXPECT_TRUE(KivString(id).empty()) << id;
  }
}

// The normal ids of every family that speaks in both voices.
std::vector<int> VoicedNormalIds() {
  std::vector<int> voiced = {ids::kStrVersion,
                             ids::kStrAboutNotice,
                             ids::kStrUnknownRoomName,
                             ids::kMsgGenerationsBack,
                             ids::kMsgMixedLog,
                             ids::kStrProgramName,
                             ids::kStrIdlePrompt,
                             ids::kStrHelpModePrompt,
                             ids::kCmdNextPane,
                             ids::kCmdPreviousPane,
                             ids::kCmdToggleToolBar,
                             ids::kCmdToggleStatusBar,
                             ids::kStrWindowRestorePrompt,
                             ids::kStrTaskSwitchPrompt};
  for (int id = ids::kCmdAnalyze; id <= ids::kCmdHtmlHelp; ++id) voiced.push_back(id);
  for (int id = ids::kMsgChangedSinceAnalysis; id <= ids::kMsgAskSaveWindow; id += 2) voiced.push_back(id);
  for (int id = ids::kMsgBadPath; id <= ids::kStrFolderBrowserTitle; id += 2) voiced.push_back(id);
  for (int id = ids::kCmdAbout; id <= ids::kCmdHelp; ++id) voiced.push_back(id);
  for (int id = ids::kStrWindowSizePrompt; id <= ids::kStrWindowClosePrompt; ++id) voiced.push_back(id);
  return voiced;
}

TEST(StringTable, EveryCompanionTextHasItsNormalTwin) {
  std::set<int> voiced;
  for (int id : VoicedNormalIds()) {
    EXPECT_TRUE(HasString(id)) << "normal " << id;
    EXPECT_TRUE(HasString(id - kShift)) << "companion of " << id;
    voiced.insert(id - kShift);
  }
  // Nothing else lives in the companion ranges: a stray row there would be
  // a text no normal id ever reaches.
  for (const KivStringEntry& e : KivStringTable()) {
    if (!IsCompanionId(e.id)) continue;
    EXPECT_TRUE(voiced.count(e.id)) << "companion " << e.id << " has no normal twin";
  }
  EXPECT_EQ(voiced.size(), 57u);
}

TEST(StringTable, CaptionsExistAndHaveNoCompanionVoice) {
  for (int id : kMessages) {
    EXPECT_TRUE(HasString(id)) << id;
    EXPECT_TRUE(HasString(id + 1)) << "caption of " << id;
    EXPECT_FALSE(HasString(id + 1 - kShift)) << "caption of " << id << " must not be voiced";
  }
  // Texts that always speak in the normal voice.
  for (int id : {ids::kMsgCheckerMissing, ids::kMsgCheckerMissingCaption, ids::kMsgLinePrefix})
    EXPECT_FALSE(HasString(id - kShift)) << id;
}

TEST(StringTable, PromptsCarryTooltipsWhileTheirCompanionsSpeakWhole) {
  for (int id : kPromptsWithTooltip) {
    std::string_view text = KivString(id);
    std::size_t br = text.find('\n');
    ASSERT_NE(br, std::string_view::npos) << id;
    EXPECT_GT(br, 0u) << id;
    EXPECT_LT(br + 1, text.size()) << id;
    EXPECT_EQ(text.find('\n', br + 1), std::string_view::npos) << id;
    std::string_view companion = KivString(id - kShift);
    ASSERT_FALSE(companion.empty()) << id;
    EXPECT_EQ(companion.find('\n'), std::string_view::npos) << id - kShift;
  }
}

TEST(StringTable, PlaceholdersAreOnlyTheTwoArguments) {
  // The formatter knows "%1" and "%2" only; any other "%" would reach the
  // screen as it is.
  for (const KivStringEntry& e : KivStringTable()) {
    for (std::size_t i = e.text.find('%'); i != std::string_view::npos; i = e.text.find('%', i + 1)) {
      ASSERT_LT(i + 1, e.text.size()) << e.id;
      EXPECT_TRUE(e.text[i + 1] == '1' || e.text[i + 1] == '2') << e.id;
    }
  }
  // Messages naming a file carry it in %1, in either voice.
  for (int normal : {ids::kMsgChangedSinceAnalysis, ids::kMsgBackupExists, ids::kMsgNameOverflow, ids::kMsgNameClash}) {
    for (int id : {normal, normal - kShift}) EXPECT_NE(KivString(id).find("%1"), std::string_view::npos) << id;
  }
  EXPECT_NE(KivString(ids::kMsgLinePrefix).find("%1"), std::string_view::npos);
}

TEST(StringTable, EveryTextSurvivesShiftJis) {
  // Texts go into CP932 files and onto screens that expect it: each must be
  // valid UTF-8 made only of characters CP932 has.
  for (const KivStringEntry& e : KivStringTable()) {
    std::string sjis = plat::Utf8ToCp932(e.text);
    EXPECT_EQ(plat::Cp932ToUtf8(sjis), e.text) << e.id;
  }
}

TEST(StringTable, HalfWidthKanaAndLineBreaksAreKept) {
  // The idle prompt: half-width katakana stay half-width (EF BE/BD xx in UTF-8).
  EXPECT_EQ(KivString(ids::kStrIdlePrompt),
            "\xEF\xBE\x8D\xEF\xBE\x99\xEF\xBE\x8C\xEF\xBE\x9F"
            "を表示するには [F1] を押してください。");
  // The backup question has an empty line before its question.
  EXPECT_NE(KivString(ids::kMsgBackupExists).find("\n\n上書きしますか？"), std::string_view::npos);
  EXPECT_EQ(KivString(ids::kStrDocumentTemplate), "Kiv\n\nKiv\n\n\nKiv.Document\nKiv Document");
}

}  // namespace
