// Splitting: what each output holds, byte for byte; what the entry learns;
// and that a split that fails anywhere leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "engine/engine_messages.h"
#include "platform/file_ops.h"
#include "resources/string_table.h"
#include "tests/engine/log_text.h"
#include "tests/support/injected_fault.h"

namespace {

using logtext::BodyHeader;
using logtext::BodyMessage;
using logtext::Dos;
using logtext::EngineBench;
using logtext::kForumHeader;
using logtext::ShortBodyHeader;
using logtext::TitleLine;

const char kBackup[] = "MES_05.B00";
const char kTitleBackup[] = "MES#05.B00";

std::set<std::string> FolderNames(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

// Plans the split the way the split command does (serial form, so the names
// are the log's base name with a numbered extension), opens the backup and
// splits it.
struct PlannedSplit {
  std::unique_ptr<CLogFile> log;
  std::vector<std::string> lines;
  bool planned = false;
};

PlannedSplit Plan(EngineBench& bench, const std::string& backup, int number, int method, int lower,
                  int upper) {
  PlannedSplit s;
  s.log = bench.MakeLog();
  std::uint32_t state = kNamingFresh;
  s.planned = !s.log->MakeOldLogNames(number, lower, upper, kFormSerial, method, state) &&
              s.log->MakeHeaderLines("FORUMX", "", s.lines) && s.log->Open(backup);
  return s;
}

std::string Messages(int first, int last) {
  std::string text;
  for (int n = first; n <= last; ++n) text += BodyMessage(n);
  return text;
}

TEST(Split, BodyLogCutAt3000KeepsTheNewestInTheLog) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 1;
  bench.entry.highest = 3500;
  bench.entry.headerText = "kept";
  const std::string source = kForumHeader + "dropped text before the first message\n" + Messages(1, 3500);
  bench.Put(kBackup, source);
  PlannedSplit s = Plan(bench, kBackup, 3000, kMethodSingle, 1, 3500);
  ASSERT_TRUE(s.planned);
  ASSERT_EQ(s.log->names(), (std::vector<std::string>{"MES_05.003", "MES_05.LOG"}));
  ASSERT_TRUE(s.log->Split(s.lines));

  const std::string oldLine = "- FORUMX  MES( 5):5\x94\xd4\x89\xef\x8b\x63\x8e\xba(00001-03000) 98/02/10 -\n";
  const std::string newLine = "- FORUMX  MES( 5):5\x94\xd4\x89\xef\x8b\x63\x8e\xba 98/02/10 -\n";
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.003")), Dos(oldLine + Messages(1, 3000)));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.LOG")), Dos(newLine + Messages(3001, 3500)));
  EXPECT_EQ(ReadBytes(bench.Path(kBackup)), Dos(source));
  EXPECT_EQ(bench.entry.lowest, 3001);
  EXPECT_EQ(bench.entry.highest, 3500);
  EXPECT_EQ(s.log->previousLowest(), 1);
  EXPECT_EQ(s.log->previousHighest(), 3500);
  EXPECT_EQ(bench.entry.headerText, "kept");
  plat::FileStatus status;
  ASSERT_TRUE(plat::GetFileStatus(bench.Path("MES_05.LOG"), &status));
  EXPECT_EQ(bench.entry.size, status.size);
  EXPECT_EQ(bench.entry.modificationTime, status.mtime);
  EXPECT_EQ(bench.progress.action, "分割");
  EXPECT_EQ(bench.progress.calls.front(), "begin");
  EXPECT_EQ(bench.progress.calls.back(), "end");
  EXPECT_TRUE(bench.port.boxes.empty());
  EXPECT_TRUE(bench.port.fileErrors.empty());
}

TEST(Split, OutOfOrderMessagesKeepSourceOrderAndTheirTrailingLines) {
  // A dash line before a later message and the text after the last one stay
  // with the message they follow; a last line without LF stays without.
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 2998;
  bench.entry.highest = 3002;
  const std::string m2999 = BodyMessage(2999) + "- an old forum line\n";
  const std::string m3002 = ShortBodyHeader(3002 % 1000) + "short form, number 2\n";
  const std::string m3001 = BodyMessage(3001);
  const std::string m2998 = BodyMessage(2998) + "last line without end";
  bench.Put(kBackup, m2999 + m3002 + m3001 + m2998);
  PlannedSplit s = Plan(bench, kBackup, 3000, kMethodSingle, 2, 3001);
  ASSERT_TRUE(s.planned);
  ASSERT_TRUE(s.log->Split(s.lines));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.003")), Dos(s.lines[0] + "\n" + m2999 + m3002 + m2998));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.LOG")), Dos(s.lines[1] + "\n" + m3001));
  EXPECT_EQ(bench.entry.lowest, 3001);
  EXPECT_EQ(bench.entry.highest, 3001);
}

TEST(Split, NothingLeftForTheLogMarksItNotAnalysed) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 1;
  bench.entry.highest = 30;
  bench.Put(kBackup, kForumHeader + Messages(1, 30));
  PlannedSplit s = Plan(bench, kBackup, 4000, kMethodSingle, 1, 30);
  ASSERT_TRUE(s.planned);
  ASSERT_TRUE(s.log->Split(s.lines));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.LOG")), Dos(s.lines[1] + "\n"));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.004")), Dos(s.lines[0] + "\n" + Messages(1, 30)));
  EXPECT_FALSE(bench.entry.RangeKnown());
  EXPECT_EQ(s.log->previousHighest(), 30);
}

TEST(Split, TitleLogOutputsHoldOnlyTitleLines) {
  EngineBench bench("MES#05.LOG", kKindTitle);
  bench.entry.lowest = 1;
  bench.entry.highest = 3500;
  std::string titles[5];
  std::string source = "stray line before the titles\n";
  for (int n = 1; n <= 3500; n += 7) {
    titles[n <= 1000 ? 0 : n <= 2000 ? 1 : n <= 3000 ? 2 : 4] += TitleLine(n);
    source += TitleLine(n);
  }
  bench.Put(kTitleBackup, source);
  PlannedSplit s = Plan(bench, kTitleBackup, 1000, kMethodMultiple, 1, 3500);
  ASSERT_TRUE(s.planned);
  ASSERT_EQ(s.log->names(),
            (std::vector<std::string>{"MES#05.001", "MES#05.002", "MES#05.003", "MES#05.LOG"}));
  ASSERT_TRUE(s.log->Split(s.lines));
  EXPECT_EQ(ReadBytes(bench.Path("MES#05.001")), Dos(titles[0]));
  EXPECT_EQ(ReadBytes(bench.Path("MES#05.002")), Dos(titles[1]));
  EXPECT_EQ(ReadBytes(bench.Path("MES#05.003")), Dos(titles[2]));
  EXPECT_EQ(ReadBytes(bench.Path("MES#05.LOG")), Dos(titles[4]));
  EXPECT_EQ(bench.entry.lowest, 3004);
  EXPECT_EQ(bench.entry.highest, 3494);
}

TEST(Split, NoOldLogRewritesTheLogUnderItsOwnName) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 10;
  bench.entry.highest = 1000;
  bench.Put(kBackup, kForumHeader + Messages(10, 40));
  PlannedSplit s = Plan(bench, kBackup, 1000, kMethodMultiple, 10, 1000);
  ASSERT_TRUE(s.planned);
  ASSERT_EQ(s.log->names().size(), 1u);
  ASSERT_TRUE(s.log->Split(s.lines));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.LOG")), Dos(s.lines[0] + "\n" + Messages(10, 40)));
  EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{kBackup, "MES_05.LOG"}));
}

TEST(Split, LongLinesComeOutWholeAndStayWithTheirMessage) {
  // The rest of a long line looks like a header of another range; the line
  // must still come out whole in its own message's output.
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 5;
  bench.entry.highest = 2500;
  const std::string m5 = BodyMessage(5) + std::string(1023, 'x') + BodyHeader(2500) + std::string(3000, 'y') + "\n";
  const std::string m2400 = BodyMessage(2400);
  bench.Put(kBackup, m5 + m2400);
  PlannedSplit s = Plan(bench, kBackup, 2000, kMethodSingle, 5, 2400);
  ASSERT_TRUE(s.planned);
  ASSERT_TRUE(s.log->Split(s.lines));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.002")), Dos(s.lines[0] + "\n" + m5));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.LOG")), Dos(s.lines[1] + "\n" + m2400));
}

// Generated logs: every line after the first header lands exactly once, in
// the output its message's number selects, in source order; the backup is
// never touched, so moving it back restores the log.
TEST(Split, EveryLineLandsOnceInTheOutputItsNumberSelects) {
  std::mt19937 random(829);
  for (int round = 0; round < 24; ++round) {
    const bool body = round % 3 != 2;
    EngineBench bench(body ? "MES_05.LOG" : "MES#05.LOG", body ? kKindBody : kKindTitle);
    const std::string backup = body ? kBackup : kTitleBackup;
    std::uniform_int_distribution<int> number(1, 5000), extra(0, 3), shape(0, 9);
    std::vector<std::pair<int, std::string>> messages;
    int lowest = 65536, highest = 0;
    for (int m = 0, count = 20 + round * 10; m < count; ++m) {
      const int n = number(random);
      lowest = std::min(lowest, n);
      highest = std::max(highest, n);
      std::string block = body ? (n < 1000 && shape(random) < 3 ? ShortBodyHeader(n) : BodyHeader(n)) : TitleLine(n);
      for (int e = extra(random); e > 0; --e) {
        switch (shape(random)) {
          case 0: block += std::string(1500, 'L') + "\n"; break;
          case 1: block += std::string(1023, 'c') + (body ? BodyHeader(n + 1) : TitleLine(n + 1)); break;
          case 2: block += "- a forum line\n"; break;
          case 3: block += body ? BodyHeader(0) : TitleLine(0); break;
          case 4: block += "lone\rCR\n"; break;
          case 5: block += body ? TitleLine(n) : BodyHeader(n); break;  // the other kind is text here
          default: block += logtext::kJapanese + "\n"; break;
        }
      }
      messages.emplace_back(n, block);
    }
    if (round % 2) messages.back().second += "no line end";
    std::string source = body ? kForumHeader + "before\n" : std::string("before\n");
    for (const auto& m : messages) source += m.second;
    bench.Put(backup, source);

    const int method = round % 2 ? kMethodMultiple : kMethodSingle;
    const int step = method == kMethodMultiple ? 1000 * (1 + round % 3) : 1000 * (round % 6);
    PlannedSplit s = Plan(bench, backup, step, method, lowest, highest);
    ASSERT_TRUE(s.planned) << round;
    ASSERT_TRUE(s.log->Split(s.lines)) << round;

    const auto& cuts = s.log->cutPoints();
    const auto& names = s.log->names();
    std::vector<std::string> expected(names.size());
    for (std::size_t i = 0; i < names.size() && body; ++i) expected[i] = s.lines[i] + "\n";
    for (const auto& m : messages) {
      std::size_t i = 0;
      while (!(cuts[i] < m.first && m.first <= cuts[i + 1])) ++i;
      expected[i] += m.second;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(ReadBytes(bench.Path(names[i])), Dos(expected[i])) << "round " << round << " " << names[i];
    }
    EXPECT_EQ(ReadBytes(bench.Path(backup)), Dos(source));
    EXPECT_TRUE(bench.port.boxes.empty());
  }
}

TEST(Split, AnExistingFileIsNeverReplacedAndTheFolderStaysAsItWas) {
  // The host started a new log under the log's name after the move to the
  // backup: the second output can't be made, the first is taken back.
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 1;
  bench.entry.highest = 3500;
  bench.Put(kBackup, Messages(1, 3500));
  bench.Put("MES_05.LOG", "the host's new text\n");
  const auto before = FolderNames(bench.dir.path());
  PlannedSplit s = Plan(bench, kBackup, 3000, kMethodSingle, 1, 3500);
  ASSERT_TRUE(s.planned);
  EXPECT_FALSE(s.log->Split(s.lines));
  ASSERT_EQ(bench.port.fileErrors.size(), 1u);
  EXPECT_EQ(bench.port.fileErrors[0].file, "MES_05.LOG");
  EXPECT_EQ(bench.port.fileErrors[0].err, EEXIST);
  EXPECT_EQ(FolderNames(bench.dir.path()), before);
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.LOG")), Dos("the host's new text\n"));
  EXPECT_EQ(bench.entry.lowest, 1);
  EXPECT_EQ(bench.entry.highest, 3500);
  EXPECT_TRUE(bench.progress.calls.empty());  // nothing was read
}

// Each file operation of the outputs made to fail in turn, on each output:
// the split fails, names the output, leaves only the backup, byte for byte,
// and the entry as it was.
TEST(Split, EveryFailingFileOperationLeavesOnlyTheBackup) {
  const std::string source = kForumHeader + Messages(1, 15000);  // outputs outgrow their buffers
  for (plat::FileOp op : {plat::FileOp::Open, plat::FileOp::Write, plat::FileOp::Sync, plat::FileOp::Close}) {
    for (std::size_t output = 0; output < 3; ++output) {
      EngineBench bench("MES_05.LOG", kKindBody);
      bench.entry.lowest = 1;
      bench.entry.highest = 15000;
      bench.entry.modificationTime = 12345;
      bench.entry.size = 678;
      bench.Put(kBackup, source);
      PlannedSplit s = Plan(bench, kBackup, 5000, kMethodMultiple, 1, 15000);
      ASSERT_TRUE(s.planned);
      ASSERT_EQ(s.log->names(), (std::vector<std::string>{"MES_05.005", "MES_05.010", "MES_05.LOG"}));
      const std::string target = s.log->names()[output];
      bool split = true;
      {
        InjectedFault fault(op, target, op == plat::FileOp::Write ? ENOSPC : EIO);
        split = s.log->Split(s.lines);
        EXPECT_GE(fault.hits(), 1);
      }
      const std::string what = std::to_string(static_cast<int>(op)) + " " + target;
      EXPECT_FALSE(split) << what;
      ASSERT_EQ(bench.port.fileErrors.size(), 1u) << what;
      EXPECT_EQ(bench.port.fileErrors[0].file, target) << what;
      EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{kBackup})) << what;
      EXPECT_EQ(ReadBytes(bench.Path(kBackup)), Dos(source)) << what;
      EXPECT_EQ(bench.entry.lowest, 1);
      EXPECT_EQ(bench.entry.highest, 15000);
      EXPECT_EQ(bench.entry.modificationTime, 12345);
      EXPECT_EQ(bench.entry.size, 678);
      if (!bench.progress.calls.empty()) {
        EXPECT_EQ(bench.progress.calls.back(), "end") << what;
      }
    }
  }
}

TEST(Split, FullDiskStopsThePassAtOnce) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 1;
  bench.entry.highest = 30000;
  bench.Put(kBackup, Messages(1, 30000));  // the log's output outgrows its buffer twice
  PlannedSplit s = Plan(bench, kBackup, 100, kMethodSingle, 1, 30000);
  ASSERT_TRUE(s.planned);
  InjectedFault fault(plat::FileOp::Write, "MES_05.LOG", ENOSPC);
  EXPECT_FALSE(s.log->Split(s.lines));
  EXPECT_EQ(fault.hits(), 1);  // nothing more is written once the disk is full
  ASSERT_EQ(bench.port.fileErrors.size(), 1u);
  EXPECT_EQ(bench.port.fileErrors[0].file, "MES_05.LOG");
  EXPECT_EQ(bench.port.fileErrors[0].err, ENOSPC);
  EXPECT_EQ(std::count(bench.progress.calls.begin(), bench.progress.calls.end(), "100"), 0);
  EXPECT_EQ(bench.progress.calls.back(), "end");
  EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{kBackup}));
}

TEST(Split, ReadErrorOnTheBackupFailsTheSplit) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 1;
  bench.entry.highest = 15000;
  bench.Put(kBackup, Messages(1, 15000));
  PlannedSplit s = Plan(bench, kBackup, 3000, kMethodSingle, 1, 15000);
  ASSERT_TRUE(s.planned);
  InjectedFault fault(plat::FileOp::Read, kBackup, EIO, 1);
  EXPECT_FALSE(s.log->Split(s.lines));
  ASSERT_EQ(bench.port.fileErrors.size(), 1u);
  EXPECT_EQ(bench.port.fileErrors[0].file, kBackup);
  EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{kBackup}));
  EXPECT_EQ(bench.entry.highest, 15000);
}

TEST(Split, MessageAboveTheSentinelRefusesTheSplitWithItsLine) {
  // The file changed within the second of its analysis: a number no output
  // can hold is not filed somewhere wrong, nor dropped.
  EngineBench bench("MES#05.LOG", kKindTitle);
  bench.entry.lowest = 1;
  bench.entry.highest = 3;
  bench.Put(kTitleBackup, TitleLine(1) + TitleLine(70000) + TitleLine(3));
  PlannedSplit s = Plan(bench, kTitleBackup, 2, kMethodSingle, 1, 3);
  ASSERT_TRUE(s.planned);
  EXPECT_FALSE(s.log->Split(s.lines));
  ASSERT_EQ(bench.port.boxes.size(), 1u);
  EXPECT_EQ(bench.port.boxes[0].text, "MES#05.LOG - line 2 :" + std::string(KivString(kMsgNumberOutOfRange)));
  EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{kTitleBackup}));
  EXPECT_EQ(bench.entry.highest, 3);
}

TEST(Split, WithoutAnOpenSourceOrAPlanNothingIsMade) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put(kBackup, Messages(1, 5));
  {
    auto log = bench.MakeLog();
    std::uint32_t state = kNamingFresh;
    ASSERT_FALSE(log->MakeOldLogNames(3, 1, 5, kFormSerial, kMethodSingle, state));
    std::vector<std::string> lines;
    ASSERT_TRUE(log->MakeHeaderLines("FORUMX", "", lines));
    EXPECT_FALSE(log->Split(lines));
  }
  {
    auto log = bench.MakeLog();
    ASSERT_TRUE(log->Open(kBackup));
    EXPECT_FALSE(log->Split({}));
  }
  EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{kBackup}));
}

}  // namespace
