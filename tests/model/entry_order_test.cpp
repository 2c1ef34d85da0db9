#include <climits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/directory.h"
#include "model/entry_order.h"
#include "tests/support/temp_dir.h"

namespace {

struct Row {
  std::string name;
  int room = 0;
  int kind = 0;
  int size = 0;
};

class EntryOrderTest : public ::testing::Test {
 protected:
  void Fill(const std::vector<Row>& rows) {
    dir.entries.clear();
    for (const Row& r : rows) {
      auto e = std::make_unique<CFileEntry>();
      e->name = r.name;
      e->room = r.room;
      e->kind = r.kind;
      e->size = r.size;
      e->index = static_cast<int>(dir.entries.size());
      dir.entries.push_back(std::move(e));
    }
  }
  std::string Names() const {
    std::string out;
    for (const auto& e : dir.entries) out += e->name;
    return out;
  }
  TempDir tmp;
  CDirectory dir{"FORUM1", tmp.path()};
};

}  // namespace

// Worked by hand through the partitioning: with the pivot at the end and the
// swaps of equal keys, equal entries do not keep their order.
TEST_F(EntryOrderTest, EqualKeysEndWhereThePartitioningLeavesThem) {
  Fill({{"a", 0, 1}, {"b", 0, 1}, {"c", 0, 1}});
  SortEntries(dir, ByKind);
  EXPECT_EQ(Names(), "bca");

  // (0,4) pivot e: a<->c swapped, then e to place 1 -> c e a d b;
  // (2,4) pivot b: d and b swapped -> c e a b d.
  Fill({{"a", 0, 1}, {"b", 0, 2}, {"c", 0, 1}, {"d", 0, 2}, {"e", 0, 1}});
  SortEntries(dir, ByKind);
  EXPECT_EQ(Names(), "ceabd");

  SortEntries(dir, ByScanOrder);
  EXPECT_EQ(Names(), "abcde");

  // Descending, same keys: (0,4) pivot e: a<->d swapped, e to place 2 ->
  // d b e a c; (0,1) pivot b: b to place 0 -> b d e a c; (3,4) pivot c: c to
  // place 3 -> b d e c a.
  Fill({{"a", 0, 1}, {"b", 0, 2}, {"c", 0, 1}, {"d", 0, 2}, {"e", 0, 1}});
  SortEntries(dir, ByKindDescending);
  EXPECT_EQ(Names(), "bdeca");
}

TEST_F(EntryOrderTest, RoomAndKindPutsBodyBeforeTitleWithinARoom) {
  Fill({{"T5", 5, 2}, {"B1", 1, 1}, {"B5", 5, 1}, {"T1", 1, 2}, {"X0", 0, 0}});
  SortEntries(dir, ByRoomAndKind);
  EXPECT_EQ(Names(), "X0B1T1B5T5");
  SortEntries(dir, ByRoomAndKindDescending);
  EXPECT_EQ(Names(), "T5B5T1B1X0");
}

TEST_F(EntryOrderTest, SizesFarApartDoNotWrapRound) {
  Fill({{"big", 0, 0, INT_MAX}, {"none", 0, 0, -1}, {"mid", 0, 0, 1000}});
  SortEntries(dir, BySize);
  EXPECT_EQ(Names(), "nonemidbig");
  SortEntries(dir, BySizeDescending);
  EXPECT_EQ(Names(), "bigmidnone");
  EXPECT_LT(BySize(*dir.entries[2], *dir.entries[0]), 0);
}

TEST_F(EntryOrderTest, LongerArraysComeOutOrdered) {
  // Already ordered and reverse-ordered input drive the pending-range stack
  // to its greatest depth.
  std::vector<Row> up, down;
  for (int i = 0; i < 200; ++i) {
    up.push_back({"", 0, 0, i});
    down.push_back({"", 0, 0, 200 - i});
  }
  for (const auto& rows : {up, down}) {
    Fill(rows);
    SortEntries(dir, BySize);
    for (std::size_t i = 1; i < dir.entries.size(); ++i) {
      ASSERT_LE(dir.entries[i - 1]->size, dir.entries[i]->size);
    }
    SortEntries(dir, ByScanOrder);
    for (std::size_t i = 0; i < dir.entries.size(); ++i) ASSERT_EQ(dir.entries[i]->index, static_cast<int>(i));
  }
  dir.entries.clear();
  SortEntries(dir, BySize);  // nothing to sort
  EXPECT_TRUE(dir.entries.empty());
}

TEST(EntryOrderChoice, ColumnAndStatePickTheOrder) {
  EXPECT_EQ(ChooseEntryOrder(0, 0), &ByScanOrder);
  EXPECT_EQ(ChooseEntryOrder(0, 1), &ByRoomAndKind);
  EXPECT_EQ(ChooseEntryOrder(0, 2), &ByRoomAndKindDescending);
  EXPECT_EQ(ChooseEntryOrder(2, 0), &ByScanOrder);
  EXPECT_EQ(ChooseEntryOrder(2, 1), &ByKind);
  EXPECT_EQ(ChooseEntryOrder(2, 2), &ByKindDescending);
  EXPECT_EQ(ChooseEntryOrder(3, 1), &BySize);
  EXPECT_EQ(ChooseEntryOrder(3, 2), &BySizeDescending);
  // Column 1 (room name) has no order; nor has a state beyond 2.
  EXPECT_EQ(ChooseEntryOrder(1, 1), nullptr);
  EXPECT_EQ(ChooseEntryOrder(4, 0), nullptr);
  EXPECT_EQ(ChooseEntryOrder(0, 3), nullptr);
  EXPECT_EQ(ChooseEntryOrder(2, -1), nullptr);
}
