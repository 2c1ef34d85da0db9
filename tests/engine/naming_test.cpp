// Old-log names: cut points, archive letters, serial extensions, and the
// room's naming state shared by its two logs.
#include <gtest/gtest.h>

#include "engine/engine_messages.h"
#include "engine/folder_names.h"
#include "engine/naming_plan.h"
#include "model/file_entry.h"
#include "messages/scripted_messages.h"
#include "platform/local_time.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

using Names = std::vector<std::string>;

// The plans are made against names held here, as a listing of the forum
// folder would give them; no file is read or made.
class NamingTest : public ::testing::Test {
 protected:
  void Put(const std::string& name) { inFolder_.push_back(name); }

  // Names one log (its kind from its fourth character); the plan stays for inspection.
  std::optional<CNameError> Name(const std::string& logName, int number, int lower, int upper, NamingForm form,
                                 SplitMethod method, std::uint32_t& state) {
    return NameIn(FolderNames(inFolder_), logName, number, lower, upper, form, method, state);
  }
  std::optional<CNameError> NameIn(const FolderNames& folder, const std::string& logName, int number, int lower,
                                   int upper, NamingForm form, SplitMethod method, std::uint32_t& state) {
    NamingRequest request;
    request.logName = logName;
    request.kind = logName[3] == '#' ? kKindTitle : logName[3] == '_' ? kKindBody : kKindUnknown;
    request.number = number;
    request.lower = lower;
    request.upper = upper;
    request.form = form;
    request.method = method;
    request.today = today_;
    plan_ = PlanOldLogNames(request, state, folder);
    state = plan_.state;
    return plan_.failure;
  }
  Names Named(const std::string& logName, int number, int lower, int upper, NamingForm form, SplitMethod method,
              std::uint32_t& state) {
    auto error = Name(logName, number, lower, upper, form, method, state);
    EXPECT_FALSE(error) << error->fileName;
    return plan_.names;
  }

  std::time_t today_ = plat::MakeLocalTime(1998, 2, 10);
  Names inFolder_;
  NamingPlan plan_;
};

TEST_F(NamingTest, CutPointsAndThousandsNames) {
  struct Case {
    int number;
    SplitMethod method;
    int lower, upper;
    std::vector<std::int32_t> cuts;
    Names names;
  };
  const Case cases[] = {
      {3000, SplitMethod::Single, 1, 3500, {0, 3000, 65536}, {"MES_05.003"}},
      {0, SplitMethod::Single, 1, 3500, {0, 0, 65536}, {"MES_05.000"}},
      {1000, SplitMethod::Multiple, 1, 3500, {0, 1000, 2000, 3000, 65536}, {"MES_05.001", "MES_05.002", "MES_05.003"}},
      {1000, SplitMethod::Multiple, 1000, 3500, {0, 2000, 3000, 65536}, {"MES_05.002", "MES_05.003"}},
      {1000, SplitMethod::Multiple, 10, 999, {0, 999, 65536}, {"MES_05.000"}},
      {1000, SplitMethod::Multiple, 10, 1000, {0, 65536}, {}},
      {0, SplitMethod::Multiple, 1, 3500, {0, 65536}, {}},  // a zero step cuts nothing instead of looping
  };
  for (const Case& c : cases) {
    std::uint32_t state = kNamingFresh;
    Names expected = c.names;
    expected.push_back("MES_05.LOG");
    EXPECT_EQ(Named("MES_05.LOG", c.number, c.lower, c.upper, NamingForm::Serial, c.method, state), expected);
    EXPECT_EQ(plan_.cutPoints, c.cuts) << c.number << " " << c.lower << "-" << c.upper;
  }

  Put("mes_05.002");  // the host's file system ignores case
  std::uint32_t state = kNamingFresh;
  auto error = Name("MES_05.LOG", 1000, 1, 3500, NamingForm::Serial, SplitMethod::Multiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, ids::kMsgNameClash);
  EXPECT_EQ(error->fileName, "MES_05.002");
  EXPECT_TRUE(state & kNamingError);
}

TEST_F(NamingTest, SerialsContinueForTheRoomAndStopAtOneHundred) {
  std::uint32_t state = kNamingFresh;
  EXPECT_EQ(Named("MES_05.LOG", 2500, 1, 3500, NamingForm::Serial, SplitMethod::Single, state),
            (Names{"MES_05.M00", "MES_05.LOG"}));

  for (const char* name : {"MES_05.M05", "mes#05.m12", "MES_05.M2X", "MES_06.M40"}) Put(name);
  state = kNamingFresh;
  EXPECT_EQ(Named("MES#05.LOG", 500, 1, 1100, NamingForm::Serial, SplitMethod::Multiple, state),
            (Names{"MES#05.M13", "MES#05.M14", "MES#05.LOG"}));
  EXPECT_EQ(Named("MES_05.LOG", 500, 1, 1100, NamingForm::Serial, SplitMethod::Multiple, state),
            (Names{"MES_05.M13", "MES_05.M14", "MES_05.LOG"}));

  Put("MES_05.M98");
  state = kNamingFresh;
  auto error = Name("MES_05.LOG", 500, 1, 1100, NamingForm::Serial, SplitMethod::Multiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, ids::kMsgNameOverflow);
  EXPECT_EQ(error->fileName, "MES_05.LOG");
  EXPECT_EQ(state, 0x4000064u);
  error = Name("MES#05.LOG", 500, 1, 1100, NamingForm::Serial, SplitMethod::Multiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->fileName, "MES#05.LOG");

  Put("MES_07.M99999999999999999999");  // held at the limit, not overflowed
  state = kNamingFresh;
  EXPECT_TRUE(Name("MES_07.LOG", 2500, 1, 3500, NamingForm::Serial, SplitMethod::Single, state));
}

TEST_F(NamingTest, ArchiveLettersAreSharedByTheRoomAndNeverReused) {
  for (const char* name : {"AR_9802A.LOG", "ar#9802c.log", "AR_9801B.LOG"}) Put(name);
  std::uint32_t state = kNamingFresh;
  EXPECT_EQ(Named("MES_05.LOG", 1000, 1, 2500, NamingForm::Archive, SplitMethod::Multiple, state),
            (Names{"AR_9802B.LOG", "AR_9802D.LOG", "MES_05.LOG"}));
  Put("AR_9802B.LOG");
  Put("AR_9802D.LOG");
  EXPECT_EQ(Named("MES#05.LOG", 1000, 1, 2500, NamingForm::Archive, SplitMethod::Multiple, state),
            (Names{"AR#9802B.LOG", "AR#9802D.LOG", "MES#05.LOG"}));

  // The room's body log was given E but could not be split, and another room
  // took E since: the title log must not reach that old log.
  Put("AR#9802E.LOG");
  state = 1u << 4;
  auto error = Name("MES#05.LOG", 3000, 1, 3500, NamingForm::Archive, SplitMethod::Single, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, ids::kMsgNameClash);
  EXPECT_EQ(error->fileName, "AR#9802E.LOG");

  today_ = plat::MakeLocalTime(2026, 12, 31, 23, 59);
  state = kNamingFresh;
  EXPECT_EQ(Named("MESX05.LOG", 3000, 1, 3500, NamingForm::Archive, SplitMethod::Single, state),
            (Names{"AR2612A.LOG", "MESX05.LOG"}));
}

TEST_F(NamingTest, ArchiveLettersRunningOutStopBothLogsOfTheRoom) {
  for (char c = 'A'; c <= 'X'; ++c) Put(std::string("AR_9802") + c + ".LOG");
  std::uint32_t state = kNamingFresh;
  auto error = Name("MES_05.LOG", 1000, 1, 3500, NamingForm::Archive, SplitMethod::Multiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->messageId, ids::kMsgNameOverflow);
  EXPECT_EQ(state, (1u << 24) | (1u << 25) | kNamingError);
  error = Name("MES#05.LOG", 1000, 1, 3500, NamingForm::Archive, SplitMethod::Multiple, state);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->fileName, "MES#05.LOG");

  // Z used this month: no names at all, even where no old log is needed.
  Put("AR#9802Z.LOG");
  state = kNamingFresh;
  ASSERT_TRUE(Name("MES_05.LOG", 1000, 10, 1000, NamingForm::Archive, SplitMethod::Multiple, state));
  EXPECT_EQ(state, kNamingError);
  EXPECT_TRUE(Name("MES#05.LOG", 1000, 10, 1000, NamingForm::Archive, SplitMethod::Multiple, state));
}

TEST_F(NamingTest, AFolderThatCanNotBeListedIsReportedAsSuch) {
  // Without the listing the letters and serials in use are unknown: the
  // naming stops with the listing's error, not with "a file of that name".
  TempDir dir;
  ScriptedMessages port;
  CompanionMode mode;
  Messenger messenger(port, mode);
  InjectedFault unlistable(plat::FileOp::List, dir.path(), EACCES);
  for (const NamingForm form : {NamingForm::Archive, NamingForm::Serial}) {
    std::uint32_t state = kNamingFresh;
    auto error = NameIn(FolderNames::List(dir.path()), "MES_05.LOG", 3000, 1, 3500, form, SplitMethod::Single, state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->listError, EACCES);
    EXPECT_EQ(error->fileName, dir.path());
    EXPECT_TRUE(state & kNamingError);
    ShowNameError(messenger, *error);
  }
  ASSERT_EQ(port.fileErrors.size(), 2u);
}

}  // namespace
