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
    const commit::Journal::State expected = cut == whole.size()             ? commit::Journal::State::Committed
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
  // A flipped byte in the plan voids its checkpoint.
  std::string flipped = whole;
  flipped[whole.find("MES_01")] = 'X';
  WriteBytes(tmp.Sub("~KIV-cut.JNL"), flipped);
  commit::Journal journal;
  commit::Fault fault;
  bool busy = false;
  ASSERT_TRUE(journal.OpenExisting(tmp.path(), "~KIV-cut.JNL", &busy, &fault));
  EXPECT_EQ(journal.state(), commit::Journal::State::Torn);
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
