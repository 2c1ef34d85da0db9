#pragma once
// The whole states a kiv-batch run may leave a forum in, and the checks a
// run cut short (killed, interrupted) is judged by: what the user and the
// next run find.
#include <string>
#include <vector>

#include "tests/robustness/child_process.h"
#include "tests/robustness/folder_snapshot.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/shared_folder.h"

namespace robust {

// One kiv-batch run on FORUM1 of a generated shared folder.
struct Scenario {
  const char* name;
  samplegen::SharedFolderOptions options;
  std::vector<std::string> args;       // after the verb and the folder
  std::string script;                  // a session's commands, when the verb is session
  std::vector<std::string> splitArgs;  // the split that is run again afterwards
};

std::string ForumOf(const std::string& root);
std::string MakeSharedFolder(const std::string& root, const samplegen::SharedFolderOptions& options);
// Runs the scenario's command with kiv-batch-killable (the program as built,
// plus a hook that stops it dead when the environment asks).
ChildEnd RunScenario(const Scenario& s, const std::string& root, ChildRun how = {});
// A journal or temporary file of a commit.
bool IsCommitFile(const std::string& path);
bool JournalLeft(const std::string& root);

class Judge {
 public:
  // Makes the folder before the run and the whole states after each prefix
  // of the scenario's commands, in tmp.
  Judge(const Scenario& s, TempDir& tmp);

  // (a) every original log's bytes are in some file; (b) the log's own name
  // holds the whole old or the whole new log.
  std::vector<std::string> AfterKill(const std::string& root) const;
  // (c) no journal or temporary file, and every file as a whole run leaves it.
  std::vector<std::string> Settled(const std::string& root) const;
  // (d) the split again, then with --overwrite; every message of the
  // original logs is in a log or an old log.
  std::vector<std::string> AfterLaterSplits(const std::string& root) const;

 private:
  // (e) every old log the run made has one line in the history file and,
  // when the run exported, each body old log one in AR.LST; no line the run
  // added to AR.LST names a file that is gone.
  std::vector<std::string> EveryOldLogListed(const Snapshot& after) const;

  const Scenario& s_;
  Snapshot before_;
  std::vector<Snapshot> wholes_;
};

}  // namespace robust
