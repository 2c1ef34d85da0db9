// kiv-batch split and TORBLEN's rewrite of AR.LST stopped dead with SIGKILL
// right before each of their file operations in turn (or a spread of them
// when there are many): afterwards every log's complete content is there
// byte for byte under its name or its backup's, every list is whole (as it
// was, or as the rewrite makes it), and a later run on the folder works.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "checker/folder_walk.h"
#include "platform/fault_injection.h"
#include "tests/robustness/child_process.h"
#include "tests/robustness/folder_snapshot.h"
#include "tests/robustness/suite_counts.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/shared_folder.h"

namespace {

using robust::Snapshot;

// At most this many kill points per case; more operations are sampled evenly.
constexpr int kMostPointsPerCase = 60;

std::vector<int> KillPoints(int operations) {
  std::vector<int> points;
  if (operations <= kMostPointsPerCase) {
    for (int k = 1; k <= operations; ++k) points.push_back(k);
  } else {
    for (int i = 0; i < kMostPointsPerCase; ++i) {
      points.push_back(1 + static_cast<int>(static_cast<long long>(i) * (operations - 1) / (kMostPointsPerCase - 1)));
    }
  }
  return points;
}

std::string MakeShared(const std::string& root, const samplegen::SharedFolderOptions& options) {
  samplegen::SharedFolderResult made = samplegen::GenerateSharedFolder(root, options);
  if (!made.ok) ADD_FAILURE() << "sample not made: " << made.error;
  return root;
}

void Remove(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
}

struct SplitCase {
  const char* name;
  samplegen::SharedFolderOptions options;
  std::vector<std::string> split;  // kiv-batch arguments after the forum folder
};

void KillSplitAtEveryMoment(const SplitCase& c) {
  TempDir tmp;
  const std::string exe = KIV_BATCH_KILLABLE;
  const Snapshot before = robust::TakeSnapshot(MakeShared(tmp.Sub("before"), c.options));
  std::vector<std::string> args{"split", ""};
  args.insert(args.end(), c.split.begin(), c.split.end());

  Snapshot done;
  int operations = 0;
  {
    const std::string root = MakeShared(tmp.Sub("done"), c.options);
    args[1] = root + "/FORUM1";
    robust::ChildEnd end = robust::RunChild(exe, args, {{"KIV_COUNT_OPS_TO", tmp.Sub("count")}});
    ASSERT_TRUE(end.exited && end.status == 0) << c.name << " without a kill: " << end.err;
    done = robust::TakeSnapshot(root);
    operations = std::atoi(ReadBytes(tmp.Sub("count")).c_str());
  }
  ASSERT_GT(operations, 10) << c.name;

  int tried = 0, survived = 0;
  for (int k : KillPoints(operations)) {
    const std::string root = MakeShared(tmp.Sub("kill-" + std::to_string(k)), c.options);
    const std::string forum = root + "/FORUM1";
    args[1] = forum;
    robust::ChildEnd end = robust::RunChild(exe, args, {{"KIV_KILL_AT_OP", std::to_string(k)}});
    if (end.signal != SIGKILL) {
      ADD_FAILURE() << c.name << ", kill point " << k << ": the run ended on its own (" << end.status << ") " << end.err;
      Remove(root);
      continue;
    }
    ++tried;
    std::vector<std::string> breaches = robust::NothingLost(before, {done}, robust::TakeSnapshot(root), true);

    // A later run on the folder: it lists, analyses and splits again (a
    // backup left by the killed run is kept: that file is skipped) and
    // still loses nothing.
    robust::ChildEnd list = robust::RunChild(exe, {"list", forum});
    if (!list.exited || list.status != 0) breaches.push_back("a later list failed: " + list.err);
    robust::ChildEnd analyze = robust::RunChild(exe, {"analyze", forum});
    if (!analyze.exited || analyze.status > 1) breaches.push_back("a later analyze broke down: " + analyze.err);
    // Which logs a room still has is up to where the kill struck, so the
    // later split leaves the kind to the dialog's preselection.
    std::vector<std::string> later;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i] == "--kind") {
        ++i;
        continue;
      }
      later.push_back(args[i]);
    }
    robust::ChildEnd again = robust::RunChild(exe, later);
    if (!again.exited || again.status > 1) breaches.push_back("a later split broke down: " + again.err);
    for (const std::string& b : robust::NothingLost(before, {done}, robust::TakeSnapshot(root), true)) {
      breaches.push_back("after the later runs: " + b);
    }
    for (const std::string& b : breaches) ADD_FAILURE() << c.name << ", kill point " << k << ": " << b;
    if (breaches.empty()) ++survived;
    Remove(root);
  }
  std::printf("[robustness] kiv-batch split, %s: %d file operations, %d kill points tried, %d survived\n", c.name,
              operations, tried, survived);
  robust::Counts().killPointsTried += tried;
  robust::Counts().killPointsSurvived += survived;
}

TEST(CrashSafety, KivBatchSplitOfTwoRoomsWithExportKilledAtEveryFileOperation) {
  samplegen::SharedFolderOptions options;
  options.seed = 5;
  options.forums = 1;
  options.rooms = 2;
  options.messages = 60;
  options.archive = true;
  KillSplitAtEveryMoment({"two rooms", options, {"--rooms", "1,2", "--kind", "both", "--number", "30", "--export"}});
}

TEST(CrashSafety, KivBatchSplitOfMegabyteLogsAtEveryStepKilledAcrossIt) {
  samplegen::SharedFolderOptions options;
  options.seed = 6;
  options.forums = 1;
  options.rooms = 1;
  options.sizeBytes = 3 << 20;
  options.longLines = true;
  KillSplitAtEveryMoment({"3 MB logs", options, {"--rooms", "1", "--kind", "both", "--method", "1", "--number", "500", "--form", "1"}});
}

// TORBLEN's walk in a child process of this test, killed right before its
// k-th file operation: the checker's own code, stopped where a real stop
// would catch it.
int g_killAt = 0;
int g_seen = 0;
int KillHook(plat::FileOp, const char*) {
  if (++g_seen == g_killAt) ::raise(SIGKILL);
  return 0;
}

// Runs the walk in a child; true when the child was killed.
bool WalkKilledAt(const std::string& root, int killAt, int* operations) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    g_killAt = killAt;
    g_seen = 0;
    plat::SetFaultHook(KillHook);
    WalkSharedLogFolder(root, nullptr);
    plat::SetFaultHook(nullptr);
    ::_exit(g_seen > 255 ? 255 : g_seen);
  }
  int raw = 0;
  while (::waitpid(pid, &raw, 0) < 0) {
  }
  if (operations) *operations = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return WIFSIGNALED(raw) && WTERMSIG(raw) == SIGKILL;
}

// A list of about `bytes`, every other line naming a file that is gone,
// with lines of `lineLength` bytes.
void AddBigList(const std::string& forum, std::size_t bytes, std::size_t lineLength) {
  std::string list;
  const std::string kept = "M AR_9712A.LOG ";
  const std::string gone = "M AR_0001Z.LOG ";
  for (int i = 0; list.size() < bytes; ++i) {
    std::string line = (i % 2 ? gone : kept) + std::to_string(i) + " ";
    line.append(lineLength > line.size() + 2 ? lineLength - line.size() - 2 : 1, 'x');
    list += line + "\r\n";
  }
  WriteBytes(forum + "/AR.LST", list);
  WriteBytes(forum + "/AR_9712A.LOG", "old log\r\n");
}

struct ListCase {
  const char* name;
  std::size_t bytes;  // 0: the sample's own lists
  std::size_t lineLength;
};

void KillTorblenAtEveryMoment(const ListCase& c) {
  TempDir tmp;
  samplegen::SharedFolderOptions options;
  options.seed = 9;
  options.forums = c.bytes ? 1 : 2;
  options.rooms = 1;
  options.messages = 10;
  options.archive = true;
  auto make = [&](const std::string& name) {
    const std::string root = MakeShared(tmp.Sub(name), options);
    if (c.bytes) AddBigList(root + "/FORUM1", c.bytes, c.lineLength);
    return root;
  };
  const Snapshot before = robust::TakeSnapshot(make("before"));
  int operations = 0;
  Snapshot done;
  {
    const std::string root = make("done");
    ASSERT_FALSE(WalkKilledAt(root, 0, &operations));
    done = robust::TakeSnapshot(root);
  }
  ASSERT_FALSE(robust::SameContent(before, done)) << c.name << ": no line to drop";
  ASSERT_GT(operations, 3) << c.name;

  int tried = 0, survived = 0;
  for (int k : KillPoints(operations)) {
    const std::string root = make("kill-" + std::to_string(k));
    if (!WalkKilledAt(root, k, nullptr)) {
      ADD_FAILURE() << c.name << ", kill point " << k << ": the walk was not stopped";
      continue;
    }
    ++tried;
    std::vector<std::string> breaches;
    const Snapshot after = robust::TakeSnapshot(root);
    for (const std::string& b : robust::NothingLost(before, {done}, after, true)) breaches.push_back(b);
    for (const auto& [path, bytes] : done) {
      if (!path.ends_with("AR.LST")) continue;
      auto it = after.find(path);
      if (it == after.end() || (it->second != bytes && it->second != before.at(path))) {
        breaches.push_back(path + " is neither as it was nor as the rewrite makes it");
      }
    }
    // A later walk finishes the job.
    WalkSharedLogFolder(root, nullptr);
    const Snapshot later = robust::TakeSnapshot(root);
    for (const auto& [path, bytes] : done) {
      if (path.ends_with("AR.LST") && (!later.count(path) || later.at(path) != bytes)) {
        breaches.push_back("a later walk did not bring " + path + " in line");
      }
    }
    for (const std::string& b : breaches) ADD_FAILURE() << c.name << ", kill point " << k << ": " << b;
    if (breaches.empty()) ++survived;
    Remove(root);
  }
  std::printf("[robustness] TORBLEN, %s: %d file operations, %d kill points tried, %d survived\n", c.name,
              operations, tried, survived);
  robust::Counts().killPointsTried += tried;
  robust::Counts().killPointsSurvived += survived;
}

TEST(CrashSafety, TorblenRewriteKilledAtEveryFileOperation) {
  KillTorblenAtEveryMoment({"the sample's lists", 0, 0});
  KillTorblenAtEveryMoment({"a 5 MB list", 5u << 20, 80});
  KillTorblenAtEveryMoment({"a 5 MB list of 3000-byte lines", 5u << 20, 3000});
}

}  // namespace
