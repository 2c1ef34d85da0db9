// The repair of commits cut short, from journals as a killed run leaves them:
// it finishes what had begun unless the host wrote to the log since, and
// touches only the files the journal names.
#include <gtest/gtest.h>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "commit/aftercare.h"
#include "commit/append_commit.h"
#include "commit/folder_repair.h"
#include "commit/split_commit.h"
#include "platform/dir_search.h"
#include "platform/fault_injection.h"
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
    EXPECT_TRUE(
        LeaveStoppedSplit(tmp.path(), "MES_01.LOG", "MES_01.B00", "AR_9802A.LOG", "first half\r\n", "second half\r\n"));
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
  // A file system without second names: the log moved to the backup name,
  // the run stopped, and the host began a new log. The repair puts the log
  // back with the new messages after it, also when a repair before it was
  // cut short after appending some of them; nothing stays only in a backup.
  for (const std::string appendedBefore : {"", "new mes"}) {
    StoppedSplit s;
    ASSERT_TRUE(plat::RenameNoReplace(s.tmp.Sub("MES_01.LOG"), s.tmp.Sub("MES_01.B00")));
    AppendAsTheHost(s.tmp.Sub("MES_01.B00"), appendedBefore);
    WriteBytes(s.tmp.Sub("MES_01.LOG"), "new message\r\n");
    const std::vector<commit::RepairNote> notes = commit::RepairFolder(s.tmp.path());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, Kind::SplitTakenBack);
    EXPECT_EQ(ReadBytes(s.tmp.Sub("MES_01.LOG")), "old log\r\nnew message\r\n");
    EXPECT_EQ(Names(s.tmp.path()), (std::vector<std::string>{"KEEP.TXT", "MES_01.LOG"}));
  }
  {
    // The backup grew by something else: not merged, kept, and told on
    // every run until the user resolves it; no split replaces that backup.
    StoppedSplit s;
    ASSERT_TRUE(plat::RenameNoReplace(s.tmp.Sub("MES_01.LOG"), s.tmp.Sub("MES_01.B00")));
    AppendAsTheHost(s.tmp.Sub("MES_01.B00"), "other\r\n");
    WriteBytes(s.tmp.Sub("MES_01.LOG"), "new message\r\n");
    for (int run = 0; run < 2; ++run) {
      const std::vector<commit::RepairNote> notes = commit::RepairFolder(s.tmp.path());
      ASSERT_EQ(notes.size(), 2u);
      EXPECT_EQ(notes[0].kind, Kind::Failed);
      EXPECT_EQ(notes[1].kind, Kind::OnlyInBackup);
    }
    EXPECT_EQ(ReadBytes(s.tmp.Sub("MES_01.B00")), "old log\r\nother\r\n");
    commit::SplitPlan plan;
    plan.folder = s.tmp.path();
    plan.logName = "MES_01.LOG";
    plan.backupName = "MES_01.B00";
    plan.replaceBackup = true;
    plan.outputNames = {"AR_9802B.LOG", "MES_01.LOG"};
    commit::SplitCommit split;
    commit::Fault fault;
    EXPECT_FALSE(split.Begin(plan, &fault));
    EXPECT_EQ(fault.subject, "MES_01.B00");
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
                               {{"op", {"append"}},
                                {"file", {"AR.LST"}},
                                {"size", {"22"}},
                                {"tail", {"M AR_9801A.LOG - x -\r\n"}},
                                {"data", {lines}}},
                               &fault));
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
  // Half a line, then somebody else's bytes: not ours to cut or write over;
  // the block's lines follow on lines of their own.
  stopAfter(9, "XYZ");
  std::vector<commit::RepairNote> notes = commit::RepairFolder(tmp.path());
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].kind, Kind::AppendFinished);
  EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), "M AR_9801A.LOG - x -\r\n" + lines.substr(0, 9) + "XYZ\r\n" + lines);
  // The list rewritten meanwhile (TORBLEN kept one line of the block and
  // dropped the one before), or deleted: the lines it lacks go at its end,
  // once, and the repair is done.
  stopAfter(lines.size(), "");
  WriteBytes(tmp.Sub("AR.LST"), "M AR_9802B.LOG - b -\r\n");
  EXPECT_EQ(commit::RepairFolder(tmp.path())[0].kind, Kind::AppendFinished);
  EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), "M AR_9802B.LOG - b -\r\nM AR_9802A.LOG - a -\r\n");
  stopAfter(0, "");
  ASSERT_TRUE(plat::DeleteFile(tmp.Sub("AR.LST")));
  EXPECT_EQ(commit::RepairFolder(tmp.path())[0].kind, Kind::AppendFinished);
  EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), lines);
  EXPECT_TRUE(commit::RepairFolder(tmp.path()).empty());
}

// An append that fails after somebody else changed the file (another
// program appended a line, or rewrote the list shorter) takes back nothing
// of theirs and pads nothing: the file stays as they left it, and the next
// run adds the lines it lacks.
TEST(Repair, AFailedAppendNeverTakesBackAnotherWritersBytes) {
  for (const std::string theirs :
       {std::string("M AR_9801A.LOG - x -\r\nM THEIRS.LOG - t -\r\n"), std::string("M S\r\n")}) {
    TempDir tmp;
    WriteBytes(tmp.Sub("AR.LST"), "M AR_9801A.LOG - x -\r\n");
    static std::string path, bytes;
    path = tmp.Sub("AR.LST");
    bytes = theirs;
    plat::SetFaultHook(+[](plat::FileOp op, const char* p) {
      if (op != plat::FileOp::Write || path != p) return 0;
      WriteBytes(path, bytes);  // the other writer, in the moment before this write
      return ENOSPC;
    });
    const commit::AppendResult result = commit::AppendDurably(tmp.path(), "AR.LST", "M AR_9802A.LOG - a -\r\n");
    plat::SetFaultHook(nullptr);
    EXPECT_EQ(result.outcome, commit::Outcome::Stuck);
    EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), theirs) << "nothing cut, nothing padded";
    EXPECT_EQ(commit::RepairFolder(tmp.path())[0].kind, Kind::AppendFinished);
    EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), theirs + "M AR_9802A.LOG - a -\r\n");
  }
}

// Journals no run wrote, or that name files elsewhere: nothing they name is
// touched but their own temporary files; each is kept aside under a ".BAD"
// name the user is told, and the next run is not held up by it.
TEST(Repair, AJournalNotToBeTrustedIsKeptAsideAndNotActedOn) {
  TempDir top;
  const std::string forum = top.Sub("FORUM");
  MakeDir(forum);
  WriteBytes(top.Sub("outside.txt"), "not the forum's\r\n");
  auto plant = [&](const std::string& id, const std::vector<commit::JournalLine>& lines, bool commit) {
    commit::Journal journal;
    commit::Fault fault;
    ASSERT_TRUE(journal.Create(forum, id, lines, &fault));
    if (commit) ASSERT_TRUE(journal.Commit({}, &fault));
  };
  const std::string outside = "../outside.txt";
  plat::FileIdentity outsideId;
  ASSERT_TRUE(plat::GetFileIdentity(top.Sub("outside.txt"), &outsideId));
  WriteBytes(plat::JoinPath(forum, "MES_01.LOG"), "log\r\n");
  plant("00000000000a",
        {{"op", {"undo"}},
         {"log", {"MES_01.LOG"}},
         {"backup", {"MES_01.B00", "1", "2"}},
         {"oldlog", {outside, std::to_string(outsideId.device), std::to_string(outsideId.inode)}}},
        true);
  plant("00000000000b",
        {{"op", {"split"}},
         {"log", {"MES_01.LOG"}},
         {"backup", {"MES_01.B00", "0"}},
         {"output", {"MES_01.LOG", "AR_9802A.LOG"}}},
        false);
  plant("00000000000c", {{"op", {"append"}}, {"file", {outside}}, {"size", {"0"}}, {"data", {"x\r\n"}}}, true);
  plant("00000000000d", {{"op", {"rename-all"}}}, true);
  // A journal damaged on disk, beside its own temporary file and another's.
  WriteBytes(plat::JoinPath(forum, "~KIV-00000000000e.JNL"), std::string(64, '\0'));
  WriteBytes(plat::JoinPath(forum, "~KIV-00000000000e-0.TMP"), "its own");
  WriteBytes(plat::JoinPath(forum, "~KIV-00000000000f-0.TMP"), "another run's");
  // Cut before its sum, yet its temporary file was made: cut later, by damage.
  WriteBytes(plat::JoinPath(forum, "~KIV-000000000010.JNL"), "KIV-JOURNAL 1\nop split\n");
  WriteBytes(plat::JoinPath(forum, "~KIV-000000000010-1.TMP"), "half a log");

  const std::vector<commit::RepairNote> notes = commit::RepairFolder(forum);
  std::vector<std::string> aside;
  for (const commit::RepairNote& note : notes) {
    EXPECT_EQ(note.kind, Kind::JournalSetAside) << note.subject;
    aside.push_back(note.subject);
  }
  std::sort(aside.begin(), aside.end());
  EXPECT_EQ(aside,
            (std::vector<std::string>{"~KIV-00000000000a.BAD", "~KIV-00000000000b.BAD", "~KIV-00000000000c.BAD",
                                      "~KIV-00000000000d.BAD", "~KIV-00000000000e.BAD", "~KIV-000000000010.BAD"}));
  EXPECT_EQ(ReadBytes(top.Sub("outside.txt")), "not the forum's\r\n");
  EXPECT_EQ(ReadBytes(plat::JoinPath(forum, "MES_01.LOG")), "log\r\n");
  EXPECT_EQ(ReadBytes(plat::JoinPath(forum, "~KIV-00000000000f-0.TMP")), "another run's");
  EXPECT_FALSE(plat::FileExists(plat::JoinPath(forum, "~KIV-00000000000e-0.TMP")));
  EXPECT_FALSE(plat::FileExists(plat::JoinPath(forum, "~KIV-000000000010-1.TMP")));
  EXPECT_TRUE(commit::RepairFolder(forum).empty()) << "the next run is not held up";
}

// A split whose run ended before it wrote its old logs' lines: the next run
// writes the history block, and the AR.LST lines when the export was asked,
// once, and only for old logs still standing.
TEST(Repair, AWholeSplitsOldLogsGetTheirLinesFromTheNextRun) {
  TempDir tmp;
  WriteBytes(tmp.Sub("MES_01.LOG"), "new log\r\n");
  WriteBytes(tmp.Sub("AR_9802A.LOG"), "old\r\n");
  WriteBytes(tmp.Sub("AR.LST"), "M AR_9801A.LOG h0\r\n");
  commit::Aftercare care;
  care.historyName = "FORUM.KIV";
  care.stamp = "1998/02/10 12:00";
  care.exportAsked = true;
  care.records = {{"AR_9802A.LOG", "h1"}, {"AR_9802B.LOG", "h2"}};  // B undone since
  std::vector<commit::JournalLine> lines{{"op", {"split"}},
                                         {"log", {"MES_01.LOG"}},
                                         {"backup", {"MES_01.B00", "0"}},
                                         {"output", {"~KIV-0000000000aa-0.TMP", "AR_9802A.LOG"}},
                                         {"output", {"~KIV-0000000000aa-1.TMP", "MES_01.LOG"}}};
  for (const commit::JournalLine& line : care.Lines()) lines.push_back(line);
  {
    commit::Journal journal;
    commit::Fault fault;
    ASSERT_TRUE(journal.Create(tmp.path(), "0000000000aa", lines, &fault));
    ASSERT_TRUE(journal.Commit(
        {{"source", {"1", "2", "3", "4"}}, {"written", {"1", "5", "3", "4"}}, {"written", {"1", "6", "3", "4"}}},
        &fault));
  }
  const std::vector<commit::RepairNote> notes = commit::RepairFolder(tmp.path());
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].kind, Kind::AppendFinished);
  EXPECT_EQ(notes[0].subject, "FORUM.KIV");
  EXPECT_EQ(notes[1].subject, "AR.LST");
  EXPECT_EQ(ReadBytes(tmp.Sub("FORUM.KIV")),
            "\r\n==================== 1998/02/10 12:00 ====================\r\nM AR_9802A.LOG h1\r\n");
  EXPECT_EQ(ReadBytes(tmp.Sub("AR.LST")), "M AR_9801A.LOG h0\r\nM AR_9802A.LOG h1\r\n");
  EXPECT_EQ(Names(tmp.path()), (std::vector<std::string>{"AR.LST", "AR_9802A.LOG", "FORUM.KIV", "MES_01.LOG"}));
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
