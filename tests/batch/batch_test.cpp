#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "commands/entry_row.h"
#include "platform/encoding.h"
#include "platform/forum_lock.h"
#include "tests/batch/batch_runner.h"
#include "tests/support/stopped_commit.h"
#include "tests/support/temp_dir.h"

namespace {

std::string RoomNameShown(const samplegen::RoomResult& room) {
  return room.name.empty() ? "不明" : plat::Cp932ToUtf8(room.name);
}

std::string RoomNameInHeader(const samplegen::RoomResult& room) {
  return room.name.empty() ? std::to_string(room.room) + plat::Utf8ToCp932("番会議室") : room.name;
}

// The rows in the list's order: the search sorts "MES#" before "MES_".
std::string ExpectedRows(const samplegen::ForumResult& forum, bool analysed) {
  std::string out;
  for (int kind : {2, 1}) {
    for (const samplegen::RoomResult& room : forum.rooms) {
      const samplegen::LogResult& log = kind == 1 ? room.body : room.title;
      char name[16];
      std::snprintf(name, sizeof name, "MES%c%02d.LOG", kind == 1 ? '_' : '#', room.room);
      out += std::string(name) + "\t" + RoomNameShown(room) + "\t" + (kind == 1 ? "本文" : "ﾀｲﾄﾙ") + "\t" +
             GroupedSize(log.bytes) + "\t" + (analysed ? std::to_string(log.lowest) : "-") + "\t" +
             (analysed ? std::to_string(log.highest) : "-") + "\n";
    }
  }
  return out;
}

class KivBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    sample = MakeSample(tmp.Sub("logs"), 2, 2500);
    forum = sample.forums.at(0);
  }
  TempDir tmp;
  samplegen::SharedFolderResult sample;
  samplegen::ForumResult forum;
};

}  // namespace

TEST_F(KivBatch, ListAndAnalyzePrintTheRowsOfTheList) {
  BatchResult r = RunBatch({"list", forum.path});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, ExpectedRows(forum, false));
  EXPECT_EQ(r.err, "");

  r = RunBatch({"analyze", forum.path + "/"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, ExpectedRows(forum, true));

  r = RunBatch({"analyze", forum.path, "--rooms", "2"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("MES_02.LOG\t"), std::string::npos);
  EXPECT_NE(r.out.find("\t1\t2500\n"), std::string::npos);
  EXPECT_NE(r.out.find("\t-\t-\n"), std::string::npos) << "room 1 was not analysed";

  // --json gives the same rows, sizes in bytes and null for "-", and any
  // file name as a string a script can read back.
#ifndef _WIN32
  // A name that is bytes, not UTF-8, as Linux allows (Windows names are UTF-16).
  WriteBytes(forum.path + "/MES_\"\t\xff.LOG", "");
#endif
  r = RunBatch({"analyze", forum.path, "--json"});
  EXPECT_EQ(r.status, 0) << r.err;
  std::string rebuilt;
  bool hostileName = false;
  std::size_t start = 0;
  for (std::size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1) {
    std::map<std::string, std::string> row = ParseJsonLine(r.out.substr(start, end - start));
    ASSERT_EQ(row.size(), 6u) << r.out.substr(start, end - start);
    if (row["file"] == "MES_\"\t\xEF\xBF\xBD.LOG") {
      EXPECT_EQ(row["size"], "0");
      EXPECT_EQ(row["lowest"], "null");
      hostileName = true;
      continue;
    }
    const auto dash = [](const std::string& v) { return v == "null" ? std::string("-") : v; };
    rebuilt += row["file"] + "\t" + row["room"] + "\t" + row["kind"] + "\t" + GroupedSize(std::stoull(row["size"])) +
               "\t" + dash(row["lowest"]) + "\t" + dash(row["highest"]) + "\n";
  }
  EXPECT_EQ(rebuilt, ExpectedRows(forum, true));
#ifndef _WIN32
  EXPECT_TRUE(hostileName);
#else
  (void)hostileName;
#endif
}

TEST_F(KivBatch, ASessionSplitsTwiceUndoesOnceAndExports) {
  const auto before = Snapshot(forum.path);
  const std::string month = ArchiveMonth();
  const std::string today = TodayForHeader();
  BatchResult r = RunBatch({"session", forum.path},
                           "# two splits of room 1, the second taken back\n"
                           "split --rooms 1 --number 1000\n"
                           "\n"
                           "split --rooms 1 --number 2000\n"
                           "undo --rooms 1\n"
                           "export\n"
                           "list\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // The program takes its date from the system clock: a run that crossed
  // midnight has no one date to check against.
  if (ArchiveMonth() != month || TodayForHeader() != today) GTEST_SKIP() << "the run crossed midnight";
  const samplegen::RoomResult& room1 = forum.rooms.at(0);
  const std::string header = "- FORUM1  MES( 1):" + RoomNameInHeader(room1) + "(00001-01000) " + today + " -";

  const auto after = Snapshot(forum.path);
  std::vector<std::string> names;
  for (const auto& [name, state] : after) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"AR#" + month + "A.LOG", "AR.LST", "AR_" + month + "A.LOG", "FORUM1.KIV",
                                             "MES#01.B00", "MES#01.LOG", "MES#02.LOG", "MES.LOG", "MES_01.B00",
                                             "MES_01.LOG", "MES_02.LOG"}));
  EXPECT_EQ(after.at("MES_01.B00").bytes, before.at("MES_01.LOG").bytes) << "the backup is the log as it was";
  EXPECT_EQ(after.at("MES_02.LOG"), before.at("MES_02.LOG"));
  EXPECT_EQ(after.at("AR_" + month + "A.LOG").bytes.rfind(header + "\r\n", 0), 0u);
  EXPECT_EQ(after.at("AR.LST").bytes, "M AR_" + month + "A.LOG " + header + "\r\n");

  // One block per log with records, body before title, each with its time.
  const std::string& history = after.at("FORUM1.KIV").bytes;
  const std::string stampOpen = "\r\n==================== ";
  ASSERT_EQ(history.rfind(stampOpen, 0), 0u);
  const std::size_t second = history.find(stampOpen, 1);
  ASSERT_NE(second, std::string::npos);
  const std::string firstBlock = history.substr(0, second), secondBlock = history.substr(second);
  EXPECT_NE(firstBlock.find(" ====================\r\nM AR_" + month + "A.LOG " + header + "\r\n"), std::string::npos);
  EXPECT_NE(secondBlock.find(" ====================\r\nM AR#" + month + "A.LOG " + header + "\r\n"), std::string::npos);
  EXPECT_EQ(history.find("AR_" + month + "B"), std::string::npos) << "the undone split left no line";

  // The list after the undo shows the range the log had before the second split.
  EXPECT_NE(r.out.find("MES_01.LOG\t" + RoomNameShown(room1) + "\t本文\t"), std::string::npos);
  EXPECT_NE(r.out.find("\t1001\t2500\n"), std::string::npos);
  // The confirmations went to standard error as caption: text.
  EXPECT_NE(r.err.find("実行確認: 分割を開始します。よろしいですか？\n\n"), std::string::npos);
}

TEST_F(KivBatch, AnExistingBackupIsOverwrittenOnlyWhenAskedTo) {
  ASSERT_EQ(RunBatch({"split", forum.path, "--rooms", "1", "--number", "1000"}).status, 0);
  const auto once = Snapshot(forum.path);
  // A new run starts at generation 0 again and meets MES_01.B00.
  BatchResult r = RunBatch({"split", forum.path, "--rooms", "1", "--number", "1500"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("上書き確認: MES_01.B00 :\nこのバックアップファイルは既に存在しています。"), std::string::npos);
  EXPECT_EQ(Snapshot(forum.path).at("MES_01.B00"), once.at("MES_01.B00"));
  EXPECT_EQ(Snapshot(forum.path).at("MES_01.LOG"), once.at("MES_01.LOG"));

  r = RunBatch({"split", forum.path, "--rooms", "1", "--number", "1500", "--overwrite"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Snapshot(forum.path).at("MES_01.B00"), once.at("MES_01.B00"));

  r = RunBatch({"split", forum.path, "--rooms", "2", "--kind", "title", "--bak", "--form", "1", "--export"});
  EXPECT_EQ(r.status, 0) << r.err;
  const auto after = Snapshot(forum.path);
  EXPECT_EQ(after.count("MES#02.BAK"), 1u);
  EXPECT_EQ(after.count("MES_02.BAK"), 0u);
  EXPECT_EQ(after.count("AR.LST"), 0u) << "serial-form old logs are not exported";
}

// Several rooms cut at 1000 below their highest number: room 1, holding only
// messages 1251-2500, has nothing at or below its cut and is left alone
// (no backup, no empty old log, no line with a range running backwards);
// room 2 is split as before.
TEST_F(KivBatch, ASplitOfSeveralRoomsLeavesAloneARoomWithNothingBelowItsCut) {
  ASSERT_TRUE(RewriteRoomOne(forum.path, 1251, 1250));
  const auto before = Snapshot(forum.path);
  const BatchResult r = RunBatch({"split", forum.path, "--rooms", "1,2", "--number", "1000", "--export"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("kiv-batch: room 1 left alone"), std::string::npos) << r.err;
  const auto after = Snapshot(forum.path);
  EXPECT_EQ(after.at("MES_01.LOG"), before.at("MES_01.LOG"));
  EXPECT_EQ(after.at("MES#01.LOG"), before.at("MES#01.LOG"));
  EXPECT_EQ(after.count("MES_01.B00") + after.count("MES#01.B00"), 0u);
  EXPECT_EQ(after.count("MES_02.B00") + after.count("MES#02.B00"), 2u);
  int oldLogs = 0;
  for (const auto& [name, state] : after) oldLogs += name.rfind("AR_", 0) == 0 || name.rfind("AR#", 0) == 0;
  EXPECT_EQ(oldLogs, 2);
  const std::string list = ReadBytes(forum.path + "/AR.LST");
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 1) << list;  // room 2's body old log
  EXPECT_EQ(list.find("01251-"), std::string::npos) << list;
}

TEST_F(KivBatch, BadUsageTouchesNothing) {
  const auto before = Snapshot(forum.path);
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"list"},
      {"split", forum.path},
      {"split", forum.path, "--rooms", "0"},
      {"split", forum.path, "--rooms", "1,21"},
      {"split", forum.path, "--rooms", "1,,2"},
      {"split", forum.path, "--rooms", "1", "--number", "65537"},
      {"split", forum.path, "--rooms", "1", "--kind", "all"},
      {"analyze", forum.path, "--number", "5"},
      {"undo", forum.path},
      {"frobnicate", forum.path},
      {"list", tmp.Sub("missing")},
      {"session", forum.path, "--rooms", "1"},
      {"maintain"},
      {"maintain", tmp.Sub("logs"), "--forums", "FORUM1,FORUM9"},
      {"maintain", tmp.Sub("logs"), "--forums", "FORUM1,"},
      {"maintain", tmp.Sub("logs"), "--keep", "5", "--number", "5"},
      {"maintain", tmp.Sub("logs"), "--keep", "65537"},
      {"maintain", tmp.Sub("logs"), "--rooms", "21"},
      {"maintain", tmp.Sub("logs"), "--kind", "body"},
  };
  for (const auto& args : bad) {
    BatchResult r = RunBatch(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]) << " " << r.err;
    EXPECT_NE(r.err.find("kiv-batch: "), std::string::npos);
  }

  BatchResult r = RunBatch({"split", forum.path, "--rooms", "1", "--method", "1", "--number", "0"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "ゼロエラー: 複数分割時に 0 は指定できません。\n\n");

  // A session is checked whole before its first command runs.
  r = RunBatch({"session", forum.path}, "split --rooms 1\nsplit --rooms 2 --method 1 --number 0\n");
  EXPECT_EQ(r.status, 2);
  r = RunBatch({"session", forum.path}, "split --rooms 1\nlist extra\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("line 2"), std::string::npos);
  r = RunBatch({"session", forum.path}, "maintain\n");
  EXPECT_EQ(r.status, 2) << "maintain takes a shared log folder, never a session's forum";
  EXPECT_EQ(Snapshot(forum.path), before);

  r = RunBatch({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("kiv-batch session FORUM_DIR"), std::string::npos);
}

TEST_F(KivBatch, ASplitThatAnalysisCannotUnblockStopsNamingTheFile) {
  WriteBytes(forum.path + "/MES_03.LOG", "");
  const auto before = Snapshot(forum.path);
  BatchResult r = RunBatch({"split", forum.path, "--rooms", "3"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("MES_03.LOG"), std::string::npos);
  EXPECT_EQ(Snapshot(forum.path), before);

  r = RunBatch({"split", forum.path, "--rooms", "4"});
  EXPECT_EQ(r.status, 1) << "no log of room 4";
  r = RunBatch({"split", forum.path, "--rooms", "1", "--kind", "both", "--number", "1000"});
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(KivBatch, ListShowsLogsOfSeveralGigabytesAtTheirTrueSize) {
  for (const auto& [name, size] : {std::pair{"MES_09.LOG", 3200000000LL}, std::pair{"MES#09.LOG", 4300000000LL}}) {
    WriteBytes(forum.path + "/" + name, "");
    std::filesystem::resize_file(forum.path + "/" + name, static_cast<std::uintmax_t>(size));  // sparse
  }
  BatchResult r = RunBatch({"list", forum.path});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("MES_09.LOG\t不明\t本文\t3,200,000,000\t-\t-\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("MES#09.LOG\t不明\tﾀｲﾄﾙ\t4,300,000,000\t-\t-\n"), std::string::npos) << r.out;
}

namespace {

long OwnPid() {
#ifdef _WIN32
  return static_cast<long>(::_getpid());
#else
  return static_cast<long>(::getpid());
#endif
}

}  // namespace

// One writer per forum. While another program holds the forum (this test,
// as Kiv does while a command writes), a kiv-batch run that writes waits its
// while, names the forum and the holder, exits 1 and touches nothing. A
// reader runs all the same and leaves the holder's work alone: a split
// stopped half way, and a journal just made that its run has not locked yet.
TEST_F(KivBatch, WhileAnotherProgramHoldsTheForumWritersWaitAndGiveUpAndReadersLeaveItsFilesAlone) {
  ASSERT_TRUE(LeaveStoppedSplit(forum.path, "MES_01.LOG", "MES_01.B00", "AR_2402A.LOG", "old\r\n", "new\r\n"));
  WriteBytes(forum.path + "/~KIV-00000000000000aa.JNL", "");
  plat::ForumLock held;
  int err = 0;
  ASSERT_EQ(held.Acquire(forum.path, plat::kLockHolderKiv, std::chrono::milliseconds(0), &err),
            plat::ForumLock::Outcome::Held);
  const auto before = Snapshot(forum.path);
  // One line naming the forum (by its path as kiv-batch spells it) and the holder.
  const auto told = [&](const std::string& text) {
    return text.starts_with("フォーラム使用中: フォーラム ") &&
           text.ends_with("FORUM1 は他のプログラム (Kiv, PID " + std::to_string(OwnPid()) +
                          ") が変更中です。しばらくしてからやり直してください。\n\n") &&
           std::count(text.begin(), text.end(), '\n') == 2;
  };
  {
    const LockWait wait("300");
    const auto start = std::chrono::steady_clock::now();
    BatchResult r = RunBatch({"split", forum.path, "--rooms", "2", "--number", "1000", "--export"});
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(told(r.err)) << r.err;
    r = RunBatch({"session", forum.path}, "list\nundo --rooms 1\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(told(r.err)) << r.err;
    EXPECT_EQ(r.out, "");
    for (const char* reader : {"list", "analyze"}) {
      r = RunBatch({reader, forum.path});
      EXPECT_EQ(r.status, 0) << reader << ": " << r.err;
      EXPECT_NE(r.out.find("MES_01.LOG"), std::string::npos) << reader;
      EXPECT_EQ(r.err, "") << reader;
    }
    EXPECT_EQ(Snapshot(forum.path), before);
  }
  held.Release();
  // Free again: the first run that may repairs the stopped split.
  BatchResult r = RunBatch({"list", forum.path});
  EXPECT_NE(r.err.find("MES_01.LOG"), std::string::npos) << r.err;
  const auto after = Snapshot(forum.path);
  for (const auto& [name, state] : after) EXPECT_FALSE(name.starts_with("~KIV-") && name.ends_with(".TMP")) << name;
  EXPECT_EQ(after.count(plat::kForumLockName), 0u);
}
