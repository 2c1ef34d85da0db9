// Files that are not what they seem, met by the real programs: kiv-batch and
// TORBLEN run as processes on real folders holding an end-of-text byte part
// way through a log or AR.LST, links out of the shared log folder, dangling
// links, links to device nodes, FIFOs, links to "/" and link loops, and
// folder names holding line breaks. After each: nothing outside the shared
// folder touched, the folder as it was or as the command leaves it, the user
// told, and the exit status the README gives. Every run has a time limit, so
// a program that waits on a FIFO or reads a device for ever fails the test
// instead of holding it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/robustness/batch_session.h"
#include "tests/robustness/child_process.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/shared_folder.h"

namespace {

constexpr int kTimeLimit = 20;  // seconds; every command here ends in well under one

// What a folder holds, looked at without following a link: each entry's
// kind and, for a regular file its bytes, for a link its target.
using Look = std::map<std::string, std::string>;

Look LookAt(const std::string& folder) {
  Look look;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    const std::string path = it->path().string();
    const std::string key = path.substr(folder.size());
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) continue;
    if (S_ISLNK(st.st_mode)) {
      look[key] = "link " + std::filesystem::read_symlink(path, ec).string();
    } else if (S_ISREG(st.st_mode)) {
      look[key] = "file " + ReadBytes(path);
    } else if (S_ISDIR(st.st_mode)) {
      look[key] = "folder";
    } else {
      look[key] = "special " + std::to_string(st.st_mode) + " " + std::to_string(st.st_rdev);
    }
  }
  return look;
}

// A temporary place with a shared log folder (one forum of two rooms with
// 40 messages each, old logs in AR.LST) and, beside it, an outside folder
// that nothing may touch.
class SpecialFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeShared();
    MakeDir(Outside());
    WriteBytes(Outside() + "/precious.txt", "the user's own file\r\n");
    // Device nodes of our own, never the machine's: a null and a zero device.
    ASSERT_EQ(::mknod((Outside() + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(::mknod((Outside() + "/zero").c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
    ASSERT_EQ(::mkfifo((Outside() + "/fifo").c_str(), 0666), 0);
    outsideBefore_ = LookAt(Outside());
  }

  // A new shared folder in place of the last one.
  void MakeShared() {
    std::error_code ec;
    std::filesystem::remove_all(Shared(), ec);
    samplegen::SharedFolderOptions options;
    options.seed = 14;
    options.forums = 1;
    options.rooms = 2;
    options.messages = 40;
    options.archive = true;
    samplegen::SharedFolderResult made = samplegen::GenerateSharedFolder(Shared(), options);
    ASSERT_TRUE(made.ok) << made.error;
  }

  void TearDown() override { EXPECT_EQ(LookAt(Outside()), outsideBefore_) << "something outside was touched"; }

  std::string Shared() const { return tmp_.Sub("shared"); }
  std::string Forum() const { return tmp_.Sub("shared/FORUM1"); }
  std::string Outside() const { return tmp_.Sub("outside"); }
  std::string In(const std::string& name) const { return Forum() + "/" + name; }

  void Link(const std::string& target, const std::string& name) {
    ::unlink(name.c_str());
    ASSERT_EQ(::symlink(target.c_str(), name.c_str()), 0) << name;
  }

  robust::ChildEnd Batch(const std::vector<std::string>& args) {
    robust::ChildEnd end = robust::RunChild(KIV_BATCH_EXE, args, {}, kTimeLimit);
    EXPECT_FALSE(end.timedOut) << "kiv-batch did not end";
    return end;
  }

  // TORBLEN on the shared log folder; its boxes come back as MESSAGE lines.
  robust::ChildEnd Torblen(bool silent) {
    MakeDir(tmp_.Sub("config"));
    MakeDir(tmp_.Sub("config/Orvanta"));
    WriteBytes(tmp_.Sub("config/Orvanta/Tallowick.conf"), "[Setting]\nLOGFILE=" + Shared() + "\n");
    std::vector<std::string> args;
    if (silent) args.push_back("/KIV");
    robust::ChildEnd end = robust::RunChild(
        KIV_TORBLEN_EXE, args,
        {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_CONFIG_HOME", tmp_.Sub("config")}, {"KIV_MESSAGE_ANSWERS", ""}},
        kTimeLimit);
    EXPECT_FALSE(end.timedOut) << "TORBLEN did not end";
    return end;
  }

  static int Messages(const robust::ChildEnd& end) {
    int count = 0;
    for (std::size_t at = end.err.find("MESSAGE\t"); at != std::string::npos; at = end.err.find("MESSAGE\t", at + 1)) {
      ++count;
    }
    return count;
  }

  // Puts a byte 0x1A at the end of the line-th line (1-based) of a log.
  void MarkLine(const std::string& path, int line) {
    std::string bytes = ReadBytes(path);
    std::size_t at = 0;
    for (int i = 1; i < line; ++i) at = bytes.find("\r\n", at) + 2;
    bytes.insert(bytes.find("\r\n", at), "\x1a");
    WriteBytes(path, bytes);
  }

  TempDir tmp_;
  Look outsideBefore_;
};

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(SpecialFiles, EndMarkInsideALog) {
  // Text after the mark in a body and a title log: analysis tells the file
  // and the line and the split refuses; nothing in the folder changes.
  MarkLine(In("MES_01.LOG"), 30);
  MarkLine(In("MES#02.LOG"), 12);
  const Look before = LookAt(Shared());
  robust::ChildEnd end = Batch({"analyze", Forum()});
  EXPECT_EQ(end.status, 1);
  EXPECT_TRUE(Holds(end.err, "ファイル終端エラー: MES_01.LOG - line 30 :")) << end.err;
  EXPECT_TRUE(Holds(end.err, "ファイル終端エラー: MES#02.LOG - line 12 :")) << end.err;
  end = Batch({"split", Forum(), "--rooms", "1", "--kind", "body", "--number", "20"});
  EXPECT_EQ(end.status, 1);
  EXPECT_TRUE(Holds(end.err, "MES_01.LOG - line 30")) << end.err;
  end = Batch({"split", Forum(), "--rooms", "2", "--kind", "title", "--number", "20", "--export"});
  EXPECT_EQ(end.status, 1);
  EXPECT_EQ(LookAt(Shared()), before);

  // A mark followed only by line ends and more marks is the old end of text:
  // such a log splits as before.
  MakeShared();
  WriteBytes(In("MES_02.LOG"), ReadBytes(In("MES_02.LOG")) + "\x1a\r\n\x1a");
  end = Batch({"split", Forum(), "--rooms", "2", "--kind", "body", "--number", "20"});
  EXPECT_EQ(end.status, 0) << end.err;
  EXPECT_TRUE(std::filesystem::exists(In("MES_02.B00")));
}

TEST_F(SpecialFiles, EndMarkInsideTheArchiveList) {
  // TORBLEN would keep the lines before the mark and drop the rest: the
  // list is left whole. The interactive run says so, the silent one not.
  WriteBytes(In("AR.LST"), ReadBytes(In("AR.LST")) + "M GONE.LOG gone\x1a\r\nM ALSO_GONE.LOG gone\r\n");
  const std::string list = ReadBytes(In("AR.LST"));
  robust::ChildEnd end = Torblen(true);
  EXPECT_EQ(end.status, 0);
  EXPECT_EQ(Messages(end), 0) << end.err;
  EXPECT_EQ(ReadBytes(In("AR.LST")), list);
  end = Torblen(false);
  EXPECT_TRUE(Holds(end.err, "AR.LST :\\n書庫リストファイルの途中にファイル終端文字")) << end.err;
  EXPECT_EQ(ReadBytes(In("AR.LST")), list);
}

TEST_F(SpecialFiles, ArchiveListLinkedOutOrToADevice) {
  // A link out of the folder (to a file, nowhere, a device, a FIFO): the
  // export is refused naming AR.LST and the split stays done (exit 1);
  // TORBLEN leaves the link and what it leads to alone.
  for (const std::string target : {"precious.txt", "missing.txt", "null", "fifo"}) {
    SCOPED_TRACE(target);
    MakeShared();
    Link(Outside() + "/" + target, In("AR.LST"));
    robust::ChildEnd end = Batch({"split", Forum(), "--rooms", "1", "--kind", "body", "--number", "20", "--export"});
    EXPECT_EQ(end.status, 1);
    EXPECT_TRUE(Holds(end.err, "AR.LST にアクセスできませんでした。")) << end.err;
    EXPECT_TRUE(Holds(end.err, "共有ログフォルダの外") || Holds(end.err, "通常のファイルではありません")) << end.err;
    const Look before = LookAt(Shared());
    end = Torblen(false);
    EXPECT_EQ(end.status, 0);
    EXPECT_EQ(LookAt(Shared()), before);
    EXPECT_TRUE(Holds(end.err, "共有ログフォルダの外を指しているため変更しませんでした")) << end.err;
  }
  // A link that stays inside the forum folder keeps working.
  MakeShared();
  WriteBytes(In("FORUM1.LST"), "");
  Link("FORUM1.LST", In("AR.LST"));
  EXPECT_EQ(Batch({"split", Forum(), "--rooms", "1", "--kind", "body", "--number", "20", "--export"}).status, 0);
  EXPECT_TRUE(Holds(ReadBytes(In("FORUM1.LST")), "M AR_"));
}

TEST_F(SpecialFiles, HistoryLinkedOutOrToADevice) {
  // The history of the run's splits is not appended through the link: the
  // user is told, and the split itself is done.
  for (const std::string target : {"precious.txt", "missing.txt", "zero", "fifo"}) {
    SCOPED_TRACE(target);
    MakeShared();
    Link(Outside() + "/" + target, In("FORUM1.KIV"));
    robust::ChildEnd end = Batch({"split", Forum(), "--rooms", "2", "--kind", "title", "--number", "20"});
    EXPECT_EQ(end.status, 1);
    EXPECT_TRUE(Holds(end.err, "FORUM1.KIV にアクセスできませんでした。")) << end.err;
    EXPECT_TRUE(std::filesystem::is_symlink(In("FORUM1.KIV")));
  }
}

TEST_F(SpecialFiles, LogAndBackupNamesLinkedOut) {
  // A log that is a link to a device is never read: analysis names it and
  // ends at once.
  Link(Outside() + "/zero", In("MES_02.LOG"));
  robust::ChildEnd end = Batch({"analyze", Forum(), "--rooms", "2"});
  EXPECT_EQ(end.status, 1);
  EXPECT_TRUE(Holds(end.err, "MES_02.LOG にアクセスできませんでした。\n通常のファイルではありません")) << end.err;
  Link(Outside() + "/missing.txt", In("MES_02.LOG"));
  EXPECT_EQ(Batch({"split", Forum(), "--rooms", "2", "--number", "20"}).status, 1);

  // A backup name taken by a link (out, dangling, to a device): the file is
  // skipped; with --overwrite the link itself goes and the split is done,
  // the new files all inside the folder.
  for (const std::string target : {"precious.txt", "missing.txt", "null"}) {
    SCOPED_TRACE(target);
    Link(Outside() + "/" + target, In("MES_01.B00"));
    end = Batch({"split", Forum(), "--rooms", "1", "--kind", "body", "--number", "20"});
    EXPECT_EQ(end.status, 1);
  }
  end = Batch({"split", Forum(), "--rooms", "1", "--kind", "body", "--number", "20", "--overwrite"});
  EXPECT_EQ(end.status, 0) << end.err;
  EXPECT_FALSE(std::filesystem::is_symlink(In("MES_01.B00")));

  // A log linked to a file outside is read through the link, never written:
  // the split moves the link aside and writes its files in the folder.
  const std::string log = ReadBytes(In("MES#01.LOG"));
  WriteBytes(Outside() + "/title.log", log);
  ::unlink(In("MES#01.LOG").c_str());
  Link(Outside() + "/title.log", In("MES#01.LOG"));
  outsideBefore_ = LookAt(Outside());
  end = Batch({"split", Forum(), "--rooms", "1", "--kind", "title", "--number", "20"});
  EXPECT_EQ(end.status, 0) << end.err;
  EXPECT_FALSE(std::filesystem::is_symlink(In("MES#01.LOG")));
  EXPECT_EQ(ReadBytes(Outside() + "/title.log"), log);
}

TEST_F(SpecialFiles, LinksToTheRootAndLoops) {
  // A link to "/" and a loop of folder links inside the shared folder:
  // TORBLEN ends at once and still reconciles the forum's list.
  Link("/", Shared() + "/ROOT");
  MakeDir(Shared() + "/LOOP");
  Link(Shared() + "/LOOP", Shared() + "/LOOP/AGAIN");
  Link(Shared() + "/B", Shared() + "/A");
  Link(Shared() + "/A", Shared() + "/B");
  WriteBytes(In("AR.LST"), ReadBytes(In("AR.LST")) + "M GONE.LOG gone\r\n");
  robust::ChildEnd end = Torblen(true);
  EXPECT_EQ(end.status, 0);
  EXPECT_FALSE(Holds(ReadBytes(In("AR.LST")), "GONE.LOG"));
}

TEST_F(SpecialFiles, FifosAndDevicesInPlaceOfFiles) {
  // MES.LOG a FIFO: the rooms have no names, and list ends.
  ::unlink(In("MES.LOG").c_str());
  ASSERT_EQ(::mkfifo(In("MES.LOG").c_str(), 0666), 0);
  robust::ChildEnd end = Batch({"list", Forum()});
  EXPECT_EQ(end.status, 0);
  EXPECT_TRUE(Holds(end.out, "MES_01.LOG\t不明\t本文")) << end.out;
  // A log a FIFO: listed, never analysed or split.
  ::unlink(In("MES_02.LOG").c_str());
  ASSERT_EQ(::mkfifo(In("MES_02.LOG").c_str(), 0666), 0);
  end = Batch({"analyze", Forum()});
  EXPECT_EQ(end.status, 1);
  EXPECT_TRUE(Holds(end.out, "MES_02.LOG\t不明\t本文\t0\t-\t-")) << end.out;
  EXPECT_TRUE(Holds(end.err, "MES_02.LOG にアクセスできませんでした。\n通常のファイルではありません")) << end.err;
  EXPECT_EQ(Batch({"split", Forum(), "--rooms", "2", "--export"}).status, 1);
  // AR.LST a FIFO: the export is refused, TORBLEN leaves it.
  ::unlink(In("AR.LST").c_str());
  ASSERT_EQ(::mkfifo(In("AR.LST").c_str(), 0666), 0);
  end = Batch({"split", Forum(), "--rooms", "1", "--kind", "body", "--number", "20", "--export"});
  EXPECT_EQ(end.status, 1);
  EXPECT_TRUE(Holds(end.err, "AR.LST にアクセスできませんでした。")) << end.err;
  // MES.LOG and a log a device node made here, AR.LST one too.
  for (const char* name : {"MES.LOG", "MES#02.LOG", "AR.LST"}) {
    ::unlink(In(name).c_str());
    ASSERT_EQ(::mknod(In(name).c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
  }
  EXPECT_EQ(Batch({"analyze", Forum(), "--rooms", "2"}).status, 1);
  const Look before = LookAt(Shared());
  end = Torblen(false);
  EXPECT_EQ(end.status, 0);
  EXPECT_EQ(LookAt(Shared()), before);
  for (const char* name : {"MES.LOG", "MES_02.LOG", "AR.LST"}) {
    struct stat st;
    ASSERT_EQ(::lstat(In(name).c_str(), &st), 0);
    EXPECT_FALSE(S_ISREG(st.st_mode)) << name;
  }
}

TEST_F(SpecialFiles, ControlCharactersInFolderNames) {
  // A forum folder named with CR LF (or a TAB) inside: each control
  // character stands as "_" in the header lines, AR.LST and the history, so
  // no line is forged and none breaks in two.
  for (const std::string& name : {std::string("F\r\nM EVIL.LOG injected -"), std::string("T\tAB")}) {
    SCOPED_TRACE(name);
    MakeShared();
    const std::string forum = Shared() + "/" + name;
    std::filesystem::rename(Forum(), forum);
    const std::string listBefore = ReadBytes(forum + "/AR.LST");
    robust::ChildEnd end = Batch({"split", forum, "--rooms", "1", "--number", "20", "--export", "--overwrite"});
    EXPECT_EQ(end.status, 0) << end.err;
    const std::string added = ReadBytes(forum + "/AR.LST").substr(listBefore.size());
    std::string shown = name;
    for (char& c : shown) {
      if (static_cast<unsigned char>(c) < 0x20) c = '_';
    }
    EXPECT_TRUE(Holds(added, "- " + shown + "  MES( 1):")) << added;
    EXPECT_EQ(std::count(added.begin(), added.end(), '\n'), 1) << added;
    EXPECT_EQ(std::count(added.begin(), added.end(), '\r'), 1) << added;
    EXPECT_EQ(std::count(added.begin(), added.end(), '\t'), 0) << added;
    const std::string history = ReadBytes(forum + "/" + name + ".KIV");
    EXPECT_TRUE(Holds(history, "- " + shown + "  MES( 1):")) << history;
    EXPECT_FALSE(Holds(history, "\r\nM EVIL.LOG")) << history;
    std::filesystem::remove_all(forum);
  }
}

TEST_F(SpecialFiles, UndoThatTakesNothingBack) {
  // An undo with no split of this run to take back was skipped: exit 1, said.
  WriteBytes(tmp_.Sub("script"), "undo --rooms 1\n");
  robust::ChildEnd end = robust::RunChild(
      "/bin/sh", {"-c", std::string(KIV_BATCH_EXE) + " session '" + Forum() + "' < '" + tmp_.Sub("script") + "'"}, {},
      kTimeLimit);
  EXPECT_EQ(end.status, 1);
  EXPECT_TRUE(Holds(end.err, "nothing undone")) << end.err;
  // One that takes a split back ends with 0.
  WriteBytes(tmp_.Sub("script"), "split --rooms 1 --number 20\nundo --rooms 1\n");
  end = robust::RunChild(
      "/bin/sh", {"-c", std::string(KIV_BATCH_EXE) + " session '" + Forum() + "' < '" + tmp_.Sub("script") + "'"}, {},
      kTimeLimit);
  EXPECT_EQ(end.status, 0) << end.err;

  // One whose old logs (body and title) could not be deleted left them
  // behind: exit 1, said.
  MakeShared();
  InjectedFault undeletable(plat::FileOp::Delete, "A.LOG", EIO);
  robust::SessionResult r = robust::RunSession(Forum(), {"split --rooms 1 --number 20", "undo --rooms 1"});
  EXPECT_EQ(r.statuses[0], 0) << r.err;
  EXPECT_EQ(r.statuses[1], 1);
  EXPECT_TRUE(Holds(r.err, "kiv-batch: undo left 2 old log(s)")) << r.err;
}

}  // namespace
