// Every file operation that split, undo, export, the history and TORBLEN's
// rewrite reach is made to fail in turn, one run per operation. After each
// run the folder must have lost nothing, and when the run did not do all a
// successful run does, the failure must have been reported naming the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <cerrno>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/folder_walk.h"
#include "commit/append_commit.h"
#include "platform/fault_injection.h"
#include "tests/robustness/batch_session.h"
#include "tests/robustness/fault_plan.h"
#include "tests/robustness/folder_snapshot.h"
#include "tests/robustness/suite_counts.h"
#include "tests/support/injected_fault.h"
#include "tests/support/stopped_commit.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/shared_folder.h"

namespace {

using robust::FaultPlan;
using robust::Snapshot;

std::string BaseName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A fresh sample shared log folder: two forums of two rooms with thirty
// messages each, room 1 with old logs listed in AR.LST (one of them gone).
std::string MakeShared(const TempDir& tmp, const std::string& name) {
  samplegen::SharedFolderOptions options;
  options.seed = 11;
  options.forums = 2;
  options.rooms = 2;
  options.messages = 30;
  options.archive = true;
  const std::string root = tmp.Sub(name);
  samplegen::SharedFolderResult made = samplegen::GenerateSharedFolder(root, options);
  if (!made.ok) ADD_FAILURE() << "sample not made: " << made.error;
  return root;
}

struct Scenario {
  const char* name;
  std::vector<std::string> lines;
  // Run on FORUM1 of every fresh folder before the script: what an earlier
  // run may have left there.
  void (*prepare)(const std::string& forum) = nullptr;
};

std::string MakeFor(const Scenario& s, const TempDir& tmp, const std::string& name) {
  const std::string root = MakeShared(tmp, name);
  if (s.prepare) s.prepare(root + "/FORUM1");
  return root;
}

// Each prefix of the script run without a fault: the states a run may leave
// a file in when a later command fails. A room list (MES.LOG) that can't be
// read leaves the rooms unnamed, without a word, so the header lines then
// carry the rooms' numbers: those runs are successful runs too.
std::vector<Snapshot> SuccessfulStates(const TempDir& tmp, const Scenario& s, bool roomListReadable) {
  std::vector<Snapshot> states;
  for (std::size_t n = 1; n <= s.lines.size(); ++n) {
    const std::string root =
        MakeFor(s, tmp, std::string("done-") + std::to_string(roomListReadable) + "-" + std::to_string(n));
    std::vector<std::string> prefix(s.lines.begin(), s.lines.begin() + static_cast<long>(n));
    std::optional<InjectedFault> unreadable;
    if (!roomListReadable) unreadable.emplace(plat::FileOp::Open, "/MES.LOG", EACCES);
    robust::SessionResult r = robust::RunSession(root + "/FORUM1", prefix);
    EXPECT_TRUE(r.AllDone()) << s.name << " without a fault: " << r.err;
    states.push_back(robust::TakeSnapshot(root));
  }
  return states;
}

// The files in which two states differ, for the failure message.
std::string Differences(const Snapshot& a, const Snapshot& b) {
  std::string out;
  for (const auto& [path, bytes] : a) {
    auto it = b.find(path);
    if (it == b.end() || robust::WithoutTimeStamps(path, it->second) != robust::WithoutTimeStamps(path, bytes)) {
      out += (out.empty() ? "" : ", ") + path;
    }
  }
  for (const auto& [path, bytes] : b) {
    if (!a.count(path)) out += (out.empty() ? "" : ", ") + path + " missing";
  }
  return out;
}

bool IsHistory(const std::string& path) { return path.ends_with(".KIV"); }
bool IsLog(const std::string& name) {
  return (name.starts_with("MES_") || name.starts_with("MES#")) && name.ends_with(".LOG");
}
bool IsOldLog(const std::string& name) { return name.starts_with("AR"); }
bool IsBackup(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return name.starts_with("MES") && dot != std::string::npos && name.size() > dot + 2 && name[dot + 1] == 'B';
}

// How a failure must show. Most must name the file. A few pass without a
// word by the system's own rules, and lose nothing (NothingLost still
// checks): the history, a trace written as the program ends, is skipped
// when it can't be written; the undo leaves an old log it can't delete
// where it is, and drops an entry whose restored log it can't look at. And
// a few show as their consequence: a folder that can't be listed for
// naming makes the name it could not be sure of clash, and a backup whose
// time can't be read (at the split or at the undo) makes the undo say it
// goes back further.
enum class Report { NamingTheFile, Something, Nothing };

Report ReportDue(const Scenario& s, const robust::SessionResult& r, int failedOp, plat::FileOp op,
                 const std::string& target) {
  std::size_t command = 0;
  while (command + 1 < r.marks.size() && r.marks[command + 1] < failedOp) ++command;
  const bool inUndo = command < s.lines.size() && s.lines[command].starts_with("undo");
  const bool inHistory = !r.marks.empty() && failedOp > r.marks.back();
  if (IsHistory(target) || inHistory) return Report::Nothing;
  if (inUndo && (op == plat::FileOp::Delete || op == plat::FileOp::Status) && IsOldLog(target)) {
    return Report::Nothing;
  }
  if (inUndo && op == plat::FileOp::Status && IsLog(target)) return Report::Nothing;
  if (op == plat::FileOp::List) return Report::Something;
  // An output is written under a temporary name and told by the name it
  // was to take; a folder that can't be synced is told by the file whose
  // commit it held up.
  if (target.starts_with("~KIV-") && op != plat::FileOp::Rename) return Report::Something;
  if (op == plat::FileOp::Sync && target == "FORUM1") return Report::Something;
  if (op == plat::FileOp::Status && IsBackup(target)) return Report::Something;
  return Report::NamingTheFile;
}

void FailEveryOperation(const Scenario& s) {
  TempDir tmp;
  const Snapshot before = robust::TakeSnapshot(MakeFor(s, tmp, "before"));
  std::vector<Snapshot> done = SuccessfulStates(tmp, s, true);
  const std::vector<Snapshot> unnamed = SuccessfulStates(tmp, s, false);
  ASSERT_FALSE(robust::SameContent(before, done.back())) << s.name << " changes nothing to check";
  const Snapshot complete = done.back();
  const Snapshot completeUnnamed = unnamed.back();
  done.insert(done.end(), unnamed.begin(), unnamed.end());

  int operations = 0;
  std::string completeErr;
  {
    const std::string root = MakeFor(s, tmp, "count");
    FaultPlan counter;
    completeErr = robust::RunSession(root + "/FORUM1", s.lines).err;
    operations = counter.operations();
  }
  ASSERT_GT(operations, 10) << s.name;

  int injected = 0, survived = 0;
  for (int k = 1; k <= operations; ++k) {
    const std::string root = MakeFor(s, tmp, std::string("fault-") + std::to_string(k));
    robust::SessionResult r;
    std::string what;
    bool hit = false;
    plat::FileOp op = plat::FileOp::Open;
    std::string target;
    {
      FaultPlan plan(k);
      r = robust::RunSession(root + "/FORUM1", s.lines, [&plan] { return plan.operations(); });
      hit = plan.injected();
      what = plan.Describe();
      op = plan.op();
      target = BaseName(plan.path());
    }
    if (hit) {
      ++injected;
      // What counts is what the next run finds: it resolves whatever the
      // failed one had to leave half way, and then nothing may be lost and
      // no journal or temporary file may be left.
      const robust::SessionResult next = robust::RunSession(root + "/FORUM1", {"list"});
      const Snapshot after = robust::TakeSnapshot(root);
      std::vector<std::string> breaches = robust::NothingLost(before, done, after, false);
      const bool didAll = robust::SameContent(after, complete) || robust::SameContent(after, completeUnnamed);
      if (!didAll) {
        switch (ReportDue(s, r, k, op, target)) {
          case Report::NamingTheFile:
            if (r.err.find(target) == std::string::npos) {
              breaches.push_back("the run fell short of a successful one (" + Differences(after, complete) +
                                 ") but never named " + target);
            }
            break;
          case Report::Something:
            if (r.err == completeErr) breaches.push_back("the run fell short of a successful one without a word");
            break;
          case Report::Nothing: break;
        }
      }
      for (const std::string& b : breaches) {
        ADD_FAILURE() << s.name << ", " << what << ": " << b << "\n" << r.err << next.err;
      }
      if (breaches.empty()) ++survived;
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    if (!hit) break;  // the run took fewer operations than the counting run
  }
  std::printf("[robustness] %s: %d file operations, %d made to fail, %d survived\n", s.name, operations, injected,
              survived);
  robust::Counts().faultsInjected += injected;
  robust::Counts().faultsSurvived += survived;
  EXPECT_EQ(injected, operations) << s.name;
}

TEST(FaultInjection, SplitOfTwoRoomsAndTheirExportToTheArchiveList) {
  FailEveryOperation({"split+export", {"analyze", "split --rooms 1,2 --kind both --method 1 --number 12 --export"}});
}

TEST(FaultInjection, TwoGenerationsOfSplitsAndTheUndoOfTheNewest) {
  FailEveryOperation({"split+split+undo",
                      {"analyze", "split --rooms 1 --kind both --number 10", "split --rooms 1 --kind both --number 20",
                       "undo --rooms 1"}});
}

// A split and an append to AR.LST, each committed in its journal and stopped
// before any file moved, as a kill leaves them.
void LeaveStoppedCommits(const std::string& forum) {
  if (!LeaveStoppedSplit(forum, "MES_01.LOG", "MES_01.B00", "AR_2401Z.LOG", "old messages\r\n", "new messages\r\n")) {
    ADD_FAILURE() << "the split was not left stopped";
  }
  // The append's journal is whole, its lines not yet written: once it has
  // looked at AR.LST, this run can neither look again nor write to it.
  static int looks;
  looks = 0;
  plat::SetFaultHook(+[](plat::FileOp op, const char* path) {
    if (!std::string_view(path).ends_with("/AR.LST")) return 0;
    if (op == plat::FileOp::Status && looks++ == 0) return 0;
    return op == plat::FileOp::Write || op == plat::FileOp::Status ? EIO : 0;
  });
  if (commit::AppendDurably(forum, "AR.LST", "M AR_2401Z.LOG - stopped -\r\n").outcome != commit::Outcome::Stuck) {
    ADD_FAILURE() << "the append was not left stopped";
  }
  plat::SetFaultHook(nullptr);
}

TEST(FaultInjection, TheRepairOfAStoppedSplitAndAppend) {
  FailEveryOperation({"repair", {"list"}, LeaveStoppedCommits});
}

TEST(FaultInjection, SerialFormCutAtEveryStepIntoOneBackup) {
  FailEveryOperation(
      {"serial steps", {"analyze", "split --rooms 2 --kind body --method 1 --number 10 --form 1 --bak"}});
}

// TORBLEN's walk over the shared log folder: every forum's AR.LST is either
// as it was or as the successful walk leaves it, and a list left as it was
// while the successful walk changes it is never counted as rewritten.
class RecordingWalk : public WalkObserver {
 public:
  void EnteringFolder(const std::string&) override {}
  void Reconciled(const std::string& folder, const ReconcileResult& result) override { results[folder] = result; }
  std::map<std::string, ReconcileResult> results;
};

TEST(FaultInjection, TorblenRewritingEveryArchiveList) {
  TempDir tmp;
  const Snapshot before = robust::TakeSnapshot(MakeShared(tmp, "before"));
  Snapshot done;
  {
    const std::string root = MakeShared(tmp, "done");
    RecordingWalk walk;
    WalkSharedLogFolder(root, &walk);
    done = robust::TakeSnapshot(root);
  }
  ASSERT_FALSE(robust::SameContent(before, done)) << "the sample's lists have no line to drop";

  int operations = 0;
  {
    const std::string root = MakeShared(tmp, "count");
    FaultPlan counter;
    RecordingWalk walk;
    WalkSharedLogFolder(root, &walk);
    operations = counter.operations();
  }
  int injected = 0, survived = 0;
  for (int k = 1; k <= operations; ++k) {
    const std::string root = MakeShared(tmp, "fault-" + std::to_string(k));
    RecordingWalk walk;
    std::string what;
    {
      FaultPlan plan(k);
      WalkSharedLogFolder(root, &walk);
      if (!plan.injected()) break;
      what = plan.Describe();
    }
    ++injected;
    const Snapshot after = robust::TakeSnapshot(root);
    std::vector<std::string> breaches = robust::NothingLost(before, {done}, after, false);
    for (const auto& [folder, result] : walk.results) {
      const std::string list = folder == root ? "AR.LST" : folder.substr(root.size() + 1) + "/AR.LST";
      if (after.count(list) && done.count(list) && after.at(list) != done.at(list) &&
          result.outcome == ReconcileOutcome::Rewritten) {
        breaches.push_back(list + " was left as it was but counted as rewritten");
      }
    }
    for (const std::string& b : breaches) ADD_FAILURE() << "TORBLEN, " << what << ": " << b;
    if (breaches.empty()) ++survived;
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  std::printf("[robustness] TORBLEN: %d file operations, %d made to fail, %d survived\n", operations, injected,
              survived);
  robust::Counts().faultsInjected += injected;
  robust::Counts().faultsSurvived += survived;
  EXPECT_EQ(injected, operations);
}

}  // namespace
