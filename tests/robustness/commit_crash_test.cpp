// kiv-batch stopped dead (SIGKILL) before each of its file operations and at
// random moments of a split, a split with export, a split into one .BAK
// backup and a split undone in a session; and the repair that follows a kill
// stopped dead in turn. Judged by what the user and the next run find:
// (a) every original log's bytes are still in the folder;
// (b) the log's own name holds the whole old or the whole new log;
// (c) after the next run of any command, no journal, temporary or half-written
//     file is left and every file is as one of the whole runs leaves it;
// (d) the same split then runs, and after a later split with --overwrite
//     every message of the original is in the log or an old log.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/robustness/child_process.h"
#include "tests/robustness/folder_snapshot.h"
#include "tests/robustness/suite_counts.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/shared_folder.h"

namespace {

using robust::Snapshot;

const std::string kExe = KIV_BATCH_KILLABLE;

struct Scenario {
  const char* name;
  samplegen::SharedFolderOptions options;
  std::vector<std::string> args;      // after the verb and the folder
  std::string script;                 // a session's commands, when the verb is session
  std::vector<std::string> splitArgs;  // the split that is run again afterwards
};

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

bool IsLogName(const std::string& path) {
  const std::string name = Upper(BaseName(path));
  return (name.starts_with("MES_") || name.starts_with("MES#")) && name.ends_with(".LOG");
}

bool IsCommitFile(const std::string& path) { return BaseName(path).starts_with("~KIV-"); }

// Where messages may live: the logs and the old logs, not the backups, the
// lists or the room list.
bool HoldsMessages(const std::string& path) {
  const std::string name = Upper(BaseName(path));
  if (name == "MES.LOG" || name == "AR.LST" || name.ends_with(".KIV") || IsCommitFile(path)) return false;
  const std::size_t dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  const bool backup = ext == "BAK" || (ext.size() >= 3 && ext[0] == 'B' && ext.find_first_not_of("0123456789", 1) == std::string::npos);
  return !backup;
}

std::map<std::string, int> LineCounts(const std::string& text) {
  std::map<std::string, int> counts;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    if (!line.starts_with("- ")) ++counts[line];  // forum header lines are made anew by every split
    at = end + 1;
  }
  return counts;
}

std::string Forum(const std::string& root) { return root + "/FORUM1"; }

std::string MakeShared(const std::string& root, const samplegen::SharedFolderOptions& options) {
  samplegen::SharedFolderResult made = samplegen::GenerateSharedFolder(root, options);
  if (!made.ok) ADD_FAILURE() << "sample not made: " << made.error;
  return root;
}

robust::ChildEnd Run(const Scenario& s, const std::string& root, robust::ChildRun how = {}) {
  std::vector<std::string> args{s.script.empty() ? "split" : "session", Forum(root)};
  args.insert(args.end(), s.args.begin(), s.args.end());
  how.input = s.script;
  return robust::RunChild(kExe, args, how);
}

class Judge {
 public:
  Judge(const Scenario& s, TempDir& tmp) : s_(s) {
    before_ = robust::TakeSnapshot(MakeShared(tmp.Sub("before"), s.options));
    // The whole states: after each prefix of the commands a run makes.
    const std::string root = MakeShared(tmp.Sub("whole"), s.options);
    if (s.script.empty()) {
      robust::ChildEnd end = Run(s, root);
      EXPECT_EQ(end.status, 0) << s.name << ": " << end.err;
      wholes_.push_back(robust::TakeSnapshot(root));
    } else {
      std::size_t at = 0;
      while ((at = s.script.find('\n', at)) != std::string::npos) {
        ++at;
        const std::string again = MakeShared(tmp.Sub("whole-" + std::to_string(at)), s.options);
        Scenario prefix = s;
        prefix.script = s.script.substr(0, at);
        robust::ChildEnd end = Run(prefix, again);
        EXPECT_EQ(end.status, 0) << s.name << ": " << end.err;
        wholes_.push_back(robust::TakeSnapshot(again));
      }
    }
  }

  // (a) and (b), on the folder as the kill left it.
  std::vector<std::string> AfterKill(const std::string& root) const {
    std::vector<std::string> breaches;
    const Snapshot after = robust::TakeSnapshot(root);
    for (const auto& [path, bytes] : before_) {
      if (!IsLogName(path)) continue;
      bool somewhere = false;
      for (const auto& [other, content] : after) somewhere = somewhere || content == bytes;
      if (!somewhere) breaches.push_back("(a) " + path + ": the original is in no file");
      auto now = after.find(path);
      bool whole = now != after.end() && now->second == bytes;
      for (const Snapshot& w : wholes_) {
        whole = whole || (now != after.end() && w.count(path) && w.at(path) == now->second);
      }
      if (!whole) breaches.push_back("(b) " + path + " holds neither the whole old nor the whole new log");
    }
    return breaches;
  }

  // (c), after the next run.
  std::vector<std::string> AfterNextRun(const std::string& root) const {
    std::vector<std::string> breaches;
    const Snapshot after = robust::TakeSnapshot(root);
    for (const auto& [path, bytes] : after) {
      if (IsCommitFile(path)) breaches.push_back("(c) " + path + " is left");
    }
    for (const std::string& b : robust::NothingLost(before_, wholes_, after, false)) breaches.push_back("(c) " + b);
    return breaches;
  }

  // (d): the split again, then once more with --overwrite; every message of
  // the original logs is in a log or an old log.
  std::vector<std::string> AfterLaterSplits(const std::string& root) const {
    std::vector<std::string> breaches;
    std::vector<std::string> args{"split", Forum(root)};
    args.insert(args.end(), s_.splitArgs.begin(), s_.splitArgs.end());
    robust::ChildEnd again = robust::RunChild(kExe, args);
    if (!again.exited || again.status > 1) breaches.push_back("(d) the split again broke down: " + again.err);
    args.push_back("--overwrite");
    robust::ChildEnd overwrite = robust::RunChild(kExe, args);
    if (!overwrite.exited || overwrite.status != 0) {
      breaches.push_back("(d) the split with --overwrite failed: " + overwrite.err);
    }
    const Snapshot after = robust::TakeSnapshot(root);
    std::map<std::string, int> kept;
    for (const auto& [path, bytes] : after) {
      if (!HoldsMessages(path)) continue;
      for (const auto& [line, n] : LineCounts(bytes)) kept[line] += n;
    }
    for (const auto& [path, bytes] : before_) {
      if (!IsLogName(path)) continue;
      for (const auto& [line, n] : LineCounts(bytes)) {
        if (kept[line] < n) {
          breaches.push_back("(d) a line of " + path + " is in no log or old log: " + line.substr(0, 40));
          break;
        }
      }
    }
    return breaches;
  }

 private:
  const Scenario& s_;
  Snapshot before_;
  std::vector<Snapshot> wholes_;
};

bool JournalLeft(const std::string& root) {
  for (const auto& [path, bytes] : robust::TakeSnapshot(root)) {
    if (IsCommitFile(path) && path.ends_with(".JNL")) return true;
  }
  return false;
}

// One kill, then the next run (itself killed at its repairAt-th operation
// first, when given), then the checks.
bool SurvivesKill(const Scenario& s, const Judge& judge, TempDir& tmp, const std::string& label,
                  const robust::ChildRun& kill, int repairKillsUpTo, int* repairKills) {
  const std::string root = MakeShared(tmp.Sub(label), s.options);
  robust::ChildEnd end = Run(s, root, kill);
  std::vector<std::string> breaches = judge.AfterKill(root);
  if (repairKillsUpTo > 0 && JournalLeft(root)) {
    // The repair stopped dead at each of its first operations in turn.
    for (int j = 1; j <= repairKillsUpTo; ++j) {
      robust::ChildEnd repair = robust::RunChild(kExe, {"list", Forum(root)}, {{"KIV_KILL_AT_OP", std::to_string(j)}});
      if (repair.signal != SIGKILL) break;
      ++*repairKills;
      for (const std::string& b : judge.AfterKill(root)) breaches.push_back("repair killed at " + std::to_string(j) + ": " + b);
    }
  }
  robust::ChildEnd next = robust::RunChild(kExe, {"list", Forum(root)});
  if (!next.exited || next.status != 0) breaches.push_back("(c) the next run failed: " + next.err);
  for (const std::string& b : judge.AfterNextRun(root)) breaches.push_back(b);
  for (const std::string& b : judge.AfterLaterSplits(root)) breaches.push_back(b);
  for (const std::string& b : breaches) {
    ADD_FAILURE() << s.name << ", " << label << " (" << (end.signal ? "killed" : "ended") << "): " << b << "\n"
                  << end.err << next.err;
  }
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  return breaches.empty();
}

// Kills before every stride-th file operation (every one with stride 1) and
// at randomMoments moments spread over a whole run's time.
void KillEverywhere(const Scenario& s, int stride, int randomMoments) {
  TempDir tmp;
  const Judge judge(s, tmp);
  int operations = 0;
  long micros = 0;
  {
    const std::string root = MakeShared(tmp.Sub("count"), s.options);
    robust::ChildRun how;
    how.env = {{"KIV_COUNT_OPS_TO", tmp.Sub("count-ops")}};
    const auto start = std::chrono::steady_clock::now();
    robust::ChildEnd end = Run(s, root, how);
    micros = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
    ASSERT_EQ(end.status, 0) << s.name << ": " << end.err;
    operations = std::atoi(ReadBytes(tmp.Sub("count-ops")).c_str());
  }
  ASSERT_GT(operations, 10) << s.name;

  int tried = 0, survived = 0, repairKills = 0;
  for (int k = 1; k <= operations; k += stride) {
    robust::ChildRun kill;
    kill.env = {{"KIV_KILL_AT_OP", std::to_string(k)}};
    ++tried;
    // Some of the kills that leave a journal have the repair killed too, at
    // each of its operations.
    if (SurvivesKill(s, judge, tmp, "op-" + std::to_string(k), kill, k % 8 == 1 ? 16 : 0, &repairKills)) ++survived;
  }
  std::mt19937 random(static_cast<unsigned>(operations));
  std::uniform_int_distribution<long> moment(0, micros);
  for (int i = 0; i < randomMoments; ++i) {
    robust::ChildRun kill;
    kill.signal = SIGKILL;
    kill.delayMicros = moment(random);
    ++tried;
    if (SurvivesKill(s, judge, tmp, "at-" + std::to_string(kill.delayMicros) + "us", kill, 0, &repairKills)) ++survived;
  }
  std::printf("[robustness] kiv-batch %s: %d file operations, %d kills (%d at random moments), %d repairs killed, "
              "%d survived\n",
              s.name, operations, tried, randomMoments, repairKills, survived);
  robust::Counts().killPointsTried += tried;
  robust::Counts().killPointsSurvived += survived;
}

samplegen::SharedFolderOptions Rooms(std::uint64_t seed, int rooms) {
  samplegen::SharedFolderOptions options;
  options.seed = seed;
  options.forums = 1;
  options.rooms = rooms;
  options.messages = 40;
  options.archive = true;
  return options;
}

const std::vector<std::string> kSplitTwoRooms{"--rooms", "1,2", "--number", "20"};
const std::vector<std::string> kSplitOneRoom{"--rooms", "1", "--number", "20"};

TEST(CommitCrash, SplitOfBodyAndTitleLogs) {
  KillEverywhere({"split", Rooms(11, 2), {"--rooms", "1,2", "--kind", "both", "--number", "20"}, "", kSplitTwoRooms},
                 1, 40);
}

TEST(CommitCrash, SplitWithExportIntoOneBakBackup) {
  KillEverywhere({"split --export --bak", Rooms(12, 1), {"--rooms", "1", "--number", "20", "--export", "--bak"}, "",
                  kSplitOneRoom},
                 1, 30);
}

TEST(CommitCrash, SplitOfMegabyteLogsAtRandomMoments) {
  samplegen::SharedFolderOptions options;
  options.seed = 13;
  options.forums = 1;
  options.rooms = 1;
  options.sizeBytes = 1 << 20;
  KillEverywhere({"split of 1 MB logs", options, {"--rooms", "1", "--method", "1", "--number", "300", "--form", "1"}, "",
                  {"--rooms", "1", "--method", "1", "--number", "300", "--form", "1"}},
                 10, 100);
}

TEST(CommitCrash, SplitThenUndoInASession) {
  KillEverywhere({"session split, undo", Rooms(14, 1), {}, "split --rooms 1 --number 20\nundo --rooms 1\n",
                  kSplitOneRoom},
                 1, 30);
}

}  // namespace
