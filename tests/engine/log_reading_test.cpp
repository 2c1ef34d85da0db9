// Reading a log: which lines the templates take for headers, how long lines
// and the file's end are seen, and what Open and Close report.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/file_ops.h"
#include "tests/engine/log_text.h"
#include "tests/support/injected_fault.h"

namespace {

using logtext::BodyHeader;
using logtext::BodyMessage;
using logtext::EngineBench;
using logtext::kForumHeader;
using logtext::ShortBodyHeader;
using logtext::ShortTitleLine;
using logtext::TitleLine;

// Analyses the bench's log and returns the result.
bool AnalyzeLog(EngineBench& bench) {
  auto log = bench.MakeLog();
  if (!log->Open()) return false;
  bool found = log->Analyze();
  log->Close();
  return found;
}

TEST(LogReading, ZeroNumberIsNoMessageAndBothBodyFormsCount) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.LOG", kForumHeader + BodyHeader(0) + "text\n" + BodyMessage(7) + ShortBodyHeader(120) +
                              "text\n" + BodyMessage(3));
  ASSERT_TRUE(AnalyzeLog(bench));
  EXPECT_EQ(bench.entry.lowest, 3);
  EXPECT_EQ(bench.entry.highest, 120);

  EngineBench titles("MES#05.LOG", kKindTitle);
  titles.Put("MES#05.LOG", TitleLine(0) + TitleLine(42) + ShortTitleLine(0));
  ASSERT_TRUE(AnalyzeLog(titles));
  EXPECT_EQ(titles.entry.lowest, 42);
  EXPECT_EQ(titles.entry.highest, 42);
}

TEST(LogReading, FileHoldingOnlyZeroHeadersHasNoMessage) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 10;
  bench.entry.highest = 20;
  bench.Put("MES_05.LOG", kForumHeader + BodyHeader(0) + "text\n");
  EXPECT_FALSE(AnalyzeLog(bench));
  EXPECT_EQ(bench.entry.lowest, 10);
  EXPECT_EQ(bench.entry.highest, 20);
  EXPECT_TRUE(bench.port.boxes.empty());
}

TEST(LogReading, FirstHeaderLineWithoutItsSecondLineAtTheEndIsText) {
  const std::string firstLine = "00009/00009 ABC12345  subject 9";
  for (const std::string& tail : {firstLine + "\n", firstLine}) {
    EngineBench bench("MES_05.LOG", kKindBody);
    bench.Put("MES_05.LOG", BodyMessage(4) + tail);
    ASSERT_TRUE(AnalyzeLog(bench));
    EXPECT_EQ(bench.entry.highest, 4) << "tail " << tail.size();
  }
}

TEST(LogReading, SecondHeaderLineMustFollowOnItsOwnLine) {
  // The date line on the same line as the number does not make a header.
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.LOG", BodyMessage(4) + "00009/00009 ABC12345 (A1)   98/02/10 12:34\n");
  ASSERT_TRUE(AnalyzeLog(bench));
  EXPECT_EQ(bench.entry.highest, 4);
}

TEST(LogReading, LineOf1024BytesCountsAsTwoLines) {
  // 1023 bytes and the LF: the LF alone is the second piece, so the title
  // line after it is line 6, not 5.
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.LOG", kForumHeader + BodyHeader(1) + std::string(1023, 'x') + "\n" + TitleLine(2));
  EXPECT_FALSE(AnalyzeLog(bench));
  ASSERT_EQ(bench.port.boxes.size(), 1u);
  EXPECT_EQ(bench.port.boxes[0].text.rfind("MES_05.LOG - line 6 :", 0), 0u) << bench.port.boxes[0].text;
}

TEST(LogReading, RestOfALongLineNeverStartsAHeader) {
  // The piece that begins at byte 1023 of a line looks like a header; taking
  // it for one would cut the line in two.
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.LOG", BodyMessage(1) + std::string(1023, 'x') + BodyHeader(9) + "tail\n");
  ASSERT_TRUE(AnalyzeLog(bench));
  EXPECT_EQ(bench.entry.lowest, 1);
  EXPECT_EQ(bench.entry.highest, 1);
}

TEST(LogReading, TitleNumbersInFiveAndInThreeColumns) {
  EngineBench bench("MES#05.LOG", kKindTitle);
  bench.Put("MES#05.LOG", TitleLine(12345) + TitleLine(7) + ShortTitleLine(123) + ShortTitleLine(5));
  ASSERT_TRUE(AnalyzeLog(bench));
  EXPECT_EQ(bench.entry.lowest, 5);
  EXPECT_EQ(bench.entry.highest, 12345);
  EXPECT_TRUE(bench.port.boxes.empty());
}

TEST(LogReading, BytesAboveAsciiAreNeitherDigitsNorLetters) {
  // Full-width digits and a Shift-JIS lead byte where the identifier's
  // letters stand.
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.LOG", BodyMessage(4) + "\x82\x4f\x82\x4f\x82\x4f/00009 ABC12345 s\n(A1)   98/02/10 12:34\n" +
                              "00009/00009 \x82\x60\x82\x60\x82\x60\x82\x60 s\n(A1)   98/02/10 12:34\n");
  ASSERT_TRUE(AnalyzeLog(bench));
  EXPECT_EQ(bench.entry.highest, 4);
}

TEST(LogReading, OpenReportsTheFileItCouldNotOpenAndOpensOnlyOnce) {
  EngineBench bench("MES_05.LOG", kKindBody);
  {
    auto log = bench.MakeLog();
    EXPECT_FALSE(log->Open());
    ASSERT_EQ(bench.port.fileErrors.size(), 1u);
    EXPECT_EQ(bench.port.fileErrors[0].file, "MES_05.LOG");
    EXPECT_EQ(bench.port.fileErrors[0].err, ENOENT);
    EXPECT_EQ(log->sourceName(), "");
    EXPECT_FALSE(log->Close());
    EXPECT_FALSE(log->Analyze());
  }
  bench.port.Clear();
  bench.Put("MES_05.B00", BodyMessage(1));
  bench.Put("MES_05.LOG", BodyMessage(2));
  auto log = bench.MakeLog();
  ASSERT_TRUE(log->Open("MES_05.B00"));
  EXPECT_EQ(log->sourceName(), "MES_05.B00");
  EXPECT_FALSE(log->Open());
  EXPECT_EQ(log->sourceName(), "MES_05.B00");
  EXPECT_TRUE(log->Close());
  EXPECT_FALSE(log->Close());
  EXPECT_FALSE(log->Open());  // one file in a life
  EXPECT_TRUE(bench.port.fileErrors.empty());
}

TEST(LogReading, CloseFailuresAreReportedAlsoAtDestruction) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.LOG", BodyMessage(1));
  InjectedFault fault(plat::FileOp::Close, "MES_05.LOG", EIO);
  {
    auto log = bench.MakeLog();
    ASSERT_TRUE(log->Open());
    EXPECT_FALSE(log->Close());
  }
  {
    auto log = bench.MakeLog();
    ASSERT_TRUE(log->Open());
  }
  ASSERT_EQ(bench.port.fileErrors.size(), 2u);
  for (const auto& e : bench.port.fileErrors) {
    EXPECT_EQ(e.file, "MES_05.LOG");
    EXPECT_EQ(e.err, EIO);
  }
}

}  // namespace
