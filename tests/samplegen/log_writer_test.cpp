#include "tools/samplegen/log_writer.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "tests/samplegen/log_lines.h"
#include "tests/support/temp_dir.h"

using samplegen::HeaderTemplate;
using samplegen::LogKind;
using samplegen::LogOptions;
using samplegen::LogResult;
using samplegen::WriteLogFile;

namespace {

// What the header lines of a log say.
struct Headers {
  std::vector<int> numbers;  // in file order
  std::set<int> templates;
  std::vector<std::size_t> foreignAt;  // lines matching a template of the other kind
};

Headers ScanHeaders(const std::vector<std::string>& lines, bool body) {
  Headers h;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    TemplateMatch m = MatchAt(lines, i);
    if (m.templateNo == 0) continue;
    if ((m.templateNo <= 2) != body) {
      h.foreignAt.push_back(i);
      continue;
    }
    h.numbers.push_back(m.number);
    h.templates.insert(m.templateNo);
  }
  return h;
}

LogOptions Options(HeaderTemplate layout, int messages) {
  LogOptions o;
  o.layout = layout;
  o.kind = samplegen::IsBodyTemplate(layout) ? LogKind::Body : LogKind::Title;
  o.messages = messages;
  o.seed = 7;
  o.room = 4;
  return o;
}

class LogWriterTest : public ::testing::Test {
 protected:
  TempDir tmp;
};

}  // namespace

TEST_F(LogWriterTest, EachLayoutIsRecognisedByItsOwnTemplateOnly) {
  for (int t = 1; t <= 4; ++t) {
    SCOPED_TRACE(t);
    const auto layout = static_cast<HeaderTemplate>(t);
    LogOptions o = Options(layout, 40);
    o.first = 960;  // numbers cross 999 only where five columns allow it
    o.shuffle = true;
    if (t == 2 || t == 4) o.first = 900;
    const std::string path = tmp.Sub("LOG" + std::to_string(t));
    const LogResult r = WriteLogFile(path, o);
    ASSERT_TRUE(r.ok) << r.error;

    const std::vector<std::string> lines = ReadLogLines(path);
    const Headers h = ScanHeaders(lines, o.kind == LogKind::Body);
    EXPECT_EQ(h.templates, std::set<int>{t});
    EXPECT_TRUE(h.foreignAt.empty());
    ASSERT_EQ(h.numbers.size(), 40u);
    EXPECT_FALSE(std::is_sorted(h.numbers.begin(), h.numbers.end()));  // shuffled
    std::vector<int> sorted = h.numbers;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 40; ++i) EXPECT_EQ(sorted[static_cast<std::size_t>(i)], o.first + i);
    EXPECT_EQ(r.lowest, o.first);
    EXPECT_EQ(r.highest, o.first + 39);
    EXPECT_EQ(r.messages, 40);
    EXPECT_EQ(r.readerLines, static_cast<int>(lines.size()));

    plat::FileStatus st;
    ASSERT_TRUE(plat::GetFileStatus(path, &st));
    EXPECT_EQ(static_cast<std::uint64_t>(st.size), r.bytes);
    EXPECT_EQ(st.mtime, r.mtime);
  }
}

TEST_F(LogWriterTest, BodyAndTitleLogOfARoomShowTheSameMessages) {
  LogOptions body = Options(HeaderTemplate::Body5, 25);
  body.shuffle = true;
  LogResult rb = WriteLogFile(tmp.Sub("MES_04.LOG"), body);
  LogOptions title = Options(HeaderTemplate::Title5, rb.messages);
  title.shuffle = true;
  title.meanLines = rb.meanLines;
  LogResult rt = WriteLogFile(tmp.Sub("MES#04.LOG"), title);
  ASSERT_TRUE(rb.ok && rt.ok);
  EXPECT_EQ(ScanHeaders(ReadLogLines(tmp.Sub("MES_04.LOG")), true).numbers,
            ScanHeaders(ReadLogLines(tmp.Sub("MES#04.LOG")), false).numbers);

  // The body log opens with its forum header line, the title log does not.
  std::vector<std::string> lines = ReadLogLines(tmp.Sub("MES_04.LOG"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], rb.forumHeaderLine + "\n");
  // An unnamed room is called by its number, then comes the date and " -".
  const std::string head = plat::Utf8ToCp932("- FORUM1  MES( 4):4番会議室 ");
  EXPECT_EQ(rb.forumHeaderLine.substr(0, head.size()), head);
  EXPECT_EQ(rb.forumHeaderLine.size(), head.size() + 10);
  EXPECT_EQ(rb.forumHeaderLine.substr(head.size() + 8), " -");
  EXPECT_TRUE(rt.forumHeaderLine.empty());
}

TEST_F(LogWriterTest, AMixedLogHasOneTitleLineWhereItSays) {
  LogOptions o = Options(HeaderTemplate::Body5, 12);
  o.mixed = true;
  o.mixedAt = 5;
  LogResult r = WriteLogFile(tmp.Sub("MES_01.LOG"), o);
  ASSERT_TRUE(r.ok) << r.error;
  Headers h = ScanHeaders(ReadLogLines(tmp.Sub("MES_01.LOG")), true);
  ASSERT_EQ(h.foreignAt.size(), 1u);
  EXPECT_EQ(static_cast<int>(h.foreignAt[0]) + 1, r.mixedLine);
  EXPECT_EQ(h.numbers.size(), 12u);
}

TEST_F(LogWriterTest, LongLinesAreCutByTheReaderWithoutFalseHeaders) {
  LogOptions o = Options(HeaderTemplate::Body5, 300);
  o.longLines = true;
  LogResult r = WriteLogFile(tmp.Sub("MES_01.LOG"), o);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_GE(r.longLines, 3);
  std::vector<std::string> lines = ReadLogLines(tmp.Sub("MES_01.LOG"));
  // Pieces of exactly 1023 bytes without LF: the reader's cut.
  EXPECT_GE(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.size() == 1023 && l.back() != '\n'; }),
            3);
  Headers h = ScanHeaders(lines, true);
  EXPECT_EQ(h.numbers.size(), 300u);
  EXPECT_TRUE(h.foreignAt.empty());
  EXPECT_EQ(r.readerLines, static_cast<int>(lines.size()));
}

TEST_F(LogWriterTest, SizedLogsReachTheirTargetWithWholeBlocks) {
  LogOptions o = Options(HeaderTemplate::Body5, 0);
  o.targetBytes = 300 * 1024;
  o.shuffle = true;
  LogResult r = WriteLogFile(tmp.Sub("MES_01.LOG"), o);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_GE(r.bytes, o.targetBytes);
  EXPECT_LT(r.bytes, o.targetBytes + 64 * 1024);
  // Stopping only at the end of a shuffled run leaves no gap in the numbers.
  EXPECT_EQ(r.highest - r.lowest + 1, r.messages);
  EXPECT_EQ(r.messages % 8, 0);
}

TEST_F(LogWriterTest, AnExistingFileIsNeverOverwritten) {
  WriteBytes(tmp.Sub("MES_01.LOG"), "the user's log\r\n");
  LogOptions o = Options(HeaderTemplate::Body5, 3);
  LogResult r = WriteLogFile(tmp.Sub("MES_01.LOG"), o);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("MES_01.LOG"), std::string::npos);
  EXPECT_EQ(ReadBytes(tmp.Sub("MES_01.LOG")), "the user's log\r\n");

  o.replace = true;  // only when asked for
  ASSERT_TRUE(WriteLogFile(tmp.Sub("MES_01.LOG"), o).ok);
  EXPECT_NE(ReadBytes(tmp.Sub("MES_01.LOG")), "the user's log\r\n");
}

TEST_F(LogWriterTest, OptionsThatCannotBeMetFailBeforeWriting) {
  LogOptions o = Options(HeaderTemplate::Body3, 10);
  o.first = 995;  // 995..1004 do not fit three columns
  EXPECT_FALSE(WriteLogFile(tmp.Sub("A.LOG"), o).ok);
  o = Options(HeaderTemplate::Title5, 10);
  o.kind = LogKind::Body;  // a title layout for a body log
  EXPECT_FALSE(WriteLogFile(tmp.Sub("B.LOG"), o).ok);
  o = Options(HeaderTemplate::Body5, 10);
  o.first = 0;
  EXPECT_FALSE(WriteLogFile(tmp.Sub("C.LOG"), o).ok);
  for (const char* name : {"A.LOG", "B.LOG", "C.LOG"}) EXPECT_FALSE(plat::FileExists(tmp.Sub(name)));
}
