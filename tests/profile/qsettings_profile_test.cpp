#include "profile/qsettings_profile.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

class QSettingsProfileTest : public ::testing::Test {
 protected:
  std::string Ini() const { return tmp_.Sub("Tallowick.conf"); }
  TempDir tmp_;
};

TEST_F(QSettingsProfileTest, NamesAreFoundInAnyCaseAndKeepTheirStoredSpelling) {
  WriteBytes(Ini(), "[setting]\nlogfile=/old\n[Shell]\nExeFile1=exact\nEXEFILE1=other\n");
  {
    QSettingsProfile store(Ini());
    EXPECT_EQ(store.FindString("Setting", "LOGFILE"), "/old");
    EXPECT_TRUE(store.HasSection("SETTING"));
    EXPECT_EQ(store.FindString("Shell", "ExeFile1"), "exact");  // the exact spelling wins
    store.WriteProfileString("Setting", "LogFile", "/new");
    store.DeleteValue("shell", "ExeFile1");  // the exact one goes, not both
    ASSERT_TRUE(store.Commit());
  }
  QSettingsProfile again(Ini());
  EXPECT_EQ(again.FindString("setting", "logfile"), "/new");
  std::string text = ReadBytes(Ini());
  EXPECT_NE(text.find("[setting]\nlogfile=/new\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("LogFile"), std::string::npos) << text;
  EXPECT_EQ(again.FindString("Shell", "EXEFILE1"), "other");
}

TEST_F(QSettingsProfileTest, NumbersAreThe32BitOnesOfTheRegistry) {
  WriteBytes(Ini(), "[Setting]\nbig=4294967295\ntoo_big=4294967296\nword=abc\nneg=-5\n");
  QSettingsProfile store(Ini());
  EXPECT_EQ(store.FindInt("Setting", "big"), -1);
  EXPECT_EQ(store.FindInt("Setting", "neg"), -5);
  EXPECT_EQ(store.FindInt("Setting", "too_big"), std::nullopt);
  EXPECT_EQ(store.GetProfileInt("Setting", "word", 7), 7);
  EXPECT_EQ(store.GetProfileInt("Setting", "missing", 9), 9);
  store.WriteProfileInt("Setting", "ChkList", 1);
  ASSERT_TRUE(store.Commit());
  EXPECT_EQ(QSettingsProfile(Ini()).FindInt("Setting", "ChkList"), 1);
}

TEST_F(QSettingsProfileTest, SectionsNestAndGoWithEverythingBelowThem) {
  {
    QSettingsProfile store(Ini());
    EXPECT_FALSE(store.HasAnyValue());
    store.WriteProfileString("Setting\\List", "FontName", "IPAPGothic");
    store.WriteProfileString("Setting/Tree", "FontName", "ＭＳ Ｐゴシック");
    store.WriteProfileString("Shell", "ExeOpt1", "-a, -b %D");
    ASSERT_TRUE(store.Commit());
  }
  QSettingsProfile store(Ini());
  EXPECT_EQ(store.FindString("setting/list", "fontname"), "IPAPGothic");
  EXPECT_EQ(store.FindString("Setting\\Tree", "FontName"), "ＭＳ Ｐゴシック");
  EXPECT_EQ(store.FindString("Shell", "ExeOpt1"), "-a, -b %D");
  EXPECT_TRUE(store.HasSection("Setting"));  // holds only sections of its own
  store.DeleteSection("SETTING");
  EXPECT_FALSE(store.HasSection("Setting/List"));
  EXPECT_TRUE(store.HasValue("Shell", "ExeOpt1"));
  store.DeleteAll();
  EXPECT_FALSE(store.HasAnyValue());
}

TEST_F(QSettingsProfileTest, CommitThatCannotWriteSaysSo) {
  WriteBytes(tmp_.Sub("plain-file"), "x");
  QSettingsProfile store(tmp_.Sub("plain-file/Tallowick.conf"));
  store.WriteProfileString("Setting", "LOGFILE", "/logs");
  EXPECT_FALSE(store.Commit());
  EXPECT_EQ(ReadBytes(tmp_.Sub("plain-file")), "x");
}

}  // namespace
