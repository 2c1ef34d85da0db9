// Analysis: the range, the forum header line, the mixed-log and
// out-of-range messages, and the progress it reports.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/file_ops.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "tests/engine/log_text.h"
#include "tests/support/injected_fault.h"

namespace {

using namespace logtext;

// The two ways of reading a log must find the same, so the cases below run
// through both.
constexpr CLogFile::ScanMode kBothScans[] = {CLogFile::ScanMode::LineByLine, CLogFile::ScanMode::Skipping};

TEST(Analysis, RangeOfOutOfOrderMessagesAndTheDashLineRightBeforeAHeader) {
  // The first message has no dash line before it; one inside a message is
  // text; the one before the second header is taken (99 bytes of it), the
  // one before the third is not. The one taken may also follow the first
  // header's last line directly, after its CR LF or after a bare LF.
  struct Case {
    std::string afterFirst;
    std::string dash;
    bool bareLf;
  };
  const std::string longDash = "- " + std::string(150, 'F');
  for (const Case& c : {Case{"- inside\ntext\n", longDash, false}, Case{"", "- F", false}, Case{"", "- F", true}}) {
    for (const auto scan : kBothScans) {
      EngineBench bench("MES_05.LOG", kKindBody);
      std::string text = Dos(BodyHeader(120) + c.afterFirst + c.dash + "\n" + BodyMessage(80) + "- third\n" +
                             BodyMessage(200) + BodyHeader(0));
      if (c.bareLf) text.erase(text.find("\r\n" + c.dash), 1);
      WriteBytes(bench.Path("MES_05.LOG"), text);
      plat::SetFileTime(bench.Path("MES_05.LOG"), 886000000);
      ASSERT_TRUE(bench.Analyze(scan));
      EXPECT_EQ(bench.entry.lowest, 80);
      EXPECT_EQ(bench.entry.highest, 200);
      EXPECT_EQ(bench.entry.headerText, c.dash.substr(0, 99)) << c.dash.size() << c.bareLf;
      EXPECT_EQ(bench.entry.modificationTime, 886000000);
    }
  }
}

TEST(Analysis, MixedLogNamesThePhysicalLineAndKeepsTheRange) {
  // A line of 1023 bytes and its LF is two lines, so the title line is line 57.
  std::string text = kForumHeader + BodyHeader(1) + std::string(1023, 'x') + "\n";  // lines 1-5
  for (int n = 2; n <= 18; ++n) text += BodyMessage(n);                             // 6-56
  for (int companion : {0, 2}) {
    const auto scan = kBothScans[companion / 2];
    EngineBench bench("MES_05.LOG", kKindBody);
    bench.mode.m_nCompanionType = companion;
    bench.mode.m_strUserName = "ユーザ";
    bench.mode.m_strHonorific = "おねえちゃん";
    bench.entry.lowest = 1;
    bench.entry.highest = 10;
    bench.Put("MES_05.LOG", text + TitleLine(19) + BodyMessage(20));
    EXPECT_FALSE(bench.Analyze(scan));
    ASSERT_EQ(bench.port.boxes.size(), 1u);
    const auto& box = bench.port.boxes[0];
    EXPECT_EQ(box.text,
              "MES_05.LOG - line 57 :" + FormatCompanionText(bench.mode, ids::kMsgMixedLog, "ユーザ", "おねえちゃん"));
    EXPECT_EQ(box.text.find("ユーザおねえちゃん") != std::string::npos, companion != 0);
    EXPECT_EQ(box.id, ids::kMsgMixedLog);
    EXPECT_EQ(box.style.icon, MsgIcon::Information);
    EXPECT_TRUE(box.style.noOwner);
    EXPECT_EQ(bench.entry.lowest, 1);
    EXPECT_EQ(bench.entry.highest, 10);
    EXPECT_EQ(bench.progress.calls.back(), "end");
  }
}

TEST(Analysis, NumbersFromTheSentinelUpAreToldAndLeaveTheRangeUnknown) {
  // A highest number of 65536 reads as "not analysed" to the split command.
  for (int number : {65536, 70000}) {
    const auto scan = kBothScans[number % 2];
    EngineBench bench("MES#05.LOG", kKindTitle);
    bench.entry.lowest = 1;
    bench.entry.highest = 2;
    bench.Put("MES#05.LOG", TitleLine(1) + TitleLine(2) + TitleLine(number));
    EXPECT_FALSE(bench.Analyze(scan));
    ASSERT_EQ(bench.port.boxes.size(), 1u);
    EXPECT_EQ(bench.port.boxes[0].id, ids::kMsgNumberOutOfRange);
    EXPECT_EQ(bench.port.boxes[0].text.rfind("MES#05.LOG - line 3 :", 0), 0u);
    EXPECT_EQ(bench.port.boxes[0].caption, KivString(ids::kMsgNumberOutOfRangeCaption));
    EXPECT_FALSE(bench.entry.RangeKnown());
  }
}

TEST(Analysis, TextAfterAnEndMarkIsToldAtItsLineAndLeavesTheRangeUnknown) {
  // The range before the byte is no range of the log: a split on it would
  // lose what follows.
  for (const auto scan : kBothScans) {
    EngineBench bench("MES#05.LOG", kKindTitle);
    bench.entry.lowest = 1;
    bench.entry.highest = 2;
    bench.Put("MES#05.LOG", TitleLine(1) + TitleLine(2) + "\x1a" + TitleLine(3));
    EXPECT_FALSE(bench.Analyze(scan));
    ASSERT_EQ(bench.port.boxes.size(), 1u);
    EXPECT_EQ(bench.port.boxes[0].id, ids::kMsgDataAfterEndMark);
    EXPECT_EQ(bench.port.boxes[0].text.rfind("MES#05.LOG - line 3 :", 0), 0u);
    EXPECT_FALSE(bench.entry.RangeKnown());
  }
}

TEST(Analysis, ProgressStepsEveryFivePercentPulsesInBetweenAndCompletesAlsoForEmptyFiles) {
  std::string text;
  for (int n = 1; n <= 2000; ++n) text += BodyMessage(n);
  std::vector<std::string> expected{"begin"};
  for (int p = 5; p <= 95; p += 5) expected.push_back(std::to_string(p));
  expected.insert(expected.end(), {"100", "end"});
  // Bare LF ends make the byte count outrun the length: still no step past 95.
  for (const std::string& bytes : {Dos(text), text}) {
    for (const auto scan : kBothScans) {
      EngineBench bench("MES_05.LOG", kKindBody);
      WriteBytes(bench.Path("MES_05.LOG"), bytes);
      ASSERT_TRUE(bench.Analyze(scan));
      EXPECT_EQ(bench.progress.calls, expected);
      EXPECT_EQ(bench.progress.action, "解析");
    }
  }
  // Between the steps of a large file the display is pulsed about every
  // kPulseBytes, in both scans, and the steps stay as they are.
  text.clear();
  for (int n = 1; n <= 30000; ++n) text += BodyMessage(n);
  const long long expectedPulses = static_cast<long long>(Dos(text).size() / ProgressPort::kPulseBytes);
  ASSERT_GE(expectedPulses, 4);
  for (const auto scan : kBothScans) {
    EngineBench bench("MES_05.LOG", kKindBody);
    WriteBytes(bench.Path("MES_05.LOG"), Dos(text));
    ASSERT_TRUE(bench.Analyze(scan));
    EXPECT_EQ(bench.progress.calls, expected);
    EXPECT_GE(bench.progress.pulses, expectedPulses - 1);
    EXPECT_LE(bench.progress.pulses, expectedPulses);
  }

  EngineBench empty("MES_05.LOG", kKindBody);
  empty.entry.lowest = 5;
  empty.Put("MES_05.LOG", "");
  plat::SetFileTime(empty.Path("MES_05.LOG"), 886000000);
  EXPECT_FALSE(empty.Analyze());
  EXPECT_EQ(empty.progress.calls, (std::vector<std::string>{"begin", "100", "end"}));
  EXPECT_EQ(empty.entry.lowest, 5);
  EXPECT_EQ(empty.entry.modificationTime, 886000000);
  EXPECT_TRUE(empty.port.boxes.empty());
}

TEST(Analysis, ReadErrorIsToldAndNothingIsTakenFromThePartRead) {
  std::string text;
  for (int n = 1; n <= 20000; ++n) text += BodyMessage(n);  // more than one buffer
  for (const auto scan : kBothScans) {
    EngineBench bench("MES_05.LOG", kKindBody);
    bench.entry.highest = 6;
    bench.Put("MES_05.LOG", text);
    InjectedFault fault(plat::FileOp::Read, "MES_05.LOG", EIO, 1);
    EXPECT_FALSE(bench.Analyze(scan));
    ASSERT_EQ(bench.port.fileErrors.size(), 1u);
    EXPECT_EQ(bench.port.fileErrors[0].file, "MES_05.LOG");
    EXPECT_EQ(bench.entry.highest, 6);
  }
}

}  // namespace
