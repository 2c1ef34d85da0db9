// Forum header lines, byte for byte in CP932, dated by a fixed clock.
#include <gtest/gtest.h>

#include "engine/log_file.h"
#include "messages/scripted_messages.h"
#include "platform/local_time.h"
#include "tests/support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kUnnamedRoom = "\x94\xd4\x89\xef\x8b\x63\x8e\xba";  // 番会議室
const std::string kChat = "\x8e\x47\x92\x6b";                        // 雑談

class HeaderLinesTest : public ::testing::Test {
 protected:
  HeaderLinesTest() : clock_(plat::MakeLocalTime(1998, 2, 10, 9, 30)), messenger_(port_, mode_) {}

  Lines Make(int room, int lowest, int number, int method, int upper, const std::string& forum,
             const std::string& roomName) {
    CFileEntry entry;
    entry.name = "MES_05.LOG";
    entry.kind = kKindBody;
    entry.room = room;
    entry.lowest = lowest;
    CLogFile log(dir_.path(), &entry, messenger_, progress_, clock_);
    std::uint32_t state = kNamingFresh;
    EXPECT_FALSE(log.MakeOldLogNames(number, lowest, upper, kFormSerial, method, state));
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
};

TEST_F(HeaderLinesTest, OldLogsCarryTheirRangeAndTheLogItselfNone) {
  EXPECT_EQ(Make(5, 1, 3000, kMethodSingle, 3500, "FORUMX", ""),
            (Lines{"- FORUMX  MES( 5):5" + kUnnamedRoom + "(00001-03000) 98/02/10 -",
                   "- FORUMX  MES( 5):5" + kUnnamedRoom + " 98/02/10 -"}));
  EXPECT_EQ(Make(5, 10, 1000, kMethodMultiple, 1000, "FORUMX", ""),
            (Lines{"- FORUMX  MES( 5):5" + kUnnamedRoom + " 98/02/10 -"}));

  clock_.Set(plat::MakeLocalTime(2026, 12, 8, 23, 59));
  const std::string room = "\x83\x65\x83\x58\x83\x67";  // テスト
  EXPECT_EQ(Make(12, 17, 1000, kMethodMultiple, 2500, "F", room),
            (Lines{"- F  MES(12):" + room + "(00017-01000) 26/12/08 -",
                   "- F  MES(12):" + room + "(01001-02000) 26/12/08 -", "- F  MES(12):" + room + " 26/12/08 -"}));
  // A log that starts above the first cut keeps its own lowest number.
  EXPECT_EQ(Make(12, 1500, 1000, kMethodSingle, 3500, "F", room)[0], "- F  MES(12):" + room + "(01500-01000) 26/12/08 -");
}

TEST_F(HeaderLinesTest, ForumNameIsWrittenInCp932) {
  const std::string current = "- " + kChat + "  MES( 5):5" + kUnnamedRoom + " 98/02/10 -";
  EXPECT_EQ(Make(5, 1, 3000, kMethodSingle, 3500, "雑談", "").back(), current);
  // A name that came over from the host's platform is CP932 already.
  EXPECT_EQ(Make(5, 1, 3000, kMethodSingle, 3500, kChat, "").back(), current);
}

}  // namespace
