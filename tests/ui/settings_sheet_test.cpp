// The settings sheet, its checks and the first-run dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "messages/companion_mode.h"
#include "messages/scripted_messages.h"
#include "model/kiv_doc.h"
#include "ports/memory_profile.h"
#include "profile/settings_store.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_window.h"
#include "ui/dialogs/folder_browser.h"
#include "ui/settings/folder_text.h"
#include "ui/app/kiv_app.h"
#include "ui/settings/kiv_prop_pages.h"
#include "ui/settings/kiv_prop_sheet.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/modal_run.h"
#include "ui/settings/settings_checks.h"
#include "ui/dialogs/shared_folder_dlg.h"

namespace {

template <typename T>
T* Control(QWidget& w, int id) {
  T* c = w.findChild<T*>(QString::number(id));
  if (!c) throw std::runtime_error("no control " + std::to_string(id));
  return c;
}

void ClickOk(QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("OK"))->click(); }

TEST(FolderText, TrailingSeparatorsGoButNeverTheSecondByteOfACp932Character) {
  std::string one = "/logs/share//";
  RemoveTrailingSeparator(one);
  EXPECT_EQ(one, "/logs/share/");
  RemoveTrailingSeparators(one);
  EXPECT_EQ(one, "/logs/share");

  std::string windows = "C:\\Ferrowyn\\LOG\\\\";
  RemoveTrailingSeparators(windows);
  EXPECT_EQ(windows, "C:\\Ferrowyn\\LOG");

  // "表" in CP932 is 0x95 0x5C: its second byte is not a "\".
  std::string cp932 = "C:\\\x95\x5C";
  EXPECT_FALSE(EndsWithSeparator(cp932));
  RemoveTrailingSeparators(cp932);
  EXPECT_EQ(cp932, "C:\\\x95\x5C");
  std::string cp932Slashed = "C:\\\x95\x5C\\\\";
  RemoveTrailingSeparators(cp932Slashed);
  EXPECT_EQ(cp932Slashed, "C:\\\x95\x5C");
  // A single-byte katakana (0xB1) before the "\" leaves it a character.
  std::string kana = "C:\\\xB1\\";
  RemoveTrailingSeparator(kana);
  EXPECT_EQ(kana, "C:\\\xB1");
  // In UTF-8 a "\" after a multi-byte character is always one ("あ\").
  std::string utf8 = "/logs/\xE3\x81\x82\\";
  RemoveTrailingSeparator(utf8);
  EXPECT_EQ(utf8, "/logs/\xE3\x81\x82");

  std::string root = "/";
  RemoveTrailingSeparators(root);
  EXPECT_EQ(root, "/");
}

struct Voice {
  explicit Voice(int type) {
    mode.m_nCompanionType = type;
    mode.m_strUserName = "ヨルマ";
    mode.m_strHonorific = CompanionHonorific(type);
  }
  CompanionMode mode;
  ScriptedMessages port;
  Messenger messenger{port, mode};
};

TEST(FolderPageCheck, SeparatorsStatusAndChangeQuestion) {
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  MakeDir(dir.Sub("other"));
  WriteBytes(dir.Sub("file.txt"), "x");
  {
    // The stored folder with one separator typed after it: removed, unchanged, no question.
    Voice v(0);
    FolderPageFields f{dir.Sub("logs"), dir.Sub("logs") + "/", true, false};
    EXPECT_EQ(CheckFolderPage(v.messenger, true, f), PageCheck::Leave);
    EXPECT_EQ(f.folder, dir.Sub("logs"));
    EXPECT_TRUE(v.port.boxes.empty());
  }
  {
    // Several: only one goes here, and the folder is still found with the rest.
    Voice v(0);
    FolderPageFields f{dir.Sub("logs"), dir.Sub("logs") + "///", true, false};
    v.port.Answer(MsgResult::No);
    EXPECT_EQ(CheckFolderPage(v.messenger, true, f), PageCheck::StayOnFolder);
    EXPECT_EQ(f.folder, dir.Sub("logs") + "//");
    ASSERT_EQ(v.port.boxes.size(), 1u);
    EXPECT_EQ(v.port.boxes[0].id, ids::kMsgConfirmFolderChange);
  }
  {
    // A file, in the companion's voice: the honorific is the only argument.
    Voice v(2);
    FolderPageFields f{dir.Sub("logs"), dir.Sub("file.txt"), true, false};
    EXPECT_EQ(CheckFolderPage(v.messenger, true, f), PageCheck::StayOnFolder);
    ASSERT_EQ(v.port.boxes.size(), 1u);
    EXPECT_EQ(v.port.boxes[0].text, "そのパス、フォルダじゃないよ。‥‥変なおねえちゃん。");
    EXPECT_EQ(v.port.boxes[0].id, ids::kMsgNotAFolder);
    EXPECT_EQ(v.port.boxes[0].style.icon, MsgIcon::Stop);
  }
  {
    // Nothing there, and the backup flag toggled: told first, then stopped.
    Voice v(0);
    FolderPageFields f{dir.Sub("logs"), dir.Sub("gone"), false, false};
    EXPECT_EQ(CheckFolderPage(v.messenger, true, f), PageCheck::StayOnFolder);
    ASSERT_EQ(v.port.boxes.size(), 2u);
    EXPECT_EQ(v.port.boxes[0].id, ids::kMsgBackUpChangedLater);
    EXPECT_EQ(v.port.boxes[1].id, ids::kMsgBadPath);
  }
  {
    // Another folder, agreed to.
    Voice v(0);
    FolderPageFields f{dir.Sub("logs"), dir.Sub("other"), true, false};
    EXPECT_EQ(CheckFolderPage(v.messenger, true, f), PageCheck::Leave);
    ASSERT_EQ(v.port.boxes.size(), 1u);
    EXPECT_EQ(v.port.boxes[0].id, ids::kMsgConfirmFolderChange);
  }
  {
    // The program page: empty and a folder pass, a missing file does not.
    Voice v(0);
    EXPECT_EQ(CheckProgramPage(v.messenger, ""), PageCheck::Leave);
    EXPECT_EQ(CheckProgramPage(v.messenger, dir.Sub("other")), PageCheck::Leave);
    EXPECT_EQ(CheckProgramPage(v.messenger, dir.Sub("viewer.exe")), PageCheck::StayOnProgram);
    ASSERT_EQ(v.port.boxes.size(), 1u);
    EXPECT_EQ(v.port.boxes[0].id, ids::kMsgProgramMissing);
  }
}

TEST(FirstRunDialog, RefusesAnEmptyPathThenStoresTheFolderWithoutItsSeparators) {
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  MemoryProfile profile;
  ScriptedMessages port;
  ClearModalActions();
  bool stayed = false;
  QueueModalAction([&](QDialog& d) {
    EXPECT_FALSE(Control<QPushButton>(d, ids::kCtlFirstFolderBrowse)->isEnabled());
    ClickOk(d);  // the edit is empty
    stayed = d.isVisible();
    Control<QLineEdit>(d, ids::kCtlFirstFolder)->setText(QString::fromStdString(dir.Sub("logs") + "//"));
    ClickOk(d);
  });
  AskSharedFolderWhenNoneStored(profile, port);
  EXPECT_TRUE(stayed);
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, KivString(ids::kMsgBadPath));  // normal voice, as the mode is not read yet
  EXPECT_EQ(profile.GetProfileString("Setting", "LOGFILE", ""), dir.Sub("logs"));

  // Dismissed: nothing stored.
  MemoryProfile second;
  QueueModalAction([](QDialog& d) { d.reject(); });
  AskSharedFolderWhenNoneStored(second, port);
  EXPECT_FALSE(second.Has("Setting", "LOGFILE"));
  // A folder stored: nothing asked.
  AskSharedFolderWhenNoneStored(profile, port);
  EXPECT_EQ(QueuedModalActions(), 0);
}

TEST(SettingsSheet, AFaultyPageKeepsTheUserThereAndCancelChangesNothing) {
  KivWindow w;
  const DocumentSettings before = w.app().doc().SettingsForSheet();
  bool stayedOnFolderPage = false;
  QueueModalAction([&](QDialog& d) {
    auto& sheet = static_cast<CKivPropSheet&>(d);
    Control<QLineEdit>(d, ids::kCtlLogFolder)->setText(QString::fromStdString(w.Forum("FORUM1") + "/MES_01.LOG"));
    Control<QLineEdit>(d, ids::kCtlProgram)->setText(QStringLiteral("/no/such/viewer"));
    sheet.tabs().setCurrentIndex(1);
    stayedOnFolderPage = sheet.tabs().currentIndex() == 0;
    d.findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
  });
  w.Trigger(ids::kCmdSettings);
  EXPECT_TRUE(stayedOnFolderPage);
  EXPECT_EQ(w.MessageIds(), std::vector<int>{ids::kMsgNotAFolder});
  const DocumentSettings after = w.app().doc().SettingsForSheet();
  EXPECT_EQ(after.logFolder, before.logFolder);
  EXPECT_EQ(after.exeFile, before.exeFile);
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
}

TEST(SettingsSheet, OkHandsTheNewFolderProgramAndFlagsToTheDocument) {
  KivWindow w;
  TempDir other;
  MakeDir(other.Sub("FORUMX"));
  WriteBytes(other.Sub("FORUMX/MES_01.LOG"), "");
  const bool backUpBefore = w.app().doc().m_nBackUp != 0;
  QueueModalAction([&](QDialog& d) {
    auto& sheet = static_cast<CKivPropSheet&>(d);
    Control<QLineEdit>(d, ids::kCtlLogFolder)->setText(QString::fromStdString(other.path() + "//"));
    Control<QCheckBox>(d, ids::kCtlBackUpPerGeneration)->setChecked(!backUpBefore);
    Control<QCheckBox>(d, ids::kCtlCheckArchiveList)->setChecked(true);
    sheet.tabs().setCurrentIndex(1);  // checked: kMsgBackUpChangedLater, then kMsgConfirmFolderChange answered Yes
    Control<QLineEdit>(d, ids::kCtlProgram)->setText(QString::fromStdString(other.path()));
    Control<QLineEdit>(d, ids::kCtlProgramOptions)->setText(QStringLiteral("-d %D"));
    ClickOk(d);
  });
  w.Trigger(ids::kCmdSettings);
  EXPECT_EQ(w.MessageIds(), (std::vector<int>{ids::kMsgBackUpChangedLater, ids::kMsgConfirmFolderChange}));
  CKivDoc& doc = w.app().doc();
  EXPECT_EQ(doc.m_strLogFolder, other.path());
  EXPECT_EQ(doc.m_strExeFile1, other.path());
  EXPECT_EQ(doc.m_strExeOpt1, "-d %D");
  EXPECT_EQ(doc.m_nBackUpStored != 0, !backUpBefore);
  EXPECT_EQ(doc.m_nBackUp != 0, backUpBefore);  // in effect from the next start
  EXPECT_TRUE(w.app().m_bCheckListAtStart);
  EXPECT_EQ(w.app().profile().GetProfileString("Setting", "LOGFILE", ""), other.path());
  EXPECT_NE(w.frame().tree()->FindItem(QStringLiteral("FORUMX")), nullptr);
}

TEST(SettingsSheet, ShowsTheStoredFolderWhileTheRunWorksOnOneGivenForIt) {
  TempDir stored;
  MakeDir(stored.Sub("FORUMS"));
  KivWindow w("--forums 1 --rooms 1", true, "", "[Setting]\nLOGFILE=" + stored.path() + "\n");
  QString shown;
  QueueModalAction([&](QDialog& d) {
    shown = Control<QLineEdit>(d, ids::kCtlLogFolder)->text();
    ClickOk(d);
  });
  w.Trigger(ids::kCmdSettings);
  EXPECT_EQ(shown.toStdString(), stored.path());
  EXPECT_TRUE(w.MessageIds().empty());  // unchanged: no question, and OK closes the sheet
  EXPECT_TRUE(w.unexpectedDialogs().isEmpty());
  EXPECT_EQ(w.app().doc().m_strLogFolder, w.shared());  // this run stays on its folder
  EXPECT_EQ(w.app().profile().GetProfileString("Setting", "LOGFILE", ""), stored.path());
  EXPECT_NE(w.frame().tree()->FindItem(QStringLiteral("FORUM1")), nullptr);
}

TEST(ProgramChooser, OffersEveryFileWhereProgramsHaveNoExtension) {
  TempDir dir;
  WriteBytes(dir.Sub("viewer"), "#!/bin/sh\n");
  QStringList filters;
  QString shownFirst;
  QueueModalAction([&](QDialog& d) {
    auto& chooser = static_cast<QFileDialog&>(d);
    filters = chooser.nameFilters();
    shownFirst = chooser.selectedNameFilter();
    chooser.selectFile(QString::fromStdString(dir.Sub("viewer")));
    d.accept();  // QFileDialog::accept, which checks the choice
  });
  const std::optional<QString> chosen = ChooseExternalProgram(nullptr);
  ASSERT_EQ(filters.size(), 2);
  EXPECT_TRUE(filters[0].contains(QStringLiteral("*.EXE *.COM")));
  EXPECT_TRUE(filters[1].endsWith(QStringLiteral("(*)")));
  EXPECT_EQ(shownFirst, filters[1]);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->toStdString(), dir.Sub("viewer"));
}

}  // namespace
