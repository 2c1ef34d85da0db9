#include "tools/samplegen/shared_folder.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "model/directory.h"
#include "model/folder_scan.h"
#include "model/folder_set.h"
#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "tests/samplegen/log_lines.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using samplegen::GenerateSharedFolder;
using samplegen::SharedFolderOptions;

namespace {

struct FileState {
  std::string bytes;
  std::time_t mtime = 0;
  bool operator==(const FileState&) const = default;
};

// Every file under root by its relative path, with its bytes and time.
std::map<std::string, FileState> Snapshot(const std::string& root) {
  std::map<std::string, FileState> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    plat::FileStatus st;
    plat::GetFileStatus(e.path().string(), &st);
    files[fs::relative(e.path(), root).string()] = {ReadBytes(e.path().string()), st.mtime};
  }
  return files;
}

SharedFolderOptions Small(std::uint64_t seed) {
  SharedFolderOptions o;
  o.seed = seed;
  o.forums = 3;
  o.rooms = 4;
  o.archive = true;
  o.longLines = true;
  o.mixed = true;
  return o;
}

}  // namespace

TEST(SharedFolder, TheSameSeedGivesTheSameBytesAndTimes) {
  TempDir a, b, c;
  ASSERT_TRUE(GenerateSharedFolder(a.path(), Small(1)).ok);
  ASSERT_TRUE(GenerateSharedFolder(b.path(), Small(1)).ok);
  ASSERT_TRUE(GenerateSharedFolder(c.path(), Small(2)).ok);
  auto first = Snapshot(a.path());
  EXPECT_GT(first.size(), 20u);
  EXPECT_TRUE(first == Snapshot(b.path()));
  EXPECT_FALSE(first == Snapshot(c.path()));
}

TEST(SharedFolder, EveryFileIsCp932WithCrLfLines) {
  TempDir tmp;
  ASSERT_TRUE(GenerateSharedFolder(tmp.path(), Small(3)).ok);
  for (const auto& [name, file] : Snapshot(tmp.path())) {
    SCOPED_TRACE(name);
    const std::string& b = file.bytes;
    ASSERT_GE(b.size(), 2u);
    EXPECT_EQ(b.substr(b.size() - 2), "\r\n");
    for (std::size_t i = 0; i < b.size(); ++i) {
      if (b[i] == '\n') {
        ASSERT_TRUE(i > 0 && b[i - 1] == '\r') << "bare LF at " << i;
      } else if (b[i] == '\r') {
        ASSERT_TRUE(i + 1 < b.size() && b[i + 1] == '\n') << "lone CR at " << i;
      }
      ASSERT_NE(b[i], '\x1a');
    }
    EXPECT_EQ(plat::Cp932ToUtf8(b).find("\xEF\xBF\xBD"), std::string::npos) << "not CP932";
  }
}

TEST(SharedFolder, TheFolderScanFindsTheForumsAndTheirRoomNames) {
  TempDir tmp;
  auto made = GenerateSharedFolder(tmp.path(), Small(4));
  ASSERT_TRUE(made.ok) << made.error;
  FolderSet folders;
  auto root = BuildFolderTree(tmp.path(), folders);
  ASSERT_NE(root, nullptr);
  std::set<std::string> names;
  for (const auto& child : root->children()) names.insert(child->text());
  EXPECT_EQ(names, (std::set<std::string>{"FORUM1", "FORUM2", "GROUP1"}));  // no HP

  std::set<int> layouts;
  for (const auto& forum : made.forums) {
    CDirectory* dir = folders.Find(forum.name);
    ASSERT_NE(dir, nullptr) << forum.name;
    EXPECT_EQ(dir->path, forum.path);
    for (const auto& room : forum.rooms) {
      EXPECT_EQ(dir->RoomName(room.room), room.name) << forum.name << " room " << room.room;
      for (const std::string& log : {room.bodyPath, room.titlePath}) {
        auto lines = ReadLogLines(log);
        for (std::size_t i = 0; i < lines.size(); ++i) layouts.insert(MatchAt(lines, i).templateNo);
      }
    }
  }
  // The second forum leaves its last room unnamed, as the host may.
  EXPECT_TRUE(made.forums[1].rooms.back().name.empty());
  EXPECT_EQ(layouts, (std::set<int>{0, 1, 2, 3, 4}));

  // The archive list names old logs that exist, and one that is gone.
  const auto& lines = made.forums[0].archiveLines;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_FALSE(plat::FileExists(plat::JoinPath(made.forums[0].path, lines[0].substr(2, 12))));
  EXPECT_TRUE(plat::FileExists(plat::JoinPath(made.forums[0].path, lines[1].substr(2, 12))));
}

TEST(SharedFolder, ExistingFilesAreNeverOverwrittenAndAFailedRunTakesItsFilesBack) {
  TempDir tmp;
  ASSERT_TRUE(GenerateSharedFolder(tmp.path(), Small(5)).ok);
  auto before = Snapshot(tmp.path());
  auto again = GenerateSharedFolder(tmp.path(), Small(5));
  EXPECT_FALSE(again.ok);
  EXPECT_NE(again.error.find("FORUM1"), std::string::npos) << again.error;
  EXPECT_TRUE(Snapshot(tmp.path()) == before);

  // A user's file where the second forum's log would go: the first forum,
  // already written, is taken back; the user's file and folder stay.
  TempDir other;
  MakeDir(other.Sub("FORUM2"));
  WriteBytes(other.Sub("FORUM2/MES_01.LOG"), "mine\r\n");
  auto clash = GenerateSharedFolder(other.path(), Small(5));
  EXPECT_FALSE(clash.ok);
  EXPECT_EQ(ReadBytes(other.Sub("FORUM2/MES_01.LOG")), "mine\r\n");
  std::set<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(other.path()))
    left.insert(fs::relative(e.path(), other.path()).generic_string());
  EXPECT_EQ(left, (std::set<std::string>{"FORUM2", "FORUM2/MES_01.LOG"}));
}
