// Splitting: what each output holds, byte for byte; what the entry learns;
// and that a split that fails anywhere leaves only the backup behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <set>

#include "engine/split_outputs.h"
#include "platform/file_ops.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "tests/engine/log_text.h"
#include "tests/support/injected_fault.h"

namespace {

using namespace logtext;
using Scan = CLogFile::ScanMode;

// Reading line by line and by jumps must write the same, so the cases below
// run through both.
constexpr Scan kBothScans[] = {Scan::LineByLine, Scan::Skipping};

std::set<std::string> FolderNames(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

std::string Messages(int first, int last) {
  std::string text;
  for (int n = first; n <= last; ++n) text += BodyMessage(n);
  return text;
}

// Names the outputs as the split command would (serial form: the log's base
// name and a numbered extension), makes the header lines and opens the backup.
struct Planned {
  std::unique_ptr<CLogFile> log;
  std::vector<std::string> lines;
  bool ok = false;
};
Planned Plan(EngineBench& bench, const std::string& backup, int number, SplitMethod method, int lower, int upper) {
  Planned p{bench.MakeLog(), {}, false};
  std::uint32_t state = kNamingFresh;
  p.ok = !p.log->MakeOldLogNames(number, lower, upper, NamingForm::Serial, method, state) &&
         p.log->MakeHeaderLines("FORUMX", "", p.lines) && p.log->Open(backup);
  return p;
}

TEST(Split, BodyLogCutAt3000KeepsTheNewestInTheLog) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.entry.lowest = 1;
  bench.entry.highest = 3500;
  const std::string source = kForumHeader + "dropped before the first message\n" + Messages(1, 3500);
  bench.Put("MES_05.B00", source);
  Planned s = Plan(bench, "MES_05.B00", 3000, SplitMethod::Single, 1, 3500);
  ASSERT_TRUE(s.ok);
  ASSERT_TRUE(s.log->Split(s.lines));
  const std::string room = "- FORUMX  MES( 5):5\x94\xd4\x89\xef\x8b\x63\x8e\xba";
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.003")), Dos(room + "(00001-03000) 98/02/10 -\n" + Messages(1, 3000)));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.LOG")), Dos(room + " 98/02/10 -\n" + Messages(3001, 3500)));
  EXPECT_EQ(ReadBytes(bench.Path("MES_05.B00")), Dos(source));
  EXPECT_EQ(bench.entry.lowest, 3001);
  EXPECT_EQ(bench.entry.highest, 3500);
  EXPECT_EQ(s.log->previousLowest(), 1);
  EXPECT_EQ(s.log->previousHighest(), 3500);
  plat::FileStatus status;
  ASSERT_TRUE(plat::GetFileStatus(bench.Path("MES_05.LOG"), &status));
  EXPECT_EQ(bench.entry.size, status.size);
  EXPECT_EQ(bench.entry.modificationTime, status.mtime);
  EXPECT_EQ(bench.progress.action, "分割");
  EXPECT_EQ(bench.progress.calls.back(), "end");
}

// Generated logs of both kinds: every line after the first header lands
// exactly once, in the output its message's number selects, in source
// order, and the log's range is that of what it kept.
TEST(Split, EveryLineLandsOnceInTheOutputItsNumberSelects) {
  std::mt19937 random(829);
  for (int round = 0; round < 24; ++round) {
    const Scan scan = kBothScans[round % 4 / 2];
    const bool body = round % 3 != 2;
    EngineBench bench(body ? "MES_05.LOG" : "MES#05.LOG", body ? kKindBody : kKindTitle);
    const std::string backup = body ? "MES_05.B00" : "MES#05.B00";
    std::uniform_int_distribution<int> number(1, 5000), extra(0, 3), shape(0, 9);
    std::vector<std::pair<int, std::string>> messages;
    for (int m = 0; m < 20 + round * 10; ++m) {
      const int n = number(random);
      std::string block = !body ? TitleLine(n) : n < 1000 && shape(random) < 3 ? ShortBodyHeader(n) : BodyHeader(n);
      for (int e = extra(random); e > 0; --e) {
        const int s = shape(random);
        block += s == 0   ? std::string(1500, 'L') + "\n"
                 : s == 1 ? std::string(1023, 'c') + (body ? BodyHeader(n + 1) : TitleLine(n + 1))
                 : s == 2 ? "- a forum line\n"
                 : s == 3 ? (body ? BodyHeader(0) : TitleLine(0))
                 : s == 4 ? "lone\rCR\n"
                 : s == 5 ? (body ? TitleLine(n) : BodyHeader(n))  // the other kind is text here
                          : "\x82\xa0 text\n";
      }
      messages.emplace_back(n, block);
    }
    if (round % 2) messages.back().second += "no line end";
    std::string source = body ? kForumHeader + "before\n" : "before\n";
    int lowest = 65536, highest = 0;
    for (const auto& m : messages) {
      source += m.second;
      lowest = std::min(lowest, m.first);
      highest = std::max(highest, m.first);
    }
    bench.Put(backup, source);

    const SplitMethod method = round % 2 ? SplitMethod::Multiple : SplitMethod::Single;
    const int cut = method == SplitMethod::Multiple ? 1000 * (1 + round % 3) : 1000 * (round % 6);
    Planned s = Plan(bench, backup, cut, method, lowest, highest);
    ASSERT_TRUE(s.ok);
    ASSERT_TRUE(s.log->Split(s.lines, scan)) << round;

    const auto& cuts = s.log->cutPoints();
    const auto& names = s.log->names();
    std::vector<std::string> expected(names.size());
    for (std::size_t i = 0; body && i < names.size(); ++i) expected[i] = s.lines[i] + "\n";
    int keptLowest = kNoHighest, keptHighest = 0;
    for (const auto& m : messages) {
      std::size_t i = 0;
      while (!(cuts[i] < m.first && m.first <= cuts[i + 1])) ++i;
      expected[i] += m.second;
      if (i + 1 == names.size())
        keptLowest = std::min(keptLowest, m.first), keptHighest = std::max(keptHighest, m.first);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(ReadBytes(bench.Path(names[i])), Dos(expected[i])) << "round " << round << " " << names[i];
    }
    EXPECT_EQ(bench.entry.lowest, keptHighest ? keptLowest : kNoLowest);
    EXPECT_EQ(bench.entry.highest, keptHighest ? keptHighest : kNoHighest);
    EXPECT_EQ(ReadBytes(bench.Path(backup)), Dos(source));  // moving it back restores the log
  }
}

// Each file operation of a split made to fail in turn, on each output (and
// a file the host made under the log's name meanwhile): the split fails,
// names the file, and leaves the folder and the entry as they were.
TEST(Split, EveryFailureLeavesTheFolderAndTheEntryAsTheyWere) {
  const std::string source = kForumHeader + Messages(1, 15000);  // outputs outgrow their buffers
  struct Case {
    plat::FileOp op;
    int output;  // -1: the backup
  };
  std::vector<Case> cases{{plat::FileOp::Read, -1}, {plat::FileOp::Status, 2}};
  for (plat::FileOp op : {plat::FileOp::Open, plat::FileOp::Write, plat::FileOp::Sync, plat::FileOp::Close}) {
    for (int output = 0; output < 3; ++output) cases.push_back({op, output});
  }
  cases.push_back({plat::FileOp::List, 2});  // stands for: the log's name is taken
  for (const Case& c : cases) {
    for (const Scan scan : kBothScans) {
      EngineBench bench("MES_05.LOG", kKindBody);
      bench.entry.lowest = 1;
      bench.entry.highest = 15000;
      bench.entry.modificationTime = 12345;
      bench.entry.size = 678;
      bench.Put("MES_05.B00", source);
      Planned s = Plan(bench, "MES_05.B00", 5000, SplitMethod::Multiple, 1, 15000);
      ASSERT_TRUE(s.ok);
      const std::string target = c.output < 0 ? "MES_05.B00" : s.log->names()[static_cast<std::size_t>(c.output)];
      const bool taken = c.op == plat::FileOp::List;
      if (taken) bench.Put("MES_05.LOG", "the host's new text\n");
      const auto before = FolderNames(bench.dir.path());
      bool split;
      {
        InjectedFault fault(c.op, target, c.op == plat::FileOp::Write ? ENOSPC : EIO, c.op == plat::FileOp::Read);
        split = s.log->Split(s.lines, scan);
      }
      const std::string what =
          std::to_string(static_cast<int>(c.op)) + " " + target + " " + std::to_string(static_cast<int>(scan));
      EXPECT_FALSE(split) << what;
      ASSERT_EQ(bench.port.fileErrors.size(), 1u) << what;
      EXPECT_EQ(bench.port.fileErrors[0].file, target) << what;
      EXPECT_EQ(FolderNames(bench.dir.path()), before) << what;
      EXPECT_EQ(ReadBytes(bench.Path("MES_05.B00")), Dos(source)) << what;
      if (taken) {
        EXPECT_EQ(ReadBytes(bench.Path("MES_05.LOG")), Dos("the host's new text\n"));
      }
      EXPECT_EQ(bench.entry.lowest, 1) << what;
      EXPECT_EQ(bench.entry.highest, 15000) << what;
      EXPECT_EQ(bench.entry.modificationTime, 12345) << what;
      EXPECT_EQ(bench.entry.size, 678) << what;
    }
  }
}

TEST(Split, FullDiskStopsThePassAtOnce) {
  const std::string source = Messages(1, 30000);  // the log's output outgrows its buffer twice
  for (const Scan scan : kBothScans) {
    EngineBench bench("MES_05.LOG", kKindBody);
    bench.Put("MES_05.B00", source);
    Planned s = Plan(bench, "MES_05.B00", 100, SplitMethod::Single, 1, 30000);
    ASSERT_TRUE(s.ok);
    // The header line goes out as the file is made; the disk fills after it.
    InjectedFault fault(plat::FileOp::Write, "MES_05.LOG", ENOSPC, 1);
    EXPECT_FALSE(s.log->Split(s.lines, scan));
    EXPECT_EQ(fault.hits(), 1);
    EXPECT_EQ(std::count(bench.progress.calls.begin(), bench.progress.calls.end(), "100"), 0);
    EXPECT_EQ(bench.progress.calls.back(), "end");
    EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{"MES_05.B00"}));
  }
}

TEST(Split, MessageAboveTheSentinelRefusesTheSplitAtItsLine) {
  for (const Scan scan : kBothScans) {
    EngineBench bench("MES#05.LOG", kKindTitle);
    bench.Put("MES#05.B00", TitleLine(1) + std::string(1500, 'L') + "\n" + TitleLine(70000) + TitleLine(3));
    Planned s = Plan(bench, "MES#05.B00", 2, SplitMethod::Single, 1, 3);
    ASSERT_TRUE(s.ok);
    EXPECT_FALSE(s.log->Split(s.lines, scan));
    ASSERT_EQ(bench.port.boxes.size(), 1u);
    EXPECT_EQ(bench.port.boxes[0].id, ids::kMsgNumberOutOfRange);
    EXPECT_EQ(bench.port.boxes[0].text.rfind("MES#05.LOG - line 4 :", 0), 0u);
    EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{"MES#05.B00"}));
  }
}

TEST(Split, TextAfterAnEndMarkRefusesTheSplitAtItsLine) {
  // An old program's end-of-text byte part way: the input stops there, and
  // outputs made from it would lose the rest once the backup goes.
  for (const Scan scan : kBothScans) {
    EngineBench bench("MES_05.LOG", kKindBody);
    bench.Put("MES_05.B00", Messages(1, 3) + "cut\x1a here\n" + Messages(4, 6));
    Planned s = Plan(bench, "MES_05.B00", 2, SplitMethod::Single, 1, 6);
    ASSERT_TRUE(s.ok);
    EXPECT_FALSE(s.log->Split(s.lines, scan));
    ASSERT_EQ(bench.port.boxes.size(), 1u);
    EXPECT_EQ(bench.port.boxes[0].id, ids::kMsgDataAfterEndMark);
    EXPECT_EQ(bench.port.boxes[0].text.rfind("MES_05.LOG - line 10 :", 0), 0u);
    EXPECT_EQ(bench.port.boxes[0].caption, KivString(ids::kMsgDataAfterEndMarkCaption));
    EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{"MES_05.B00"}));
  }
  // Only further marks and line ends after it: the old end of the text.
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.B00", Messages(1, 6) + "\x1a\n\x1a");
  Planned s = Plan(bench, "MES_05.B00", 2, SplitMethod::Single, 1, 6);
  ASSERT_TRUE(s.ok);
  EXPECT_TRUE(s.log->Split(s.lines));
}

// The outputs' own guarantee, whichever way the split leaves them: what was
// not committed is gone once they go, what was is kept, and a file already
// under an output's name is neither replaced nor removed.
TEST(Split, OutputsNotCommittedAreRemovedWhenTheyGo) {
  EngineBench bench("MES_05.LOG", kKindBody);
  const std::vector<std::string> temps{"~KIV-1-0.TMP", "~KIV-1-1.TMP"};
  const std::vector<std::string> names{"MES_05.003", "MES_05.LOG"};
  const std::vector<std::string> lines{"first", "current"};
  for (const bool commit : {false, true}) {
    {
      SplitOutputs outputs(bench.dir.path(), temps, names, bench.messenger);
      ASSERT_TRUE(outputs.Create(&lines));
      outputs[1].Write("text\n");
      if (commit) {
        ASSERT_TRUE(outputs.Finish(-1));
        outputs.Commit();
      }
    }
    EXPECT_EQ(FolderNames(bench.dir.path()),
              commit ? std::set<std::string>(temps.begin(), temps.end()) : std::set<std::string>{});
  }
  EXPECT_EQ(ReadBytes(bench.Path(temps[1])), Dos("current\ntext\n"));
  EXPECT_TRUE(bench.port.fileErrors.empty());

  // The second name is taken: the first output goes, the taken file stays.
  plat::DeleteFile(bench.Path(temps[0]));
  {
    SplitOutputs outputs(bench.dir.path(), temps, names, bench.messenger);
    EXPECT_FALSE(outputs.Create(nullptr));
  }
  EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{temps[1]}));
  EXPECT_EQ(ReadBytes(bench.Path(temps[1])), Dos("current\ntext\n"));
  ASSERT_EQ(bench.port.fileErrors.size(), 1u);
  EXPECT_EQ(bench.port.fileErrors[0].file, "MES_05.LOG");
}

TEST(Split, WithoutAnOpenSourceOrAPlanNothingIsMade) {
  EngineBench bench("MES_05.LOG", kKindBody);
  bench.Put("MES_05.B00", Messages(1, 5));
  Planned unopened = Plan(bench, "MES_05.B09", 3, SplitMethod::Single, 1, 5);
  bench.port.Clear();
  EXPECT_FALSE(unopened.log->Split(unopened.lines));
  auto unplanned = bench.MakeLog();
  ASSERT_TRUE(unplanned->Open("MES_05.B00"));
  EXPECT_FALSE(unplanned->Split({}));
  EXPECT_EQ(FolderNames(bench.dir.path()), (std::set<std::string>{"MES_05.B00"}));
}

}  // namespace
