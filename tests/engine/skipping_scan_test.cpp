// Analysis by jumping between the places a header can start must find what
// the line window finds reading every piece: the same range, forum header
// line, refusals with the same line numbers, and the same progress.
#include <gtest/gtest.h>

#include <random>

#include "engine/last_byte.h"
#include "platform/file_ops.h"
#include "tests/engine/log_text.h"

namespace {

using namespace logtext;
using Scan = CLogFile::ScanMode;

struct Outcome {
  bool found = false;
  int lowest = 0;
  int highest = 0;
  std::string headerText;
  std::vector<std::string> boxes;
  std::vector<std::string> progress;
};

// The files one split made and what it told, by either way of reading.
struct SplitOutcome {
  bool ok = false;
  std::vector<std::string> files;
  int lowest = 0;
  int highest = 0;
  std::vector<std::string> boxes;
  std::vector<std::string> progress;
};

SplitOutcome SplitBytes(bool body, const std::string& bytes, int number, SplitMethod method, Scan scan) {
  EngineBench bench(body ? "MES_05.LOG" : "MES#05.LOG", body ? kKindBody : kKindTitle);
  const std::string backup = body ? "MES_05.B00" : "MES#05.B00";
  WriteBytes(bench.Path(backup), bytes);
  auto log = bench.MakeLog();
  std::uint32_t state = kNamingFresh;
  std::vector<std::string> lines;
  SplitOutcome out;
  if (log->MakeOldLogNames(number, 1, 5000, NamingForm::Serial, method, state) ||
      !log->MakeHeaderLines("F", "", lines) || !log->Open(backup)) {
    ADD_FAILURE() << "no plan";
    return out;
  }
  out.ok = log->Split(lines, scan);
  for (const std::string& name : log->names()) {
    out.files.push_back(plat::FileExists(bench.Path(name)) ? name + ":" + ReadBytes(bench.Path(name)) : "");
  }
  out.lowest = bench.entry.lowest;
  out.highest = bench.entry.highest;
  for (const auto& box : bench.port.boxes) out.boxes.push_back(box.text);
  out.progress = bench.progress.calls;
  return out;
}

Outcome AnalyzeBytes(const std::string& name, int kind, const std::string& bytes, Scan scan) {
  EngineBench bench(name, kind);
  bench.entry.lowest = 7;
  bench.entry.highest = 9;
  bench.entry.headerText = "before";
  WriteBytes(bench.Path(name), bytes);
  Outcome out;
  out.found = bench.Analyze(scan);
  out.lowest = bench.entry.lowest;
  out.highest = bench.entry.highest;
  out.headerText = bench.entry.headerText;
  for (const auto& box : bench.port.boxes) out.boxes.push_back(box.caption + "|" + box.text);
  out.progress = bench.progress.calls;
  return out;
}

// Line ends the host writes, and the odd ones a damaged file holds.
std::string LineEnd(std::mt19937& random) {
  const int r = std::uniform_int_distribution<int>(0, 19)(random);
  return r < 15 ? "\r\n" : r < 18 ? "\n" : r < 19 ? "\r\r\n" : "\r";
}

// A header of the log's own kind, or of the other kind, with its line ends.
std::string Header(std::mt19937& random, bool body, int number, std::string (*end)(std::mt19937&)) {
  const bool three = std::uniform_int_distribution<int>(0, 3)(random) == 0 && number < 1000;
  if (body) {
    return Format(three ? "%03d/%03d   XYZ00001" : "%05d/%05d ABC12345", number, number) + " re/x" + end(random) +
           "(A1)   98/02/10 12:34" + end(random);
  }
  return Format(three ? " %3d ABC12345 02/10  9:05 --- %3d" : " %5d ABC12345 02/10 12:34 ----- %3d", number, 7) +
         " t/x" + end(random);
}

// Lines that lie close to a header without being one, or that test where a
// piece ends: slashes at a template's column, lines about one piece long
// (with a header right after their first piece), dash lines of every size.
// A header whose byte at a template's "." after the "/" is the end-of-text
// mark: the input ends inside it, so it is no header.
std::string HeaderCutByMark(std::mt19937& random, bool body, int number) {
  std::string header = Header(random, body, number, LineEnd);
  header[body ? header.find("(A1)") + 1 : header.find("---")] = '\x1a';
  return header;
}

std::string Filler(std::mt19937& random, bool body, std::string (*end)(std::mt19937&)) {
  std::uniform_int_distribution<int> shape(0, 13), near(1019, 1026);
  switch (shape(random)) {
    case 0: return "12345/" + end(random);
    case 1: return " 1234 ABC12345 02/10 12:34 ----- / " + end(random);
    case 2: return std::string(static_cast<std::size_t>(near(random)), 'L') + end(random);
    case 3: return std::string(1022, 'c') + Header(random, body, 3, end);
    case 4: return "- " + std::string(static_cast<std::size_t>(near(random)) - 2, 'F') + end(random);
    case 5: return "- forum/line" + end(random);
    case 6:
      return "00001/00001 ABC12345" + std::string(static_cast<std::size_t>(near(random)) - 20, 'x') + end(random) +
             "(A1)   98/02/10 12:34" + end(random);
    case 7: return " 12\n45 ABC12345 02/10 12:34 ----- 123" + end(random);
    case 8: return "00000/00000 ABC12345 x" + end(random) + "(A1)   98/02/10 12:34" + end(random);
    case 9: return "\x82\x5e/\x82\xa0 //// text" + end(random);
    case 10: return "00012/00012 ABC12345" + end(random) + "(A1)   98/02/10 1" + end(random);
    default: return "\x82\xa0\x82\xa2 \xb1\xb2 text" + end(random);
  }
}

TEST(SkippingScan, FindsWhatTheLineWindowFinds) {
  std::mt19937 random(4711);
  for (int round = 0; round < 48; ++round) {
    const bool body = round % 4 != 3;
    const std::string name = body ? "MES_05.LOG" : "MES#05.LOG";
    // A few logs reach past the reader's buffer, so that headers fall on
    // either side of where the scan reads on.
    const int messages = round % 8 == 0 ? 14000 : 40 + round * 37;
    std::uniform_int_distribution<int> number(1, 5000), fillers(0, 4), rare(0, 999);
    std::string log = round % 5 == 0 ? "" : "- FORUMX  MES( 5):5 98/01/01 -" + LineEnd(random);
    for (int m = 0; m < messages; ++m) {
      const int r = rare(random);
      const int n = r == 0 && round % 3 == 0 ? 65536 + rare(random) : number(random);
      log += Header(random, r == 1 && round % 3 == 1 ? !body : body, n, LineEnd);
      for (int f = fillers(random); f > 0; --f) log += Filler(random, body, LineEnd);
      if (r == 2 && round % 6 == 5) log += "\x1a ignored " + Header(random, !body, 1, LineEnd);
      // Early in a log of several reads, so that the scan has let go of it
      // long before the end: only the scan itself can tell it was there.
      if (m == 20 && round % 16 == 8) log += HeaderCutByMark(random, body, 4999) + Header(random, body, 5000, LineEnd);
      // One of the other kind: looked at before the mark was, it would end
      // the analysis as a log of both kinds.
      if (m == 5 && round % 5 == 1) log += HeaderCutByMark(random, !body, 1);
    }
    if (round % 2) log += Header(random, body, 4, LineEnd).substr(0, 30);  // cut short, no line end

    const Outcome lines = AnalyzeBytes(name, body ? kKindBody : kKindTitle, log, Scan::LineByLine);
    const Outcome jumps = AnalyzeBytes(name, body ? kKindBody : kKindTitle, log, Scan::Skipping);
    EXPECT_EQ(jumps.found, lines.found) << round;
    EXPECT_EQ(jumps.lowest, lines.lowest) << round;
    EXPECT_EQ(jumps.highest, lines.highest) << round;
    EXPECT_EQ(jumps.headerText, lines.headerText) << round;
    EXPECT_EQ(jumps.boxes, lines.boxes) << round;
    // The steps are the same when the whole file was read: each line is far
    // less than five percent of it.
    if (lines.found && log.find('\x1a') == std::string::npos) {
      EXPECT_EQ(jumps.progress, lines.progress) << round;
    }
  }
}

// The same logs split: every output the same, byte for byte.
TEST(SkippingScan, SplitsAsTheLineWindowSplits) {
  std::mt19937 random(1234);
  for (int round = 0; round < 16; ++round) {
    const bool body = round % 4 != 3;
    const int messages = round % 5 == 0 ? 14000 : 30 + round * 41;
    std::uniform_int_distribution<int> number(1, 5000), fillers(0, 4), rare(0, 999);
    std::string log = "- FORUMX  MES( 5):5 98/01/01 -" + LineEnd(random) + "before" + LineEnd(random);
    for (int m = 0; m < messages; ++m) {
      const int r = rare(random);
      const int n = r == 0 && round % 4 == 1 ? 65536 + rare(random) : r == 1 ? 65536 : number(random);
      log += Header(random, r == 2 ? !body : body, n, LineEnd);
      for (int f = fillers(random); f > 0; --f) log += Filler(random, body, LineEnd);
    }
    if (round % 3 == 2) log += "\x1a" + Header(random, body, 9, LineEnd);
    if (round % 2) log += "no line end\r";
    const SplitMethod method = round % 2 ? SplitMethod::Multiple : SplitMethod::Single;
    const int cut = method == SplitMethod::Multiple ? 700 + round * 50 : 500 * (round % 9);
    const SplitOutcome lines = SplitBytes(body, log, cut, method, Scan::LineByLine);
    const SplitOutcome jumps = SplitBytes(body, log, cut, method, Scan::Skipping);
    EXPECT_EQ(jumps.ok, lines.ok) << round;
    EXPECT_EQ(jumps.files, lines.files) << round;
    EXPECT_EQ(jumps.lowest, lines.lowest) << round;
    EXPECT_EQ(jumps.highest, lines.highest) << round;
    EXPECT_EQ(jumps.boxes, lines.boxes) << round;
    if (lines.ok && log.find('\x1a') == std::string::npos) {
      EXPECT_EQ(jumps.progress, lines.progress) << round;
    }
  }
}

// Where the scan lets go of what it has read, a line end may fall between
// its CR and its LF, or a bare LF may come first: either is written as the
// line window writes it.
TEST(SkippingScan, LineEndsWhereTheScanLetsGo) {
  const std::size_t letsGoAt = plat::TextReader::kBufferSize - 2 * 2048;
  for (const std::string end : {"\r\n", "\n", "\r\r\n"}) {
    for (std::size_t shift = 0; shift < 4; ++shift) {
      std::string log = Dos(BodyMessage(1));
      const std::size_t endAt = letsGoAt - shift;  // where the line end starts
      while (log.size() + 200 <= endAt) log += std::string(98, 'x') + "\r\n";
      log += std::string(endAt - log.size(), 'y') + end;
      while (log.size() < plat::TextReader::kBufferSize + 8192) log += Dos(BodyMessage(2));
      const SplitOutcome lines = SplitBytes(true, log, 1, SplitMethod::Single, Scan::LineByLine);
      const SplitOutcome jumps = SplitBytes(true, log, 1, SplitMethod::Single, Scan::Skipping);
      ASSERT_TRUE(lines.ok);
      EXPECT_TRUE(jumps.files == lines.files) << shift << " " << end.size();  // no megabyte dumps
    }
  }
}

// Where a piece ends decides whether a line before a header is the forum
// header line and whether a header's first line may have a second.
TEST(SkippingScan, PieceEndsDecideAsLineByLine) {
  for (const std::string end : {"\r\n", "\n", "\r\r\n"}) {
    for (std::size_t length = 1019; length <= 1026; ++length) {
      const std::string dash = "- " + std::string(length - 2 - (end == "\r\r\n"), 'F');
      const std::string first = "00002/00002 ABC12345" + std::string(length - 20 - (end == "\r\r\n"), 'x');
      const std::string log = "text" + end + dash + end + "00001/00001 ABC12345" + end + "(A1)   98/02/10 12:34" + end +
                              first + end + "(A1)   98/02/10 12:34" + end;
      const Outcome lines = AnalyzeBytes("MES_05.LOG", kKindBody, log, Scan::LineByLine);
      const Outcome jumps = AnalyzeBytes("MES_05.LOG", kKindBody, log, Scan::Skipping);
      const bool onePiece = length <= 1022;
      EXPECT_EQ(lines.headerText, onePiece ? dash.substr(0, 99) : "") << length;
      EXPECT_EQ(lines.highest, onePiece ? 2 : 1) << length;
      EXPECT_EQ(jumps.headerText, lines.headerText) << length;
      EXPECT_EQ(jumps.highest, lines.highest) << length;
    }
  }
}

// The scan reads on a little before the end of the reader's full buffer: a
// header, and the forum header line before it, are found wherever that falls.
TEST(SkippingScan, HeadersWhereTheScanReadsOn) {
  const std::size_t readsOnAt = plat::TextReader::kBufferSize - 2048;
  for (const bool body : {true, false}) {
    const std::string header = body ? Dos(BodyHeader(7)) : Dos(TitleLine(7));
    for (std::size_t shift = 0; shift <= 24; shift += 3) {
      const std::size_t start = readsOnAt - 20 + shift;
      const std::string dash = "- boundary" + std::string(1010, 'b') + "\r\n";  // one piece, just
      std::string log;
      while (log.size() + 200 <= start - dash.size()) log += std::string(98, 'x') + "\r\n";
      log += std::string(start - dash.size() - log.size() - 2, 'y') + "\r\n" + dash + header;
      while (log.size() < plat::TextReader::kBufferSize + 4096) log += "text\r\n";
      ASSERT_EQ(log.find(header), start);
      const Outcome jumps =
          AnalyzeBytes(body ? "MES_05.LOG" : "MES#05.LOG", body ? kKindBody : kKindTitle, log, Scan::Skipping);
      EXPECT_TRUE(jumps.found) << shift;
      EXPECT_EQ(jumps.highest, 7) << shift;
      EXPECT_EQ(jumps.headerText, dash.substr(0, 99)) << shift;
    }
  }
}

// Where the C library has no backward search, a line start is found eight
// bytes at a time: it must find the last LF wherever it lies, past bytes
// that differ from LF only in their top bit or by one.
TEST(SkippingScan, LineStartsFoundByWordsAsByBytes) {
  char text[48];
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t lf = 0; lf <= length; ++lf) {  // lf == length: none
      for (std::size_t i = 0; i < sizeof text; ++i) text[i] = "\x8a\x0b\x09x"[i % 4];
      if (lf < length) text[lf] = '\n';
      if (lf + 3 < length) text[lf + 3] = '\n';  // a later one wins
      text[length] = '\n';                       // never looked at
      const char* found = lastbyte::FindByWords(text, length, '\n');
      const std::size_t last = lf + 3 < length ? lf + 3 : lf;
      EXPECT_EQ(found, last < length ? text + last : nullptr) << length << " " << lf;
      EXPECT_EQ(lastbyte::Find(text, length, '\n'), found) << length << " " << lf;
    }
  }
}

}  // namespace
