#include "commands/command_notes.h"

#include <vector>

#include "commands/split_command.h"
#include "commands/undo_command.h"
#include "messages/companion_mode.h"
#include "resources/ids.h"

namespace {

// A status line holds a few names; the count says how many there were.
constexpr std::size_t kNamesShown = 5;

std::string Joined(const std::vector<std::string>& items, std::size_t most) {
  std::string list;
  for (std::size_t i = 0; i < items.size() && i < most; ++i) {
    if (i != 0) list += "、";
    list += items[i];
  }
  if (items.size() > most) list += "、…";
  return list;
}

}  // namespace

std::string SplitNote(const CompanionMode& mode, const SplitReport& report) {
  std::string note;
  if (!report.made.empty()) {
    note = FormatCompanionText(mode, ids::kStrNoteSplit, std::to_string(report.made.size()),
                               Joined(report.made, kNamesShown));
  }
  if (!report.leftAlone.empty()) {
    std::vector<std::string> rooms;
    for (const int room : report.leftAlone) rooms.push_back(std::to_string(room));
    if (!note.empty()) note += "  ";
    note += FormatCompanionText(mode, ids::kStrNoteLeftAlone, Joined(rooms, rooms.size()));
  }
  return note;
}

std::string UndoNote(const CompanionMode& mode, const UndoReport& report) {
  if (report.restoredLogs.empty()) return {};
  return FormatCompanionText(mode, ids::kStrNoteUndone, std::to_string(report.restoredLogs.size()),
                             Joined(report.restoredLogs, kNamesShown));
}
