#include "platform/encoding.h"

#include <string>

#include <gtest/gtest.h>

using plat::Cp932ToUtf8;
using plat::Utf8ToCp932;

TEST(Encoding, JapaneseTextRoundTrips) {
  // 会議室 and 雑談, a full-width space, ‥ and ～ (CP932 81 60).
  const std::string sjis = "\x89\xef\x8b\x63\x8e\xba\x81\x40\x8e\x47\x92\x6b\x81\x64\x81\x60";
  const std::string utf8 = "会議室　雑談‥～";
  EXPECT_EQ(Cp932ToUtf8(sjis), utf8);
  EXPECT_EQ(Utf8ToCp932(utf8), sjis);
  EXPECT_EQ(Cp932ToUtf8("MES_05.LOG"), "MES_05.LOG");
}

TEST(Encoding, HalfWidthKanaAreSingleBytes) {
  EXPECT_EQ(Cp932ToUtf8("\xc0\xb2\xc4\xd9"), "ﾀｲﾄﾙ");
  EXPECT_EQ(Utf8ToCp932("ﾀｲﾄﾙ"), "\xc0\xb2\xc4\xd9");
  EXPECT_EQ(Utf8ToCp932("ｳｨﾝﾄﾞｳ"), "\xb3\xa8\xdd\xc4\xde\xb3");
}

TEST(Encoding, TrailByte5CIsNoBackslash) {
  // 表 and ソ end in 0x5C: they stay characters, and a real backslash stays one.
  EXPECT_EQ(Cp932ToUtf8("\x95\x5c\x83\x5c\\"), "表ソ\\");
  EXPECT_EQ(Utf8ToCp932("表ソ\\"), "\x95\x5c\x83\x5c\\");
}

TEST(Encoding, InvalidBytesBecomeReplacementsAndTheRestSurvives) {
  const std::string replacement = "\xEF\xBF\xBD";
  // A lead byte cut off at the end, and one followed by a byte that can't trail it.
  EXPECT_EQ(Cp932ToUtf8("ab\x82"), "ab" + replacement);
  EXPECT_EQ(Cp932ToUtf8("\x81 x"), replacement + " x");
  std::string mixed = Cp932ToUtf8("\x8e\x47\xff\x92\x6b");
  EXPECT_EQ(mixed.rfind("雑", 0), 0u) << mixed;
  EXPECT_NE(mixed.find("談"), std::string::npos) << mixed;

  // Characters CP932 lacks, and UTF-8 cut short, cost only themselves.
  EXPECT_EQ(Utf8ToCp932("A😀B"), "A?B");
  EXPECT_EQ(Utf8ToCp932("\xe3\x81"
                        "AB"),
            "?AB");
  EXPECT_EQ(Utf8ToCp932("\xff"
                        "AB"),
            "?AB");
  EXPECT_EQ(Utf8ToCp932("AB\xe3"), "AB?");
}
