#include "model/entry_order.h"

#include <climits>
#include <cstddef>
#include <utility>
#include <vector>

#include "model/directory.h"

namespace {

int Difference(int a, int b) {
  long long d = static_cast<long long>(a) - b;
  if (d > INT_MAX) return INT_MAX;
  if (d < INT_MIN) return INT_MIN;
  return static_cast<int>(d);
}

using Entries = std::vector<std::unique_ptr<CFileEntry>>;

// The pivot is the entry at hi; it stays there until the final swap, since
// j starts below it. An order gives 0 for an entry against itself, so the
// rise of i stops at hi at the latest; the bound only guards against an
// order that does not.
int Partition(Entries& e, int lo, int hi, EntryOrder order) {
  const CFileEntry& pivot = *e[static_cast<std::size_t>(hi)];
  auto at = [&e](int k) -> const CFileEntry& { return *e[static_cast<std::size_t>(k)]; };
  int i = lo - 1;
  int j = hi;
  for (;;) {
    do ++i;
    while (i < hi && order(at(i), pivot) < 0);
    do --j;
    while (j > i && order(at(j), pivot) > 0);
    if (j <= i) break;
    std::swap(e[static_cast<std::size_t>(i)], e[static_cast<std::size_t>(j)]);
  }
  std::swap(e[static_cast<std::size_t>(i)], e[static_cast<std::size_t>(hi)]);
  return i;
}

}  // namespace

int ByScanOrder(const CFileEntry& a, const CFileEntry& b) { return Difference(a.index, b.index); }

int ByRoomAndKind(const CFileEntry& a, const CFileEntry& b) {
  int d = Difference(a.room, b.room);
  return d != 0 ? d : Difference(a.kind, b.kind);
}

int ByRoomAndKindDescending(const CFileEntry& a, const CFileEntry& b) {
  int d = Difference(b.room, a.room);
  return d != 0 ? d : Difference(b.kind, a.kind);
}

int ByKind(const CFileEntry& a, const CFileEntry& b) { return Difference(a.kind, b.kind); }
int ByKindDescending(const CFileEntry& a, const CFileEntry& b) { return Difference(b.kind, a.kind); }
// Sizes pass 2 GiB: compared, not subtracted.
int SizeOrder(std::int64_t a, std::int64_t b) { return a < b ? -1 : a > b ? 1 : 0; }
int BySize(const CFileEntry& a, const CFileEntry& b) { return SizeOrder(a.size, b.size); }
int BySizeDescending(const CFileEntry& a, const CFileEntry& b) { return SizeOrder(b.size, a.size); }

EntryOrder ChooseEntryOrder(int sortColumn, int columnState) {
  static constexpr EntryOrder kFileName[] = {ByScanOrder, ByRoomAndKind, ByRoomAndKindDescending};
  static constexpr EntryOrder kKind[] = {ByScanOrder, ByKind, ByKindDescending};
  static constexpr EntryOrder kSize[] = {ByScanOrder, BySize, BySizeDescending};
  if (columnState < 0 || columnState > 2) return nullptr;
  switch (sortColumn) {
    case 0: return kFileName[columnState];
    case 2: return kKind[columnState];
    case 3: return kSize[columnState];
    default: return nullptr;
  }
}

void SortEntries(CDirectory& dir, EntryOrder order) {
  Entries& e = dir.entries;
  if (e.empty() || !order) return;
  const int n = static_cast<int>(e.size());
  // Pending ranges, innermost on top. Every range below the top was left
  // beside a pivot already in place, so n places always suffice.
  std::vector<int> low(static_cast<std::size_t>(n));
  std::vector<int> high(static_cast<std::size_t>(n));
  low[0] = 0;
  high[0] = n - 1;
  int depth = 1;
  while (depth > 0) {
    std::size_t top = static_cast<std::size_t>(depth - 1);
    int lo = low[top];
    int hi = high[top];
    if (lo >= hi) {
      --depth;
      continue;
    }
    int p = Partition(e, lo, hi, order);
    low[top] = p + 1;
    high[top] = hi;
    low[top + 1] = lo;
    high[top + 1] = p - 1;
    ++depth;
  }
}
