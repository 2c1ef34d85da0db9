#include "platform/local_time.h"

#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "ports/clock.h"

namespace {

// The test suite runs in Japanese time; make sure of it when the binary is
// started by hand as well.
class LocalTimeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
#ifdef _WIN32
    // Windows' C runtime knows no zone names: Japanese time is given in its
    // own form, nine hours ahead of UTC and no summer time.
    ::_putenv_s("TZ", "JST-9");
    ::_tzset();
#else
    ::setenv("TZ", "Asia/Tokyo", 1);
    ::tzset();
#endif
  }
};

}  // namespace

TEST_F(LocalTimeTest, TheThreeFormatsThroughAFixedClock) {
  FixedClock clock(plat::MakeLocalTime(1998, 2, 3, 4, 5, 6));
  EXPECT_EQ(plat::FormatLocalTime(clock.Now(), "%y%m"), "9802");
  EXPECT_EQ(plat::FormatLocalTime(clock.Now(), "%y/%m/%d"), "98/02/03");
  EXPECT_EQ(plat::FormatLocalTime(clock.Now(), "%Y/%m/%d %H:%M"), "1998/02/03 04:05");

  // Across the turn of the century the two-digit year wraps, the month follows.
  clock.Set(plat::MakeLocalTime(1999, 12, 31, 23, 59, 59));
  EXPECT_EQ(plat::FormatLocalTime(clock.Now(), "%y%m"), "9912");
  clock.Set(clock.Now() + 1);
  EXPECT_EQ(plat::FormatLocalTime(clock.Now(), "%y%m"), "0001");
  EXPECT_EQ(plat::FormatLocalTime(clock.Now(), "%Y/%m/%d %H:%M"), "2000/01/01 00:00");
}

TEST_F(LocalTimeTest, LocalMeansJapaneseTimeHere) {
  // 1998-02-01 00:00 UTC is 09:00 in Tokyo.
  EXPECT_EQ(plat::FormatLocalTime(886291200, "%Y/%m/%d %H:%M"), "1998/02/01 09:00");
  EXPECT_EQ(plat::MakeLocalTime(1998, 2, 1, 9, 0, 0), 886291200);
}
