// Analysis: the range, the forum header line, the mixed-log and
// out-of-range messages, and the progress it reports.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/file_ops.h"
#include "resources/string_table.h"
#include "tests/engine/log_text.h"
#include "tests/support/injected_fault.h"

namespace {

using logtext::BodyHeader;
using logtext::BodyMessage;
using logtext::EngineBench;
using logtext::kForumHeader;
using logtext::TitleLine;

bool AnalyzeLog(EngineBench& bench) {
  auto log = bench.MakeLog();
  if (!log->Open()) return false;
  bool found = log->Analyze();
  log->Close();
  return found;
}

TEST(Analysis, RangeOfOutOfOrderMessagesAndTheForumHeaderBeforeThem) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.LOG", kForumHeader + BodyMessage(120) + BodyMessage(80) + BodyMessage(200));
  plat::SetFileTime(bench.Path("MES_05.LOG"), 886000000);
  ASSERT_TRUE(AnalyzeLog(bench));
  EXPECT_EQ(bench.entry.lowest, 80);
  EXPECT_EQ(bench.entry.highest, 200);
  EXPECT_EQ(bench.entry.headerText, kForumHeader.substr(0, kForumHeader.size() - 1));
  EXPECT_EQ(bench.entry.modificationTime, 886000000);
  EXPECT_TRUE(bench.port.boxes.empty());
}

TEST(Analysis, HeaderTextIsTheFirstDashLineRightBeforeAHeaderCutAt99Bytes) {
  {
    // The first message has none; a dash line inside a message is text; the
    // one before the second header is taken, the one before the third not.
    EngineBench bench("MES_05.LOG", kKindBody);
    bench.Put("MES_05.LOG", BodyHeader(1) + "- not this\ntext\n- second\n" + BodyMessage(2) +
                                "- third\n" + BodyMessage(3));
    ASSERT_TRUE(AnalyzeLog(bench));
    EXPECT_EQ(bench.entry.headerText, "- second");
  }
  {
    const std::string longLine = "- " + std::string(150, 'F');
    EngineBench bench("MES_05.LOG", kKindBody);
    bench.Put("MES_05.LOG", longLine + "\n" + BodyMessage(1));
    ASSERT_TRUE(AnalyzeLog(bench));
    EXPECT_EQ(bench.entry.headerText, longLine.substr(0, 99));
  }
  {
    // A lone CR inside the line is part of it; only the line end is cut.
    EngineBench bench("MES_05.LOG", kKindBody);
    WriteBytes(bench.Path("MES_05.LOG"), "- a\rb\r\n" + logtext::Dos(BodyMessage(1)));
    ASSERT_TRUE(AnalyzeLog(bench));
    EXPECT_EQ(bench.entry.headerText, "- a\rb");
  }
}

// A body log with a title line at physical line 57.
std::string MixedBody() {
  std::string text = kForumHeader;  // line 1
  for (int n = 1; n <= 18; ++n) text += BodyMessage(n);  // 3 lines each: 2..55
  text += "text\n";  // 56
  text += TitleLine(19);  // 57
  text += BodyMessage(20);
  return text;
}

TEST(Analysis, MixedLogStopsAtItsLineWithTheMessageAndKeepsTheRange) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 1;
  bench.entry.highest = 10;
  bench.entry.headerText = "old";
  bench.Put("MES_05.LOG", MixedBody());
  plat::SetFileTime(bench.Path("MES_05.LOG"), 886000000);
  EXPECT_FALSE(AnalyzeLog(bench));
  ASSERT_EQ(bench.port.boxes.size(), 1u);
  const auto& box = bench.port.boxes[0];
  EXPECT_EQ(box.text, "MES_05.LOG - line 57 :" + std::string(KivString(50210)));
  EXPECT_EQ(box.caption, "混在ログエラー");
  EXPECT_EQ(box.style.icon, MsgIcon::Information);
  EXPECT_TRUE(box.style.noOwner);
  EXPECT_EQ(bench.entry.lowest, 1);
  EXPECT_EQ(bench.entry.highest, 10);
  EXPECT_EQ(bench.entry.headerText, "old");
  EXPECT_EQ(bench.entry.modificationTime, 886000000);
  EXPECT_EQ(bench.progress.calls.back(), "end");
}

TEST(Analysis, MixedLogSpeaksInTheCompanionVoiceAndCatchesBodyHeadersInTitleLogs) {
  EngineBench bench("MES#05.LOG", kKindTitle);
  bench.mode.m_nCompanionType = 2;
  bench.mode.m_strUserName = "ユーザ";
  bench.mode.m_strHonorific = "おねえちゃん";
  bench.Put("MES#05.LOG", TitleLine(1) + TitleLine(2) + BodyHeader(3));
  EXPECT_FALSE(AnalyzeLog(bench));
  ASSERT_EQ(bench.port.boxes.size(), 1u);
  EXPECT_EQ(bench.port.boxes[0].text,
            "MES#05.LOG - line 3 :" + FormatCompanionText(bench.mode, 50210, "ユーザ", "おねえちゃん"));
  EXPECT_NE(bench.port.boxes[0].text.find("ユーザおねえちゃん、"), std::string::npos);
  EXPECT_EQ(bench.port.boxes[0].caption, "混在ログエラー");
}

TEST(Analysis, FilesWithoutHeadersGiveNoResultButTheirTime) {
  for (const std::string& text : {std::string(), kForumHeader, std::string("binary\x01\x02\xff\n"),
                                  std::string("\x1a") + BodyMessage(3)}) {
    EngineBench bench("MES_05.LOG", kKindBody);
    bench.entry.lowest = 5;
    bench.entry.highest = 6;
    bench.Put("MES_05.LOG", text);
    plat::SetFileTime(bench.Path("MES_05.LOG"), 886000000);
    EXPECT_FALSE(AnalyzeLog(bench));
    EXPECT_EQ(bench.entry.lowest, 5);
    EXPECT_EQ(bench.entry.highest, 6);
    EXPECT_EQ(bench.entry.modificationTime, 886000000);
    EXPECT_TRUE(bench.port.boxes.empty());
  }
}

TEST(Analysis, ProgressStepsEveryFivePercentOnceAndCompletes) {
  EngineBench bench("MES_05.LOG", kKindBody);
  std::string text;
  for (int n = 1; n <= 2000; ++n) text += BodyMessage(n);
  bench.Put("MES_05.LOG", text);
  ASSERT_TRUE(AnalyzeLog(bench));
  std::vector<std::string> expected{"begin"};
  for (int p = 5; p <= 95; p += 5) expected.push_back(std::to_string(p));
  expected.push_back("100");
  expected.push_back("end");
  EXPECT_EQ(bench.progress.calls, expected);
  EXPECT_EQ(bench.progress.action, "解析");

  // Bare LF line ends: the count of bytes runs past the length; the display
  // still never passes 95 before the completion step.
  EngineBench bare("MES_05.LOG", kKindBody);
  WriteBytes(bare.Path("MES_05.LOG"), text);
  ASSERT_TRUE(AnalyzeLog(bare));
  EXPECT_EQ(bare.progress.calls, expected);

  EngineBench empty("MES_05.LOG", kKindBody);
  empty.Put("MES_05.LOG", "");
  EXPECT_FALSE(AnalyzeLog(empty));
  EXPECT_EQ(empty.progress.calls, (std::vector<std::string>{"begin", "100", "end"}));
}

TEST(Analysis, NumbersFromTheSentinelUpAreReportedAndLeaveTheRangeUnknown) {
  for (int number : {65536, 70000}) {
    EngineBench bench("MES#05.LOG", kKindTitle);
    bench.entry.lowest = 1;
    bench.entry.highest = 2;
    bench.Put("MES#05.LOG", TitleLine(1) + TitleLine(2) + TitleLine(number) + TitleLine(3));
    EXPECT_FALSE(AnalyzeLog(bench));
    ASSERT_EQ(bench.port.boxes.size(), 1u);
    EXPECT_EQ(bench.port.boxes[0].text, "MES#05.LOG - line 3 :" + std::string(KivString(50212)));
    EXPECT_EQ(bench.port.boxes[0].caption, KivString(50213));
    EXPECT_FALSE(bench.entry.RangeKnown()) << number;
  }
}

TEST(Analysis, ReadErrorIsReportedAndNothingIsTakenFromThePartRead) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 5;
  bench.entry.highest = 6;
  std::string text;
  for (int n = 1; n <= 40000; ++n) text += BodyMessage(n);  // more than one buffer
  bench.Put("MES_05.LOG", text);
  InjectedFault fault(plat::FileOp::Read, "MES_05.LOG", EIO, 1);
  EXPECT_FALSE(AnalyzeLog(bench));
  EXPECT_EQ(fault.hits(), 1);
  ASSERT_EQ(bench.port.fileErrors.size(), 1u);
  EXPECT_EQ(bench.port.fileErrors[0].file, "MES_05.LOG");
  EXPECT_EQ(bench.port.fileErrors[0].err, EIO);
  EXPECT_EQ(bench.entry.lowest, 5);
  EXPECT_EQ(bench.entry.highest, 6);
  EXPECT_EQ(bench.progress.calls.back(), "end");
}

}  // namespace
