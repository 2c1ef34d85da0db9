// TORBLEN's rewrite of AR.LST stopped dead with SIGKILL right before each of
// its file operations in turn (or a spread of them when there are many):
// afterwards every list is whole (as it was, or as the rewrite makes it),
// nothing else is lost, and a later walk brings the lists in line. kiv-batch
// gets the same in commit_crash_test.cpp.
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
  std::printf("[robustness] TORBLEN, %s: %d file operations, %d kill points tried, %d survived\n", c.name, operations,
              tried, survived);
  robust::Counts().killPointsTried += tried;
  robust::Counts().killPointsSurvived += survived;
}

TEST(CrashSafety, TorblenRewriteKilledAtEveryFileOperation) {
  KillTorblenAtEveryMoment({"the sample's lists", 0, 0});
  KillTorblenAtEveryMoment({"a 5 MB list", 5u << 20, 80});
  KillTorblenAtEveryMoment({"a 5 MB list of 3000-byte lines", 5u << 20, 3000});
}

}  // namespace
