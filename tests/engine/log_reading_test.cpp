// Reading a log: which lines the templates take for headers, and what Open
// and Close report.
#include <gtest/gtest.h>

#include <cerrno>

#include "engine/header_templates.h"
#include "tests/engine/log_text.h"
#include "tests/support/injected_fault.h"

namespace {

using namespace logtext;

TEST(LogReading, BodyHeadersOfBothFormsButNotNumberZeroLineRestsOrAHalfHeader) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.LOG", kForumHeader + BodyHeader(0) + "text\n" + BodyMessage(7) + ShortBodyHeader(120) +
                              // the rest of a long line, from byte 1023 on, looks like a header
                              std::string(1023, 'x') + BodyHeader(900) +
                              // full-width digits and lead bytes are no digits or letters
                              "\x82\x4f\x82\x4f\x82\x4f/00009 ABC12345 s\n(A1)   98/02/10 12:34\n" + BodyMessage(3) +
                              "00999/00999 ABC12345  a first line at the end");
  ASSERT_TRUE(bench.Analyze());
  EXPECT_EQ(bench.entry.lowest, 3);
  EXPECT_EQ(bench.entry.highest, 120);
}

TEST(LogReading, TitleNumbersInFiveAndInThreeColumns) {
  EngineBench bench("MES#05.LOG", kKindTitle);
  bench.Put("MES#05.LOG", TitleLine(0) + TitleLine(12345) + TitleLine(7) + ShortTitleLine(123) + ShortTitleLine(5));
  ASSERT_TRUE(bench.Analyze());
  EXPECT_EQ(bench.entry.lowest, 5);
  EXPECT_EQ(bench.entry.highest, 12345);
}

// The number of a title line's free columns: leading white space of every
// kind skipped, digits up to the first other byte, held at a ceiling.
TEST(LogReading, HeaderNumbersSkipWhiteSpaceAndStopAtTheCeiling) {
  EXPECT_EQ(HeaderNumber("00123/00123 ABC"), 123);
  EXPECT_EQ(HeaderNumber(" \t\v\f\r\n42 x"), 42);
  EXPECT_EQ(HeaderNumber(" \x08"
                         "7"),
            0);  // a backspace is no white space
  EXPECT_EQ(HeaderNumber(" 1 23"), 1);
  EXPECT_EQ(HeaderNumber("\x82\x4f"
                         "1"),
            0);
  EXPECT_EQ(HeaderNumber("1000000000/"), kHeaderNumberCeiling);
  EXPECT_EQ(HeaderNumber("999999999/"), 999999999);
  EXPECT_EQ(HeaderNumber("4294967296/"), kHeaderNumberCeiling);  // 2^32: no wrap past nine digits
  EXPECT_EQ(HeaderNumber("99999999999999999999999/"), kHeaderNumberCeiling);
}

TEST(LogReading, OpenAndCloseFailuresNameTheFileAndAnObjectOpensOnce) {
  EngineBench bench("MES_05.LOG", kKindBody);
  auto missing = bench.MakeLog();
  EXPECT_FALSE(missing->Open());
  EXPECT_EQ(missing->sourceName(), "");
  EXPECT_FALSE(missing->Analyze());
  EXPECT_FALSE(missing->Close());
  ASSERT_EQ(bench.port.fileErrors.size(), 1u);
  EXPECT_EQ(bench.port.fileErrors[0].file, "MES_05.LOG");
  EXPECT_EQ(bench.port.fileErrors[0].err, ENOENT);

  bench.port.Clear();
  bench.Put("MES_05.B00", BodyMessage(1));
  bench.Put("MES_05.LOG", BodyMessage(2));
  {
    auto log = bench.MakeLog();
    ASSERT_TRUE(log->Open("MES_05.B00"));
    EXPECT_EQ(log->sourceName(), "MES_05.B00");
    EXPECT_FALSE(log->Open());
    EXPECT_TRUE(log->Close());
    EXPECT_FALSE(log->Open());
    EXPECT_TRUE(bench.port.fileErrors.empty());
  }
  InjectedFault fault(plat::FileOp::Close, "MES_05.LOG", EIO);
  {
    auto log = bench.MakeLog();
    ASSERT_TRUE(log->Open());
    EXPECT_FALSE(log->Close());
  }
  bench.MakeLog()->Open();  // a failed close at destruction is told too
  ASSERT_EQ(bench.port.fileErrors.size(), 2u);
  EXPECT_EQ(bench.port.fileErrors[1].file, "MES_05.LOG");
  EXPECT_EQ(bench.port.fileErrors[1].err, EIO);
}

}  // namespace
