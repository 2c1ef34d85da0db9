#include "model/directory.h"

#include <utility>

#include "model/history_writer.h"
#include "model/undo_history.h"

namespace {
const Clock& ProcessClock() {
  static const SystemClock clock;
  return clock;
}
}  // namespace

CDirectory::CDirectory(std::string folderName, std::string folderPath, const Clock* clock)
    : name(std::move(folderName)), path(std::move(folderPath)), clock_(clock ? clock : &ProcessClock()) {}

CDirectory::~CDirectory() {
  if (historyWriter_) {
    historyWriter_->WriteHistory(*this);
  } else {
    WriteUndoHistory();
  }
  // Nobody is left to be told now: a file the host wrote into is kept.
  for (auto& displaced : displacedLogs) displaced->Settle();
  // The entries, and with them their undo records, go first to last.
  for (auto& entry : entries) entry.reset();
}

const std::string& CDirectory::RoomName(int room) const {
  static const std::string kNone;
  return HasRoomSlot(room) ? roomNames_[static_cast<std::size_t>(room)] : kNone;
}

void CDirectory::SetRoomName(int room, std::string roomName) {
  if (HasRoomSlot(room)) roomNames_[static_cast<std::size_t>(room)] = std::move(roomName);
}

int CDirectory::Generation(int room) const {
  return HasRoomSlot(room) ? generations_[static_cast<std::size_t>(room)] : generationOutsideTable_;
}

void CDirectory::RaiseGeneration(int room) {
  int& counter = HasRoomSlot(room) ? generations_[static_cast<std::size_t>(room)] : generationOutsideTable_;
  ++counter;
}

bool CDirectory::WriteUndoHistory() { return AppendUndoHistory(*this); }

bool CDirectory::HasUndoRecords() const {
  for (const auto& entry : entries) {
    if (entry && !entry->undoList.empty()) return true;
  }
  return false;
}

std::string CDirectory::HistoryFilePath() const { return UndoHistoryPath(*this); }
