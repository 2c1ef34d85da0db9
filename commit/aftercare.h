#pragma once
#include <string>
#include <utility>
#include <vector>

#include "commit/journal.h"

namespace commit {

// The line an old log gets in AR.LST and in the history file: "M", its name
// and its header line (CP932), ended by LF.
std::string RecordLine(const std::string& oldLogName, const std::string& headerLine);
// A dated block of the history file: a blank line, the time line, the lines.
std::string HistoryBlock(const std::string& stamp, const std::string& recordLines);

inline constexpr char kArchiveListFile[] = "AR.LST";

// The name a title log's old log would have as the body log's: archive-form
// names carry the kind mark as their third character.
std::string AsBodyName(std::string name);

// What a split's old logs are owed once the split is done: their block in
// the history file and, when the command asked for it, their lines in
// AR.LST. The live run writes them itself; the split's journal carries them
// so that a run that did not live to write them leaves them to the next.
struct Aftercare {
  std::string historyName;  // the forum's history file
  std::string stamp;        // the time of the split, for the block's time line
  bool exportAsked = false;
  bool archiveForm = true;  // only archive-form old logs get AR.LST lines
  bool titleLog = false;    // a title log's old log shares the line of its body log's twin
  std::vector<std::pair<std::string, std::string>> records;  // old log name, header line

  std::vector<JournalLine> Lines() const;
  static Aftercare FromJournal(const Journal& journal);
};

struct AftercareDone {
  std::vector<std::string> written;  // the files lines were added to
  std::vector<Fault> faults;
};
// Writes what the old logs still standing lack, once: the history block
// unless the file holds its lines already, and an AR.LST line for each old
// log the list does not name yet.
AftercareDone WriteAftercare(const std::string& folder, const Aftercare& care);

}  // namespace commit
