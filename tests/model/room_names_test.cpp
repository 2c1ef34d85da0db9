#include <string>

#include <gtest/gtest.h>

#include "model/directory.h"
#include "model/room_names.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kIdeographicSpace = "\x81\x40";
const std::string kZatsudan = "\x8e\x47\x92\x6b";  // 雑談
const std::string kHeading(kRoomTableHeading);

// A room line as the host lays it out: the columns before the name padded
// to 28 bytes, the last gap an ideographic space.
std::string RoomRow(const std::string& columns, const std::string& name) {
  std::string row = columns;
  row.resize(26, ' ');
  return row + kIdeographicSpace + name;
}

class RoomNamesTest : public ::testing::Test {
 protected:
  void LoadWith(const std::string& roomList) {
    WriteBytes(tmp.Sub("MES.LOG"), roomList);
    dir.LoadRoomNames();
  }
  TempDir tmp;
  CDirectory dir{"FORUM1", tmp.path()};
};

}  // namespace

TEST(RoomTable, HeadingIsTheThirtySixByteLine) {
  EXPECT_EQ(kRoomTableHeading.size(), 36u);
  // The name column begins after the two ideographic spaces that follow 最新.
  EXPECT_EQ(kRoomTableHeading.substr(24, 4), kIdeographicSpace + kIdeographicSpace);
  EXPECT_EQ(kRoomTableHeading.substr(28), "\x89\xef\x8b\x63\x8e\xba\x96\xbc");
}

TEST_F(RoomNamesTest, NamesStartAtByteOffset28AfterTheHeading) {
  std::string list = "  1    99 (  0)  99 " + kZatsudan + "\r\n";  // before the heading: not a room
  list += kHeading + "   \r\n";
  list += RoomRow("  1   120 (  3)  1234", kZatsudan + kIdeographicSpace + "A") + "  \t\r\n";
  list += RoomRow(" 12     5 (  0)     5", "Z") + "\r\n";
  list += "  5    12\r\n";                 // shorter than 28 bytes
  list += "\x81\x40\x8d\x87\x8c\x76\r\n";  // 　合計: no number
  list += RoomRow("  1     0 (  0)     0", "NEW") + "\r\n";
  list += "\x1a";
  LoadWith(list);
  // The later line for room 1 replaces the earlier; the ideographic space
  // inside the name is kept, the trailing ASCII white space goes.
  EXPECT_EQ(dir.RoomName(1), "NEW");
  EXPECT_EQ(dir.RoomName(12), "Z");
  EXPECT_EQ(dir.RoomName(5), "");
  EXPECT_EQ(dir.RoomName(2), "");
}

TEST_F(RoomNamesTest, TheRoomListIsFoundInAnyCase) {
  WriteBytes(tmp.Sub("mes.log"), kHeading + "\r\n" + RoomRow("  4", "LOWER") + "\r\n");
  dir.LoadRoomNames();
  EXPECT_EQ(dir.RoomName(4), "LOWER");
}

TEST_F(RoomNamesTest, InnerSpacesOfANameStayAndTrailingOnesGo) {
  LoadWith(kHeading + "\r\n" + RoomRow("  3", kZatsudan + kIdeographicSpace + "A B") + " \r\n");
  EXPECT_EQ(dir.RoomName(3), kZatsudan + kIdeographicSpace + "A B");
}

TEST_F(RoomNamesTest, RoomNumbersWithoutASlotAreIgnored) {
  std::string list = kHeading + "\r\n";
  list += RoomRow("  0", "ZERO") + "\r\n";
  list += RoomRow(" 21", "TWENTYONE") + "\r\n";
  list += RoomRow(" -4", "MINUS") + "\r\n";
  list += RoomRow(" 99999999999", "HUGE") + "\r\n";
  list += RoomRow(" 20", "LAST") + "\r\n";
  LoadWith(list);
  EXPECT_EQ(dir.RoomName(20), "LAST");
  EXPECT_EQ(dir.RoomName(0), "");
  EXPECT_EQ(dir.RoomName(21), "");
  EXPECT_EQ(dir.RoomName(-4), "");
}

TEST_F(RoomNamesTest, WithoutTheHeadingNoNamesAreTaken) {
  // A heading differing in one gap (ASCII space for the ideographic one).
  std::string almost = kHeading;
  almost.replace(4, 2, "  ");
  LoadWith(almost + "\r\n" + RoomRow("  1", "ONE") + "\r\n");
  EXPECT_EQ(dir.RoomName(1), "");
}

TEST_F(RoomNamesTest, MissingOrUnreadableRoomListLeavesNamesEmpty) {
  dir.LoadRoomNames();  // no MES.LOG yet
  EXPECT_EQ(dir.RoomName(1), "");

  WriteBytes(tmp.Sub("MES.LOG"), kHeading + "\r\n" + RoomRow("  1", "ONE") + "\r\n");
  {
    InjectedFault fault(plat::FileOp::Open, "/MES.LOG", EACCES);
    dir.LoadRoomNames();
    EXPECT_EQ(fault.hits(), 1);
  }
  EXPECT_EQ(dir.RoomName(1), "");
  {
    InjectedFault fault(plat::FileOp::Read, "/MES.LOG", EIO);
    dir.LoadRoomNames();
  }
  EXPECT_EQ(dir.RoomName(1), "");
  dir.LoadRoomNames();
  EXPECT_EQ(dir.RoomName(1), "ONE");
}

TEST(RoomSlots, RoomsOutsideTheTableShareOneGenerationCounter) {
  TempDir tmp;
  CDirectory dir("FORUM1", tmp.path());
  dir.SetRoomName(0, "X");
  dir.SetRoomName(21, "X");
  EXPECT_EQ(dir.RoomName(0), "");
  dir.RaiseGeneration(5);
  dir.RaiseGeneration(5);
  dir.RaiseGeneration(0);
  dir.RaiseGeneration(33);
  EXPECT_EQ(dir.Generation(5), 2);
  EXPECT_EQ(dir.Generation(6), 0);
  EXPECT_EQ(dir.Generation(0), 2);
  EXPECT_EQ(dir.Generation(-1), 2);
  EXPECT_EQ(dir.Generation(20), 0);
}

TEST_F(RoomNamesTest, GarbageAndHugeLinesGiveNamesButNoCrash) {
  // Binary bytes before the heading, a room line of 1 MB, then more garbage
  // and a proper line: the long line's name is its first piece (1023 bytes
  // read, from offset 28 on); its later pieces hold no room number.
  std::string garbage;
  for (int i = 0; i < 4096; ++i) {
    char c = static_cast<char>((i * 131 + 7) % 256);
    if (c != '\x1a') garbage += c;  // which would end the file there
  }
  std::string huge = RoomRow("  2", std::string(1 << 20, 'n'));
  LoadWith(garbage + "\r\n" + kHeading + "\r\n" + huge + "\r\n" + RoomRow("  3", "OK") + "\r\n");
  EXPECT_EQ(dir.RoomName(2), std::string(1023 - 28, 'n'));
  EXPECT_EQ(dir.RoomName(3), "OK");

  TempDir other;
  CDirectory folder("FORUM2", other.path());
  MakeDir(other.Sub("MES.LOG"));  // a folder where the room list should be
  folder.LoadRoomNames();
  EXPECT_EQ(folder.RoomName(1), "");
}
