// Old-log names: cut points of both methods, the archive letters and the
// serial extensions, and the room's naming state across its two logs.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_messages.h"
#include "engine/log_file.h"
#include "platform/local_time.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace {

using Cuts = std::vector<std::int32_t>;
using Names = std::vector<std::string>;

class NamingTest : public ::testing::Test {
 protected:
  NamingTest() : clock_(plat::MakeLocalTime(1998, 2, 10, 12, 0)), messenger_(port_, mode_) {}

  // A file in the forum folder, to be found by the search.
  void Put(const std::string& name) { WriteBytes(dir_.Sub(name), "x"); }

  // Names one log of room 5; the engine object stays for inspection.
  std::optional<CNameError> Name(const std::string& logName, int number, int lower, int upper,
                                 int form, int method, std::uint32_t& state) {
    auto entry = std::make_unique<CFileEntry>();
    entry->name = logName;
    entry->kind = logName.size() > 3 && logName[3] == '#' ? kKindTitle
                  : logName.size() > 3 && logName[3] == '_' ? kKindBody
                                                            : kKindUnknown;
    entry->room = 5;
    log_ = std::make_unique<CLogFile>(dir_.path(), entry.get(), messenger_, progress_, clock_);
    entries_.push_back(std::move(entry));
    return log_->MakeOldLogNames(number, lower, upper, form, method, state);
  }

  TempDir dir_;
  FixedClock clock_;
  ScriptedMessages port_;
  CompanionMode mode_;
  Messenger messenger_;
  NoProgress progress_;
  std::vector<std::unique_ptr<CFileEntry>> entries_;
  std::unique_ptr<CLogFile> log_;
};

TEST_F(NamingTest, SingleCutIsTheNumberItselfAndThousandsNameTheExtension) {
  std::uint32_t state = kNamingFresh;
  ASSERT_FALSE(Name("MES_05.LOG", 3000, 1, 3500, kFormSerial, kMethodSingle, state));
  EXPECT_EQ(log_->cutPoints(), (Cuts{0, 3000, 0x10000}));
  EXPECT_EQ(log_->names(), (Names{"MES_05.003", "MES_05.LOG"}));
  EXPECT_EQ(state, kNamingFresh);  // this kind keeps no state

  state = kNamingFresh;
  ASSERT_FALSE(Name("MES_05.LOG", 0, 1, 3500, kFormSerial, kMethodSingle, state));
  EXPECT_EQ(log_->cutPoints(), (Cuts{0, 0, 0x10000}));
  EXPECT_EQ(log_->names(), (Names{"MES_05.000", "MES_05.LOG"}));
}

TEST_F(NamingTest, MultipleCutsAtEveryStepBetweenTheRoomsBounds) {
  struct Case {
    int lower, upper;
    Cuts cuts;
    Names names;
  };
  const Case cases[] = {
      {1, 3500, {0, 1000, 2000, 3000, 0x10000}, {"MES_05.001", "MES_05.002", "MES_05.003", "MES_05.LOG"}},
      {1000, 3500, {0, 2000, 3000, 0x10000}, {"MES_05.002", "MES_05.003", "MES_05.LOG"}},
      {10, 999, {0, 999, 0x10000}, {"MES_05.000", "MES_05.LOG"}},
      {10, 1000, {0, 0x10000}, {"MES_05.LOG"}},  // a multiple equal to the top is no cut
  };
  for (const Case& c : cases) {
    std::uint32_t state = kNamingFresh;
    ASSERT_FALSE(Name("MES_05.LOG", 1000, c.lower, c.upper, kFormSerial, kMethodMultiple, state));
    EXPECT_EQ(log_->cutPoints(), c.cuts) << c.lower << "-" << c.upper;
    EXPECT_EQ(log_->names(), c.names) << c.lower << "-" << c.upper;
  }

  // A step of 0 can't advance: no cut rather than an endless loop or a crash.
  std::uint32_t state = kNamingFresh;
  ASSERT_FALSE(Name("MES_05.LOG", 0, 1, 3500, kFormSerial, kMethodMultiple, state));
  EXPECT_EQ(log_->cutPoints(), (Cuts{0, 0x10000}));
}

TEST_F(NamingTest, ThousandsNameThatExistsIsAClashAndNamesThatFile) {
  Put("mes_05.002");  // the host's file system ignores case
  std::uint32_t state = kNamingFresh;
  auto error = Name("MES_05.LOG", 1000, 1, 3500, kFormSerial, kMethodMultiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, kMsgNameClash);
  EXPECT_EQ(error->fileName, "MES_05.002");
  EXPECT_TRUE(state & kNamingError);
  EXPECT_EQ(ReadBytes(dir_.Sub("mes_05.002")), "x");
}

TEST_F(NamingTest, SerialsAreSharedByTheBodyAndTitleLogOfARoom) {
  std::uint32_t state = kNamingFresh;
  ASSERT_FALSE(Name("MES_05.LOG", 2500, 1, 3500, kFormSerial, kMethodSingle, state));
  EXPECT_EQ(log_->names(), (Names{"MES_05.M00", "MES_05.LOG"}));
  EXPECT_EQ(state, 0u);
  ASSERT_FALSE(Name("MES#05.LOG", 2500, 1, 3500, kFormSerial, kMethodSingle, state));
  EXPECT_EQ(log_->names(), (Names{"MES#05.M00", "MES#05.LOG"}));
}

TEST_F(NamingTest, SerialsContinueAfterTheHighestOfEitherLog) {
  Put("MES_05.M05");
  Put("mes#05.m12");
  Put("MES_05.M2X");   // not a serial
  Put("MES_06.M40");   // another room
  Put("MES_05.B00");   // a backup
  std::uint32_t state = kNamingFresh;
  ASSERT_FALSE(Name("MES#05.LOG", 500, 1, 1600, kFormSerial, kMethodMultiple, state));
  EXPECT_EQ(log_->names(), (Names{"MES#05.M13", "MES#05.M14", "MES#05.M15", "MES#05.LOG"}));
  EXPECT_EQ(state, 13u);
  ASSERT_FALSE(Name("MES_05.LOG", 500, 1, 1600, kFormSerial, kMethodMultiple, state));
  EXPECT_EQ(log_->names(), (Names{"MES_05.M13", "MES_05.M14", "MES_05.M15", "MES_05.LOG"}));
}

TEST_F(NamingTest, SerialsStopAtOneHundredForTheWholeRoom) {
  Put("MES_05.M98");
  std::uint32_t state = kNamingFresh;
  auto error = Name("MES_05.LOG", 500, 1, 1600, kFormSerial, kMethodMultiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, kMsgNameOverflow);
  EXPECT_EQ(error->fileName, "MES_05.LOG");
  EXPECT_EQ(state, 0x4000064u);

  error = Name("MES#05.LOG", 500, 1, 1600, kFormSerial, kMethodMultiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, kMsgNameOverflow);
  EXPECT_EQ(error->fileName, "MES#05.LOG");
}

TEST_F(NamingTest, AnEndlessSerialIsHeldAtTheLimit) {
  Put("MES_05.M99999999999999999999");
  std::uint32_t state = kNamingFresh;
  auto error = Name("MES_05.LOG", 2500, 1, 3500, kFormSerial, kMethodSingle, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, kMsgNameOverflow);
}

TEST_F(NamingTest, ArchiveLettersSkipThoseUsedThisMonthByEitherKind) {
  Put("AR_9802A.LOG");
  Put("ar#9802c.log");
  Put("AR_9801B.LOG");  // another month
  std::uint32_t state = kNamingFresh;
  ASSERT_FALSE(Name("MES_05.LOG", 1000, 1, 2500, kFormArchive, kMethodMultiple, state));
  EXPECT_EQ(log_->names(), (Names{"AR_9802B.LOG", "AR_9802D.LOG", "MES_05.LOG"}));
  EXPECT_EQ(state, (1u << 1) | (1u << 3));

  // The title log follows the body log, even once the body log's old logs exist.
  Put("AR_9802B.LOG");
  Put("AR_9802D.LOG");
  ASSERT_FALSE(Name("MES#05.LOG", 1000, 1, 2500, kFormArchive, kMethodMultiple, state));
  EXPECT_EQ(log_->names(), (Names{"AR#9802B.LOG", "AR#9802D.LOG", "MES#05.LOG"}));

  // A log of unknown kind has no mark; the date comes from the clock.
  clock_.Set(plat::MakeLocalTime(2026, 12, 31, 23, 59));
  state = kNamingFresh;
  ASSERT_FALSE(Name("MESX05.LOG", 3000, 1, 3500, kFormArchive, kMethodSingle, state));
  EXPECT_EQ(log_->names(), (Names{"AR2612A.LOG", "MESX05.LOG"}));
}

TEST_F(NamingTest, ZUsedThisMonthStopsTheRoomEvenWithoutAnOldLog) {
  Put("AR#9802Z.LOG");
  std::uint32_t state = kNamingFresh;
  auto error = Name("MES_05.LOG", 1000, 10, 1000, kFormArchive, kMethodMultiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, kMsgNameOverflow);
  EXPECT_EQ(error->fileName, "MES_05.LOG");
  EXPECT_EQ(state, kNamingError);

  // The room's title log is not split alone.
  error = Name("MES#05.LOG", 1000, 10, 1000, kFormArchive, kMethodMultiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->fileName, "MES#05.LOG");
}

TEST_F(NamingTest, LettersRunningOutFailBothLogsOfTheRoom) {
  for (char c = 'A'; c <= 'X'; ++c) Put(std::string("AR_9802") + c + ".LOG");
  std::uint32_t state = kNamingFresh;
  auto error = Name("MES_05.LOG", 1000, 1, 3500, kFormArchive, kMethodMultiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, kMsgNameOverflow);
  EXPECT_EQ(state, (1u << 24) | (1u << 25) | kNamingError);  // Y and Z were given out first

  error = Name("MES#05.LOG", 1000, 1, 3500, kFormArchive, kMethodMultiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, kMsgNameOverflow);
  EXPECT_EQ(error->fileName, "MES#05.LOG");
}

TEST_F(NamingTest, ALetterFollowedIntoAnExistingOldLogIsAClash) {
  // The room's body log was given A, but its split failed and another room
  // took A meanwhile: the title log must not reach that room's old log.
  Put("AR#9802A.LOG");
  std::uint32_t state = 1u << 0;
  auto error = Name("MES#05.LOG", 3000, 1, 3500, kFormArchive, kMethodSingle, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, kMsgNameClash);
  EXPECT_EQ(error->fileName, "AR#9802A.LOG");
  EXPECT_TRUE(state & kNamingError);
}

TEST_F(NamingTest, TheErrorBoxNamesTheFileUnderItsCaption) {
  std::uint32_t state = kNamingFresh;
  Put("MES_05.003");
  auto error = Name("MES_05.LOG", 3000, 1, 3500, kFormSerial, kMethodSingle, state);
  ASSERT_TRUE(error);
  ShowNameError(messenger_, *error);
  ASSERT_EQ(port_.boxes.size(), 1u);
  EXPECT_EQ(port_.boxes[0].text, "MES_05.003:\nこのファイルと同名のファイルが既に存在しています。");
  EXPECT_EQ(port_.boxes[0].caption, "同名ファイル存在エラー");
  EXPECT_EQ(port_.boxes[0].style.icon, MsgIcon::Exclamation);
}

}  // namespace
