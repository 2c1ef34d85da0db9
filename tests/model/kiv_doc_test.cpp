#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/directory.h"
#include "model/kiv_doc.h"
#include "platform/encoding.h"
#include "platform/local_time.h"
#include "ports/memory_profile.h"
#include "tests/support/temp_dir.h"

namespace {

struct RecordingView : CKivView {
  void OnUpdate(int hint) override { hints.push_back(hint); }
  std::vector<int> hints;
};

int StoredInt(const MemoryProfile& p, const std::string& section, const std::string& name) {
  return std::get<int>(p.values().at({section, name}));
}

CFileEntry* AddEntry(CDirectory& dir, const std::string& name, int room, int kind, const std::string& oldLog) {
  auto entry = std::make_unique<CFileEntry>();
  entry->name = name;
  entry->room = room;
  entry->kind = kind;
  CUndo undo;
  undo.generation = 0;
  undo.oldLogName = oldLog;
  undo.headerLine = "- H -";
  entry->undoList.push_back(undo);
  dir.entries.push_back(std::move(entry));
  return dir.entries.back().get();
}

}  // namespace

TEST(KivDoc, AbsentValuesGiveTheDefaultsAndAreWrittenBackAtExit) {
  MemoryProfile profile;
  {
    CKivDoc doc(profile, false);
    EXPECT_EQ(doc.m_nBackUp, 1);
    EXPECT_EQ(doc.m_nBackUpStored, 1);
    EXPECT_EQ(doc.m_nArcType, 0);
    EXPECT_EQ(doc.m_nSepMethod, 0);
    EXPECT_EQ(doc.m_strLogFolder, "");
    EXPECT_EQ(doc.CurrentOrder(), &ByScanOrder);
    doc.m_nArcType = 1;
    doc.m_strExeFile1 = "/usr/bin/viewer";
    EXPECT_TRUE(profile.values().empty()) << "nothing is written before exit";
  }
  EXPECT_EQ(StoredInt(profile, "Setting", "BackUp"), 1);
  EXPECT_EQ(StoredInt(profile, "Setting", "ArcType"), 1);
  EXPECT_EQ(StoredInt(profile, "Setting", "SepMethod"), 0);
  EXPECT_EQ(StoredInt(profile, "Setting", "Sort"), 0);
  EXPECT_EQ(profile.GetProfileString("Shell", "ExeFile1", "?"), "/usr/bin/viewer");
  EXPECT_EQ(profile.GetProfileString("Shell", "ExeOpt1", "?"), "");
  EXPECT_FALSE(profile.Has("Setting", "LOGFILE")) << "the folder is written only when the sheet changes it";
}

TEST(KivDoc, StoredZeroIsKeptAndSortUnpacksItsFourFields) {
  MemoryProfile profile;
  profile.WriteProfileInt("Setting", "BackUp", 0);
  profile.WriteProfileInt("Setting", "Sort", 0x49);
  CKivDoc doc(profile, false);
  EXPECT_EQ(doc.m_nBackUp, 0);
  EXPECT_EQ(doc.m_nSortColumn, 1);
  EXPECT_EQ(doc.m_nSortState0, 1);
  EXPECT_EQ(doc.m_nSortState2, 2);
  EXPECT_EQ(doc.m_nSortState3, 0);
  EXPECT_EQ(doc.PackedSort(), 0x49);
  // Column 1 has no order: the rescanned entries stay in scan order.
  EXPECT_EQ(doc.CurrentOrder(), nullptr);
  doc.m_nSortColumn = 2;
  EXPECT_EQ(doc.CurrentOrder(), &ByKindDescending);
}

TEST(KivDoc, DefaultsModeNeitherReadsNorWritesTheSortOrder) {
  MemoryProfile profile;
  profile.WriteProfileInt("Setting", "Sort", 0x15);
  profile.WriteProfileInt("Setting", "SepMethod", 1);
  {
    CKivDoc doc(profile, true);
    EXPECT_EQ(doc.PackedSort(), 0);
    EXPECT_EQ(doc.m_nSepMethod, 1);
    doc.m_nSortState0 = 2;
  }
  EXPECT_EQ(StoredInt(profile, "Setting", "Sort"), 0x15);
  EXPECT_EQ(StoredInt(profile, "Setting", "SepMethod"), 1);
  EXPECT_TRUE(profile.Has("Setting", "BackUp"));
  EXPECT_TRUE(profile.Has("Shell", "ExeOpt1"));
}

TEST(KivDoc, ColumnClicksCycleTheirOwnStateAndSendHintThree) {
  TempDir tmp;
  MemoryProfile profile;
  CKivDoc doc(profile, false);
  RecordingView view;
  doc.AddView(&view);
  EXPECT_FALSE(doc.ClickSortColumn(0)) << "no folder current";
  CDirectory* dir = doc.folders().Create("F", tmp.path());
  doc.SetCurrentFolder(dir);
  EXPECT_FALSE(doc.ClickSortColumn(0)) << "a folder without entries";
  AddEntry(*dir, "MES_02.LOG", 2, kKindBody, "A")->index = 0;
  AddEntry(*dir, "MES#01.LOG", 1, kKindTitle, "B")->index = 1;
  AddEntry(*dir, "MES_01.LOG", 1, kKindBody, "C")->index = 2;

  EXPECT_FALSE(doc.ClickSortColumn(1));
  ASSERT_TRUE(doc.ClickSortColumn(0));
  EXPECT_EQ(dir->entries[0]->name, "MES_01.LOG");
  EXPECT_EQ(dir->entries[1]->name, "MES#01.LOG");
  ASSERT_TRUE(doc.ClickSortColumn(0));
  ASSERT_TRUE(doc.ClickSortColumn(0));
  EXPECT_EQ(dir->entries[2]->name, "MES_01.LOG") << "state 0 is the scan order again";
  ASSERT_TRUE(doc.ClickSortColumn(2));
  EXPECT_EQ(doc.PackedSort(), 2 * 64 + 1 * 4);
  EXPECT_EQ(view.hints, (std::vector<int>{3, 3, 3, 3}));
  doc.RemoveView(&view);
}

TEST(KivDoc, ANewSharedFolderDiscardsTheFoldersWritingTheirHistories) {
  TempDir tmp;
  MemoryProfile profile;
  profile.WriteProfileString("Setting", "LOGFILE", tmp.path() + "/logs");
  FixedClock clock(plat::MakeLocalTime(1998, 2, 14, 9, 5));
  CKivDoc doc(profile, false, &clock);
  RecordingView view;
  doc.AddView(&view);
  MakeDir(tmp.Sub("F1"));
  CDirectory* dir = doc.folders().Create("F1", tmp.Sub("F1"));
  AddEntry(*dir, "MES_01.LOG", 1, kKindBody, "AR_9802A.LOG");
  doc.SetCurrentFolder(dir);

  DocumentSettings sheet = doc.SettingsForSheet();
  sheet.backUp = 0;
  sheet.exeOpt = "-d %D";
  EXPECT_FALSE(doc.ApplySettings(sheet));
  EXPECT_EQ(doc.m_nBackUp, 1) << "the backup mode changes at the next start";
  EXPECT_EQ(doc.m_nBackUpStored, 0);
  EXPECT_EQ(doc.m_strExeOpt1, "-d %D");
  EXPECT_EQ(doc.CurrentFolder(), dir);
  EXPECT_TRUE(view.hints.empty());

  sheet.logFolder = tmp.path() + "/LOGS";  // other capitals count as a change
  EXPECT_TRUE(doc.ApplySettings(sheet));
  EXPECT_EQ(profile.GetProfileString("Setting", "LOGFILE", ""), tmp.path() + "/LOGS");
  EXPECT_EQ(doc.CurrentFolder(), nullptr);
  EXPECT_EQ(doc.folders().ownedCount(), 0u);
  EXPECT_EQ(view.hints, (std::vector<int>{2}));
  EXPECT_EQ(ReadBytes(tmp.Sub("F1/F1.KIV")),
            "\r\n==================== 1998/02/14 09:05 ====================\r\nM AR_9802A.LOG - H -\r\n");
  doc.RemoveView(&view);
}

TEST(KivDoc, ExitSortsEachFolderByRoomAndKindBeforeItWritesItsHistory) {
  TempDir tmp;
  MemoryProfile profile;
  FixedClock clock(plat::MakeLocalTime(1998, 2, 14, 9, 5));
  {
    CKivDoc doc(profile, false, &clock);
    CDirectory* dir = doc.folders().Create("F1", tmp.path());
    AddEntry(*dir, "MES_02.LOG", 2, kKindBody, "R2BODY");
    AddEntry(*dir, "MES#01.LOG", 1, kKindTitle, "R1TITLE");
    AddEntry(*dir, "MES_01.LOG", 1, kKindBody, "R1BODY");
    doc.SetCurrentFolder(dir);
    doc.Shutdown();
    EXPECT_EQ(doc.CurrentFolder(), nullptr);
    doc.Shutdown();  // a second call does nothing
  }
  const std::string history = ReadBytes(tmp.Sub("F1.KIV"));
  const auto body1 = history.find("R1BODY"), title1 = history.find("R1TITLE"), body2 = history.find("R2BODY");
  ASSERT_NE(body2, std::string::npos);
  EXPECT_LT(body1, title1);
  EXPECT_LT(title1, body2);
}
