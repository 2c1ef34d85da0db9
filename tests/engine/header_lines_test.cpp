// Forum header lines, byte for byte in CP932, dated by a fixed clock.
#include <gtest/gtest.h>

#include "engine/folder_names.h"
#include "engine/header_lines.h"
#include "engine/naming_plan.h"
#include "platform/local_time.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kUnnamedRoom = "\x94\xd4\x89\xef\x8b\x63\x8e\xba";  // 番会議室
const std::string kChat = "\x8e\x47\x92\x6b";                         // 雑談

class HeaderLinesTest : public ::testing::Test {
 protected:
  // The lines of a split of room's body log cut as the plan cuts it.
  Lines Make(int room, int lowest, int number, SplitMethod method, int upper, const std::string& forum,
             const std::string& roomName) {
    NamingRequest request;
    request.logName = "MES_05.LOG";
    request.number = number;
    request.lower = lowest;
    request.upper = upper;
    request.form = NamingForm::Serial;
    request.method = method;
    request.today = today_;
    const NamingPlan plan = PlanOldLogNames(request, kNamingFresh, FolderNames(std::vector<std::string>{}));
    EXPECT_FALSE(plan.failure);
    Lines lines = ForumHeaderLines(forum, roomName, room, lowest, plan.cutPoints, today_);
    EXPECT_FALSE(lines.empty());
    return lines;
  }

  std::time_t today_ = plat::MakeLocalTime(1998, 2, 10, 9, 30);
};

TEST_F(HeaderLinesTest, OldLogsCarryTheirRangeAndTheLogItselfNone) {
  EXPECT_EQ(Make(5, 1, 3000, SplitMethod::Single, 3500, "FORUMX", ""),
            (Lines{"- FORUMX  MES( 5):5" + kUnnamedRoom + "(00001-03000) 98/02/10 -",
                   "- FORUMX  MES( 5):5" + kUnnamedRoom + " 98/02/10 -"}));
  EXPECT_EQ(Make(5, 10, 1000, SplitMethod::Multiple, 1000, "FORUMX", ""),
            (Lines{"- FORUMX  MES( 5):5" + kUnnamedRoom + " 98/02/10 -"}));

  today_ = plat::MakeLocalTime(2026, 12, 8, 23, 59);
  const std::string room = "\x83\x65\x83\x58\x83\x67";  // テスト
  EXPECT_EQ(Make(12, 17, 1000, SplitMethod::Multiple, 2500, "F", room),
            (Lines{"- F  MES(12):" + room + "(00017-01000) 26/12/08 -",
                   "- F  MES(12):" + room + "(01001-02000) 26/12/08 -", "- F  MES(12):" + room + " 26/12/08 -"}));
  // A log that starts above the first cut keeps its own lowest number.
  EXPECT_EQ(Make(12, 1500, 1000, SplitMethod::Single, 3500, "F", room)[0],
            "- F  MES(12):" + room + "(01500-01000) 26/12/08 -");
}

TEST_F(HeaderLinesTest, ForumNameIsWrittenInCp932) {
  const std::string current = "- " + kChat + "  MES( 5):5" + kUnnamedRoom + " 98/02/10 -";
  EXPECT_EQ(Make(5, 1, 3000, SplitMethod::Single, 3500, "雑談", "").back(), current);
  // A name that came over from the host's platform is CP932 already.
  EXPECT_EQ(Make(5, 1, 3000, SplitMethod::Single, 3500, kChat, "").back(), current);
}

}  // namespace
