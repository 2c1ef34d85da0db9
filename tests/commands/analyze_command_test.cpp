#include <gtest/gtest.h>

#include "commands/analyze_command.h"
#include "tests/commands/forum_fixture.h"

TEST(AnalyzeCommand, ASelectedRowAnalysesEveryFileOfItsRoomOnly) {
  ForumFixture f;
  const std::string body2 = f.WriteLog(2, kKindBody, 101, 2650);
  const std::string title2 = f.WriteLog(2, kKindTitle, 101, 2650);
  const std::string body4 = f.WriteLog(4, kKindBody, 1, 30);
  WriteBytes(f.Path("MES_05.LOG"), "");
  WriteBytes(f.Path("MESA.LOG"), "text\r\n");
  WriteBytes(f.Path("MES_06.LOG"), "no header\r\n");
  f.Refresh();
  f.rows.Select({f.RowOf(title2), f.RowOf("MES_05.LOG"), f.RowOf("MES_06.LOG")});
  AnalyzeReport r = OnAnalyze(f.ctx);
  EXPECT_EQ(r.analysed, 4);
  EXPECT_EQ(r.failed, 2);
  EXPECT_EQ(f.rows.Cell(f.RowOf(body2), kColumnLowest), "101");
  EXPECT_EQ(f.rows.Cell(f.RowOf(body2), kColumnHighest), "2750");
  EXPECT_EQ(f.rows.Cell(f.RowOf(title2), kColumnHighest), "2750");
  EXPECT_EQ(f.rows.Cell(f.RowOf(body4), kColumnHighest), "-") << "other rooms are untouched";
  EXPECT_EQ(f.Entry(body4).highest, kNoHighest);
  EXPECT_EQ(f.rows.Cell(f.RowOf("MES_05.LOG"), kColumnLowest), "-");
  EXPECT_EQ(f.rows.Cell(f.RowOf("MES_06.LOG"), kColumnHighest), "-");
  // Each row showed the working text before its result.
  const std::string working = std::to_string(f.RowOf(body2)) + ":4=analyzing..";
  EXPECT_NE(std::find(f.rows.cellLog.begin(), f.rows.cellLog.end(), working), f.rows.cellLog.end());

  // A file of unknown kind in a room gets "-" without a message. MESA.LOG
  // has no room; it is shown but no command takes it.
  f.messages.Clear();
  f.rows.Select({f.RowOf("MESA.LOG")});
  r = OnAnalyze(f.ctx);
  EXPECT_EQ(r.analysed, 0);
  EXPECT_TRUE(f.messages.boxes.empty());

  f.rows.Select({});
  f.rows.cellLog.clear();
  OnAnalyze(f.ctx);
  EXPECT_TRUE(f.rows.cellLog.empty()) << "nothing selected: nothing happens";
}
