// Two programs on one forum at once: two kiv-batch splits with their export
// to AR.LST, and a kiv-batch split with export while TORBLEN rewrites the
// lists, started together at moments spread over a whole run. The forum's
// lock lets one write at a time: the other waits, or (with no time to wait)
// says which program holds the forum and leaves it untouched. Counted over
// every round: messages lost or duplicated, AR.LST lines lost or duplicated,
// NUL bytes, files outside the forum changed, files left behind, and runs
// that were refused without a word or with the wrong status.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/robustness/commit_judge.h"

namespace {

using Clock = std::chrono::steady_clock;
using robust::ChildEnd;
using robust::Snapshot;

struct Tally {
  int rounds = 0, refused = 0, messagesLost = 0, messagesDuplicated = 0, linesLost = 0, linesDuplicated = 0,
      nulBytes = 0, outsideChanged = 0, leftovers = 0, untold = 0;
};

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool HoldsMessages(const std::string& name) {
  return ((name.starts_with("MES_") || name.starts_with("MES#")) && name.ends_with(".LOG")) ||
         name.starts_with("AR_") || name.starts_with("AR#");
}

// Message lines of the logs and old logs (not the forum header lines, which
// every split makes anew), by how often each occurs.
std::map<std::string, int> MessageLines(const Snapshot& forum) {
  std::map<std::string, int> counts;
  for (const auto& [path, bytes] : forum) {
    if (!HoldsMessages(BaseName(path))) continue;
    std::size_t at = 0;
    while (at < bytes.size()) {
      std::size_t end = bytes.find("\r\n", at);
      if (end == std::string::npos) end = bytes.size();
      const std::string line = bytes.substr(at, end - at);
      if (!line.empty() && !line.starts_with("- ")) ++counts[line];
      at = end + 2;
    }
  }
  return counts;
}

Snapshot Within(const Snapshot& all, const std::string& prefix, bool inside) {
  Snapshot part;
  for (const auto& [path, bytes] : all) {
    if (path.starts_with(prefix) == inside) part[inside ? path.substr(prefix.size()) : path] = bytes;
  }
  return part;
}

// The archive list after the round: every line whole, each old log named
// once, each line of before whose file is there still there.
void JudgeList(const Snapshot& after, bool checkerRewrote, Tally& t, std::string& why) {
  const std::string list = after.count("AR.LST") ? after.at("AR.LST") : std::string();
  t.nulBytes += static_cast<int>(std::count(list.begin(), list.end(), '\0'));
  if (!list.empty() && !list.ends_with("\r\n")) why += " AR.LST ends in half a line;";
  std::map<std::string, int> named;
  std::size_t at = 0;
  while (at < list.size()) {
    std::size_t end = list.find("\r\n", at);
    if (end == std::string::npos) end = list.size();
    const std::string line = list.substr(at, end - at);
    const std::size_t space = line.find(' ', 2);
    if (line.size() > 2) ++named[line.substr(2, space == std::string::npos ? std::string::npos : space - 2)];
    at = end + 2;
  }
  for (const auto& [name, n] : named) {
    if (n > 1 && (name.starts_with("AR_") || name.starts_with("AR#"))) {
      t.linesDuplicated += n - 1;
      why += " " + name + " listed " + std::to_string(n) + " times;";
    }
    // A line naming a file that is gone goes only with TORBLEN's rewrite.
    if (!after.count(name) && checkerRewrote) why += " " + name + " is gone but still listed;";
  }
  // Every body old log has its line: the old ones from before, the new ones
  // from the export.
  for (const auto& item : after) {
    if (item.first.starts_with("AR_") && !named.count(item.first)) {
      ++t.linesLost;
      why += " no line for " + item.first + ";";
    }
  }
}

void JudgeForum(const Snapshot& before, const Snapshot& after, Tally& t, std::string& why) {
  const std::map<std::string, int> was = MessageLines(before), now = MessageLines(after);
  for (const auto& [line, n] : was) {
    const auto it = now.find(line);
    const int kept = it == now.end() ? 0 : it->second;
    if (kept < n) t.messagesLost += n - kept;
  }
  for (const auto& [line, n] : now) {
    const auto it = was.find(line);
    const int had = it == was.end() ? 0 : it->second;
    if (n > had) t.messagesDuplicated += n - had;
  }
  for (const auto& [path, bytes] : after) {
    if (path.starts_with("~KIV") || path.find("AR.LST.") != std::string::npos) {
      ++t.leftovers;
      why += " " + path + " left;";
    }
  }
}

// A run that wrote, or one refused with the busy message and status 1.
bool RanOrWasTold(const ChildEnd& end, const std::string& told, bool* refused) {
  *refused = end.exited && end.status == 1 && end.err.find(told) != std::string::npos;
  return (end.exited && end.status == 0) || *refused;
}

void Print(const char* what, const Tally& t) {
  std::printf(
      "[robustness] %s: %d rounds, %d runs refused and told; lost: %d messages, %d AR.LST lines; "
      "duplicated: %d messages, %d AR.LST lines; %d NUL bytes, %d files outside changed, %d left behind, "
      "%d runs wrong or untold\n",
      what, t.rounds, t.refused, t.messagesLost, t.linesLost, t.messagesDuplicated, t.linesDuplicated, t.nulBytes,
      t.outsideChanged, t.leftovers, t.untold);
  EXPECT_EQ(t.messagesLost + t.linesLost + t.messagesDuplicated + t.linesDuplicated + t.nulBytes + t.outsideChanged +
                t.leftovers + t.untold,
            0)
      << what;
}

samplegen::SharedFolderOptions Sample(std::uint64_t seed) {
  samplegen::SharedFolderOptions options;
  options.seed = seed;
  options.forums = 1;
  options.rooms = 2;
  options.sizeBytes = 256 << 10;
  options.archive = true;
  return options;
}

std::vector<std::string> SplitWithExport(const std::string& forum, const char* room) {
  return {"split", forum, "--rooms", room, "--kind", "both", "--number", "900", "--export"};
}

long MicrosOfOneSplit(TempDir& tmp, const samplegen::SharedFolderOptions& options) {
  const std::string root = robust::MakeSharedFolder(tmp.Sub("timing"), options);
  const auto start = Clock::now();
  const ChildEnd end = robust::RunChild(KIV_BATCH_KILLABLE, SplitWithExport(robust::ForumOf(root), "1"));
  EXPECT_EQ(end.status, 0) << end.err;
  return static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
}

// Rounds alternate between a wait long enough for both runs to write, and
// none: then the later run must be refused and told.
std::string WaitOfRound(int round) { return round % 2 ? "0" : "60000"; }

TEST(TwoWriters, TwoSplitsWithExportOnOneForum) {
  TempDir tmp;
  const samplegen::SharedFolderOptions options = Sample(41);
  const long micros = MicrosOfOneSplit(tmp, options);
  Tally t;
  for (int round = 0; round < 16; ++round) {
    const std::string root = robust::MakeSharedFolder(tmp.Sub("round-" + std::to_string(round)), options);
    const std::string forum = robust::ForumOf(root);
    const Snapshot before = robust::TakeSnapshot(root);
    robust::ChildRun how;
    how.env = {{"KIV_LOCK_WAIT_MS", WaitOfRound(round)}};
    ChildEnd first, second;
    std::thread other([&] {
      std::this_thread::sleep_for(std::chrono::microseconds(micros * (round / 2) / 8));
      second = robust::RunChild(KIV_BATCH_KILLABLE, SplitWithExport(forum, "2"), how);
    });
    first = robust::RunChild(KIV_BATCH_KILLABLE, SplitWithExport(forum, "1"), how);
    other.join();
    ++t.rounds;

    const Snapshot after = robust::TakeSnapshot(root);
    std::string why;
    const std::string told = "フォーラム " + forum + " は他のプログラム (kiv-batch, PID ";
    for (const ChildEnd* end : {&first, &second}) {
      bool refused = false;
      if (!RanOrWasTold(*end, told, &refused) || (refused && WaitOfRound(round) != "0")) {
        ++t.untold;
        why += " a run ended " + std::to_string(end->status) + ": " + end->err;
      }
      t.refused += refused;
    }
    const Snapshot inForum = Within(after, "FORUM1/", true), wasInForum = Within(before, "FORUM1/", true);
    if (Within(after, "FORUM1/", false) != Within(before, "FORUM1/", false)) ++t.outsideChanged;
    JudgeForum(wasInForum, inForum, t, why);
    JudgeList(inForum, false, t, why);
    if (!why.empty()) ADD_FAILURE() << "round " << round << ":" << why;
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  Print("two kiv-batch split --export on one forum", t);
}

// A shared folder whose list is long enough that TORBLEN's rewrite takes a
// while: many lines naming the room list, which is there, so all are kept.
std::string MakeLongListed(const std::string& root, const samplegen::SharedFolderOptions& options) {
  robust::MakeSharedFolder(root, options);
  std::string lines;
  for (int i = 0; i < 120000; ++i) lines += "M MES.LOG " + std::to_string(i) + " " + std::string(60, 'x') + "\r\n";
  const std::string list = robust::ForumOf(root) + "/AR.LST";
  WriteBytes(list, ReadBytes(list) + lines);
  return root;
}

TEST(TwoWriters, KivBatchWhileTorblenRewritesTheLists) {
  TempDir tmp;
  const samplegen::SharedFolderOptions options = Sample(42);
  MakeDir(tmp.Sub("config"));
  MakeDir(tmp.Sub("config/Orvanta"));
  robust::ChildRun timing;
  timing.env = {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_CONFIG_HOME", tmp.Sub("config")}, {"KIV_MESSAGE_ANSWERS", ""}};
  long micros = 0;
  {
    const std::string root = MakeLongListed(tmp.Sub("timing"), options);
    WriteBytes(tmp.Sub("config/Orvanta/Tallowick.conf"), "[Setting]\nLOGFILE=" + root + "\n");
    const auto start = Clock::now();
    const ChildEnd end = robust::RunChild(KIV_TORBLEN_EXE, {}, timing);
    ASSERT_EQ(end.status, 0) << end.err;
    micros = static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
  }
  Tally t;
  for (int round = 0; round < 12; ++round) {
    const std::string root = MakeLongListed(tmp.Sub("round-" + std::to_string(round)), options);
    const std::string forum = robust::ForumOf(root);
    WriteBytes(tmp.Sub("config/Orvanta/Tallowick.conf"), "[Setting]\nLOGFILE=" + root + "\n");
    const Snapshot before = robust::TakeSnapshot(root);
    robust::ChildRun batch, checker;
    batch.env = {{"KIV_LOCK_WAIT_MS", WaitOfRound(round)}};
    // The interactive run, its boxes answered and written to standard error.
    checker.env = {{"KIV_LOCK_WAIT_MS", WaitOfRound(round)},
                   {"QT_QPA_PLATFORM", "offscreen"},
                   {"XDG_CONFIG_HOME", tmp.Sub("config")},
                   {"KIV_MESSAGE_ANSWERS", ""}};
    checker.timeoutSeconds = 120;
    ChildEnd split, torblen;
    std::thread other([&] {
      // At moments spread over TORBLEN's run, most of which it spends
      // reading the long list.
      std::this_thread::sleep_for(std::chrono::microseconds(micros * (round + 1) / 13));
      split = robust::RunChild(KIV_BATCH_KILLABLE, SplitWithExport(forum, "1"), batch);
    });
    torblen = robust::RunChild(KIV_TORBLEN_EXE, {}, checker);
    other.join();
    ++t.rounds;

    const Snapshot after = robust::TakeSnapshot(root);
    std::string why;
    bool refused = false;
    if (!RanOrWasTold(split, "フォーラム " + forum + " は他のプログラム (TORBLEN, PID ", &refused) ||
        (refused && WaitOfRound(round) != "0")) {
      ++t.untold;
      why += " kiv-batch ended " + std::to_string(split.status) + ": " + split.err;
    }
    t.refused += refused;
    const bool checkerRefused =
        torblen.err.find("他のプログラム (kiv-batch, PID ") != std::string::npos &&
        torblen.err.find("変更中のため、書庫リストファイルを変更しませんでした") != std::string::npos;
    t.refused += checkerRefused;
    if (!torblen.exited || torblen.status != 0 || (checkerRefused && WaitOfRound(round) != "0")) {
      ++t.untold;
      why += " TORBLEN ended " + std::to_string(torblen.status) + ": " + torblen.err;
    }
    const Snapshot inForum = Within(after, "FORUM1/", true), wasInForum = Within(before, "FORUM1/", true);
    if (Within(after, "FORUM1/", false) != Within(before, "FORUM1/", false)) ++t.outsideChanged;
    JudgeForum(wasInForum, inForum, t, why);
    JudgeList(inForum, !checkerRefused, t, why);
    if (!why.empty()) ADD_FAILURE() << "round " << round << ":" << why;
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  Print("kiv-batch split --export while TORBLEN rewrites the lists", t);
}

}  // namespace
