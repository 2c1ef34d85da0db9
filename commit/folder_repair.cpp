#include "commit/folder_repair.h"

#include <cerrno>

#include "commit/append_commit.h"
#include "commit/split_commit.h"
#include "commit/undo_commit.h"
#include "platform/dir_search.h"

namespace commit {

namespace {

using Kind = RepairNote::Kind;

std::string Field(const Journal& journal, const std::string& key) {
  const JournalLine* line = journal.Find(key);
  return line && !line->fields.empty() ? line->fields[0] : std::string();
}

// Resolves one journal; true when it may go.
bool Resolve(const std::string& folder, const Journal& journal, std::vector<RepairNote>& notes) {
  const std::string op = Field(journal, "op");
  if (journal.state() == Journal::State::Torn) return true;  // written before anything it names existed
  if (op == "split") {
    const std::string log = Field(journal, "log");
    SplitRepair done = RepairSplit(folder, journal);
    if (done.outcome == Outcome::Stuck) {
      notes.push_back({Kind::Failed, log, done.fault});
      return false;
    }
    // Taken back because a step could not be taken: the user hears why too.
    notes.push_back({done.finished ? Kind::SplitFinished : Kind::SplitTakenBack, log, done.fault});
    if (done.onlyInBackup) notes.push_back({Kind::OnlyInBackup, Field(journal, "backup"), {}});
    return true;
  }
  if (op == "undo") {
    UndoRepair done = RepairUndo(folder, journal);
    if (done.outcome == Outcome::Stuck) {
      notes.push_back({Kind::Failed, Field(journal, "log"), done.fault});
      return false;
    }
    if (done.outcome == Outcome::Done) notes.push_back({Kind::UndoFinished, Field(journal, "log"), {}});
    return true;
  }
  if (op == "append") {
    AppendRepair done = RepairAppend(folder, journal);
    if (done.outcome == Outcome::Stuck) {
      notes.push_back({Kind::Failed, done.fileName, done.fault});
      return false;
    }
    if (done.outcome == Outcome::Done) notes.push_back({Kind::AppendFinished, done.fileName, {}});
    return true;
  }
  notes.push_back({Kind::Failed, journal.name(), Fault{journal.name(), EINVAL}});
  return false;
}

}  // namespace

std::vector<RepairNote> RepairFolder(const std::string& folder) {
  std::vector<RepairNote> notes;
  std::vector<plat::FoundItem> journals;
  if (!plat::FindFiles(folder, kJournalPattern, &journals)) return notes;
  for (const plat::FoundItem& item : journals) {
    if (item.isDirectory) continue;
    Journal journal;
    bool busy = false;
    Fault fault;
    if (!journal.OpenExisting(folder, item.name, &busy, &fault)) {
      if (!busy) notes.push_back({Kind::Failed, item.name, fault});
      continue;
    }
    if (Resolve(folder, journal, notes) && !journal.Remove(&fault)) {
      notes.push_back({Kind::Failed, item.name, fault});
    }
  }
  return notes;
}

}  // namespace commit
