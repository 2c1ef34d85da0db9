#include "commit/folder_repair.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "commit/aftercare.h"
#include "commit/append_commit.h"
#include "commit/journal_format.h"
#include "commit/kept_file.h"
#include "commit/split_commit.h"
#include "commit/undo_commit.h"
#include "platform/dir_search.h"

namespace commit {

namespace {

using Kind = RepairNote::Kind;
namespace jf = journal_format;

// What becomes of a journal once its command is resolved.
enum class Verdict {
  Remove,    // resolved: the journal goes
  Keep,      // not resolved now: tried again by the next run
  SetAside,  // not to be trusted: kept under another name, not acted on
};

std::string Field(const Journal& journal, const std::string& key) {
  const JournalLine* line = journal.Find(key);
  return line && !line->fields.empty() ? line->fields[0] : std::string();
}

// The temporary files whose names carry the journal's own id.
std::vector<std::string> OwnTemps(const std::string& folder, const Journal& journal) {
  std::vector<plat::FoundItem> found;
  std::vector<std::string> own;
  plat::FindFiles(folder, jf::kTempPattern, &found);
  for (const plat::FoundItem& item : found) {
    if (!item.isDirectory && journal.OwnsTemp(item.name)) own.push_back(item.name);
  }
  return own;
}

void TellAftercare(const AftercareDone& done, std::vector<RepairNote>& notes) {
  for (const std::string& name : done.written) notes.push_back({Kind::AppendFinished, name, {}});
  for (const Fault& fault : done.faults) notes.push_back({Kind::Failed, fault.subject, fault});
}

Verdict ResolveSplit(const std::string& folder, const Journal& journal, std::vector<RepairNote>& notes) {
  const std::string log = Field(journal, jf::split::kLog);
  SplitRepair done = RepairSplit(folder, journal);
  if (done.untrusted) return Verdict::SetAside;
  const RepairNote onlyInBackup{Kind::OnlyInBackup, Field(journal, jf::split::kBackup), {}};
  if (done.outcome == Outcome::Stuck) {
    // Told on every run until it is resolved.
    notes.push_back({Kind::Failed, log, done.fault});
    if (done.onlyInBackup) notes.push_back(onlyInBackup);
    return Verdict::Keep;
  }
  // Taken back because a step could not be taken: the user hears why too.
  // A commit found whole had only its old logs' lines left to write.
  if (!done.wasWhole || !done.finished) {
    notes.push_back({done.finished ? Kind::SplitFinished : Kind::SplitTakenBack, log, done.fault});
  }
  if (done.onlyInBackup) {
    // Under its backup name the next split with overwrite would replace it.
    std::string keptAs;
    const std::string backup = Field(journal, jf::split::kBackup);
    notes.push_back({Kind::OnlyInBackup, KeepUnderOwnName(folder, backup, backup, &keptAs) ? keptAs : backup, {}});
  }
  if (done.finished) TellAftercare(WriteAftercare(folder, Aftercare::FromJournal(journal)), notes);
  return Verdict::Remove;
}

Verdict ResolveUndo(const std::string& folder, const Journal& journal, std::vector<RepairNote>& notes) {
  UndoRepair done = RepairUndo(folder, journal);
  if (!done.keptAs.empty()) notes.push_back({Kind::WrittenAfterUndo, done.keptAs, {}});
  if (done.outcome == Outcome::Stuck) {
    notes.push_back({Kind::Failed, Field(journal, jf::undo::kLog), done.fault});
    return Verdict::Keep;
  }
  if (done.outcome == Outcome::Done) notes.push_back({Kind::UndoFinished, Field(journal, jf::undo::kLog), {}});
  return Verdict::Remove;
}

Verdict ResolveAppend(const std::string& folder, const Journal& journal, std::vector<RepairNote>& notes) {
  AppendRepair done = RepairAppend(folder, journal);
  if (done.outcome == Outcome::Stuck) {
    notes.push_back({Kind::Failed, done.fileName, done.fault});
    return Verdict::Keep;
  }
  if (done.outcome == Outcome::Done) notes.push_back({Kind::AppendFinished, done.fileName, {}});
  return Verdict::Remove;
}

Verdict Resolve(const std::string& folder, const Journal& journal, std::vector<RepairNote>& notes) {
  switch (journal.state()) {
    case JournalState::Damaged: return Verdict::SetAside;  // invariant (11)
    case JournalState::Torn:
      // Cut off while it was made, before anything it names existed; its own
      // temporary files say the cut came later, from a damaged disk
      // (invariant (12)).
      return OwnTemps(folder, journal).empty() ? Verdict::Remove : Verdict::SetAside;
    case JournalState::Begun:
    case JournalState::Committed: break;
  }
  if (!NamesStayInside(journal)) return Verdict::SetAside;  // invariant (11)
  const std::string op = Field(journal, jf::kOp);
  if (op == jf::kOpSplit) return ResolveSplit(folder, journal, notes);
  if (op == jf::kOpUndo) return ResolveUndo(folder, journal, notes);
  if (op == jf::kOpAppend) return ResolveAppend(folder, journal, notes);
  return Verdict::SetAside;  // a command of no version this run knows
}

// Keeps an untrusted journal where the user can see it and no later run
// takes it up again; deletes only the temporary files it can prove its own
// (invariant (11)).
void SetAside(const std::string& folder, Journal& journal, std::vector<RepairNote>& notes) {
  for (const std::string& temp : OwnTemps(folder, journal)) plat::DeleteFile(plat::JoinPath(folder, temp));
  const std::string& name = journal.name();
  const std::string stem = name.substr(0, name.size() - (sizeof jf::kJournalSuffix - 1));
  int err = 0;
  for (int n = 0; n < 100; ++n) {
    const std::string aside = stem + (n == 0 ? std::string() : "-" + std::to_string(n)) + jf::kSetAsideSuffix;
    if (plat::RenameNoReplace(plat::JoinPath(folder, name), plat::JoinPath(folder, aside), &err)) {
      plat::SyncFolder(folder);
      notes.push_back({Kind::JournalSetAside, aside, {}});
      return;
    }
    if (err != EEXIST) break;
  }
  notes.push_back({Kind::Failed, name, Fault{name, err}});
}

}  // namespace

std::vector<RepairNote> RepairFolder(const std::string& folder) {
  std::vector<RepairNote> notes;
  std::vector<plat::FoundItem> found;
  if (!plat::FindFiles(folder, jf::kJournalPattern, &found)) return notes;
  std::vector<std::unique_ptr<Journal>> journals;
  for (const plat::FoundItem& item : found) {
    if (item.isDirectory) continue;
    auto journal = std::make_unique<Journal>();
    bool busy = false;
    Fault fault;
    if (!journal->OpenExisting(folder, item.name, &busy, &fault)) {
      if (!busy) notes.push_back({Kind::Failed, item.name, fault});
      continue;
    }
    journals.push_back(std::move(journal));
  }
  // Appends first, for a split's lines look at what the files hold; undos
  // before splits, for an old log an undo deletes is owed no line
  // (invariant (10)).
  auto rank = [](const Journal& journal) {
    const std::string op = Field(journal, jf::kOp);
    return op == jf::kOpAppend ? 0 : op == jf::kOpUndo ? 1 : 2;
  };
  std::stable_sort(journals.begin(), journals.end(), [&](const auto& a, const auto& b) { return rank(*a) < rank(*b); });
  for (auto& journal : journals) {
    Fault fault;
    switch (Resolve(folder, *journal, notes)) {
      case Verdict::Remove:
        if (!journal->Remove(&fault)) notes.push_back({Kind::Failed, journal->name(), fault});
        break;
      case Verdict::Keep: break;
      case Verdict::SetAside: SetAside(folder, *journal, notes); break;
    }
  }
  return notes;
}

}  // namespace commit
