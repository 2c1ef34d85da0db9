#include "commit/split_commit.h"

#include <cerrno>
#include <cstdlib>

#include "platform/file_error.h"
#include "platform/text_writer.h"

namespace commit {

namespace {

namespace jf = journal_format;
namespace key = journal_format::split;

// What the steps of a split's commit need, whether the run that commits is
// alive or a later run finishes it from the journal.
struct SplitFacts {
  std::string folder;
  std::string logName;
  std::string backupName;
  bool replaceBackup = false;
  std::vector<std::string> outputNames;
  std::vector<std::string> tempNames;
  plat::FileIdentity source;                // the log as the split read it (committed only)
  std::vector<plat::FileIdentity> written;  // the temporary files as written (committed only)
  bool committed = false;

  std::string Path(const std::string& name) const { return plat::JoinPath(folder, name); }
  const std::string& NewTemp() const { return tempNames.back(); }
};

bool Identity(const SplitFacts& facts, const std::string& name, plat::FileIdentity* id) {
  return plat::GetFileIdentity(facts.Path(name), id);
}

bool Exists(const SplitFacts& facts, const std::string& name) { return plat::FileExists(facts.Path(name)); }

bool Failed(Fault* fault, std::string subject, int err) {
  *fault = Fault{std::move(subject), err};
  return false;
}

bool LinksUnsupported(int err) { return err == EPERM || err == EOPNOTSUPP || err == EXDEV || err == EMLINK; }

// Gives the backup name the log's file, keeping the log's name on it where the
// file system allows two names; elsewhere the log moves to the backup name
// and its name stays empty until the new file takes it.
bool NameBackup(const SplitFacts& facts, Fault* fault) {
  plat::FileIdentity backup;
  if (Identity(facts, facts.backupName, &backup)) {
    if (backup.SameFile(facts.source)) return true;
    if (!facts.replaceBackup) return Failed(fault, facts.backupName, EEXIST);
    int err = 0;
    if (!plat::DeleteFile(facts.Path(facts.backupName), &err)) return Failed(fault, facts.backupName, err);
  }
  plat::FileIdentity log;
  if (!Identity(facts, facts.logName, &log) || !log.SameFile(facts.source)) {
    return Failed(fault, facts.logName, ESTALE);
  }
  int err = 0;
  if (plat::LinkNoReplace(facts.Path(facts.logName), facts.Path(facts.backupName), &err)) return true;
  if (!LinksUnsupported(err) || !plat::RenameNoReplace(facts.Path(facts.logName), facts.Path(facts.backupName), &err)) {
    return Failed(fault, plat::RenameSubject(facts.logName, facts.backupName), err);
  }
  return true;
}

// Takes every step not yet taken. Each step looks at the folder first, so a
// commit cut short anywhere is finished by running this again.
bool Forward(const SplitFacts& facts, Fault* fault) {
  // The new log takes the log's name last: once it is gone from its
  // temporary name, the commit has reached its end (the log may have moved
  // on since, by an undo or a later split).
  const bool newLogWaiting = Exists(facts, facts.NewTemp());
  if (newLogWaiting && !NameBackup(facts, fault)) return false;
  int err = 0;
  for (std::size_t i = 0; i + 1 < facts.tempNames.size(); ++i) {
    if (!Exists(facts, facts.tempNames[i])) continue;
    if (!plat::RenameNoReplace(facts.Path(facts.tempNames[i]), facts.Path(facts.outputNames[i]), &err)) {
      return Failed(fault, plat::RenameSubject(facts.tempNames[i], facts.outputNames[i]), err);
    }
  }
  if (newLogWaiting) {
    plat::FileIdentity log;
    const std::string logPath = facts.Path(facts.logName);
    const std::string tempPath = facts.Path(facts.NewTemp());
    bool placed = false;
    if (Identity(facts, facts.logName, &log)) {
      // The old file is safe under the backup name too: the new one takes
      // the log's name in one step, and the name never stands empty
      // (invariant (5)).
      if (!log.SameFile(facts.source)) return Failed(fault, facts.logName, EEXIST);
      placed = plat::ReplaceFile(tempPath, logPath, &err);
    } else {
      placed = plat::RenameNoReplace(tempPath, logPath, &err);
    }
    if (!placed) return Failed(fault, plat::RenameSubject(facts.NewTemp(), facts.logName), err);
  }
  // Before the journal goes (invariant (6)).
  if (!plat::SyncFolder(facts.folder, &err)) return Failed(fault, facts.logName, err);
  return true;
}

// Where the file system has no second names, the log moved to the backup
// name, and a host that found no log began a new one under the log's name.
// The backup's messages go back under the log's name with the new ones
// after them, in one step (invariant (5)). A repair cut short part way left
// some of them appended already: only the rest follows.
bool MergeHostLog(const SplitFacts& facts, const plat::FileIdentity& backup, Fault* fault) {
  const std::string backupPath = facts.Path(facts.backupName);
  const std::string logPath = facts.Path(facts.logName);
  std::int64_t appended = backup.size - facts.source.size;
  for (int round = 0; round < 8; ++round) {
    plat::FileStatus log;
    std::string hostBytes, there;
    int err = 0;
    if (!plat::GetFileStatus(logPath, &log, &err) ||
        !plat::ReadFileBytes(logPath, 0, static_cast<std::size_t>(log.size), &hostBytes, &err)) {
      return Failed(fault, facts.logName, err);
    }
    if (appended < 0 || appended > log.size ||
        !plat::ReadFileBytes(backupPath, facts.source.size, static_cast<std::size_t>(appended), &there, &err) ||
        there != hostBytes.substr(0, static_cast<std::size_t>(appended))) {
      // Not what this repair would have appended: nothing is written or replaced.
      return Failed(fault, facts.backupName, err != 0 ? err : ESTALE);
    }
    if (appended < log.size) {
      plat::TextWriter out;
      const bool written = out.Open(backupPath, plat::TextWriter::Mode::Append) &&
                           out.WriteBytes(std::string_view(hostBytes).substr(static_cast<std::size_t>(appended))) &&
                           out.Sync();
      if (!out.Close() || !written) return Failed(fault, facts.backupName, out.error());
      appended = log.size;
    }
    // The host may have written once more meanwhile; then that goes too.
    plat::FileStatus again;
    if (!plat::GetFileStatus(logPath, &again, &err)) return Failed(fault, facts.logName, err);
    if (again.size == log.size) {
      if (!plat::ReplaceFile(backupPath, logPath, &err)) {
        return Failed(fault, plat::RenameSubject(facts.backupName, facts.logName), err);
      }
      return true;
    }
  }
  return Failed(fault, facts.logName, EBUSY);
}

// Puts the folder back as it was before the split: only files the journal
// names, and only while they are still the files it made (invariant (10)).
bool Back(const SplitFacts& facts, Fault* fault) {
  int err = 0;
  for (std::size_t i = 0; i + 1 < facts.tempNames.size() && i < facts.written.size(); ++i) {
    plat::FileIdentity placed;
    if (Identity(facts, facts.outputNames[i], &placed) && placed.SameFile(facts.written[i]) &&
        !plat::DeleteFile(facts.Path(facts.outputNames[i]), &err)) {
      return Failed(fault, facts.outputNames[i], err);
    }
  }
  // The temporary files go last: while the new log's is there, the next
  // run knows this commit did not reach its end.
  plat::FileIdentity backup;
  if (facts.committed && Identity(facts, facts.backupName, &backup) && backup.SameFile(facts.source)) {
    plat::FileIdentity log;
    if (Identity(facts, facts.logName, &log)) {
      if (log.SameFile(facts.source)) {
        // The backup name is the log's second name: dropping it loses nothing.
        if (!plat::DeleteFile(facts.Path(facts.backupName), &err)) return Failed(fault, facts.backupName, err);
      } else if (!MergeHostLog(facts, backup, fault)) {
        return false;
      }
    } else if (!plat::RenameNoReplace(facts.Path(facts.backupName), facts.Path(facts.logName), &err)) {
      return Failed(fault, plat::RenameSubject(facts.backupName, facts.logName), err);
    }
  }
  for (const std::string& temp : facts.tempNames) {
    if (Exists(facts, temp) && !plat::DeleteFile(facts.Path(temp), &err)) return Failed(fault, temp, err);
  }
  if (!plat::SyncFolder(facts.folder, &err)) return Failed(fault, facts.logName, err);
  return true;
}

std::vector<JournalLine> PlanLines(const SplitPlan& plan) {
  std::vector<JournalLine> lines;
  lines.push_back({jf::kOp, {jf::kOpSplit}});
  lines.push_back({key::kLog, {plan.logName}});
  lines.push_back({key::kBackup, {plan.backupName, plan.replaceBackup ? jf::kYes : jf::kNo}});
  for (std::size_t i = 0; i < plan.outputNames.size(); ++i) {
    lines.push_back({key::kOutput, {plan.tempNames[i], plan.outputNames[i]}});
  }
  if (!plan.aftercare.records.empty()) {
    const std::vector<JournalLine> care = plan.aftercare.Lines();
    lines.insert(lines.end(), care.begin(), care.end());
  }
  return lines;
}

JournalLine IdentityLine(const std::string& key, const plat::FileIdentity& id) {
  return {key,
          {std::to_string(id.device), std::to_string(id.inode), std::to_string(id.size),
           std::to_string(static_cast<long long>(id.mtime))}};
}

bool ParseIdentity(const JournalLine& line, plat::FileIdentity* id) {
  if (line.fields.size() != jf::kIdentityFields) return false;
  id->device = std::strtoull(line.fields[0].c_str(), nullptr, 10);
  id->inode = std::strtoull(line.fields[1].c_str(), nullptr, 10);
  id->size = std::strtoll(line.fields[2].c_str(), nullptr, 10);
  id->mtime = static_cast<std::time_t>(std::strtoll(line.fields[3].c_str(), nullptr, 10));
  return true;
}

bool FactsFromJournal(const std::string& folder, const Journal& journal, SplitFacts* facts) {
  facts->folder = folder;
  for (const JournalLine& line : journal.lines()) {
    if (line.key == key::kLog && line.fields.size() == key::kLogFields) {
      facts->logName = line.fields[0];
    } else if (line.key == key::kBackup && line.fields.size() == key::kBackupFields) {
      facts->backupName = line.fields[0];
      facts->replaceBackup = line.fields[1] == jf::kYes;
    } else if (line.key == key::kOutput && line.fields.size() == key::kOutputFields) {
      facts->tempNames.push_back(line.fields[0]);
      facts->outputNames.push_back(line.fields[1]);
    } else if (line.key == key::kSource) {
      if (!ParseIdentity(line, &facts->source)) return false;
    } else if (line.key == key::kWritten) {
      plat::FileIdentity id;
      if (!ParseIdentity(line, &id)) return false;
      facts->written.push_back(id);
    }
  }
  facts->committed = journal.state() == JournalState::Committed;
  if (facts->logName.empty() || facts->backupName.empty() || facts->tempNames.empty()) return false;
  return !facts->committed || facts->written.size() == facts->tempNames.size();
}

// Whether the folder shows steps of the commit that only a committed
// journal allows: the backup name given to the log, or an old log in its
// place. Old logs take names nobody had when the split chose them.
bool CommitHadBegun(const SplitFacts& facts) {
  plat::FileIdentity log, backup;
  const bool haveLog = Identity(facts, facts.logName, &log);
  if (Identity(facts, facts.backupName, &backup) && (!haveLog || backup.SameFile(log))) return true;
  for (std::size_t i = 0; i + 1 < facts.tempNames.size(); ++i) {
    if (!Exists(facts, facts.tempNames[i]) && Exists(facts, facts.outputNames[i])) return true;
  }
  return false;
}

// The facts of a split the live run commits: the plan's names; the log as
// read and the outputs as written come with the commit line.
SplitFacts FactsOfPlan(const SplitPlan& plan) {
  return SplitFacts{.folder = plan.folder,
                    .logName = plan.logName,
                    .backupName = plan.backupName,
                    .replaceBackup = plan.replaceBackup,
                    .outputNames = plan.outputNames,
                    .tempNames = plan.tempNames};
}

}  // namespace

bool SplitCommit::Begin(SplitPlan& plan, Fault* fault) {
  // A backup a split cut short still needs (its messages may be nowhere
  // else until its repair is done) is never replaced (invariant (5)).
  if (plan.replaceBackup && NamedByAJournal(plan.folder, key::kBackup, plan.backupName)) {
    *fault = Fault{plan.backupName, EBUSY};
    return false;
  }
  const std::string id = NewTransactionId();
  plan.tempNames.clear();
  for (std::size_t i = 0; i < plan.outputNames.size(); ++i) plan.tempNames.push_back(TempName(id, i));
  plan_ = plan;
  return journal_->Create(plan.folder, id, PlanLines(plan), fault);
}

void SplitCommit::Abandon() {
  const SplitFacts facts = FactsOfPlan(plan_);
  Fault ignored;
  // Whatever can't be deleted now stays named in the journal, for the next
  // run to take away.
  if (Back(facts, &ignored)) journal_->Remove(&ignored);
}

Outcome SplitCommit::Commit(const plat::FileIdentity& source, Fault* fault) {
  SplitFacts facts = FactsOfPlan(plan_);
  facts.source = source;
  std::vector<JournalLine> lines{IdentityLine(key::kSource, source)};
  for (const std::string& temp : plan_.tempNames) {
    plat::FileIdentity id;
    int err = 0;
    if (!plat::GetFileIdentity(facts.Path(temp), &id, &err)) {
      *fault = Fault{temp, err};
      Abandon();
      return Outcome::TakenBack;
    }
    facts.written.push_back(id);
    lines.push_back(IdentityLine(key::kWritten, id));
    newLog_ = id;  // the log's new file comes last
  }
  // The log as read and the outputs as written are durable before the first
  // rename (invariant (4)).
  if (!journal_->Commit(lines, fault)) {
    Abandon();
    return Outcome::TakenBack;
  }
  facts.committed = true;
  Fault ignored;
  if (Forward(facts, fault)) {
    if (plan_.aftercare.records.empty()) {
      // A journal that can't be deleted is finished again, harmlessly, by the next run.
      journal_->Remove(&ignored);
    } else {
      held_ = journal_;  // until the old logs' lines are written (invariant (7))
    }
    return Outcome::Done;
  }
  if (Exists(facts, facts.NewTemp()) && Back(facts, &ignored)) {
    journal_->Remove(&ignored);
    return Outcome::TakenBack;
  }
  return Outcome::Stuck;
}

SplitRepair RepairSplit(const std::string& folder, const Journal& journal) {
  SplitRepair repair;
  SplitFacts facts;
  if (!FactsFromJournal(folder, journal, &facts)) {
    repair.fault = Fault{journal.name(), EINVAL};
    return repair;
  }
  if (!facts.committed) {
    // The log was never touched (invariant (3)), unless the journal lost its
    // commit block: then nothing it says can be trusted (invariant (11)).
    if (CommitHadBegun(facts)) {
      repair.untrusted = true;
      return repair;
    }
    // Only the outputs being written go.
    repair.outcome = Back(facts, &repair.fault) ? Outcome::TakenBack : Outcome::Stuck;
    return repair;
  }
  plat::FileIdentity log, backup;
  const bool haveLog = Identity(facts, facts.logName, &log);
  const bool haveBackup = Identity(facts, facts.backupName, &backup);
  bool finish = true;
  if (Exists(facts, facts.NewTemp())) {
    // The log's name was not given over yet: finish only when the log is
    // still exactly what the split read, else the host's new messages would
    // be left behind in the backup (invariant (10)).
    finish = haveLog ? log == facts.source : haveBackup && backup == facts.source;
  }
  if (finish) {
    repair.wasWhole = !Exists(facts, facts.NewTemp());
    for (const std::string& temp : facts.tempNames) repair.wasWhole = repair.wasWhole && !Exists(facts, temp);
    if (Forward(facts, &repair.fault)) {
      repair.finished = true;
      repair.outcome = Outcome::Done;
      plat::FileIdentity after;
      repair.onlyInBackup =
          Identity(facts, facts.backupName, &after) && after.SameFile(facts.source) && after.size > facts.source.size;
      return repair;
    }
    // A step that can't be taken (a name taken meanwhile) is no reason to
    // keep the folder half way while the way back is open.
    if (!Exists(facts, facts.NewTemp())) return repair;
  }
  repair.outcome = Back(facts, &repair.fault) ? Outcome::TakenBack : Outcome::Stuck;
  // Where the host made a new log while the old one stood under the backup
  // name, the backup can't go back: its messages are only there.
  plat::FileIdentity after;
  repair.onlyInBackup = Identity(facts, facts.backupName, &after) && after.SameFile(facts.source);
  return repair;
}

}  // namespace commit
