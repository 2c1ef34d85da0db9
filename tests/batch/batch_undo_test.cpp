// kiv-batch's session run in this process, so that the host can append to a
// log at the one moment a process can't be stopped at: after the undo's
// rescan, before it puts a backup in the log's place.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "batch/batch_command.h"
#include "batch/batch_run.h"
#include "platform/fault_injection.h"
#include "platform/file_ops.h"
#include "tests/batch/batch_runner.h"
#include "tests/support/temp_dir.h"

namespace {

const char kHostLine[] = "HOST WROTE THIS\r\n";

// The host appends to the log once, when the undo looks at the backup it
// chose: the rescan of the undo's command is over by then.
std::string g_log;
std::string g_backup;
int g_appends = 0;

int AppendWhenTheBackupIsLookedAt(plat::FileOp op, const char* path) {
  const std::string p = path;
  if (op != plat::FileOp::Status || g_appends > 0 || p.size() < g_backup.size() ||
      p.compare(p.size() - g_backup.size(), g_backup.size(), g_backup) != 0) {
    return 0;
  }
  ++g_appends;
  if (!AppendBytes(g_log, kHostLine)) ADD_FAILURE() << "could not append to " << g_log;
  return 0;
}

BatchCommand Command(const std::string& line) {
  BatchCommand command;
  std::string error;
  EXPECT_TRUE(ParseBatchCommand(SessionLineWords(line), command, error)) << line << ": " << error;
  return command;
}

}  // namespace

TEST(KivBatchUndo, ALogTheHostWroteToAfterTheRescanIsLeftAndTheRunExitsOne) {
  TempDir tmp;
  const samplegen::ForumResult forum = MakeSample(tmp.Sub("logs"), 2, 2500).forums.at(0);
  g_log = forum.path + "/MES_01.LOG";
  g_backup = "/MES_01.B00";
  g_appends = 0;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_TRUE(out && err);
  const FixedClock today(std::time(nullptr));
  int undo = -1, title = -1, status = -1;
  std::string split, backup;
  {
    BatchRun run(forum.path, out, err, &today);
    ASSERT_EQ(run.Run(Command("split --rooms 1 --number 1000 --kind both"), true), kExitDone);
    split = ReadBytes(g_log);
    backup = ReadBytes(forum.path + "/MES_01.B00");
    plat::SetFaultHook(&AppendWhenTheBackupIsLookedAt);
    undo = run.Run(Command("undo --rooms 1"), true);
    plat::SetFaultHook(nullptr);
    // A second undo finds nothing left to take back of either log.
    title = run.Run(Command("undo --rooms 1"), true);
    status = run.Finish(undo);
  }
  const std::string errText = Drain(err);
  Drain(out);
  EXPECT_EQ(g_appends, 1);
  EXPECT_EQ(undo, kExitIncomplete) << errText;
  EXPECT_EQ(status, kExitIncomplete);
  EXPECT_EQ(title, kExitIncomplete) << "nothing undone";
  EXPECT_EQ(ReadBytes(g_log), split + kHostLine);
  EXPECT_EQ(ReadBytes(forum.path + "/MES_01.B00"), backup);
  EXPECT_FALSE(plat::FileExists(forum.path + "/MES#01.B00")) << "the title log was taken back";
  EXPECT_NE(errText.find("ログファイルが更新されています: MES_01.LOG :\n分割の後に"), std::string::npos) << errText;
}
