#include "model/folder_scan.h"

#include <cerrno>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "model/directory.h"
#include "model/room_names.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

// The tree as text: "name(child,child)"; the root shown as "*".
std::string Shape(const FolderNode& node, bool root = true) {
  std::string out = root ? "*" : node.text();
  if (node.children().empty()) return out;
  out += "(";
  for (std::size_t i = 0; i < node.children().size(); ++i) {
    if (i) out += ",";
    out += Shape(*node.children()[i], false);
  }
  return out + ")";
}

class FolderScanTest : public ::testing::Test {
 protected:
  void File(const std::string& relative, const std::string& bytes = "x\r\n") {
    std::string path = tmp.Sub(relative);
    MakeDir(path.substr(0, path.rfind('/')));
    WriteBytes(path, bytes);
  }
  void Folder(const std::string& relative) { MakeDir(tmp.Sub(relative)); }
  std::unique_ptr<FolderNode> Build() { return BuildFolderTree(tmp.path(), folders); }

  TempDir tmp;
  FolderSet folders;
};

}  // namespace

TEST_F(FolderScanTest, KeepsForumFoldersAndTheFoldersLeadingToThem) {
  std::string row = "  1    10 (  0)      10";
  row.resize(26, ' ');
  File("FORUM1/MES.LOG", std::string(kRoomTableHeading) + "\r\n" + row + "\x81\x40\x8e\x47\x92\x6b\r\n");
  File("FORUM1/MES_01.LOG");
  File("forum2/mes_03.log");  // lower case counts
  File("HP/MES_01.LOG");      // never entered
  File("GROUP/hp/MES_01.LOG");
  File("GROUP/FORUM3/MES#02.LOG");
  File("ONLYMESA/MESA.LOG");  // not a log for the scan
  File("MESA2/MESA.LOG");
  File("MESA2/MES#02.LOG");
  Folder("EMPTY");
  Folder("LEAFY/EMPTYSUB");  // stays as a leaf
  File("NOTES.TXT");

  auto root = Build();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(), tmp.path());
  EXPECT_EQ(Shape(*root), "*(FORUM1,forum2,GROUP(FORUM3),LEAFY,MESA2)");

  // The map: every kept folder by its own name, the shared log folder by its path.
  std::vector<std::string> names;
  for (const auto& [name, dir] : folders.byName()) names.push_back(name);
  std::sort(names.begin(), names.end());
  std::vector<std::string> want{"FORUM1", "FORUM3", "GROUP", "LEAFY", "MESA2", "forum2", tmp.path()};
  std::sort(want.begin(), want.end());
  EXPECT_EQ(names, want);

  CDirectory* forum1 = folders.Find("FORUM1");
  ASSERT_NE(forum1, nullptr);
  EXPECT_EQ(forum1->path, tmp.Sub("FORUM1"));
  EXPECT_EQ(forum1->RoomName(1), "\x8e\x47\x92\x6b");  // room names loaded by the scan
  EXPECT_TRUE(forum1->entries.empty());                // entries wait for the rescan
  EXPECT_EQ(folders.Find("FORUM3")->path, tmp.Sub("GROUP/FORUM3"));
  EXPECT_EQ(folders.ForNode(*root), folders.Find(tmp.path()));
  EXPECT_EQ(folders.ForNode(*root->children()[2]->children()[0]), folders.Find("FORUM3"));
}

TEST_F(FolderScanTest, TheFirstLogFileEndsTheSearchOfItsFolder) {
  // Search order: A_SUB, MES_01.LOG, ZSUB. ZSUB is never examined.
  File("STOP/A_SUB/MES_01.LOG");
  File("STOP/MES_01.LOG");
  File("STOP/ZSUB/MES_01.LOG");
  auto root = Build();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Shape(*root), "*(STOP(A_SUB))");
  EXPECT_EQ(folders.Find("ZSUB"), nullptr);
  EXPECT_NE(folders.Find("A_SUB"), nullptr);
}

TEST_F(FolderScanTest, ALaterFolderOfTheSameNameTakesOverTheName) {
  File("A/FORUM1/MES_01.LOG");
  File("B/FORUM1/MES_01.LOG");
  auto root = Build();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Shape(*root), "*(A(FORUM1),B(FORUM1))");
  EXPECT_EQ(folders.Find("FORUM1")->path, tmp.Sub("B/FORUM1"));
  // Both tree nodes lead to the later one; the earlier stays owned.
  EXPECT_EQ(folders.ForNode(*root->children()[0]->children()[0]), folders.Find("FORUM1"));
  EXPECT_EQ(folders.ownedCount(), 5u);
}

TEST_F(FolderScanTest, NothingToKeepGivesNoTree) {
  File("README.TXT");
  EXPECT_EQ(Build(), nullptr);
  EXPECT_TRUE(folders.byName().empty());

  // An empty subfolder is gone, but having had one keeps the shared log
  // folder, as a leaf.
  Folder("EMPTY");
  auto root = Build();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Shape(*root), "*");
  folders.Clear();

  TempDir other;
  EXPECT_EQ(BuildFolderTree(other.Sub("MISSING"), folders), nullptr);
}

TEST_F(FolderScanTest, FoldersThatCannotBeListedAreDropped) {
  File("FORUM1/MES_01.LOG");
  File("LOCKED/MES_01.LOG");
  {
    InjectedFault fault(plat::FileOp::List, "/LOCKED", EACCES);
    auto root = Build();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Shape(*root), "*(FORUM1)");
    EXPECT_EQ(folders.Find("LOCKED"), nullptr);
  }
  folders.Clear();
  // The shared log folder itself: no tree at all.
  InjectedFault fault(plat::FileOp::List, tmp.path(), EACCES);
  EXPECT_EQ(Build(), nullptr);
  EXPECT_TRUE(folders.byName().empty());
}

// POSIX permission bits and symbolic links: Windows has neither chmod's
// denial nor links without a privilege; the fault hook above covers the
// denial there.
#ifdef _WIN32
#define KIV_POSIX_ONLY(why) GTEST_SKIP() << why
#else
#define KIV_POSIX_ONLY(why)
#endif

TEST_F(FolderScanTest, RealPermissionDenialIsTreatedTheSame) {
  KIV_POSIX_ONLY("Windows has no POSIX permission bits; the fault hook covers the denial");
#ifndef _WIN32
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root; the fault hook covers this";
  File("FORUM1/MES_01.LOG");
  File("LOCKED/MES_01.LOG");
  ASSERT_EQ(::chmod(tmp.Sub("LOCKED").c_str(), 0), 0);
  auto root = Build();
  ::chmod(tmp.Sub("LOCKED").c_str(), 0755);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Shape(*root), "*(FORUM1)");
#endif
}

TEST_F(FolderScanTest, ALinkBackToAnOuterFolderIsNotFollowedRound) {
  KIV_POSIX_ONLY("symbolic links need a privilege on Windows that the tests lack");
#ifndef _WIN32
  File("FORUM1/MES_01.LOG");
  Folder("GROUP");
  ASSERT_EQ(::symlink(tmp.path().c_str(), tmp.Sub("GROUP/BACK").c_str()), 0);
  auto root = Build();
  ASSERT_NE(root, nullptr);
  // GROUP stays for the link it holds, which itself is dropped.
  EXPECT_EQ(Shape(*root), "*(FORUM1,GROUP)");
  EXPECT_EQ(folders.Find("A_LINK"), nullptr);
#endif
}

TEST_F(FolderScanTest, LinksOutOfTheSharedFolderOrToAFolderSeenAreNotEntered) {
  KIV_POSIX_ONLY("symbolic links need a privilege on Windows that the tests lack");
#ifndef _WIN32
  File("FORUM1/MES_01.LOG");
  // "/" would take the scan over the whole file system; a link to a forum
  // folder of the tree would show it twice. Each is a subfolder all the same
  // (GROUP stays), but shows nothing of its own.
  Folder("GROUP");
  ASSERT_EQ(::symlink("/", tmp.Sub("GROUP/ROOT").c_str()), 0);
  ASSERT_EQ(::symlink(tmp.Sub("FORUM1").c_str(), tmp.Sub("A_LINK").c_str()), 0);
  auto root = Build();
  ASSERT_NE(root, nullptr);
  // A_LINK sorts before FORUM1, yet the folder is shown under its own name.
  EXPECT_EQ(Shape(*root), "*(FORUM1,GROUP)");
  EXPECT_EQ(folders.Find("A_LINK"), nullptr);
#endif
}
