// The journal: a journal cut off anywhere while it was written is never
// taken for more than it is, and a live run's journal is left to it.
#include <gtest/gtest.h>

#include "commit/journal.h"
#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(Journal, ACutOffJournalIsNeverTakenForMoreThanItIs) {
  TempDir tmp;
  std::string whole;
  {
    commit::Journal journal;
    commit::Fault fault;
    ASSERT_TRUE(journal.Create(tmp.path(), "0123456789ab",
                               {{"op", {"split"}}, {"log", {"MES_01.LOG"}}, {"output", {"a b", "100%\r\n"}}}, &fault));
    ASSERT_TRUE(journal.Commit({{"source", {"1", "2", "3", "4"}}}, &fault));
    whole = ReadBytes(tmp.Sub(commit::JournalName("0123456789ab")));
  }
  const std::size_t begin = whole.find("begin ");
  const std::size_t commitLine = whole.find("commit ");
  ASSERT_NE(begin, std::string::npos);
  ASSERT_NE(commitLine, std::string::npos);
  for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
    WriteBytes(tmp.Sub("~KIV-cut.JNL"), whole.substr(0, cut));
    commit::Journal journal;
    commit::Fault fault;
    bool busy = false;
    ASSERT_TRUE(journal.OpenExisting(tmp.path(), "~KIV-cut.JNL", &busy, &fault)) << cut;
    const commit::Journal::State expected = cut == whole.size()                  ? commit::Journal::State::Committed
                                            : cut >= whole.find('\n', begin) + 1 ? commit::Journal::State::Begun
                                                                                 : commit::Journal::State::Torn;
    EXPECT_EQ(journal.state(), expected) << "cut at " << cut;
    if (journal.state() != commit::Journal::State::Torn) {
      // Names with spaces, percent signs and line ends come back as they were.
      const commit::JournalLine* output = journal.Find("output");
      ASSERT_NE(output, nullptr);
      EXPECT_EQ(output->fields, (std::vector<std::string>{"a b", "100%\r\n"}));
      EXPECT_EQ(journal.Find("source") != nullptr, journal.state() == commit::Journal::State::Committed);
    }
  }
  // What no run writes is damaged, never torn: a damaged journal is kept for
  // the user, a torn one deleted. Past a whole checkpoint, zeros are the torn
  // tail a power cut may leave.
  std::string flipped = whole;
  flipped[whole.find("MES_01")] = 'X';
  std::string random;
  for (int i = 0; i < 300; ++i) random += static_cast<char>((i * 7919 + 13) % 251);
  const std::string committed = whole.substr(0, whole.find('\n', begin) + 1);
  struct Case {
    const char* what;
    std::string bytes;
    commit::Journal::State state;
  };
  for (const Case& c :
       {Case{"a flipped byte in the plan", flipped, commit::Journal::State::Damaged},
        Case{"zeros", std::string(400, '\0'), commit::Journal::State::Damaged},
        Case{"random bytes", random, commit::Journal::State::Damaged},
        Case{"another version", "KIV-JOURNAL 2\nop split\n", commit::Journal::State::Damaged},
        Case{"a plan cut, then zeros", whole.substr(0, begin) + std::string(9, '\0'), commit::Journal::State::Damaged},
        Case{"a begun journal, then zeros", committed + std::string(9, '\0'), commit::Journal::State::Begun}}) {
    WriteBytes(tmp.Sub("~KIV-cut.JNL"), c.bytes);
    commit::Journal journal;
    commit::Fault fault;
    bool busy = false;
    ASSERT_TRUE(journal.OpenExisting(tmp.path(), "~KIV-cut.JNL", &busy, &fault)) << c.what;
    EXPECT_EQ(journal.state(), c.state) << c.what;
  }
}

TEST(Journal, OnlyPlainNamesAndItsOwnTemporaryFilesAreTrusted) {
  for (const char* bad : {"", ".", "..", "../outside.txt", "a/b", "/etc/passwd", "x\ry"}) {
    EXPECT_FALSE(commit::IsPlainName(bad)) << bad;
  }
#ifdef _WIN32
  EXPECT_FALSE(commit::IsPlainName("..\\outside.txt"));
  EXPECT_FALSE(commit::IsPlainName("C:outside.txt"));
#endif
  EXPECT_TRUE(commit::IsPlainName("MES_01.LOG"));
  TempDir tmp;
  commit::Journal journal;
  commit::Fault fault;
  ASSERT_TRUE(journal.Create(tmp.path(), "0123456789ab", {{"op", {"split"}}}, &fault));
  EXPECT_TRUE(journal.OwnsTemp("~KIV-0123456789ab-0.TMP"));
  EXPECT_TRUE(journal.OwnsTemp("~KIV-0123456789ab-12.TMP"));
  for (const char* other : {"~KIV-0123456789ac-0.TMP", "~KIV-0123456789ab-.TMP", "~KIV-0123456789ab-0.LOG",
                            "MES_01.LOG", "~KIV-0123456789ab-0/../x.TMP"}) {
    EXPECT_FALSE(journal.OwnsTemp(other)) << other;
  }
}

TEST(Journal, ALiveRunsJournalIsLeftToIt) {
  TempDir tmp;
  commit::Journal live;
  commit::Fault fault;
  ASSERT_TRUE(live.Create(tmp.path(), "feedfacecafe", {{"op", {"append"}}}, &fault));
  commit::Journal other;
  bool busy = false;
  EXPECT_FALSE(other.OpenExisting(tmp.path(), live.name(), &busy, &fault));
  EXPECT_TRUE(busy);
  ASSERT_TRUE(live.Remove(&fault));
  EXPECT_FALSE(plat::FileExists(tmp.Sub(live.name())));
}

}  // namespace
