// The repair of commits cut short, from journals as a killed run leaves them:
// it finishes what had begun unless the host wrote to the log since, and
// touches only the files the journal names.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "commit/append_commit.h"
#include "commit/folder_repair.h"
#include "commit/split_commit.h"
#include "platform/dir_search.h"
#include "platform/file_ops.h"
#include "tests/support/stopped_commit.h"
#include "tests/support/temp_dir.h"

namespace {

using Kind = commit::RepairNote::Kind;

void AppendAsTheHost(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(AppendBytes(path, bytes)) << path;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<plat::FoundItem> found;
  plat::FindFiles(folder, "*.*", &found);
  std::vector<std::string> names;
  for (const plat::FoundItem& item : found) names.push_back(item.name);
  return names;
}

// A split of MES_01.LOG committed in its journal and stopped before any file
// moved, beside a file of the user's.
struct StoppedSplit {
  TempDir tmp;
  StoppedSplit() {
    WriteBytes(tmp.Sub("MES_01.LOG"), "old log\r\n");
    WriteBytes(tmp.Sub("KEEP.TXT"), "the user's\r\n");
    EXPECT_TRUE(LeaveStoppedSplit(tmp.path(), "MES_01.LOG", "MES_01.B00", "AR_9802A.LOG", "first half\r\n",
                                  "second half\r\n"));
  }
};

TEST(Repair, AStoppedSplitIsFinishedOrTakenBackAsTheLogStands) {
  {
    StoppedSplit s;
    const std::vector<commit::RepairNote> notes = commit::RepairFolder(s.tmp.path());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, Kind::SplitFinished);
    EXPECT_EQ(ReadBytes(s.tmp.Sub("MES_01.LOG")), "second half\r\n");
    EXPECT_EQ(ReadBytes(s.tmp.Sub("AR_9802A.LOG")), "first half\r\n");
    EXPECT_EQ(ReadBytes(s.tmp.Sub("MES_01.B00")), "old log\r\n");
    EXPECT_EQ(Names(s.tmp.path()), (std::vector<std::string>{"AR_9802A.LOG", "KEEP.TXT", "MES_01.B00", "MES_01.LOG"}));
    EXPECT_TRUE(commit::RepairFolder(s.tmp.path()).empty()) << "a second repair finds nothing";
  }
  {
    // The host wrote to the log after the run stopped: what it wrote is in
    // no output, so the split is taken back and the log kept as it is.
    StoppedSplit s;
    AppendAsTheHost(s.tmp.Sub("MES_01.LOG"), "new message\r\n");
    const std::vector<commit::RepairNote> notes = commit::RepairFolder(s.tmp.path());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, Kind::SplitTakenBack);
    EXPECT_EQ(ReadBytes(s.tmp.Sub("MES_01.LOG")), "old log\r\nnew message\r\n");
    EXPECT_EQ(Names(s.tmp.path()), (std::vector<std::string>{"KEEP.TXT", "MES_01.LOG"}));
  }
}

TEST(Repair, AnAppendIsFinishedFromWhereItStoppedAndForeignBytesAreLeftAlone) {
  TempDir tmp;
  WriteBytes(tmp.Sub("AR.LST"), "M AR_9801A.LOG - x -\r\n");
  const std::string lines = "M AR_9802A.LOG - a -\r\nM AR_9802B.LOG - b -\r\n";
  auto stopAfter = [&](std::size_t written, const std::string& then) {
    WriteBytes(tmp.Sub("AR.LST"), "M AR_9801A.LOG - x -\r\n");
    commit::Journal journal;
    commit::Fault fault;
    ASSERT_TRUE(journal.Create(tmp.path(), "0000000000a1",
                               {{"op", {"append"}}, {"file", {"AR.LST"}}, {"size", {"22"}}, {"data", {lines}}}, &fault));
    ASSERT_TRUE(journal.Commit({}, &fault));
    AppendAsTheHost(tmp.Sub("AR.LST"), lines.substr(0, written) + then);
  };
  for (std::size_t written : {std::size_t{0}, std::size_t{9}, lines.size()}) {
    stopAfter(written, "");
    const std::vector<commit::RepairNote> notes = commit::RepairFolder(tmp.path());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, Kind::AppendFinished);
    EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), "M AR_9801A.LOG - x -\r\n" + lines) << written;
  }
  // Lines in full, then the host's own: done, and the host's line stays.
  stopAfter(lines.size(), "M HOST.LOG - h -\r\n");
  EXPECT_EQ(commit::RepairFolder(tmp.path())[0].kind, Kind::AppendFinished);
  EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), "M AR_9801A.LOG - x -\r\n" + lines + "M HOST.LOG - h -\r\n");
  // Half a line, then somebody else's bytes: not ours to cut or write over.
  stopAfter(9, "XYZ");
  std::vector<commit::RepairNote> notes = commit::RepairFolder(tmp.path());
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].kind, Kind::Failed);
  EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), "M AR_9801A.LOG - x -\r\n" + lines.substr(0, 9) + "XYZ");
}

TEST(Repair, AJournalWrittenOnlyInPartIsDroppedWithTheFilesItNamed) {
  TempDir tmp;
  WriteBytes(tmp.Sub("MES_01.LOG"), "log\r\n");
  commit::SplitPlan plan;
  plan.folder = tmp.path();
  plan.logName = "MES_01.LOG";
  plan.backupName = "MES_01.B00";
  plan.outputNames = {"AR_9802A.LOG", "MES_01.LOG"};
  {
    commit::SplitCommit split;
    commit::Fault fault;
    ASSERT_TRUE(split.Begin(plan, &fault));
    WriteBytes(tmp.Sub(plan.tempNames[0]), "half wri");
  }  // stopped while writing: no commit line
  const std::vector<commit::RepairNote> notes = commit::RepairFolder(tmp.path());
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].kind, Kind::SplitTakenBack);
  EXPECT_EQ(Names(tmp.path()), (std::vector<std::string>{"MES_01.LOG"}));
  EXPECT_EQ(ReadBytes(tmp.Sub("MES_01.LOG")), "log\r\n");
}

}  // namespace
