#include "commit/undo_commit.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "commit/kept_file.h"
#include "platform/file_error.h"

namespace commit {

namespace {

namespace jf = journal_format;
namespace key = journal_format::undo;

JournalLine NamedIdentity(const std::string& key, const std::string& name, const plat::FileIdentity& id) {
  return {key, {name, std::to_string(id.device), std::to_string(id.inode)}};
}

JournalLine DisplacedLine(const std::string& temp, const plat::FileIdentity& id) {
  return {key::kDisplaced,
          {temp, std::to_string(id.device), std::to_string(id.inode), std::to_string(id.size),
           std::to_string(static_cast<long long>(id.mtime))}};
}

bool ParseNamed(const JournalLine& line, std::string* name, plat::FileIdentity* id) {
  if (line.fields.size() < key::kNamedFields) return false;
  *name = line.fields[0];
  id->device = std::strtoull(line.fields[1].c_str(), nullptr, 10);
  id->inode = std::strtoull(line.fields[2].c_str(), nullptr, 10);
  if (line.fields.size() == key::kDisplacedFields) {
    id->size = std::strtoll(line.fields[3].c_str(), nullptr, 10);
    id->mtime = static_cast<std::time_t>(std::strtoll(line.fields[4].c_str(), nullptr, 10));
  }
  return true;
}

struct UndoFacts {
  std::string folder;
  std::string logName;
  std::string backupName;
  plat::FileIdentity backup;
  std::vector<std::pair<std::string, plat::FileIdentity>> oldLogs;
  std::string displacedName;     // the split's new log, once the backup displaced it
  plat::FileIdentity displaced;  // the log as the undo last saw it
  std::string Path(const std::string& name) const { return plat::JoinPath(folder, name); }
};

bool LinksUnsupported(int err) { return err == EPERM || err == EOPNOTSUPP || err == EXDEV || err == EMLINK; }

// The displaced file, once nobody may write into it unseen any more: kept
// under a name of its own when the host wrote into it since the undo
// looked, else deleted (invariant (8)). False when it could be neither.
bool SettleDisplaced(const UndoFacts& facts, std::string* keptAs) {
  plat::FileIdentity now;
  if (facts.displacedName.empty() || !plat::GetFileIdentity(facts.Path(facts.displacedName), &now)) return true;
  if (now.SameFile(facts.displaced) && now.size == facts.displaced.size && now.mtime == facts.displaced.mtime) {
    return plat::DeleteFile(facts.Path(facts.displacedName)) && plat::SyncFolder(facts.folder);
  }
  return KeepUnderOwnName(facts.folder, facts.displacedName, facts.logName, keptAs);
}

// Deletes the old logs that are still the files the undo saw (invariant (8)),
// and syncs the folder before the journal may go (invariant (6)).
void DeleteOldLogs(const UndoFacts& facts, int* oldLogsLeft) {
  for (const auto& [name, id] : facts.oldLogs) {
    plat::FileIdentity now;
    int statusErr = 0;
    if (plat::GetFileIdentity(facts.Path(name), &now, &statusErr)) {
      if (now.SameFile(id) && !plat::DeleteFile(facts.Path(name))) ++*oldLogsLeft;
    } else if (statusErr != ENOENT) {
      ++*oldLogsLeft;
    }
  }
  plat::SyncFolder(facts.folder);
}

// Gives the log's file a second, temporary name, then puts the backup in
// the log's place in one step (invariant (5)). Where the file system has no second names,
// the log moves to the temporary name and its own name stands empty until
// the backup takes it. TakenBack: the log is as it was; Stuck: neither
// could be reached, and the journal names what is left.
Outcome PlaceBackup(const UndoFacts& facts, Fault* fault) {
  const std::string log = facts.Path(facts.logName);
  const std::string temp = facts.Path(facts.displacedName);
  int err = 0;
  bool linked = plat::LinkNoReplace(log, temp, &err);
  if (!linked && (!LinksUnsupported(err) || !plat::RenameNoReplace(log, temp, &err))) {
    *fault = Fault{plat::RenameSubject(facts.logName, facts.displacedName), err};
    return Outcome::TakenBack;
  }
  const std::string backup = facts.Path(facts.backupName);
  if (linked ? plat::ReplaceFile(backup, log, &err) : plat::RenameNoReplace(backup, log, &err)) return Outcome::Done;
  *fault = Fault{plat::RenameSubject(facts.backupName, facts.logName), err};
  // Back as it was: the second name goes, or the log's file takes its name again.
  const bool back = linked ? plat::DeleteFile(temp) : plat::RenameNoReplace(temp, log);
  return back ? Outcome::TakenBack : Outcome::Stuck;
}

}  // namespace

DisplacedLog::DisplacedLog(std::unique_ptr<Journal> journal, std::string folder, std::string logName,
                           std::string tempName, const plat::FileIdentity& seen)
    : journal_(std::move(journal)),
      folder_(std::move(folder)),
      logName_(std::move(logName)),
      tempName_(std::move(tempName)),
      seen_(seen) {}

DisplacedLog::~DisplacedLog() = default;

std::string DisplacedLog::Check() {
  std::string keptAs;
  plat::FileIdentity now;
  if (settled_ || !plat::GetFileIdentity(plat::JoinPath(folder_, tempName_), &now)) return keptAs;
  if (!now.SameFile(seen_) || (now.size == seen_.size && now.mtime == seen_.mtime)) return keptAs;
  KeepUnderOwnName(folder_, tempName_, logName_, &keptAs);
  return keptAs;
}

std::string DisplacedLog::Settle() {
  std::string keptAs;
  if (settled_) return keptAs;
  UndoFacts facts;
  facts.folder = folder_;
  facts.logName = logName_;
  facts.displacedName = tempName_;
  facts.displaced = seen_;
  // What can't be settled now stays named in the journal, for the next run.
  if (!SettleDisplaced(facts, &keptAs)) return keptAs;
  Fault ignored;
  journal_->Remove(&ignored);
  settled_ = true;
  return keptAs;
}

UndoResult RunUndo(const UndoPlan& plan) {
  UndoResult result;
  const std::string id = NewTransactionId();
  UndoFacts facts{.folder = plan.folder,
                  .logName = plan.logName,
                  .backupName = plan.backupName,
                  .backup = plan.backup,
                  .displacedName = TempName(id, 0),
                  .displaced = plan.log};
  std::vector<JournalLine> lines{
      {jf::kOp, {jf::kOpUndo}}, {key::kLog, {plan.logName}}, NamedIdentity(key::kBackup, plan.backupName, plan.backup)};
  for (const std::string& name : plan.oldLogs) {
    plat::FileIdentity oldLog;
    int err = 0;
    if (!plat::GetFileIdentity(facts.Path(name), &oldLog, &err)) {
      if (err != ENOENT) ++result.oldLogsLeft;  // can't be told apart from another file: left alone
      continue;
    }
    facts.oldLogs.emplace_back(name, oldLog);
    lines.push_back(NamedIdentity(key::kOldLog, name, oldLog));
  }
  lines.push_back(DisplacedLine(facts.displacedName, plan.log));
  auto journal = std::make_unique<Journal>();
  // Committed whole before the log is looked at a last time (invariant (8)).
  if (!journal->Create(plan.folder, id, lines, &result.fault) || !journal->Commit({}, &result.fault)) {
    if (journal->state() == JournalState::Begun) journal->Remove(&result.fault);
    return result;
  }
  Fault ignored;
  // Making the journal durable takes a while, in which the host may write to
  // the log: the backup put over it then would take what it wrote with it.
  plat::FileIdentity log;
  int logErr = 0;
  if (!plat::GetFileIdentity(facts.Path(plan.logName), &log, &logErr) || !(log == plan.log)) {
    result.logWrittenTo = logErr == 0;
    result.fault = Fault{plan.logName, logErr != 0 ? logErr : ESTALE};
    journal->Remove(&ignored);
    return result;
  }
  // From here on, whatever the host writes into the log's file stays in it:
  // the file keeps a name until the run ends.
  result.outcome = PlaceBackup(facts, &result.fault);
  if (result.outcome != Outcome::Done) {
    // The backup never took the log's name.
    if (result.outcome == Outcome::TakenBack) journal->Remove(&ignored);
    return result;
  }
  DeleteOldLogs(facts, &result.oldLogsLeft);
  result.displaced =
      std::make_unique<DisplacedLog>(std::move(journal), plan.folder, plan.logName, facts.displacedName, plan.log);
  return result;
}

UndoRepair RepairUndo(const std::string& folder, const Journal& journal) {
  UndoRepair repair;
  UndoFacts facts{.folder = folder};
  for (const JournalLine& line : journal.lines()) {
    if (line.key == key::kLog && line.fields.size() == key::kLogFields) {
      facts.logName = line.fields[0];
    } else if (line.key == key::kBackup) {
      ParseNamed(line, &facts.backupName, &facts.backup);
    } else if (line.key == key::kOldLog) {
      std::string name;
      plat::FileIdentity id;
      if (ParseNamed(line, &name, &id)) facts.oldLogs.emplace_back(name, id);
    } else if (line.key == key::kDisplaced) {
      ParseNamed(line, &facts.displacedName, &facts.displaced);
    }
  }
  if (journal.state() != JournalState::Committed || facts.logName.empty() || facts.backupName.empty()) {
    repair.outcome = Outcome::TakenBack;  // nothing of it had happened
    return repair;
  }
  plat::FileIdentity backup, log, displaced;
  const bool haveDisplaced =
      !facts.displacedName.empty() && plat::GetFileIdentity(facts.Path(facts.displacedName), &displaced);
  if (plat::GetFileIdentity(facts.Path(facts.backupName), &backup) && backup.SameFile(facts.backup)) {
    // The backup never took the log's name: the undo had not begun, and the
    // log may have grown since. A second name of the log's file goes; a log
    // moved away takes its name again.
    repair.outcome = Outcome::TakenBack;
    if (!haveDisplaced) return repair;
    int err = 0;
    const bool logThere = plat::GetFileIdentity(facts.Path(facts.logName), &log);
    if (logThere && log.SameFile(displaced)) {
      if (!plat::DeleteFile(facts.Path(facts.displacedName), &err)) {
        repair.fault = Fault{facts.displacedName, err};
        repair.outcome = Outcome::Stuck;
      }
    } else if (logThere || !plat::RenameNoReplace(facts.Path(facts.displacedName), facts.Path(facts.logName), &err)) {
      // The host made a new log meanwhile: the old one's messages are only here.
      if (!KeepUnderOwnName(folder, facts.displacedName, facts.logName, &repair.keptAs)) {
        repair.fault = Fault{facts.displacedName, err != 0 ? err : EEXIST};
        repair.outcome = Outcome::Stuck;
      }
    }
    plat::SyncFolder(folder);
    return repair;
  }
  int left = 0;
  DeleteOldLogs(facts, &left);
  if (!SettleDisplaced(facts, &repair.keptAs)) {
    repair.fault = Fault{facts.displacedName, EIO};
    return repair;
  }
  repair.outcome = Outcome::Done;
  return repair;
}

}  // namespace commit
