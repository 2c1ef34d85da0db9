#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/encoding.h"

namespace {

constexpr int kShift = 4096;

// Where the companion voice lives: below the normal texts by one shift.
bool IsCompanionId(int id) { return (id >= 45056 && id < 46592) || (id >= 53248 && id < 57344); }

// Message boxes with their caption ids (the odd id that follows).
constexpr int kMessages[] = {49664, 49666, 49668, 49670, 49672, 49674, 49676, 49678, 49920, 49922,
                             49924, 49926, 49928, 49930, 49932, 49952, 50208, 50210, 50212, 50214,
                             50240};

// Command and frame prompts: prompt, "\n", tooltip in the normal voice.
constexpr int kPromptsWithTooltip[] = {49408, 49409, 49410, 49411, 49412, 49413, 49414, 49415, 49416,
                                       49417, 49418, 49419, 49420, 57664, 57665, 57666, 57667, 57668,
                                       57669, 57670, 57680, 57681, 59392, 59393};

TEST(StringTable, LookupFindsEveryRowAndNothingElse) {
  auto table = KivStringTable();
  ASSERT_FALSE(table.empty());
  for (const KivStringEntry& e : table) {
    EXPECT_TRUE(HasString(e.id)) << e.id;
    EXPECT_EQ(KivString(e.id), e.text) << e.id;
    EXPECT_FALSE(e.text.empty()) << e.id;
  }
  // Unused or never-given ids, and ids around the table's ends.
  for (int id : {-1, 0, 1, 102, 45056, 49935, 49937, 50216, 61204, 65535, 1 << 30}) {
    EXPECT_FALSE(HasString(id)) << id;
    EXPECT_TRUE(KivString(id).empty()) << id;
  }
}

// The normal ids of every family that speaks in both voices.
std::vector<int> VoicedNormalIds() {
  std::vector<int> ids = {49153, 49154, 49936, 49952, 50210, 57344, 57345, 57346,
                          57680, 57681, 59392, 59393, 61202, 61203};
  for (int id = 49408; id <= 49420; ++id) ids.push_back(id);
  for (int id = 49664; id <= 49678; id += 2) ids.push_back(id);
  for (int id = 49920; id <= 49934; id += 2) ids.push_back(id);
  for (int id = 57664; id <= 57670; ++id) ids.push_back(id);
  for (int id = 61184; id <= 61190; ++id) ids.push_back(id);
  return ids;
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
  for (int id : {50208, 50209, 49954}) EXPECT_FALSE(HasString(id - kShift)) << id;
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
  for (int id : {49664, 49666, 49668, 49670, 45568, 45570, 45572, 45574, 49954}) {
    EXPECT_NE(KivString(id).find("%1"), std::string_view::npos) << id;
  }
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
  // 57345: half-width katakana stay half-width (EF BE/BD xx in UTF-8).
  EXPECT_EQ(KivString(57345), "\xEF\xBE\x8D\xEF\xBE\x99\xEF\xBE\x8C\xEF\xBE\x9F"
                              "を表示するには [F1] を押してください。");
  // 49666 has an empty line before its question.
  EXPECT_NE(KivString(49666).find("\n\n上書きしますか？"), std::string_view::npos);
  EXPECT_EQ(KivString(128), "Kiv\n\nKiv\n\n\nKiv.Document\nKiv Document");
}

}  // namespace
