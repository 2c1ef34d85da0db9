// kiv-batch stopped dead (SIGKILL) before each of its file operations and at
// random moments of a split, a split with export, a split into one .BAK
// backup and a split undone in a session; and the repair that follows a kill
// stopped dead in turn. Judged by what the user and the next run find:
// (a) every original log's bytes are still in the folder;
// (b) the log's own name holds the whole old or the whole new log;
// (c) after the next run of any command, no journal, temporary or half-written
//     file is left and every file is as one of the whole runs leaves it;
// (d) the same split then runs, and after a later split with --overwrite
//     every message of the original is in the log or an old log;
// (e) every old log made has one line in the history file and, when the run
//     exported, each body old log one line in AR.LST.
// Then the same kills with company: a journal left by the kill damaged by
// hand before the next run, and a file system without hard links on which
// the host writes a message while the run lies dead.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "commit/journal.h"
#include "platform/file_ops.h"
#include "tests/robustness/commit_judge.h"
#include "tests/robustness/suite_counts.h"

namespace {

using robust::Judge;
using robust::Scenario;
using robust::Snapshot;

// One kill, then the next run (itself killed at each of its first
// repairKillsUpTo operations in turn first, when a journal was left), then
// the checks; the later splits of (d) when laterSplits is set.
bool SurvivesKill(const Scenario& s, const Judge& judge, TempDir& tmp, const std::string& label,
                  const robust::ChildRun& kill, int repairKillsUpTo, bool laterSplits, int* repairKills) {
  const std::string root = robust::MakeSharedFolder(tmp.Sub(label), s.options);
  robust::ChildEnd end = robust::RunScenario(s, root, kill);
  std::vector<std::string> breaches = judge.AfterKill(root);
  if (repairKillsUpTo > 0 && robust::JournalLeft(root)) {
    // The repair stopped dead at each of its first operations in turn.
    for (int j = 1; j <= repairKillsUpTo; ++j) {
      robust::ChildEnd repair = robust::RunChild(KIV_BATCH_KILLABLE, {"list", robust::ForumOf(root)},
                                                 {{"KIV_KILL_AT_OP", std::to_string(j)}});
      if (repair.signal != SIGKILL) break;
      ++*repairKills;
      for (const std::string& b : judge.AfterKill(root))
        breaches.push_back("repair killed at " + std::to_string(j) + ": " + b);
    }
  }
  robust::ChildEnd next = robust::RunChild(KIV_BATCH_KILLABLE, {"list", robust::ForumOf(root)});
  if (!next.exited || next.status != 0) breaches.push_back("(c) the next run failed: " + next.err);
  for (const std::string& b : judge.Settled(root)) breaches.push_back(b);
  if (laterSplits) {
    for (const std::string& b : judge.AfterLaterSplits(root)) breaches.push_back(b);
  }
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
    const std::string root = robust::MakeSharedFolder(tmp.Sub("count"), s.options);
    robust::ChildRun how;
    how.env = {{"KIV_COUNT_OPS_TO", tmp.Sub("count-ops")}};
    const auto start = std::chrono::steady_clock::now();
    robust::ChildEnd end = robust::RunScenario(s, root, how);
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
    if (SurvivesKill(s, judge, tmp, "op-" + std::to_string(k), kill, k % 16 == 1 ? 16 : 0, k % 2 == 1, &repairKills)) {
      ++survived;
    }
  }
  std::mt19937 random(static_cast<unsigned>(operations));
  std::uniform_int_distribution<long> moment(0, micros);
  for (int i = 0; i < randomMoments; ++i) {
    robust::ChildRun kill;
    kill.signal = SIGKILL;
    kill.delayMicros = moment(random);
    ++tried;
    if (SurvivesKill(s, judge, tmp, "at-" + std::to_string(kill.delayMicros) + "us", kill, 0, true, &repairKills)) {
      ++survived;
    }
  }
  std::printf(
      "[robustness] kiv-batch %s: %d file operations, %d kills (%d at random moments), %d repairs killed, "
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

// Two rooms of 40 messages: steps of 20 (the first method would cut both
// below their first message and leave them alone).
const std::vector<std::string> kSplitTwoRooms{"--rooms", "1,2", "--method", "1", "--number", "20"};
const std::vector<std::string> kSplitOneRoom{"--rooms", "1", "--number", "20"};

TEST(CommitCrash, SplitOfBodyAndTitleLogs) {
  KillEverywhere({"split",
                  Rooms(11, 2),
                  {"--rooms", "1,2", "--kind", "both", "--method", "1", "--number", "20"},
                  "",
                  kSplitTwoRooms},
                 1, 40);
}

TEST(CommitCrash, SplitWithExportIntoOneBakBackup) {
  KillEverywhere({"split --export --bak",
                  Rooms(12, 1),
                  {"--rooms", "1", "--number", "20", "--export", "--bak"},
                  "",
                  kSplitOneRoom},
                 1, 30);
}

TEST(CommitCrash, SplitOfMegabyteLogsAtRandomMoments) {
  samplegen::SharedFolderOptions options;
  options.seed = 13;
  options.forums = 1;
  options.rooms = 1;
  options.sizeBytes = 1 << 20;
  KillEverywhere({"split of 1 MB logs",
                  options,
                  {"--rooms", "1", "--method", "1", "--number", "300", "--form", "1"},
                  "",
                  {"--rooms", "1", "--method", "1", "--number", "300", "--form", "1"}},
                 10, 100);
}

TEST(CommitCrash, SplitThenUndoInASession) {
  KillEverywhere(
      {"session split, undo", Rooms(14, 1), {}, "split --rooms 1 --number 20\nundo --rooms 1\n", kSplitOneRoom}, 1, 30);
}

// What a kill left, with its journal then cut, zeroed, overwritten with
// random bytes or made to name a file outside: the next run keeps the journal
// aside as .BAD and says so (exit 1), deletes only the temporary files it can
// prove the journal's own, changes nothing outside the forum, and the later
// splits lose nothing.
TEST(CommitCrash, DamagedJournalsAreKeptAsideAndNothingIsLost) {
  const Scenario s{"split --export", Rooms(15, 1), {"--rooms", "1", "--number", "20", "--export"}, "", kSplitOneRoom};
  TempDir tmp;
  const Judge judge(s, tmp);
  int journals = 0, told = 0, lost = 0, leftovers = 0, outside = 0;
  const char* kinds[] = {"cut", "zeros", "random", "outside"};
  for (int k = 1; k <= 160; k += 5) {
    for (const char* kind : kinds) {
      const std::string label = "op-" + std::to_string(k) + "-" + kind;
      const std::string root = robust::MakeSharedFolder(tmp.Sub(label), s.options);
      WriteBytes(tmp.Sub(label + "-outside.txt"), "outside\r\n");
      robust::ChildRun kill;
      kill.env = {{"KIV_KILL_AT_OP", std::to_string(k)}};
      robust::RunScenario(s, root, kill);
      std::string journal;
      for (const auto& [path, bytes] : robust::TakeSnapshot(root)) {
        if (robust::IsCommitFile(path) && path.ends_with(".JNL")) journal = root + "/" + path;
      }
      if (journal.empty()) continue;
      std::string bytes = ReadBytes(journal);
      // Killed as it made its journal: an empty file, which a crash leaves too.
      if (bytes.empty() && kind != kinds[3]) continue;
      std::mt19937 random(static_cast<unsigned>(k));
      if (kind == kinds[0]) bytes.resize(bytes.size() * (1 + random() % 9) / 10);
      if (kind == kinds[1]) bytes.assign(bytes.size(), '\0');
      if (kind == kinds[2]) {
        for (char& c : bytes) c = static_cast<char>(random());
      }
      WriteBytes(journal, bytes);
      if (kind == kinds[3]) {
        // A whole journal, sums and all, of an undo whose old log lies outside.
        const std::string name = journal.substr(journal.rfind('/') + 1);
        plat::FileIdentity id;
        ASSERT_TRUE(plat::GetFileIdentity(tmp.Sub(label + "-outside.txt"), &id));
        ASSERT_TRUE(plat::DeleteFile(journal));
        commit::Journal planted;
        commit::Fault fault;
        ASSERT_TRUE(planted.Create(
            robust::ForumOf(root), name.substr(5, name.size() - 9),
            {{"op", {"undo"}},
             {"log", {"MES_01.LOG"}},
             {"backup", {"MES_01.B00", "1", "2"}},
             {"oldlog", {"../../" + label + "-outside.txt", std::to_string(id.device), std::to_string(id.inode)}}},
            &fault));
        ASSERT_TRUE(planted.Commit({}, &fault));
      }
      ++journals;
      robust::ChildEnd next = robust::RunChild(KIV_BATCH_KILLABLE, {"list", robust::ForumOf(root)});
      const bool setAside = next.err.find("記録はこの名前で残しました") != std::string::npos;
      if (setAside && next.status == 1) ++told;
      for (const std::string& b : judge.AfterKill(root)) {
        if (b.starts_with("(a)")) ++lost, ADD_FAILURE() << label << ": " << b;
      }
      for (const auto& [path, content] : robust::TakeSnapshot(root)) {
        if (robust::IsCommitFile(path) && !path.ends_with(".BAD")) ++leftovers, ADD_FAILURE() << label << ": " << path;
      }
      if (ReadBytes(tmp.Sub(label + "-outside.txt")) != "outside\r\n") ++outside, ADD_FAILURE() << label;
      for (const std::string& b : judge.AfterLaterSplits(root)) ADD_FAILURE() << label << ": " << b;
      // A journal cut where no run could have been cut is torn, not damaged,
      // only while nothing of its run was made yet: then it goes in silence.
      if (!setAside && kind != kinds[0]) ADD_FAILURE() << label << ": not told\n" << next.err;
      std::error_code ec;
      std::filesystem::remove_all(root, ec);
    }
  }
  std::printf(
      "[robustness] damaged journals: %d after kills, %d kept aside and told, %d logs lost, %d leftovers, "
      "%d files outside changed\n",
      journals, told, lost, leftovers, outside);
  EXPECT_GT(journals, 0);
}

// A file system without hard links: the commit moves the log to its backup
// name and its name stands empty until the new log takes it. Killed there,
// with the host writing a message before the next run: the first and second
// runs after it, and a split with --overwrite, lose none of the original's
// messages nor the host's.
TEST(CommitCrash, WithoutHardLinksTheHostsNewLogIsKept) {
  const Scenario s{"split without links", Rooms(16, 1), {"--rooms", "1", "--number", "20"}, "", kSplitOneRoom};
  TempDir tmp;
  const Judge judge(s, tmp);
  const std::vector<std::pair<std::string, std::string>> noLinks{{"KIV_NO_LINKS", "1"}};
  int kills = 0, lost = 0;
  for (int k = 1; k <= 80; ++k) {
    const std::string root = robust::MakeSharedFolder(tmp.Sub("op-" + std::to_string(k)), s.options);
    const std::string log = robust::ForumOf(root) + "/MES_01.LOG";
    const std::string before = ReadBytes(log);
    robust::ChildRun kill;
    kill.env = {{"KIV_KILL_AT_OP", std::to_string(k)}, {"KIV_NO_LINKS", "1"}};
    if (robust::RunScenario(s, root, kill).signal != SIGKILL) break;
    ++kills;
    const std::string host = "HOST WROTE THIS " + std::to_string(k) + "\r\n";
    ASSERT_TRUE(AppendBytes(log, host));
    robust::RunChild(KIV_BATCH_KILLABLE, {"list", robust::ForumOf(root)}, noLinks);
    robust::RunChild(KIV_BATCH_KILLABLE, {"list", robust::ForumOf(root)}, noLinks);
    std::vector<std::string> args{"split", robust::ForumOf(root), "--rooms", "1", "--number", "20", "--overwrite"};
    robust::RunChild(KIV_BATCH_KILLABLE, args, noLinks);
    std::string held;
    for (const auto& [path, bytes] : robust::TakeSnapshot(root)) {
      const std::string name = path.substr(path.rfind('/') + 1);
      if (name.starts_with("AR") || name.starts_with("MES_01")) held += bytes;
    }
    bool whole = held.find(host) != std::string::npos;
    for (std::size_t at = 0; whole && at < before.size();) {
      std::size_t end = before.find('\n', at);
      if (end == std::string::npos) end = before.size();
      const std::string line = before.substr(at, end - at);
      whole = line.starts_with("-") || held.find(line) != std::string::npos;
      at = end + 1;
    }
    if (!whole) ++lost, ADD_FAILURE() << "op-" << k << ": a message is in no log, old log or backup";
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  std::printf("[robustness] without hard links, the host writing after a kill: %d kills, %d runs lost a message\n",
              kills, lost);
  EXPECT_GT(kills, 10);
}

}  // namespace
