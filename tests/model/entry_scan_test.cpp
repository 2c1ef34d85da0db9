#include "model/entry_scan.h"

#include <cerrno>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/directory.h"
#include "platform/file_ops.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr std::time_t kMonday = 886291200;

class EntryScanTest : public ::testing::Test {
 protected:
  void Put(const std::string& name, const std::string& bytes = "x\r\n", std::time_t mtime = kMonday) {
    WriteBytes(tmp.Sub(name), bytes);
    ASSERT_TRUE(plat::SetFileTime(tmp.Sub(name), mtime));
  }
  std::string Names() const {
    std::string out;
    for (const auto& e : dir.entries) out += e->name + " ";
    return out;
  }
  CFileEntry* Entry(const std::string& name) const {
    for (const auto& e : dir.entries)
      if (e->name == name) return e.get();
    return nullptr;
  }
  static CUndo Undo(const std::string& oldLog) {
    CUndo u;
    u.oldLogName = oldLog;
    u.backupName = "MES_01.B00";
    return u;
  }

  TempDir tmp;
  CDirectory dir{"FORUM1", tmp.path()};
};

}  // namespace

// A name outside ASCII, with 0x5C as the second byte of a CP932 character on
// POSIX, where names are bytes. Windows names are UTF-16 and arrive in UTF-8:
// raw CP932 bytes can't name a file there.
#ifdef _WIN32
const std::string kKanjiName = "MES_\xE8\xA1\xA8.LOG";  // MES_表.LOG
#else
const std::string kKanjiName = "MES_\x95\x5c.LOG";
#endif

TEST_F(EntryScanTest, EveryMesLogButTheRoomListBecomesAnEntry) {
  Put("MES.LOG");
  Put("MES_01.LOG", "body\r\n");
  Put("MES#01.LOG");
  Put("mes_03.log");
  Put("MESA.LOG");
  Put("AR.LST");
  Put("MES_01.B00");
  Put(kKanjiName, std::string("\0\xff\x1a\r", 4));  // binary content
  MakeDir(tmp.Sub("MES_99.LOG"));                   // a folder is no log

  ASSERT_TRUE(RescanEntries(dir, nullptr));
  EXPECT_EQ(Names(), "MES#01.LOG MESA.LOG MES_01.LOG mes_03.log " + kKanjiName + " ");
  struct Want {
    const char* name;
    int kind, room, size;
  };
  for (const Want& w : {Want{"MES#01.LOG", 2, 1, 3}, Want{"MESA.LOG", 0, 0, 3}, Want{"MES_01.LOG", 1, 1, 6},
                        Want{"mes_03.log", 1, 3, 3}, Want{kKanjiName.c_str(), 1, 0, 4}}) {
    CFileEntry* e = Entry(w.name);
    ASSERT_NE(e, nullptr) << w.name;
    EXPECT_EQ(e->kind, w.kind) << w.name;
    EXPECT_EQ(e->room, w.room) << w.name;
    EXPECT_EQ(e->size, w.size) << w.name;
    EXPECT_EQ(e->modificationTime, kMonday) << w.name;
    EXPECT_FALSE(e->RangeKnown()) << w.name;
  }
  for (std::size_t i = 0; i < dir.entries.size(); ++i) EXPECT_EQ(dir.entries[i]->index, static_cast<int>(i));

  // The chosen order applies after the scan; the indexes keep the scan order.
  ASSERT_TRUE(plat::DeleteFile(tmp.Sub(kKanjiName)));
  ASSERT_TRUE(RescanEntries(dir, ByRoomAndKindDescending));
  EXPECT_EQ(Names(), "mes_03.log MES#01.LOG MES_01.LOG MESA.LOG ");
  EXPECT_EQ(Entry("MESA.LOG")->index, 1);
}

TEST_F(EntryScanTest, AnEntrySurvivesOnlyWhenNameAndTimeAreUnchanged) {
  if (RunningUnderWine()) GTEST_SKIP() << "wine keeps a name's case on a rename in case only; NTFS changes it";
  Put("MES_01.LOG");
  Put("MES#01.LOG");
  Put("MES_05.LOG");
  Put("MES_07.LOG");
  Put("AR_9802A.LOG");
  ASSERT_TRUE(RescanEntries(dir, nullptr));
  for (const auto& e : dir.entries) {
    e->lowest = 10;
    e->highest = 99;
    e->headerText = "- FORUM1";
    e->undoList = {Undo("AR_9802A.LOG"), Undo("AR_9802B.LOG")};  // B was never made or is gone
  }
  CFileEntry* kept = Entry("MES_01.LOG");

  // The host appends to MES_05.LOG; MES#01.LOG is renamed in case only;
  // MES_07.LOG goes.
  Put("MES_05.LOG", "x\r\nmore\r\n", kMonday + 1);
  ASSERT_TRUE(plat::RenameNoReplace(tmp.Sub("MES#01.LOG"), tmp.Sub("mes#01.LOG")));
  ASSERT_TRUE(plat::DeleteFile(tmp.Sub("MES_07.LOG")));
  ASSERT_TRUE(RescanEntries(dir, nullptr));

  EXPECT_EQ(Names(), "mes#01.LOG MES_01.LOG MES_05.LOG ");
  ASSERT_EQ(Entry("MES_01.LOG"), kept);
  EXPECT_EQ(kept->lowest, 10);
  EXPECT_EQ(kept->highest, 99);
  EXPECT_EQ(kept->headerText, "- FORUM1");
  EXPECT_EQ(kept->index, 1);
  ASSERT_EQ(kept->undoList.size(), 1u);
  EXPECT_EQ(kept->undoList[0].oldLogName, "AR_9802A.LOG");

  for (const char* fresh : {"mes#01.LOG", "MES_05.LOG"}) {
    CFileEntry* e = Entry(fresh);
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->RangeKnown()) << fresh;
    EXPECT_FALSE(e->CanUndo()) << fresh;
    EXPECT_TRUE(e->headerText.empty()) << fresh;
  }
  // The changed log's splits can't be undone, but their old logs that still
  // stand keep their records for the history and the export.
  ASSERT_EQ(Entry("MES_05.LOG")->undoList.size(), 1u);
  EXPECT_TRUE(Entry("MES_05.LOG")->undoList[0].retired);
  EXPECT_TRUE(Entry("mes#01.LOG")->undoList.empty()) << "another name is another file";
  EXPECT_EQ(Entry("MES_05.LOG")->modificationTime, kMonday + 1);
  EXPECT_EQ(Entry("MES_05.LOG")->size, 9);
}

TEST_F(EntryScanTest, OfTwoEqualEntriesTheFirstSurvives) {
  Put("MES_01.LOG");
  ASSERT_TRUE(RescanEntries(dir, nullptr));
  auto twin = std::make_unique<CFileEntry>(*dir.entries[0]);
  twin->lowest = 5;
  dir.entries.insert(dir.entries.begin(), std::move(twin));
  ASSERT_TRUE(RescanEntries(dir, nullptr));
  ASSERT_EQ(dir.entries.size(), 1u);
  EXPECT_EQ(dir.entries[0]->lowest, 5);
}

TEST_F(EntryScanTest, AFolderThatCannotBeListedKeepsItsEntries) {
  Put("MES_01.LOG");
  Put("AR_9802A.LOG");
  ASSERT_TRUE(RescanEntries(dir, nullptr));
  dir.entries[0]->undoList = {Undo("AR_9802A.LOG")};
  dir.entries[0]->lowest = 3;
  {
    InjectedFault fault(plat::FileOp::List, tmp.path(), EIO);
    EXPECT_FALSE(RescanEntries(dir, ByKind));
    EXPECT_EQ(fault.hits(), 1);
  }
  ASSERT_EQ(dir.entries.size(), 1u);
  EXPECT_EQ(dir.entries[0]->lowest, 3);
  EXPECT_EQ(dir.entries[0]->undoList.size(), 1u);

  CDirectory gone("GONE", tmp.Sub("GONE"));
  EXPECT_FALSE(RescanEntries(gone, nullptr));
  EXPECT_TRUE(gone.entries.empty());
}

TEST_F(EntryScanTest, AFileWhoseStatusCannotBeReadIsJudgedByTheTimeItsSearchGave) {
  Put("MES_01.LOG");
  ASSERT_TRUE(RescanEntries(dir, nullptr));
  dir.entries[0]->lowest = 3;
  dir.entries[0]->undoList.emplace_back();
  dir.entries[0]->undoList.back().oldLogName = "MES_01.LOG";
  {
    InjectedFault fault(plat::FileOp::Status, "/MES_01.LOG", EACCES);
    ASSERT_TRUE(RescanEntries(dir, nullptr));
  }
  // Unchanged by the search's time: the entry keeps its range and records.
  ASSERT_EQ(dir.entries.size(), 1u);
  EXPECT_EQ(dir.entries[0]->lowest, 3);
  EXPECT_EQ(dir.entries[0]->undoList.size(), 1u);
  EXPECT_EQ(dir.entries[0]->modificationTime, kMonday);
}
