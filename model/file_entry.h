#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "model/undo.h"
#include "platform/file_ops.h"

// Log kinds as kept in an entry.
enum LogKind : int {
  kKindUnknown = 0,  // 不明
  kKindBody = 1,     // 本文
  kKindTitle = 2,    // ﾀｲﾄﾙ
  kKindArchive = 4,  // 書庫: shown by the list, never assigned
};

// Message numbers lie in 1..65536; lowest 0 with highest 65536 means "not known".
constexpr int kNoLowest = 0;
constexpr int kNoHighest = 0x10000;

// One log file of a forum folder, with what analysis and splits learnt of it.
class CFileEntry {
 public:
  std::string name;                  // file name within the folder, e.g. MES_05.LOG
  std::time_t modificationTime = 0;  // last-write time as last seen by this system
  int index = -1;                    // position right after the last rescan
  std::int64_t size = -1;            // bytes
  int kind = -1;                     // LogKind
  int lowest = kNoLowest;
  int highest = kNoHighest;
  int room = 0;                 // from the file name
  std::vector<CUndo> undoList;  // oldest split first
  std::string headerText;       // the forum header line found by analysis (CP932)
  // The log as this system's last split or undo of it left it. The host
  // appends to the log while it downloads; the undo puts a backup in the
  // log's place only while the log is still exactly this file.
  plat::FileIdentity logAsLeft;

  // Whether analysis (or a split) found the log's message range: the one
  // test of "not analysed" for the list, the split and the undo.
  bool RangeKnown() const { return lowest >= 1 && highest < kNoHighest; }
  // Whether an undo may still take a split of this log back.
  bool CanUndo() const {
    for (const CUndo& undo : undoList) {
      if (!undo.retired) return true;
    }
    return false;
  }
  // No undo takes the splits made so far back any more; their records stay
  // for the history and the export.
  void RetireUndoRecords() {
    for (CUndo& undo : undoList) undo.retired = true;
  }
  void ForgetRange() {
    lowest = kNoLowest;
    highest = kNoHighest;
  }
};
