// Forum header lines, byte for byte in CP932, with the date of a fixed clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/log_file.h"
#include "platform/local_time.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

// "番会議室" and "雑談" in CP932.
const std::string kUnnamedRoom = "\x94\xd4\x89\xef\x8b\x63\x8e\xba";
const std::string kChatCp932 = "\x8e\x47\x92\x6b";

class HeaderLinesTest : public ::testing::Test {
 protected:
  HeaderLinesTest() : clock_(plat::MakeLocalTime(1998, 2, 10, 9, 30)), messenger_(port_, mode_) {}

  // Names entry_ with the given plan (serial form, so no letters are
  // searched), then makes its lines.
  Lines Make(int number, int method, const std::string& forum, const std::string& roomName,
             int lower = 1, int upper = 3500) {
    CLogFile log(dir_.path(), &entry_, messenger_, progress_, clock_);
    std::uint32_t state = kNamingFresh;
    EXPECT_FALSE(log.MakeOldLogNames(number, lower, upper, kFormSerial, method, state));
    Lines lines;
    EXPECT_TRUE(log.MakeHeaderLines(forum, roomName, lines));
    return lines;
  }

  TempDir dir_;
  FixedClock clock_;
  ScriptedMessages port_;
  CompanionMode mode_;
  Messenger messenger_;
  NoProgress progress_;
  CFileEntry entry_;
};

TEST_F(HeaderLinesTest, UnnamedRoomGetsItsNumberAsName) {
  entry_.name = "MES_05.LOG";
  entry_.kind = kKindBody;
  entry_.room = 5;
  entry_.lowest = 1;
  entry_.highest = 3500;
  EXPECT_EQ(Make(3000, kMethodSingle, "FORUMX", ""),
            (Lines{"- FORUMX  MES( 5):5" + kUnnamedRoom + "(00001-03000) 98/02/10 -",
                   "- FORUMX  MES( 5):5" + kUnnamedRoom + " 98/02/10 -"}));
}

TEST_F(HeaderLinesTest, LaterRangesStartAboveTheCutBefore) {
  entry_.name = "MES_12.LOG";
  entry_.kind = kKindBody;
  entry_.room = 12;
  entry_.lowest = 17;
  entry_.highest = 2500;
  clock_.Set(plat::MakeLocalTime(2026, 12, 8, 23, 59));
  const std::string room = "\x83\x65\x83\x58\x83\x67";  // テスト
  EXPECT_EQ(Make(1000, kMethodMultiple, "F", room, 17, 2500),
            (Lines{"- F  MES(12):" + room + "(00017-01000) 26/12/08 -",
                   "- F  MES(12):" + room + "(01001-02000) 26/12/08 -",
                   "- F  MES(12):" + room + " 26/12/08 -"}));
}

TEST_F(HeaderLinesTest, ALogStartingAboveTheFirstCutKeepsItsOwnLowest) {
  entry_.name = "MES#05.LOG";
  entry_.kind = kKindTitle;
  entry_.room = 5;
  entry_.lowest = 1500;
  entry_.highest = 3500;
  Lines lines = Make(1000, kMethodSingle, "FORUMX", "");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("(01500-01000)"), std::string::npos) << lines[0];
}

TEST_F(HeaderLinesTest, NoOldLogLeavesOnlyTheCurrentLogsLine) {
  entry_.name = "MES_05.LOG";
  entry_.kind = kKindBody;
  entry_.room = 5;
  entry_.lowest = 10;
  entry_.highest = 1000;
  EXPECT_EQ(Make(1000, kMethodMultiple, "FORUMX", "", 10, 1000),
            (Lines{"- FORUMX  MES( 5):5" + kUnnamedRoom + " 98/02/10 -"}));
}

TEST_F(HeaderLinesTest, ForumNameIsWrittenInCp932) {
  entry_.name = "MES_05.LOG";
  entry_.kind = kKindBody;
  entry_.room = 5;
  entry_.lowest = 1;
  // UTF-8 from the file system, converted.
  Lines lines = Make(3000, kMethodSingle, "雑談", "");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "- " + kChatCp932 + "  MES( 5):5" + kUnnamedRoom + " 98/02/10 -");
  // A folder name that came over in CP932 already is kept as it is.
  lines = Make(3000, kMethodSingle, kChatCp932, "");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "- " + kChatCp932 + "  MES( 5):5" + kUnnamedRoom + " 98/02/10 -");
}

TEST_F(HeaderLinesTest, NoLinesBeforeTheCutsArePlanned) {
  entry_.name = "MES_05.LOG";
  CLogFile log(dir_.path(), &entry_, messenger_, progress_, clock_);
  Lines lines;
  EXPECT_FALSE(log.MakeHeaderLines("FORUMX", "", lines));
  EXPECT_TRUE(lines.empty());
}

}  // namespace
