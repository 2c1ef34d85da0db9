#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "platform/forum_lock.h"
#include "tests/batch/batch_runner.h"
#include "tests/support/temp_dir.h"

namespace {

// Three forums (FORUM1, FORUM2, GROUP1/FORUM3) of two rooms with messages
// 1-2500, but FORUM1's room 1 holds only 2001-2500. Their paths.
std::vector<std::string> MakeForums(const std::string& dir) {
  std::vector<std::string> paths;
  for (const samplegen::ForumResult& forum : MakeSample(dir, 2, 2500, 3).forums) paths.push_back(forum.path);
  EXPECT_TRUE(RewriteRoomOne(paths.at(0), 2001, 500));
  return paths;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The summary read back from --json into the tab format.
std::string SummaryFromJson(const std::string& out) {
  std::string tabs;
  for (const std::string& line : Lines(out)) {
    std::map<std::string, std::string> o = ParseJsonLine(line);
    EXPECT_EQ(o.size(), 6u) << line;
    EXPECT_EQ(line.find("\"roomsSplit\":\""), std::string::npos) << "counts are numbers: " << line;
    tabs += o["forum"] + "\t" + o["roomsSplit"] + "\t" + o["oldLogs"] + "\t" + o["linesExported"] + "\t" +
            o["linesDropped"] + "\t" + (o["failure"] == "null" ? "ok" : o["failure"]) + "\n";
  }
  return tabs;
}

// The lowest number of each room's body and title log, as analyze finds it:
// "room 1: 2001 2001, room 2: 1 1".
std::string LowestNumbers(const std::string& forum) {
  const BatchResult r = RunBatch({"analyze", forum, "--json"});
  std::map<std::string, std::string> lowest;
  for (const std::string& line : Lines(r.out)) {
    std::map<std::string, std::string> row = ParseJsonLine(line);
    lowest[row["file"]] = row["lowest"];
  }
  return "room 1: " + lowest["MES_01.LOG"] + " " + lowest["MES#01.LOG"] + ", room 2: " + lowest["MES_02.LOG"] + " " +
         lowest["MES#02.LOG"];
}

// Every old log of the forum, and every AR.LST line naming one of them.
void ExpectOldLogsAndList(const std::string& forum, int oldLogs, int listLines) {
  int made = 0;
  for (const auto& [name, state] : Snapshot(forum)) made += name.starts_with("AR_") || name.starts_with("AR#");
  EXPECT_EQ(made, oldLogs) << forum;
  const std::vector<std::string> list = Lines(plat::FileExists(forum + "/AR.LST") ? ReadBytes(forum + "/AR.LST") : "");
  EXPECT_EQ(static_cast<int>(list.size()), listLines) << forum;
  for (const std::string& line : list) {
    EXPECT_TRUE(line.starts_with("M AR_") && plat::FileExists(forum + "/" + line.substr(2, 12))) << line;
  }
}

}  // namespace

// Each way of choosing the cut number: a room whose logs hold messages at or
// below it is split (room by room, the kinds it has), one with nothing to
// move is left alone; the export runs once per forum; the summary counts it.
TEST(KivBatchMaintain, EachRoomIsSplitAtItsCutNumberOrLeftAloneWithNothingToMove) {
  struct Case {
    std::vector<std::string> options;
    std::string summary;              // tab format, whatever was asked
    std::vector<std::string> lowest;  // FORUM1..3 after the run
  };
  const std::vector<Case> cases = {
      {{},  // the dialog's number: 2000 for every room
       "FORUM1\t1\t2\t0\t0\tok\nFORUM2\t2\t4\t0\t0\tok\nFORUM3\t2\t4\t0\t0\tok\n",
       {"room 1: 2001 2001, room 2: 2001 2001", "room 1: 2001 2001, room 2: 2001 2001",
        "room 1: 2001 2001, room 2: 2001 2001"}},
      {{"--keep", "600", "--export"},
       "FORUM1\t1\t2\t1\t0\tok\nFORUM2\t2\t4\t2\t0\tok\nFORUM3\t2\t4\t2\t0\tok\n",
       {"room 1: 2001 2001, room 2: 1901 1901", "room 1: 1901 1901, room 2: 1901 1901",
        "room 1: 1901 1901, room 2: 1901 1901"}},
      {{"--number", "2001", "--rooms", "1", "--forums", "FORUM3,FORUM1", "--json", "--export"},  // one to move
       "FORUM1\t1\t2\t1\t0\tok\nFORUM3\t1\t2\t1\t0\tok\n",
       {"room 1: 2002 2002, room 2: 1 1", "room 1: 1 1, room 2: 1 1", "room 1: 2002 2002, room 2: 1 1"}},
      {{"--number", "0", "--export"},
       "FORUM1\t0\t0\t0\t0\tok\nFORUM2\t0\t0\t0\t0\tok\nFORUM3\t0\t0\t0\t0\tok\n",
       {"room 1: 2001 2001, room 2: 1 1", "room 1: 1 1, room 2: 1 1", "room 1: 1 1, room 2: 1 1"}},
  };
  for (const Case& c : cases) {
    TempDir tmp;
    const std::vector<std::string> forums = MakeForums(tmp.Sub("logs"));
    const auto Forum = [&](int f) { return forums.at(static_cast<std::size_t>(f)); };
    const std::string said = ::testing::PrintToString(c.options);
    std::vector<std::map<std::string, FileState>> before;
    for (int f = 0; f < 3; ++f) before.push_back(Snapshot(Forum(f)));
    std::vector<std::string> args{"maintain", tmp.Sub("logs")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const BatchResult r = RunBatch(args);
    EXPECT_EQ(r.status, 0) << said << r.err;
    const bool json = std::find(args.begin(), args.end(), "--json") != args.end();
    EXPECT_EQ(json ? SummaryFromJson(r.out) : r.out, c.summary) << said;

    const std::vector<std::string> summary = Lines(c.summary);
    for (int f = 0; f < 3; ++f) {
      EXPECT_EQ(LowestNumbers(Forum(f)), c.lowest.at(static_cast<std::size_t>(f))) << said << " FORUM" << f + 1;
      const std::string name = "FORUM" + std::to_string(f + 1) + "\t";
      const auto line = std::find_if(summary.begin(), summary.end(), [&](auto& l) { return l.starts_with(name); });
      if (line == summary.end() || line->starts_with(name + "0\t")) {
        EXPECT_EQ(Snapshot(Forum(f)), before.at(static_cast<std::size_t>(f))) << said << " touched " << name;
        continue;
      }
      std::vector<std::string> fields;
      for (std::size_t s = 0, e; s != std::string::npos; s = e == std::string::npos ? e : e + 1) {
        e = line->find('\t', s);
        fields.push_back(line->substr(s, e - s));
      }
      ExpectOldLogsAndList(Forum(f), std::stoi(fields[2]), std::stoi(fields[3]));
    }
  }
}

// A forum that fails (another program holds it; a backup of an earlier run
// in the way) does not stop the others, and the run ends with status 1.
TEST(KivBatchMaintain, AForumThatFailsLeavesTheOthersToGoOn) {
  TempDir tmp;
  const std::vector<std::string> forums = MakeForums(tmp.Sub("logs"));
  const auto Forum = [&](int f) { return forums.at(static_cast<std::size_t>(f)); };
  {
    plat::ForumLock held;
    int err = 0;
    ASSERT_EQ(held.Acquire(Forum(1), plat::kLockHolderKiv, std::chrono::milliseconds(0), &err),
              plat::ForumLock::Outcome::Held);
    const auto before = Snapshot(Forum(1));
    const LockWait wait("0");
    const BatchResult r = RunBatch({"maintain", tmp.Sub("logs")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "FORUM1\t1\t2\t0\t0\tok\nFORUM2\t0\t0\t0\t0\theld by another program\nFORUM3\t2\t4\t0\t0\tok\n");
    EXPECT_NE(r.err.find("フォーラム使用中: フォーラム "), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(Forum(1)), before);
  }
  // The next run meets the backups of the first (MES_02.B00, ...): those
  // files are skipped and their logs stay; FORUM1's room 1 and FORUM2 split.
  const auto forum3 = Snapshot(Forum(2));
  const BatchResult r = RunBatch({"maintain", tmp.Sub("logs"), "--keep", "100", "--export"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "FORUM1\t1\t2\t1\t0\troom 2: 2 file(s) skipped\n"
            "FORUM2\t2\t4\t2\t0\tok\n"
            "FORUM3\t0\t0\t0\t0\troom 1: 2 file(s) skipped; room 2: 2 file(s) skipped\n");
  EXPECT_EQ(LowestNumbers(Forum(0)), "room 1: 2401 2401, room 2: 2001 2001");
  EXPECT_EQ(LowestNumbers(Forum(1)), "room 1: 2401 2401, room 2: 2401 2401");
  EXPECT_EQ(Snapshot(Forum(2)), forum3);

  // With --overwrite, as a monthly run has it, those backups give way.
  const BatchResult again = RunBatch({"maintain", tmp.Sub("logs"), "--keep", "100", "--overwrite"});
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, "FORUM1\t1\t2\t0\t0\tok\nFORUM2\t0\t0\t0\t0\tok\nFORUM3\t2\t4\t0\t0\tok\n");
  EXPECT_EQ(LowestNumbers(Forum(2)), "room 1: 2401 2401, room 2: 2401 2401");

  // A dry run neither holds nor repairs: a journal a run cut short left is
  // named, its forum fails, the others are planned, and nothing is touched.
  WriteBytes(Forum(0) + "/~KIV-0123456789abcdef.JNL", "");
  const auto left = Snapshot(Forum(0));
  const BatchResult dry = RunBatch({"maintain", tmp.Sub("logs"), "--dry-run", "--number", "0"});
  EXPECT_EQ(dry.status, 1);
  EXPECT_EQ(dry.out,
            "FORUM1\t0\t0\t0\t0\ta run cut short left a journal\nFORUM2\t0\t0\t0\t0\tok\n"
            "FORUM3\t0\t0\t0\t0\tok\n");
  EXPECT_NE(dry.err.find("~KIV-0123456789abcdef.JNL"), std::string::npos) << dry.err;
  EXPECT_EQ(RunBatch({"split", Forum(0), "--rooms", "1", "--dry-run"}).status, 1);
  EXPECT_EQ(Snapshot(Forum(0)), left);
}

// --check-lists brings each forum's AR.LST in line with its files after its
// run, as TORBLEN's silent run does: a line whose old log is gone goes, the
// others stay byte for byte.
TEST(KivBatchMaintain, CheckListsDropsTheLinesOfOldLogsNoLongerThere) {
  TempDir tmp;
  const std::vector<std::string> forums = MakeForums(tmp.Sub("logs"));
  const std::string forum = forums.at(1);
  WriteBytes(forum + "/AR_2401A.LOG", "old messages\r\n");
  WriteBytes(forum + "/AR.LST", "M AR_2401A.LOG - kept -\r\nM AR_2312A.LOG - gone -\r\n");
  const BatchResult r = RunBatch({"maintain", tmp.Sub("logs"), "--forums", "FORUM2", "--number", "0", "--check-lists"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "FORUM2\t0\t0\t0\t1\tok\n");
  EXPECT_EQ(ReadBytes(forum + "/AR.LST"), "M AR_2401A.LOG - kept -\r\n");
}

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  for (std::size_t s = 0, e = 0; e != std::string::npos; s = e + 1) {
    e = line.find('\t', s);
    fields.push_back(line.substr(s, e - s));
  }
  return fields;
}

// A plan line of --json back in the tab format.
std::string PlanLineFromJson(const std::string& line) {
  std::map<std::string, std::string> o = ParseJsonLine(line);
  if (!o.contains("plan")) return line;  // a summary: compared on its own
  std::string tabs = o["forum"] + "\t" + o["file"] + "\t" + o["plan"];
  for (const char* key : {"name", "lowest", "highest", "size", "replaces", "line"}) {
    if (!o.contains(key)) continue;
    const std::string v = o[key];
    tabs += "\t" + (v == "null" ? "-" : v == "true" ? "replaces" : v == "false" ? "new" : v);
  }
  return tabs;
}

}  // namespace

// A dry run touches nothing, and prints exactly what the real run on a copy
// then makes: the old logs with their names, ranges and sizes, the logs'
// new files, the backups, the logs it leaves alone, the lines appended to
// AR.LST and those the check drops; its summary and exit status are the
// real run's. Serial names and names given room after room are planned as
// the real run gives them.
TEST(KivBatchMaintain, ADryRunPrintsExactlyWhatTheRealRunOnACopyMakes) {
  struct Case {
    std::vector<std::string> args;  // "ROOT" stands for the shared folder
    int status;
  };
  const std::vector<Case> cases = {
      {{"maintain", "ROOT", "--keep", "600", "--export", "--check-lists"}, 1},
      {{"maintain", "ROOT", "--number", "2001", "--rooms", "1", "--export"}, 0},
      {{"split", "ROOT/FORUM2", "--rooms", "1,2", "--method", "1", "--number", "700", "--form", "1", "--export"}, 0},
  };
  for (const Case& c : cases) {
    TempDir tmp;
    const std::vector<std::string> forums = MakeForums(tmp.Sub("logs"));
    WriteBytes(forums.at(1) + "/AR_2401A.LOG", "old messages\r\n");
    WriteBytes(forums.at(1) + "/AR.LST", "M AR_2401A.LOG - kept -\r\nM AR_2312A.LOG - gone -\r\n");
    WriteBytes(forums.at(2) + "/MES_02.B00", "a backup of an earlier run\r\n");  // MES_02.LOG is skipped
    std::filesystem::copy(tmp.Sub("logs"), tmp.Sub("copy"), std::filesystem::copy_options::recursive);
    const auto Args = [&](const std::string& root, bool dry, bool json) {
      std::vector<std::string> args;
      for (const std::string& a : c.args) args.push_back(a.starts_with("ROOT") ? root + a.substr(4) : a);
      if (dry) args.push_back("--dry-run");
      if (json) args.push_back("--json");
      return args;
    };
    const std::string said = ::testing::PrintToString(c.args);
    std::vector<std::map<std::string, FileState>> before;
    for (const std::string& forum : forums) before.push_back(Snapshot(forum));

    const BatchResult dry = RunBatch(Args(tmp.Sub("logs"), true, false));
    EXPECT_EQ(dry.status, c.status) << said << dry.err;
    for (std::size_t f = 0; f < forums.size(); ++f) EXPECT_EQ(Snapshot(forums[f]), before[f]) << said;
    std::string plan, summaries;  // the dry run's output, split in two
    for (const std::string& line : Lines(dry.out)) (Fields(line).size() == 6 ? summaries : plan) += line + "\n";
    if (c.args[0] == "maintain") {
      std::string jsonPlan, jsonSummaries;
      for (const std::string& line : Lines(RunBatch(Args(tmp.Sub("logs"), true, true)).out)) {
        if (line.find("\"plan\":") != std::string::npos) {
          jsonPlan += PlanLineFromJson(line) + "\n";
        } else {
          jsonSummaries += line + "\n";
        }
      }
      EXPECT_EQ(jsonPlan, plan) << said;
      EXPECT_EQ(SummaryFromJson(jsonSummaries), summaries) << said;
    }

    const std::string copy = tmp.Sub("copy");
    const BatchResult real = RunBatch(Args(copy, false, false));
    EXPECT_EQ(real.status, c.status) << said << real.err;
    EXPECT_NE(real.out.find(summaries), std::string::npos) << said << real.out;
    std::map<std::string, std::string> appended, dropped;  // forum -> lines, in order
    std::map<std::string, std::string> made;               // forum/name: every file the plan makes
    int plannedSkips = 0;
    for (const std::string& line : Lines(plan)) {
      const std::vector<std::string> f = Fields(line);
      const std::size_t index = static_cast<std::size_t>(f.at(0).back() - '1');
      const std::string forum = forums.at(index).substr(tmp.Sub("logs").size() + 1);
      const std::string path = copy + "/" + forum + "/";
      if (f.at(2) == "old" || f.at(2) == "log") {
        made[forum + "/" + f.at(3)] = line;
        EXPECT_EQ(std::to_string(ReadBytes(path + f.at(3)).size()), f.at(6)) << said << line;
      } else if (f.at(2) == "backup") {
        made[forum + "/" + f.at(3)] = line;
        EXPECT_EQ(ReadBytes(path + f.at(3)), before.at(index).at(f.at(1)).bytes) << said << line;
      } else if (f.at(2) == "skip") {
        ++plannedSkips;
        EXPECT_EQ(ReadBytes(path + f.at(1)), before.at(index).at(f.at(1)).bytes) << said << line;
      } else {
        (f.at(2) == "append" ? appended : dropped)[forum] += f.at(3) + "\n";
      }
      if (f.at(2) == "log") {
        for (const std::string& row : Lines(RunBatch({"analyze", copy + "/" + forum, "--json"}).out)) {
          std::map<std::string, std::string> o = ParseJsonLine(row);
          if (o["file"] == f.at(1)) {
            EXPECT_EQ(o["lowest"] + "-" + o["highest"], f.at(4) + "-" + f.at(5)) << line;
          }
        }
      }
    }
    EXPECT_EQ(plannedSkips, c.status) << said;
    // Nothing is made that the plan did not name, and the logs' new files hold
    // the ranges printed.
    for (std::size_t f = 0; f < forums.size(); ++f) {
      const std::string forum = forums[f].substr(tmp.Sub("logs").size() + 1);
      for (const auto& [name, state] : Snapshot(copy + "/" + forum)) {
        const bool isNew = !before[f].contains(name) || before[f].at(name).bytes != state.bytes;
        if (isNew && name != "AR.LST" && !name.ends_with(".KIV")) {
          EXPECT_TRUE(made.contains(forum + "/" + name)) << said << " unplanned " << forum << "/" << name;
        }
      }
      const std::string listPath = copy + "/" + forum + "/AR.LST";
      const std::string list = plat::FileExists(listPath) ? ReadBytes(listPath) : "";
      const std::string listBefore = before[f].contains("AR.LST") ? before[f].at("AR.LST").bytes : "";
      std::string kept;
      for (const std::string& line : Lines(listBefore)) {
        if (dropped[forum].find(line.substr(0, line.size() - 1) + "\n") == std::string::npos) kept += line + "\n";
      }
      std::string expected = kept;
      for (const std::string& line : Lines(appended[forum])) expected += plat::Utf8ToCp932(line) + "\r\n";
      EXPECT_EQ(list, expected) << said << " " << forum;
    }
  }
}
