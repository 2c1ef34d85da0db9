#pragma once
#include <string>
#include <vector>

#include "commands/backup_watch.h"
#include "commands/command_context.h"
#include "commands/room_selection.h"
#include "commands/split_request.h"

class CDirectory;
class CFileEntry;
class SplitDialogPort;
struct SplitPreview;

// What one split run did to the files it went through.
struct SplitReport {
  int split = 0;                  // files split
  int skipped = 0;                // files left as they were (naming, backup, rename or engine failure)
  bool stoppedChanged = false;    // a file changed before its turn: analysis ran, the command ended
  bool stoppedNaming = false;     // a naming failure ended the command
  bool reachedEnd = false;        // every file visited; the rooms' generations were raised
  bool interrupted = false;       // the user interrupted the program: the command ended there
  int onlyInBackup = 0;           // backups the host wrote to after their split (the user was told)
  BackupWatch backups;            // the backups the run made, to be watched until the program ends
  std::vector<std::string> made;  // the old logs made, in the order made
  std::vector<int> leftAlone;     // rooms of several cut at a point below all their messages: not split
};

struct SplitOutcome {
  enum class Kind {
    Nothing,    // no row selected, or no room to split
    Analysed,   // the freshness check ran the analyse command instead
    Cancelled,  // dialog cancelled
    Declined,   // No at the confirmation
    Busy,       // another program kept the forum: nothing split (the user was told)
    Ran,        // SplitRooms ran; see report
  };
  Kind kind = Kind::Nothing;
  std::string staleFile;  // Analysed: the first file that was not analysed or had changed
  SplitRequest request;   // Declined, Busy, Ran: what the dialog asked for
  SplitReport report;
};

// The first entry of a room in rooms (any kind, selected or not) whose range
// is not known or whose file changed since the system last saw it.
const CFileEntry* FindStaleEntry(const CDirectory& dir, RoomSet rooms);

// The split command (分割実行) over the selected rooms, starting from
// settings: the dialog opens with their form and method, the request takes
// their backups. exportAsked: the command goes on to the header export.
// With preview, the split is only planned (a dry run): the forum is not
// taken, no file is made, and what the split would make goes to preview.
SplitOutcome SplitSelectedRooms(CommandContext& ctx, SplitDialogPort& dialogs, const SplitSettings& settings,
                                bool exportAsked, SplitPreview* preview = nullptr);

// The split command of the desktop program: it starts from the document's
// stored settings, and the form and method chosen become the stored ones
// the next dialog starts from.
SplitOutcome OnSplit(CommandContext& ctx, SplitDialogPort& dialogs, bool exportAsked = false);

// The per-file loop, after the user has confirmed. Of several rooms cut
// under the first method, a room whose logs hold no message at or below its
// cut point is left alone (report.leftAlone) and the others are split.
SplitReport SplitRooms(CommandContext& ctx, const SplitRequest& request);

// The same loop, planning and measuring each split into preview and making
// nothing (report.split counts the files that would be split; report.made
// stays empty); the rooms' generations stay as they are.
SplitReport PreviewSplitRooms(CommandContext& ctx, const SplitRequest& request, SplitPreview& preview);
