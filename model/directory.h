#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "commit/undo_commit.h"
#include "model/file_entry.h"
#include "ports/clock.h"

class HistoryWriter;

// One forum folder: its log file entries, the room names of its MES.LOG and
// the per-room generation counters of the splits made in this run.
//
// Rooms 1 to 20 have a slot in the two tables. A log whose name gives another
// room number (0, negative, above 20) has no room name, and all such logs of
// the folder share one generation counter kept apart from the table, so that
// their splits still get a backup of their own each time.
class CDirectory {
 public:
  static constexpr int kRoomSlots = 21;  // indexed by room number; slot 0 unused
  static bool HasRoomSlot(int room) { return room >= 1 && room < kRoomSlots; }

  // clock gives the time written into the undo history; null means the
  // system clock. The clock must outlive the folder.
  CDirectory(std::string folderName, std::string folderPath, const Clock* clock = nullptr);
  // Writes the undo history of the entries (through its history writer when
  // it has one), then destroys them.
  ~CDirectory();
  CDirectory(const CDirectory&) = delete;
  CDirectory& operator=(const CDirectory&) = delete;

  std::string name;                                  // own name; for the shared log folder its full path
  std::string path;                                  // full path, no trailing separator
  std::vector<std::unique_ptr<CFileEntry>> entries;  // in the current sort order

  // Room names are CP932 bytes; empty when unknown (also for rooms without a slot).
  const std::string& RoomName(int room) const;
  void SetRoomName(int room, std::string roomName);  // ignored for rooms without a slot

  int Generation(int room) const;
  void RaiseGeneration(int room);

  // Fills the room names from the room table of the folder's MES.LOG; a
  // missing or unreadable file leaves them empty.
  void LoadRoomNames();

  // Appends one dated block per entry with undo records to the folder's
  // history file. False when some block could not be written (nothing is
  // shown: the records go with the folder all the same).
  bool WriteUndoHistory();
  bool HasUndoRecords() const;
  // Who writes the history as the folder goes (null: the folder itself). It
  // must outlive the folder.
  void SetHistoryWriter(HistoryWriter* writer) { historyWriter_ = writer; }

  // The files undos of this run displaced, kept while the host may still
  // write into them; settled when the folder goes.
  std::vector<std::unique_ptr<commit::DisplacedLog>> displacedLogs;

  // path/<name>.KIV; the shared log folder, whose name is a full path, uses
  // the last component of its path instead.
  std::string HistoryFilePath() const;

  const Clock& clock() const { return *clock_; }

 private:
  std::array<int, kRoomSlots> generations_{};
  int generationOutsideTable_ = 0;
  std::array<std::string, kRoomSlots> roomNames_;
  const Clock* clock_;
  HistoryWriter* historyWriter_ = nullptr;
};
