#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include "commands/entry_row.h"
#include "commands/split_command.h"
#include "commands/export_command.h"
#include "commands/undo_command.h"
#include "platform/file_ops.h"
#include "resources/ids.h"
#include "tests/commands/forum_fixture.h"

namespace {

class UndoCommand : public ::testing::Test, public ForumFixture {
 protected:
  // Three splits of room 1's body log (generations 0, 1, 2) at 1000, 2000, 3000.
  void SplitThrice() {
    body = WriteLog(1, kKindBody, 1, 4000);
    AnalyzeRooms({1});
    original = ReadBytes(Path(body));
    for (int cut : {1000, 2000, 3000}) {
      dialogs.onSingle = [cut](SplitSingleValues& v) { v.choices.m_nNumber = cut; };
      Refresh();
      SelectRooms({1});
      ASSERT_EQ(OnSplit(ctx, dialogs).report.split, 1);
      if (cut == 1000) afterFirst = ReadBytes(Path(body));
    }
    ASSERT_EQ(Entry(body).undoList.size(), 3u);
    messages.Clear();
  }
  UndoReport Undo() {
    Refresh();
    SelectRooms({1});
    return UndoSelected(ctx);
  }
  ScriptedDialogs dialogs;
  std::string body, original, afterFirst;
};

// Appends a line to a log as the host does while it downloads: open for
// appending, write, close.
void HostAppends(const std::string& path, const std::string& line) { ASSERT_TRUE(AppendBytes(path, line)) << path; }

const char kHostLine[] = "HOST WROTE THIS\r\n";
const char kWrittenText[] =
    "MES_01.LOG :\n分割の後に、他のアプリケーションがこのログファイルに書き込みました。\n"
    "書き込まれたメッセージを失わないように、前の状態には戻さずにそのままにしておきます。";

// Appends to the log once, from inside the undo: at its first operation of
// one kind on a path with the given ending (the journal's open, the log's
// second name).
class HostAppendsAt {
 public:
  HostAppendsAt(std::string log, plat::FileOp op, std::string suffix) {
    log_ = std::move(log);
    op_ = op;
    suffix_ = std::move(suffix);
    hits = 0;
    plat::SetFaultHook(&Hook);
  }
  ~HostAppendsAt() { plat::SetFaultHook(nullptr); }
  static int hits;

 private:
  static int Hook(plat::FileOp op, const char* path) {
    const std::string p = path;
    if (op == op_ && p.size() > suffix_.size() && p.compare(p.size() - suffix_.size(), suffix_.size(), suffix_) == 0 &&
        hits++ == 0) {
      HostAppends(log_, kHostLine);
    }
    return 0;
  }
  static std::string log_;
  static plat::FileOp op_;
  static std::string suffix_;
};
int HostAppendsAt::hits = 0;
std::string HostAppendsAt::log_;
plat::FileOp HostAppendsAt::op_;
std::string HostAppendsAt::suffix_;

}  // namespace

TEST_F(UndoCommand, OneUndoRestoresTheNewestSplitSilently) {
  SplitThrice();
  UndoReport r = Undo();
  EXPECT_EQ(r.restored, 1);
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_FALSE(Exists("MES_01.B02")) << "the backup became the log";
  EXPECT_FALSE(Exists("AR_9802C.LOG"));
  EXPECT_TRUE(Exists("AR_9802B.LOG"));
  EXPECT_EQ(Entry(body).undoList.size(), 2u);
  EXPECT_EQ(Entry(body).lowest, 2001);
  EXPECT_EQ(Entry(body).highest, 4000);
  EXPECT_EQ(rows.Cell(RowOf(body), kColumnLowest), "2001");
  // Nothing is left aside beside the log.
  EXPECT_FALSE(Exists(body + ".undo"));
}

TEST_F(UndoCommand, AMissingNewestBackupGoesBackTwoGenerationsAndSaysSo) {
  SplitThrice();
  ASSERT_TRUE(plat::DeleteFile(Path("MES_01.B02")));
  Undo();
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "2 回前の状態に戻します。");
  EXPECT_EQ(messages.boxes[0].id, ids::kMsgGenerationsBack);
  EXPECT_EQ(messages.boxes[0].style.buttons, MsgButtons::Ok);
  EXPECT_EQ(ReadBytes(Path(body)), afterFirst);
  EXPECT_FALSE(Exists("AR_9802B.LOG"));
  EXPECT_FALSE(Exists("AR_9802C.LOG"));
  ASSERT_EQ(Entry(body).undoList.size(), 1u);
  EXPECT_EQ(Entry(body).undoList[0].generation, 0);
  EXPECT_EQ(Entry(body).lowest, 1001);

  messages.Clear();
  Undo();
  EXPECT_TRUE(messages.boxes.empty()) << "generation 0 is intact";
  EXPECT_EQ(ReadBytes(Path(body)), original);
  EXPECT_TRUE(Entry(body).undoList.empty());
  EXPECT_EQ(Entry(body).lowest, 1);
}

TEST_F(UndoCommand, ChangedBackupsAreUnusableEvenByOneSecond) {
  SplitThrice();
  Touch("MES_01.B02", 1);
  Touch("MES_01.B01", -1);
  Undo();
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "3 回前の状態に戻します。");
  EXPECT_EQ(ReadBytes(Path(body)), original);
  EXPECT_TRUE(Entry(body).undoList.empty());
  EXPECT_FALSE(Exists("AR_9802A.LOG"));
  EXPECT_TRUE(Exists("MES_01.B01")) << "newer backups stay on disk";
}

TEST_F(UndoCommand, NoUsableBackupDropsTheRecordsAndLeavesTheLog) {
  SplitThrice();
  for (const char* b : {"MES_01.B00", "MES_01.B01", "MES_01.B02"}) plat::DeleteFile(Path(b));
  const std::string log = ReadBytes(Path(body));
  UndoReport r = Undo();
  EXPECT_EQ(r.failed, 1);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].id, ids::kMsgNoUsableBackup);
  EXPECT_EQ(ReadBytes(Path(body)), log);
  EXPECT_FALSE(Entry(body).CanUndo());
  EXPECT_EQ(Entry(body).undoList.size(), 3u) << "kept for the history and the export";
  EXPECT_EQ(rows.rows[static_cast<std::size_t>(RowOf(body))].texts.icon, 0);
  EXPECT_TRUE(Exists("AR_9802A.LOG")) << "old logs of records dropped this way stay";
}

TEST_F(UndoCommand, ALogMissingAtUndoLosesItsEntryAndRow) {
  SplitThrice();
  const std::string title = WriteLog(1, kKindTitle, 1, 10);
  Refresh();
  const int rowsBefore = rows.RowCount();
  SelectRooms({1});
  ASSERT_TRUE(plat::DeleteFile(Path(body)));
  UndoSelected(ctx);
  EXPECT_EQ(rows.RowCount(), rowsBefore - 1);
  EXPECT_EQ(RowOf(body), -1);
  EXPECT_EQ(rows.Cell(RowOf(title), kColumnName), title) << "row i still shows entry i";
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_TRUE(Exists("MES_01.B02"));
}

TEST_F(UndoCommand, AFailedRenameOfTheBackupKeepsTheLogAndTheBackup) {
  SplitThrice();
  const std::string log = ReadBytes(Path(body));
  const std::string backup = ReadBytes(Path("MES_01.B02"));
  {
    FailOperation fail(plat::FileOp::Rename, "MES_01.B02", EACCES);
    UndoReport r = Undo();
    EXPECT_EQ(r.failed, 1);
  }
  ASSERT_EQ(messages.fileErrors.size(), 1u);
  EXPECT_EQ(messages.fileErrors[0].file, "MES_01.B02 → MES_01.LOG");
  EXPECT_EQ(ReadBytes(Path(body)), log);
  EXPECT_EQ(ReadBytes(Path("MES_01.B02")), backup);
  EXPECT_TRUE(Exists("AR_9802C.LOG"));
  EXPECT_EQ(Entry(body).undoList.size(), 3u) << "the undo can be tried again";

  messages.Clear();
  {
    // The journal can't be made: nothing is touched.
    FailOperation fail(plat::FileOp::Open, ".JNL", ENOSPC);
    EXPECT_EQ(Undo().failed, 1);
  }
  ASSERT_EQ(messages.fileErrors.size(), 1u);
  EXPECT_EQ(messages.fileErrors[0].file.substr(0, 5), "~KIV-");
  EXPECT_EQ(Entry(body).undoList.size(), 3u);
  EXPECT_EQ(ReadBytes(Path(body)), log);
  EXPECT_EQ(ReadBytes(Path("MES_01.B02")), backup);
  EXPECT_TRUE(Exists("AR_9802C.LOG"));
}

TEST_F(UndoCommand, FilesWithoutRecordsAreSkippedAndEachFileCountsItsOwnSteps) {
  body = WriteLog(1, kKindBody, 1, 3000);
  const std::string title = WriteLog(1, kKindTitle, 1, 3000);
  WriteLog(2, kKindBody, 1, 30);
  AnalyzeRooms({1, 2});
  for (int cut : {1000, 2000}) {
    dialogs.onSingle = [cut](SplitSingleValues& v) { v.choices.m_nNumber = cut; };
    Refresh();
    SelectRooms({1});
    ASSERT_EQ(OnSplit(ctx, dialogs).report.split, 2);
  }
  ASSERT_TRUE(plat::DeleteFile(Path("MES#01.B01")));
  messages.Clear();
  Refresh();
  SelectRooms({1, 2});
  UndoReport r = UndoSelected(ctx);
  EXPECT_EQ(r.restored, 2);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "2 回前の状態に戻します。");
  EXPECT_EQ(Entry(body).undoList.size(), 1u);
  EXPECT_TRUE(Entry(title).undoList.empty());
  EXPECT_EQ(Entry(title).highest, 3000);
}

TEST_F(UndoCommand, ALogTheHostWroteToSinceTheSplitIsLeftAsItIs) {
  SplitThrice();
  // One undo first: the log the undo restores is what a later one compares.
  ASSERT_EQ(Undo().restored, 1);
  const std::string b01 = ReadBytes(Path("MES_01.B01"));
  const std::string log = ReadBytes(Path(body));
  const int row = RowOf(body);
  // The journals and the file this run keeps until it ends.
  const std::vector<std::string> held = TemporaryFiles();

  // No rescan between the append and the undo: the window kept the focus.
  HostAppends(Path(body), kHostLine);
  SelectRooms({1});
  UndoReport r = UndoSelected(ctx);
  EXPECT_EQ(r.restored, 0);
  EXPECT_EQ(r.failed, 1);
  EXPECT_EQ(r.writtenTo, 1);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, kWrittenText);
  EXPECT_EQ(messages.boxes[0].id, ids::kMsgWrittenSinceSplit);
  EXPECT_EQ(messages.boxes[0].style.icon, MsgIcon::Exclamation);
  EXPECT_EQ(ReadBytes(Path(body)), log + kHostLine) << "the host's messages are still in the log";
  EXPECT_EQ(ReadBytes(Path("MES_01.B01")), b01) << "the backup still holds the log as it was";
  EXPECT_TRUE(Exists("AR_9802B.LOG"));
  EXPECT_EQ(TemporaryFiles(), held);

  // The row shows the log as it is now, as a rescan would.
  EXPECT_EQ(RowOf(body), row);
  EXPECT_FALSE(Entry(body).CanUndo());
  EXPECT_FALSE(Entry(body).RangeKnown());
  EXPECT_EQ(rows.Cell(row, kColumnLowest), "-");
  EXPECT_EQ(rows.Cell(row, kColumnSize), GroupedSize(static_cast<unsigned>(log.size() + sizeof kHostLine - 1)));
  EXPECT_EQ(rows.rows[static_cast<std::size_t>(row)].texts.icon, 0);
  EXPECT_NE(rows.rows[static_cast<std::size_t>(row)].states & kRowSelected, 0);

  // Later undos, with and without a rescan, don't take the file back either.
  messages.Clear();
  EXPECT_EQ(UndoSelected(ctx).restored, 0);
  EXPECT_EQ(Undo().restored, 0);
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(ReadBytes(Path(body)), log + kHostLine);
  EXPECT_TRUE(Exists("MES_01.B01"));
}

TEST_F(UndoCommand, AnAppendInTheSplitsOwnSecondIsCaughtByTheSize) {
  SplitThrice();
  const std::string log = ReadBytes(Path(body));
  const std::string b02 = ReadBytes(Path("MES_01.B02"));
  const std::time_t splitTime = Entry(body).modificationTime;
  HostAppends(Path(body), kHostLine);
  ASSERT_TRUE(plat::SetFileTime(Path(body), splitTime));
  // A rescan keeps the entry and its records: name and time are unchanged.
  Refresh();
  ASSERT_EQ(Entry(body).undoList.size(), 3u);
  SelectRooms({1});
  EXPECT_EQ(UndoSelected(ctx).writtenTo, 1);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, kWrittenText);
  EXPECT_EQ(ReadBytes(Path(body)), log + kHostLine);
  EXPECT_EQ(ReadBytes(Path("MES_01.B02")), b02);
  EXPECT_FALSE(Entry(body).CanUndo());
}

TEST_F(UndoCommand, AnAppendWhileTheUndoMakesItsJournalStopsItBeforeTheRename) {
  SplitThrice();
  const std::string log = ReadBytes(Path(body));
  const std::string b02 = ReadBytes(Path("MES_01.B02"));
  const std::vector<std::string> held = TemporaryFiles();
  UndoReport r;
  {
    HostAppendsAt host(Path(body), plat::FileOp::Open, ".JNL");
    r = Undo();
  }
  ASSERT_EQ(HostAppendsAt::hits, 1);
  EXPECT_EQ(r.writtenTo, 1);
  EXPECT_EQ(r.restored, 0);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, kWrittenText);
  EXPECT_TRUE(messages.fileErrors.empty());
  EXPECT_EQ(ReadBytes(Path(body)), log + kHostLine);
  EXPECT_EQ(ReadBytes(Path("MES_01.B02")), b02);
  EXPECT_TRUE(Exists("AR_9802C.LOG")) << "no old log goes when the backup stays";
  EXPECT_EQ(TemporaryFiles(), held) << "the undo's journal went";
  EXPECT_FALSE(Entry(body).CanUndo());
}

// The file the backup displaces is the split's new log, into which the host
// may still write: in the moment between the undo's last look and the
// backup's rename, or through a handle it opened after the split. Nothing it
// writes is lost: the file is kept under a name of its own and the user told;
// a file nobody wrote into goes when the run ends.
TEST_F(UndoCommand, WhatTheHostWritesIntoTheDisplacedLogIsKept) {
  SplitThrice();
  const std::string third = ReadBytes(Path(body));
  const std::string b01 = ReadBytes(Path("MES_01.B01"));
  const std::string b02 = ReadBytes(Path("MES_01.B02"));
  UndoReport r;
  {
    HostAppendsAt host(Path(body), plat::FileOp::Link, body);
    r = Undo();
  }
  ASSERT_EQ(HostAppendsAt::hits, 1);
  EXPECT_EQ(r.restored, 1);
  EXPECT_EQ(r.writtenAfterUndo, 1);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].id, ids::kMsgWrittenAfterUndo);
  EXPECT_EQ(messages.boxes[0].text.substr(0, 13), "MES_01.U00 :\n");
  EXPECT_EQ(ReadBytes(Path("MES_01.U00")), third + kHostLine);
  EXPECT_EQ(ReadBytes(Path(body)), b02);

  // A host that opened the log after the split writes after the undo.
#ifdef _WIN32
  GTEST_SKIP() << "Windows lets no program replace a log the host holds open: there this undo does not happen";
#endif
  messages.Clear();
  const int fd = ::open(Path(body).c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(fd, 0);
  r = Undo();
  EXPECT_EQ(r.restored, 1);
  EXPECT_EQ(r.writtenAfterUndo, 0);
  ASSERT_EQ(::write(fd, kHostLine, sizeof kHostLine - 1), static_cast<ssize_t>(sizeof kHostLine - 1));
  ::close(fd);
  EXPECT_EQ(SettleDisplacedLogs(messenger, *dir), 1);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text.substr(0, 13), "MES_01.U01 :\n");
  EXPECT_EQ(ReadBytes(Path("MES_01.U01")), b02 + kHostLine);
  EXPECT_EQ(ReadBytes(Path(body)), b01);

  // Nobody writes: the displaced file and every journal go with the run.
  messages.Clear();
  EXPECT_EQ(Undo().restored, 1);
  EXPECT_EQ(SettleDisplacedLogs(messenger, *dir), 0);
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(ReadBytes(Path(body)), original);
  EXPECT_FALSE(Exists("MES_01.U02"));
  EXPECT_TRUE(TemporaryFiles().empty());
}

// An undo refused because the host wrote to the log keeps the split's
// records for the history and the export: its old logs still get their
// lines, and no later undo takes the split back.
TEST_F(UndoCommand, ARefusedUndoLeavesTheOldLogsTheirLines) {
  SplitThrice();
  HostAppends(Path(body), kHostLine);
  SelectRooms({1});
  EXPECT_EQ(UndoSelected(ctx).writtenTo, 1);
  Refresh();
  EXPECT_EQ(OnExportHeaders(ctx).lines, 3);
  const std::string list = ReadBytes(Path("AR.LST"));
  for (const char* name : {"AR_9802A.LOG", "AR_9802B.LOG", "AR_9802C.LOG"}) {
    EXPECT_NE(list.find(std::string("M ") + name + " "), std::string::npos) << name;
  }
  EXPECT_EQ(Undo().restored, 0);
  EXPECT_EQ(OnExportHeaders(ctx).lines, 0) << "one line per old log";
  EXPECT_TRUE(Exists("AR_9802C.LOG"));
}
