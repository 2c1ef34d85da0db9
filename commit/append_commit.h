#pragma once
#include <string>

#include "commit/journal.h"
#include "commit/journal_format.h"

namespace commit {

// Appending lines to a list the host or the user keeps (AR.LST, the history
// file): the journal holds the lines and the file's length before, so an
// append cut short is finished by the next run, never left with half a line.

// Turns text with LF line ends into the file's form (CR LF).
std::string HostLineEnds(const std::string& text);

struct AppendResult {
  Outcome outcome = Outcome::TakenBack;  // TakenBack: the file is as it was
  Fault fault;
};
// Appends bytes (in the file's form) to folder/name, creating it when missing,
// and makes them durable. A name that is a link out of the folder, or to no
// regular file, is not written through (the fault says why).
AppendResult AppendDurably(const std::string& folder, const std::string& name, const std::string& bytes);

struct AppendRepair {
  Outcome outcome = Outcome::Stuck;  // Done: finished; TakenBack: it had not begun
  std::string fileName;
  Fault fault;
};
AppendRepair RepairAppend(const std::string& folder, const Journal& journal);

}  // namespace commit
