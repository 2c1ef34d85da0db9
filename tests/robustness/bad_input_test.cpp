// What kiv-batch (the commands of Kiv's log list) and TORBLEN do with bad
// input: each case of the README's "Bad input" catalogue. The rule is the
// same throughout: the bad file is left byte for byte as it was, the user is
// told, and nothing else is harmed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "commands/archive_list.h"
#include "checker/folder_walk.h"
#include "platform/dir_search.h"
#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "tests/robustness/batch_session.h"
#include "tests/robustness/folder_snapshot.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/shared_folder.h"

namespace {

using robust::RunSession;
using robust::SessionResult;
using robust::Snapshot;

// One forum folder of two rooms of 40 messages, with old logs in AR.LST.
std::string MakeForum(const TempDir& tmp, const std::string& name = "shared") {
  samplegen::SharedFolderOptions options;
  options.seed = 21;
  options.forums = 1;
  options.rooms = 2;
  options.messages = 40;
  options.archive = true;
  samplegen::SharedFolderResult made = samplegen::GenerateSharedFolder(tmp.Sub(name), options);
  EXPECT_TRUE(made.ok) << made.error;
  return tmp.Sub(name) + "/FORUM1";
}

std::string Dos(const std::string& lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string BodyMessage(int number, const std::string& text) {
  char head[128];
  std::snprintf(head, sizeof head, "%05d/%05d ABC12345  subject\n(A1)   98/02/10 12:34\n", number, number);
  return head + text + "\n";
}

std::vector<std::string> ReconciledLines(const std::string& folder) {
  std::vector<plat::FoundItem> listing;
  plat::FindFiles(folder, "*.*", &listing);
  ReconcileArchiveList(folder, listing);
  std::vector<std::string> lines;
  const std::string text = ReadBytes(folder + "/AR.LST");
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find("\r\n", at);
    end = end == std::string::npos ? text.size() : end + 2;
    lines.push_back(text.substr(at, end - at));
    at = end;
  }
  return lines;
}

TEST(BadInput, UnreadableFolders) {
  TempDir tmp;
  const std::string forum = MakeForum(tmp);
  const Snapshot before = robust::TakeSnapshot(forum);
  {
    // kiv-batch: a forum folder that can't be listed has no rows; a split
    // of its rooms says so and fails, and nothing is touched.
    InjectedFault unlistable(plat::FileOp::List, "/FORUM1", EACCES);
    SessionResult r = RunSession(forum, {"list", "split --rooms 1"});
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.statuses[1], 0);
    EXPECT_NE(r.err.find("no log file of those rooms"), std::string::npos) << r.err;
  }
  EXPECT_TRUE(robust::SameContent(before, robust::TakeSnapshot(forum)));
  {
    // TORBLEN: a folder that can't be listed is empty to the walk, so a
    // forum folder; each name of its list is then looked for on its own,
    // and the list comes out as from a folder that could be listed.
    InjectedFault unlistable(plat::FileOp::List, "/FORUM1", EACCES);
    WalkSharedLogFolder(tmp.Sub("shared"), nullptr);
  }
  const std::string listed = MakeForum(tmp, "listed");
  WalkSharedLogFolder(tmp.Sub("listed"), nullptr);
  EXPECT_EQ(ReadBytes(forum + "/AR.LST"), ReadBytes(listed + "/AR.LST"));
  EXPECT_NE(ReadBytes(forum + "/AR.LST"), before.at("AR.LST"));
  // A shared log folder that can't be listed has no forum folder to touch.
  {
    InjectedFault unlistable(plat::FileOp::List, "/shared", EACCES);
    WalkSharedLogFolder(tmp.Sub("shared"), nullptr);
    EXPECT_EQ(ReadBytes(forum + "/AR.LST"), ReadBytes(listed + "/AR.LST"));
  }
}

TEST(BadInput, MissingFiles) {
  TempDir tmp;
  const std::string forum = MakeForum(tmp);
  // No MES.LOG: the rooms have no names; everything else works.
  ASSERT_EQ(::unlink((forum + "/MES.LOG").c_str()), 0);
  SessionResult r = RunSession(forum, {"list"});
  EXPECT_NE(r.out.find("MES_01.LOG\t不明\t本文"), std::string::npos) << r.out;
  // A room whose body log is gone: its title log is split alone.
  const std::string title = ReadBytes(forum + "/MES#02.LOG");
  ASSERT_EQ(::unlink((forum + "/MES_02.LOG").c_str()), 0);
  r = RunSession(forum, {"analyze", "split --rooms 2"});
  EXPECT_TRUE(r.AllDone()) << r.err;
  EXPECT_EQ(ReadBytes(forum + "/MES#02.B00"), title);
  EXPECT_FALSE(plat::FileExists(forum + "/MES_02.B00"));
  // TORBLEN: no AR.LST, nothing made; a line naming a gone file is dropped.
  ASSERT_EQ(::unlink((forum + "/AR.LST").c_str()), 0);
  WalkSharedLogFolder(tmp.Sub("shared"), nullptr);
  EXPECT_FALSE(plat::FileExists(forum + "/AR.LST"));
}

TEST(BadInput, BinaryLogs) {
  TempDir tmp;
  const std::string forum = MakeForum(tmp);
  std::string binary;
  for (int i = 0; i < 200000; ++i) binary += static_cast<char>((i * 7919 + i / 13) & 0xFF);
  WriteBytes(forum + "/MES_01.LOG", binary);
  SessionResult r = RunSession(forum, {"analyze --rooms 1", "split --rooms 1 --kind body"});
  EXPECT_NE(r.statuses[0], 0);
  EXPECT_NE(r.statuses[1], 0);
  EXPECT_EQ(ReadBytes(forum + "/MES_01.LOG"), binary);
  EXPECT_FALSE(plat::FileExists(forum + "/MES_01.B00"));
}

TEST(BadInput, LinesOfMegabytes) {
  TempDir tmp;
  const std::string forum = MakeForum(tmp);
  const std::string huge(3 << 20, 'L');
  WriteBytes(forum + "/MES_01.LOG", Dos(BodyMessage(1, "a") + BodyMessage(2, huge) + BodyMessage(3, "c")));
  SessionResult r = RunSession(forum, {"analyze --rooms 1", "split --rooms 1 --kind body --number 2"});
  ASSERT_TRUE(r.AllDone()) << r.err;
  // The long line went whole into the old log, and the backup is the log.
  bool found = false;
  for (const auto& [path, bytes] : robust::TakeSnapshot(forum)) {
    if (path.starts_with("AR_") && bytes.find("\r\n" + huge + "\r\n") != std::string::npos) found = true;
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(ReadBytes(forum + "/MES_01.B00"), Dos(BodyMessage(1, "a") + BodyMessage(2, huge) + BodyMessage(3, "c")));
  // TORBLEN judges a line of megabytes whole: kept whole or dropped whole.
  WriteBytes(forum + "/AR.LST", "M MES_02.LOG " + huge + "\r\nM GONE.LOG " + huge + "\r\nM MES_02.LOG x\r\n");
  std::vector<std::string> lines = ReconciledLines(forum);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "M MES_02.LOG " + huge + "\r\n");
  EXPECT_EQ(lines[1], "M MES_02.LOG x\r\n");
}

TEST(BadInput, NumbersAbove65536) {
  TempDir tmp;
  const std::string forum = MakeForum(tmp);
  const std::string log = Dos(BodyMessage(1, "a") + BodyMessage(70000, "b") + BodyMessage(3, "c"));
  WriteBytes(forum + "/MES_01.LOG", log);
  SessionResult r = RunSession(forum, {"analyze --rooms 1", "split --rooms 1 --kind body --number 2"});
  EXPECT_NE(r.statuses[0], 0);
  EXPECT_NE(r.statuses[1], 0);
  EXPECT_NE(r.err.find("MES_01.LOG - line 4"), std::string::npos) << r.err;
  EXPECT_EQ(ReadBytes(forum + "/MES_01.LOG"), log);
  EXPECT_FALSE(plat::FileExists(forum + "/MES_01.B00"));
}

TEST(BadInput, InvalidCp932) {
  TempDir tmp;
  const std::string forum = MakeForum(tmp);
  // Lone lead bytes, a lead byte before LF, bytes CP932 never uses.
  const std::string bad = "\x81\n\x82\x0a\xa0\xfd\xfe\xff \x85\x40 end";
  const std::string log = Dos(BodyMessage(1, bad) + BodyMessage(2, bad + "\x81"));
  WriteBytes(forum + "/MES_01.LOG", log);
  std::string table = ReadBytes(forum + "/MES.LOG");
  WriteBytes(forum + "/MES.LOG", table + "  7     0 (   0)    0      \xff\xfe\x81\r\n");
  SessionResult r = RunSession(forum, {"analyze --rooms 1", "split --rooms 1 --kind body --number 1"});
  ASSERT_TRUE(r.AllDone()) << r.err;
  EXPECT_EQ(ReadBytes(forum + "/MES_01.B00"), log);
  EXPECT_NE(ReadBytes(forum + "/MES_01.LOG").find(Dos(bad + "\x81\n")), std::string::npos);
  // TORBLEN keeps a line whose bad bytes don't stop it naming a file.
  WriteBytes(forum + "/AR.LST", "M MES_02.LOG \xff\x81\r\nM \x81\xff.LOG x\r\n");
  std::vector<std::string> lines = ReconciledLines(forum);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "M MES_02.LOG \xff\x81\r\n");
}

TEST(BadInput, Cp932NamesEndingIn5C) {
  TempDir tmp;
  // ソ and 表 end in 0x5C in CP932, the byte of "\".
  const std::string forumName = "ソフト表";
  samplegen::SharedFolderOptions options;
  options.seed = 22;
  options.forums = 1;
  options.rooms = 1;
  options.messages = 20;
  ASSERT_TRUE(samplegen::GenerateSharedFolder(tmp.Sub("shared"), options).ok);
  const std::string forum = tmp.Sub("shared/" + forumName);
  ASSERT_EQ(::rename(tmp.Sub("shared/FORUM1").c_str(), forum.c_str()), 0);
  SessionResult r = RunSession(forum, {"analyze", "split --rooms 1 --kind body --number 10 --export"});
  ASSERT_TRUE(r.AllDone()) << r.err;
  // The header line carries the name in CP932, the history file its own name.
  EXPECT_NE(ReadBytes(forum + "/MES_01.LOG").find("- " + plat::Utf8ToCp932(forumName) + "  MES( 1)"),
            std::string::npos);
  EXPECT_TRUE(plat::FileExists(forum + "/" + forumName + ".KIV"));
  // TORBLEN: an AR.LST name ending in 0x5C is matched through its UTF-8 form.
  WriteBytes(forum + "/ソ.LOG", "old\r\n");
  WriteBytes(forum + "/AR.LST",
             "M " + plat::Utf8ToCp932("ソ.LOG") + " x\r\nM " + plat::Utf8ToCp932("表.LOG") + " y\r\n");
  std::vector<std::string> lines = ReconciledLines(forum);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "M " + plat::Utf8ToCp932("ソ.LOG") + " x\r\n");
}

TEST(BadInput, VeryLargeArchiveLists) {
  TempDir tmp;
  const std::string forum = MakeForum(tmp);
  // 40 MB, every third line naming a gone file.
  std::string list, expected;
  for (int i = 0; list.size() < (40u << 20); ++i) {
    std::string line =
        std::string(i % 3 ? "M MES_01.LOG " : "M GONE.LOG ") + std::to_string(i) + " " + std::string(100, 'h') + "\r\n";
    list += line;
    if (i % 3) expected += line;
  }
  WriteBytes(forum + "/AR.LST", list);
  std::vector<plat::FoundItem> listing;
  plat::FindFiles(forum, "*.*", &listing);
  const ReconcileResult result = ReconcileArchiveList(forum, listing);
  EXPECT_EQ(result.outcome, ReconcileOutcome::Rewritten);
  EXPECT_EQ(ReadBytes(forum + "/AR.LST"), expected);
}

TEST(BadInput, AFullDisk) {
  TempDir tmp;
  const std::string forum = MakeForum(tmp);
  const Snapshot before = robust::TakeSnapshot(forum);
  {
    // The new log can't be written: the split is taken back and says so.
    // (Written under its temporary name: the second output.)
    InjectedFault full(plat::FileOp::Write, "-1.TMP", ENOSPC);
    SessionResult r = RunSession(forum, {"analyze --rooms 1", "split --rooms 1 --kind body --number 20 --export"});
    EXPECT_NE(r.statuses[1], 0);
    EXPECT_NE(r.err.find("MES_01.LOG"), std::string::npos) << r.err;
  }
  EXPECT_TRUE(robust::SameContent(before, robust::TakeSnapshot(forum)));
  {
    // TORBLEN: a new list that can't be written leaves the old one.
    InjectedFault full(plat::FileOp::Write, "AR.LST.new", ENOSPC);
    WalkSharedLogFolder(tmp.Sub("shared"), nullptr);
  }
  EXPECT_TRUE(robust::SameContent(before, robust::TakeSnapshot(forum)));
}

}  // namespace
