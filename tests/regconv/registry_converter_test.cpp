#include "regconv/registry_converter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "messages/scripted_messages.h"
#include "profile/qsettings_profile.h"
#include "tests/support/temp_dir.h"

namespace {

const char kOldLayout[] =
    "[Strings]\n"
    "LOGFILE=/home/yoruma/logs\\\\\n"
    "ExeFile1=/usr/bin/lv\n"
    "ExeOpt1=-s %D\n"
    "[Int]\n"
    "ArcType=1\n"
    "[Setting]\n"
    "show=3\ny=10\nx=20\nheight=300\nwidth=400\n"
    "Col0=120\nCol1=110\nCol2=40\nCol3=60\nCol4=55\nCol5=50\n"
    "ViewCol=150\nViewRow=320\n"
    "ChkList=1\n";

class RegistryConverterTest : public ::testing::Test {
 protected:
  std::string Ini() const { return tmp_.Sub("Tallowick.conf"); }
  ConversionOutcome Convert(bool deleteAll = false) {
    QSettingsProfile store(Ini());
    return ConvertRegistry(store, messages_, deleteAll);
  }
  // The one box of the run: its caption is always the program's.
  std::string OnlyText() const {
    EXPECT_EQ(messages_.boxes.size(), 1u);
    if (messages_.boxes.empty()) return {};
    EXPECT_EQ(messages_.boxes[0].caption, "Change KIV Registry");
    EXPECT_EQ(messages_.boxes[0].style.icon, MsgIcon::Information);
    return messages_.boxes[0].text;
  }
  TempDir tmp_;
  ScriptedMessages messages_;
};

const char kNoSettings[] =
    "以前に  KIV を利用された形跡がありませんので、\nレジストリを変更する必要はありません。\n"
    "そのまま KIV を起動し、指示に従ってください。";
const char kAlreadyConverted[] =
    "既にレジストリの更新を実行したか、現バージョンが\n新規導入の可能性があるので、これ以上レジストリを\n"
    "更新する必要はありません。";

TEST_F(RegistryConverterTest, NoSettingsAtAllChangesNothing) {
  EXPECT_EQ(Convert(), ConversionOutcome::NoSettings);
  EXPECT_EQ(OnlyText(), kNoSettings);
  EXPECT_FALSE(std::filesystem::exists(Ini()));
  messages_.Clear();
  EXPECT_EQ(Convert(/*deleteAll=*/true), ConversionOutcome::NoSettings);
  EXPECT_EQ(OnlyText(), kNoSettings);
  EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(RegistryConverterTest, MovesTheOldLayoutAndASecondRunFindsNothingToDo) {
  WriteBytes(Ini(), kOldLayout);
  EXPECT_EQ(Convert(), ConversionOutcome::Converted);
  EXPECT_EQ(OnlyText(), "レジストリは更新されました。新しい KIV を起動してください。");

  QSettingsProfile kiv(Ini());
  EXPECT_EQ(kiv.FindString("Setting", "LOGFILE"), "/home/yoruma/logs");
  EXPECT_EQ(kiv.FindInt("Setting", "ArcType"), 1);
  EXPECT_EQ(kiv.FindString("Setting", "WindowPlace"), "3:10:20:310:420");
  EXPECT_EQ(kiv.FindString("Setting", "View"), "150:320");
  EXPECT_EQ(kiv.FindString("Setting", "Cols"), "120:110:40:60:55:50");
  EXPECT_EQ(kiv.FindString("Shell", "ExeFile1"), "/usr/bin/lv");
  EXPECT_EQ(kiv.FindString("Shell", "ExeOpt1"), "-s %D");
  EXPECT_EQ(kiv.FindInt("Setting", "ChkList"), 1);  // not the converter's: kept
  EXPECT_FALSE(kiv.HasSection("Strings"));
  EXPECT_FALSE(kiv.HasSection("Int"));
  for (const char* old : {"show", "y", "x", "height", "width", "Col0", "Col5", "ViewCol", "ViewRow"}) {
    EXPECT_FALSE(kiv.HasValue("Setting", old)) << old;
  }

  std::string converted = ReadBytes(Ini());
  messages_.Clear();
  EXPECT_EQ(Convert(), ConversionOutcome::AlreadyConverted);
  EXPECT_EQ(OnlyText(), kAlreadyConverted);
  EXPECT_EQ(ReadBytes(Ini()), converted);
}

TEST_F(RegistryConverterTest, PresentLayoutBesideOldStringsIsLeftAlone) {
  std::string both = std::string(kOldLayout) + "WindowPlace=1:0:0:480:640\n";
  WriteBytes(Ini(), both);
  EXPECT_EQ(Convert(), ConversionOutcome::AlreadyConverted);
  EXPECT_EQ(OnlyText(), kAlreadyConverted);
  EXPECT_EQ(ReadBytes(Ini()), both);
}

TEST_F(RegistryConverterTest, MissingValuesAndTheTrailingBackslash) {
  struct Case {
    const char* ini;
    const char* logFolder;
    const char* windowPlace;
  };
  const Case cases[] = {
      // Without "show" the window was a normal one; other numbers are 0.
      {"[Strings]\nLOGFILE=/logs\n[Setting]\ny=5\nheight=7\n", "/logs", "1:5:0:12:0"},
      // Exactly one backslash goes.
      {"[Strings]\nLOGFILE=C:\\\\logs\\\\\\\\\n", "C:\\logs\\", "1:0:0:0:0"},
      {"[Strings]\nLOGFILE=\\\\\n", "", "1:0:0:0:0"},
      // Numbers are the 32-bit ones they were stored as.
      {"[Strings]\nExeFile1=x\n[Setting]\nshow=1\ny=4294967295\nheight=2\n", "", "1:4294967295:0:1:0"},
  };
  for (const Case& c : cases) {
    WriteBytes(Ini(), c.ini);
    EXPECT_EQ(Convert(), ConversionOutcome::Converted) << c.ini;
    QSettingsProfile kiv(Ini());
    EXPECT_EQ(kiv.FindString("Setting", "LOGFILE"), c.logFolder) << c.ini;
    EXPECT_EQ(kiv.FindString("Setting", "WindowPlace"), c.windowPlace) << c.ini;
    EXPECT_EQ(kiv.FindString("Setting", "Cols"), "0:0:0:0:0:0") << c.ini;
    EXPECT_EQ(kiv.FindInt("Setting", "ArcType"), 0) << c.ini;
  }
}

TEST_F(RegistryConverterTest, DeleteAllAsksFirst) {
  WriteBytes(Ini(), kOldLayout);
  messages_.Answer(MsgResult::No);
  EXPECT_EQ(Convert(/*deleteAll=*/true), ConversionOutcome::DeleteDeclined);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text, "Tallowick のレジストリ設定を全て削除します。\nよろしいですか？");
  EXPECT_EQ(messages_.boxes[0].style.icon, MsgIcon::Question);
  EXPECT_EQ(messages_.boxes[0].style.buttons, MsgButtons::YesNo);
  EXPECT_EQ(ReadBytes(Ini()), kOldLayout);

  messages_.Clear();
  messages_.Answer(MsgResult::Yes);
  EXPECT_EQ(Convert(/*deleteAll=*/true), ConversionOutcome::AllDeleted);
  ASSERT_EQ(messages_.boxes.size(), 2u);
  EXPECT_EQ(messages_.boxes[1].text, "Tallowick の全てのレジストリ設定は削除されました。");
  EXPECT_EQ(messages_.boxes[1].style.icon, MsgIcon::Information);
  EXPECT_FALSE(QSettingsProfile(Ini()).HasAnyValue());
}

// A store whose changes can't be stored.
class UnwritableStore : public QSettingsProfile {
 public:
  using QSettingsProfile::QSettingsProfile;
  bool Commit() override { return false; }
};

TEST_F(RegistryConverterTest, SettingsThatCannotBeStoredAreNotCalledConverted) {
  WriteBytes(Ini(), kOldLayout);
  {
    UnwritableStore store(Ini());
    EXPECT_EQ(ConvertRegistry(store, messages_, false), ConversionOutcome::NotStored);
    messages_.Answer(MsgResult::Yes);
    EXPECT_EQ(ConvertRegistry(store, messages_, true), ConversionOutcome::NotStored);
  }
  // Only the delete-all question: no success was told.
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].style.buttons, MsgButtons::YesNo);
  ASSERT_EQ(messages_.fileErrors.size(), 2u);
  EXPECT_EQ(messages_.fileErrors[0].file, Ini());
}

}  // namespace
