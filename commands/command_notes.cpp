#include "commands/command_notes.h"

#include <vector>

#include "commands/split_command.h"
#include "commands/undo_command.h"
#include "messages/companion_mode.h"
#include "resources/ids.h"

namespace {

// A status line holds a few names; the count says how many there were.
constexpr std::size_t kNamesShown = 5;

std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) {
    if (i != 0) list += "、";
    list += names[i];
  }
  if (names.size() > kNamesShown) list += "、…";
  return list;
}

}  // namespace

std::string SplitNote(const CompanionMode& mode, const SplitReport& report) {
  std::string note;
  if (!report.made.empty()) {
    note = FormatCompanionText(mode, ids::kStrNoteSplit, std::to_string(report.made.size()), NameList(report.made));
  }
  if (!report.leftAlone.empty()) {
    std::string rooms;
    for (const int room : report.leftAlone) {
      if (!rooms.empty()) rooms += "、";
      rooms += std::to_string(room);
    }
    if (!note.empty()) note += "  ";
    note += FormatCompanionText(mode, ids::kStrNoteLeftAlone, rooms);
  }
  return note;
}

std::string UndoNote(const CompanionMode& mode, const UndoReport& report) {
  if (report.restoredLogs.empty()) return {};
  return FormatCompanionText(mode, ids::kStrNoteUndone, std::to_string(report.restoredLogs.size()),
                             NameList(report.restoredLogs));
}
