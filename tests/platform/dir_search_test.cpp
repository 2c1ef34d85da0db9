#include "platform/dir_search.h"

#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

using plat::MatchesPattern;

std::vector<std::string> Names(const std::vector<plat::FoundItem>& items) {
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item.name);
  return names;
}

}  // namespace

TEST(MatchesPattern, WildcardsIgnoreAsciiCase) {
  EXPECT_TRUE(MatchesPattern("MES*.LOG", "MES_05.LOG"));
  EXPECT_TRUE(MatchesPattern("MES*.LOG", "mes#12.log"));
  EXPECT_TRUE(MatchesPattern("MES*.LOG", "MES.LOG"));  // "*" may be empty
  EXPECT_TRUE(MatchesPattern("MES*.LOG", "MesA.Log"));
  EXPECT_FALSE(MatchesPattern("MES*.LOG", "MES_05.LOG.BAK"));
  EXPECT_FALSE(MatchesPattern("MES*.LOG", "XMES_05.LOG"));
  EXPECT_FALSE(MatchesPattern("MES*.LOG", "MES_05.B00"));

  // "?" is exactly one character, never none.
  EXPECT_TRUE(MatchesPattern("AR?9802?.LOG", "AR_9802A.LOG"));
  EXPECT_TRUE(MatchesPattern("AR?9802?.LOG", "ar#9802z.log"));
  EXPECT_FALSE(MatchesPattern("AR?9802?.LOG", "AR9802A.LOG"));
  EXPECT_FALSE(MatchesPattern("AR?9802?.LOG", "AR_9802AB.LOG"));

  // "*.*" takes every name, one without a dot too.
  EXPECT_TRUE(MatchesPattern("*.*", "HP"));
  EXPECT_TRUE(MatchesPattern("*.*", ".hidden"));
  EXPECT_TRUE(MatchesPattern("*.*", "MES_01.LOG"));

  // Several stars, and a star that must give back what it took.
  EXPECT_TRUE(MatchesPattern("*_*.L*G", "MES_01.LOG"));
  EXPECT_TRUE(MatchesPattern("*.LOG", "A.LOG.LOG"));
  EXPECT_FALSE(MatchesPattern("*.LOG", "A.LOG.L"));
}

TEST(MatchesPattern, OnlyStarAndQuestionMarkAreSpecial) {
  EXPECT_TRUE(MatchesPattern("AR[1].LOG", "AR[1].LOG"));
  EXPECT_FALSE(MatchesPattern("AR[12].LOG", "AR1.LOG"));
  EXPECT_TRUE(MatchesPattern("A\\*.LOG", "A\\X.LOG"));
  // CP932 names: a trail byte 0x5C (the second byte of 表) and bytes above
  // 0x7F are plain bytes, and case folding leaves them alone.
  EXPECT_TRUE(MatchesPattern("*.LOG", "\x95\x5c.log"));
  EXPECT_TRUE(MatchesPattern("\x95?.LOG", "\x95\x5c.LOG"));
  EXPECT_FALSE(MatchesPattern("\x82\x60.LOG", "\x82\x81.LOG"));  // Ａ and ａ differ
}

TEST(FindFiles, SortsByUpperCasedNameAndLeavesOutDotEntries) {
  TempDir tmp;
  for (const char* name :
       {"mes_02.log", "MES_01.LOG", "MES#01.LOG", "MESA.LOG", "MES.LOG", "Mes_10.Log", "AR.LST", "MES_05.B00"}) {
    WriteBytes(tmp.Sub(name), "x");
  }
  MakeDir(tmp.Sub("MES_99.LOG"));  // a folder that matches the pattern

  std::vector<plat::FoundItem> items;
  int err = -1;
  ASSERT_TRUE(plat::FindFiles(tmp.path(), "MES*.LOG", &items, &err));
  // "#" < "." < digits < letters < "_" once letters are upper-cased.
  EXPECT_EQ(Names(items), (std::vector<std::string>{"MES#01.LOG", "MES.LOG", "MESA.LOG", "MES_01.LOG", "mes_02.log",
                                                    "Mes_10.Log", "MES_99.LOG"}));
  EXPECT_TRUE(items.back().isDirectory);
  EXPECT_FALSE(items.front().isDirectory);
  EXPECT_EQ(items.front().size, 1);

  ASSERT_TRUE(plat::FindFiles(tmp.path(), "*.*", &items));
  EXPECT_EQ(items.size(), 9u);
  for (const auto& item : items) {
    EXPECT_NE(item.name, ".");
    EXPECT_NE(item.name, "..");
  }
}

TEST(FindFiles, ReportsTimeOfEachFile) {
  TempDir tmp;
  WriteBytes(tmp.Sub("MES_01.LOG"), "abc");
  ASSERT_TRUE(plat::SetFileTime(tmp.Sub("MES_01.LOG"), 886000000));
  std::vector<plat::FoundItem> items;
  ASSERT_TRUE(plat::FindFiles(tmp.path(), "*.LOG", &items));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].mtime, 886000000);
  EXPECT_EQ(items[0].size, 3);
}

TEST(FindFiles, AFolderThatCannotBeListedGivesNoItems) {
  TempDir tmp;
  WriteBytes(tmp.Sub("MES_01.LOG"), "x");
  std::vector<plat::FoundItem> items{{"stale"}};
  int err = 0;
  EXPECT_FALSE(plat::FindFiles(tmp.Sub("MISSING"), "*.*", &items, &err));
  EXPECT_EQ(err, ENOENT);
  EXPECT_TRUE(items.empty());

  EXPECT_FALSE(plat::FindFiles(tmp.Sub("MES_01.LOG"), "*.*", &items, &err));
  EXPECT_EQ(err, ENOTDIR);

  InjectedFault fault(plat::FileOp::List, tmp.path(), EACCES);
  EXPECT_FALSE(plat::FindFiles(tmp.path(), "*.*", &items, &err));
  EXPECT_EQ(err, EACCES);
  EXPECT_TRUE(items.empty());
}
