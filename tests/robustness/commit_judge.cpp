#include "tests/robustness/commit_judge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace robust {

std::string ForumOf(const std::string& root) { return root + "/FORUM1"; }

std::string MakeSharedFolder(const std::string& root, const samplegen::SharedFolderOptions& options) {
  samplegen::SharedFolderResult made = samplegen::GenerateSharedFolder(root, options);
  if (!made.ok) ADD_FAILURE() << "sample not made: " << made.error;
  return root;
}

ChildEnd RunScenario(const Scenario& s, const std::string& root, ChildRun how) {
  std::vector<std::string> args{s.script.empty() ? "split" : "session", ForumOf(root)};
  args.insert(args.end(), s.args.begin(), s.args.end());
  how.input = s.script;
  return RunChild(KIV_BATCH_KILLABLE, args, how);
}

namespace {

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

// Where messages may live: the logs and the old logs, not the backups, the
// lists or the room list.
bool HoldsMessages(const std::string& path) {
  const std::string name = Upper(BaseName(path));
  if (name == "MES.LOG" || name == "AR.LST" || name.ends_with(".KIV") || IsCommitFile(path)) return false;
  const std::size_t dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  const bool backup =
      ext == "BAK" || (ext.size() >= 3 && ext[0] == 'B' && ext.find_first_not_of("0123456789", 1) == std::string::npos);
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

}  // namespace

bool IsCommitFile(const std::string& path) { return BaseName(path).starts_with("~KIV-"); }

bool JournalLeft(const std::string& root) {
  for (const auto& [path, bytes] : TakeSnapshot(root)) {
    if (IsCommitFile(path) && path.ends_with(".JNL")) return true;
  }
  return false;
}

Judge::Judge(const Scenario& s, TempDir& tmp) : s_(s) {
  before_ = TakeSnapshot(MakeSharedFolder(tmp.Sub("before"), s.options));
  // The whole states: after each prefix of the commands a run makes.
  const std::string root = MakeSharedFolder(tmp.Sub("whole"), s.options);
  if (s.script.empty()) {
    ChildEnd end = RunScenario(s, root);
    EXPECT_EQ(end.status, 0) << s.name << ": " << end.err;
    wholes_.push_back(TakeSnapshot(root));
  } else {
    std::size_t at = 0;
    while ((at = s.script.find('\n', at)) != std::string::npos) {
      ++at;
      const std::string again = MakeSharedFolder(tmp.Sub("whole-" + std::to_string(at)), s.options);
      Scenario prefix = s;
      prefix.script = s.script.substr(0, at);
      ChildEnd end = RunScenario(prefix, again);
      EXPECT_EQ(end.status, 0) << s.name << ": " << end.err;
      wholes_.push_back(TakeSnapshot(again));
    }
  }
}

std::vector<std::string> Judge::AfterKill(const std::string& root) const {
  std::vector<std::string> breaches;
  const Snapshot after = TakeSnapshot(root);
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

std::vector<std::string> Judge::Settled(const std::string& root) const {
  std::vector<std::string> breaches;
  const Snapshot after = TakeSnapshot(root);
  for (const auto& [path, bytes] : after) {
    if (IsCommitFile(path)) breaches.push_back("(c) " + path + " is left");
  }
  for (const std::string& b : NothingLost(before_, wholes_, after, false)) breaches.push_back("(c) " + b);
  for (const std::string& b : EveryOldLogListed(after)) breaches.push_back("(e) " + b);
  return breaches;
}

std::vector<std::string> Judge::EveryOldLogListed(const Snapshot& after) const {
  std::vector<std::string> breaches;
  const bool exported = s_.script.find("export") != std::string::npos ||
                        std::find(s_.args.begin(), s_.args.end(), "--export") != s_.args.end();
  const std::string forum = "FORUM1/";
  auto file = [&](const std::string& name) {
    auto it = after.find(forum + name);
    return it == after.end() ? std::string() : it->second;
  };
  const std::string history = file("FORUM1.KIV");
  const std::string list = file("AR.LST");
  auto count = [](const std::string& text, const std::string& line) {
    int n = 0;
    for (std::size_t at = 0; (at = text.find(line, at)) != std::string::npos; ++at) ++n;
    return n;
  };
  for (const auto& [path, bytes] : after) {
    const std::string name = BaseName(path);
    if (before_.count(path) || !HoldsMessages(path) || IsLogName(path) || !path.starts_with(forum)) continue;
    const std::string line = "\nM " + name + " ";
    if (count(history, line) != 1)
      breaches.push_back(name + ": " + std::to_string(count(history, line)) + " lines in the history");
    if (exported && name.starts_with("AR_") && count("\n" + list, line) != 1) {
      breaches.push_back(name + ": " + std::to_string(count("\n" + list, line)) + " lines in AR.LST");
    }
  }
  // No line the run added names a file that is gone.
  const std::string listBefore = before_.count(forum + "AR.LST") ? before_.at(forum + "AR.LST") : std::string();
  for (std::size_t at = listBefore.size(); at < list.size();) {
    std::size_t end = list.find('\n', at);
    if (end == std::string::npos) end = list.size();
    const std::string line = list.substr(at, end - at);
    const std::size_t space = line.find(' ', 2);
    if (line.starts_with("M ") && space != std::string::npos && !after.count(forum + line.substr(2, space - 2))) {
      breaches.push_back("AR.LST names " + line.substr(2, space - 2) + ", which is gone");
    }
    at = end + 1;
  }
  return breaches;
}

std::vector<std::string> Judge::AfterLaterSplits(const std::string& root) const {
  std::vector<std::string> breaches;
  std::vector<std::string> args{"split", ForumOf(root)};
  args.insert(args.end(), s_.splitArgs.begin(), s_.splitArgs.end());
  ChildEnd again = RunChild(KIV_BATCH_KILLABLE, args);
  if (!again.exited || again.status > 1) breaches.push_back("(d) the split again broke down: " + again.err);
  args.push_back("--overwrite");
  ChildEnd overwrite = RunChild(KIV_BATCH_KILLABLE, args);
  if (!overwrite.exited || overwrite.status != 0) {
    breaches.push_back("(d) the split with --overwrite failed: " + overwrite.err);
  }
  const Snapshot after = TakeSnapshot(root);
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

}  // namespace robust
