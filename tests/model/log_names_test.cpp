#include <climits>

#include <gtest/gtest.h>

#include "model/file_entry.h"
#include "model/leading_number.h"
#include "model/log_names.h"

TEST(LogNames, FolderScanCountsRoomLogsAndTheRoomListInAnyCase) {
  EXPECT_TRUE(CountsAsLogFile("MES_05.LOG"));
  EXPECT_TRUE(CountsAsLogFile("MES#12.LOG"));
  EXPECT_TRUE(CountsAsLogFile("mes_03.log"));
  EXPECT_TRUE(CountsAsLogFile("Mes.Log"));
  // The marks may stand anywhere in the name.
  EXPECT_TRUE(CountsAsLogFile("OLDMES_01.LOG.TXT"));
  EXPECT_FALSE(CountsAsLogFile("MESA.LOG"));
  EXPECT_FALSE(CountsAsLogFile("MES_05.B00"));
  EXPECT_FALSE(CountsAsLogFile("AR_9802A.LOG"));
  EXPECT_FALSE(CountsAsLogFile("MES.LOG.BAK"));
  // A UTF-8 name whose bytes are all above 0x7F is left alone by the folding.
  EXPECT_FALSE(CountsAsLogFile("\xe3\x83\xa1\xe3\x82\xb9.LOG"));
}

TEST(LogNames, KindComesFromTheFourthCharacter) {
  EXPECT_EQ(LogKindFromName("MES_05.LOG"), kKindBody);
  EXPECT_EQ(LogKindFromName("mes_03.log"), kKindBody);
  EXPECT_EQ(LogKindFromName("MES#12.LOG"), kKindTitle);
  EXPECT_EQ(LogKindFromName("MESA.LOG"), kKindUnknown);
  EXPECT_EQ(LogKindFromName("MES"), kKindUnknown);
}

TEST(LogNames, RoomIsReadFromTheFifthCharacterOfTheStem) {
  EXPECT_EQ(RoomFromName("MES_05.LOG"), 5);
  EXPECT_EQ(RoomFromName("MES#12.LOG"), 12);
  EXPECT_EQ(RoomFromName("mes_03.log"), 3);
  EXPECT_EQ(RoomFromName("MESA.LOG"), 0);
  EXPECT_EQ(RoomFromName("MES_.LOG"), 0);
  EXPECT_EQ(RoomFromName("MES_7X.LOG"), 7);
  EXPECT_EQ(RoomFromName("MES_25.LOG"), 25);
  // Only the last extension goes: the stem of MES_1.2.LOG is MES_1.2.
  EXPECT_EQ(RoomFromName("MES_1.2.LOG"), 1);
  EXPECT_EQ(RoomFromName("MES_-3.LOG"), -3);
}

TEST(LeadingNumber, ReadsLikeTheCLibraryButNeverWraps) {
  EXPECT_EQ(LeadingNumber("  \t12 abc"), 12);
  EXPECT_EQ(LeadingNumber("+7"), 7);
  EXPECT_EQ(LeadingNumber("-15x"), -15);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("- 5"), 0);
  EXPECT_EQ(LeadingNumber("2147483647"), INT_MAX);
  EXPECT_EQ(LeadingNumber("-2147483648"), INT_MIN);
  EXPECT_EQ(LeadingNumber("99999999999999999999"), INT_MAX);
  EXPECT_EQ(LeadingNumber("-99999999999999999999"), INT_MIN);
}
