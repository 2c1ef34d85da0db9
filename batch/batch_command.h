#pragma once
#include <optional>
#include <string>
#include <vector>

#include "commands/room_selection.h"
#include "ports/split_forms.h"

// One command of kiv-batch, from its command line or from a line of a
// session script.
struct BatchCommand {
  enum class Verb { List, Analyze, Split, Undo, Export };
  Verb verb = Verb::List;
  RoomSet rooms = 0;
  bool roomsGiven = false;
  std::optional<int> number;     // split: the dialog's number; else as the dialog proposes
  std::optional<int> kindIndex;  // split: kKindIndex*; else as the dialog preselects
  SplitMethod method = SplitMethod::Single;
  NamingForm form = NamingForm::Archive;
  bool bak = false;
  bool overwrite = false;
  bool exportAfter = false;
  bool dryRun = false;  // split: read and plan, print what would be made, make nothing
  bool json = false;    // list, analyze: the rows as JSON objects, one a line

  // Whether the command changes the forum folder (and so its run must hold
  // the forum); the list, the analysis and a dry run only read it.
  bool Writes() const { return (verb == Verb::Split && !dryRun) || verb == Verb::Undo || verb == Verb::Export; }
};

// kiv-batch maintain: the upkeep of every forum folder of a shared log
// folder, each room split where its logs hold messages at or below its cut
// number.
struct MaintainCommand {
  enum class Cut {
    Proposed,  // the number the split dialog proposes for the room
    Keep,      // the room's highest number less value: the newest value messages stay
    Number,    // value itself
  };
  std::vector<std::string> forums;  // folder names; empty: every forum folder
  RoomSet rooms = 0;
  bool roomsGiven = false;
  Cut cut = Cut::Proposed;
  int value = 0;
  bool exportAfter = false;
  // A backup of an earlier run in the way is replaced (its split's messages
  // are all in that split's old logs and the log): what a run every month needs.
  bool overwrite = false;
  // Each forum's AR.LST brought in line with the files on disk after its run,
  // as TORBLEN's silent run does it.
  bool checkLists = false;
  // Reads and plans only: prints what each forum's run would make and drop,
  // and touches no file.
  bool dryRun = false;
  bool json = false;  // the summary (and a dry run's plan) as JSON objects, one a line
};

// Parses words ("maintain" first, then its options; no folder), as
// ParseBatchCommand does.
bool ParseMaintainCommand(const std::vector<std::string>& words, MaintainCommand& command, std::string& error);

// Parses words (the verb first, then its options; no folder). False with a
// reason in error for anything the contract does not allow.
bool ParseBatchCommand(const std::vector<std::string>& words, BatchCommand& command, std::string& error);

// "1,3,20": rooms 1 to 20 separated by commas.
bool ParseRoomList(const std::string& text, RoomSet& rooms);

// The words of a session line; empty for a blank line or a comment ("#").
std::vector<std::string> SessionLineWords(const std::string& line);
