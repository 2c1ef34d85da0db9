#pragma once
#include <ctime>
#include <string>

class CDirectory;

// The history file a forum folder keeps of the old logs made in it: only
// ever appended to, never read back. For each entry with undo records, one
// block: an empty line, a line with the local date and time between two runs
// of "=", then one "M <old log> <header line>" line per record, oldest first.

// path/<folder name>.KIV. The shared log folder's name is its full path, so
// it uses the last component of the path as its name.
std::string UndoHistoryPath(const CDirectory& dir);
std::string UndoHistoryName(const CDirectory& dir);  // the same, within the folder

// Appends the blocks of dir's entries in their present order, each stamped
// with the folder clock's time when it is written. A history file that can't
// be opened is skipped; a block whose writing fails is taken back out again,
// and one cut short by a kill is finished by the next run, so the file never
// ends in half a block. False when any block was not
// written.
// The journals of the splits whose block was written are removed.
bool AppendUndoHistory(CDirectory& dir);

// The time line's text of a block written at t: "2026/12/09 06:45".
std::string UndoHistoryStamp(std::time_t t);
// The text of one entry's block (LF line ends; the file gets CR LF).
class CFileEntry;
std::string FormatUndoHistoryBlock(const CFileEntry& entry, const std::string& localTime);
