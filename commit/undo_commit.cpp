#include "commit/undo_commit.h"

#include <cerrno>
#include <cstdlib>

#include "platform/file_error.h"

namespace commit {

namespace {

JournalLine NamedIdentity(const std::string& key, const std::string& name, const plat::FileIdentity& id) {
  return {key, {name, std::to_string(id.device), std::to_string(id.inode)}};
}

bool ParseNamed(const JournalLine& line, std::string* name, plat::FileIdentity* id) {
  if (line.fields.size() != 3) return false;
  *name = line.fields[0];
  id->device = std::strtoull(line.fields[1].c_str(), nullptr, 10);
  id->inode = std::strtoull(line.fields[2].c_str(), nullptr, 10);
  return true;
}

struct UndoFacts {
  std::string folder;
  std::string logName;
  std::string backupName;
  plat::FileIdentity backup;
  std::vector<std::pair<std::string, plat::FileIdentity>> oldLogs;
  std::string Path(const std::string& name) const { return plat::JoinPath(folder, name); }
};

// Puts the backup in the log's place unless it is there already (a
// repair finds it gone from its name), then deletes the old logs that are
// still the files the undo saw.
bool Forward(const UndoFacts& facts, bool resuming, Fault* fault, int* oldLogsLeft) {
  plat::FileIdentity backup;
  int err = 0;
  if (plat::GetFileIdentity(facts.Path(facts.backupName), &backup, &err)) {
    if (!backup.SameFile(facts.backup)) err = ESTALE;
    else if (!plat::ReplaceFile(facts.Path(facts.backupName), facts.Path(facts.logName), &err)) {
      *fault = Fault{plat::RenameSubject(facts.backupName, facts.logName), err};
      return false;
    }
  }
  if (err != 0 && !(resuming && err == ENOENT)) {
    *fault = Fault{facts.backupName, err};
    return false;
  }
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
  return true;
}

}  // namespace

UndoResult RunUndo(const UndoPlan& plan) {
  UndoResult result;
  UndoFacts facts{plan.folder, plan.logName, plan.backupName, plan.backup, {}};
  std::vector<JournalLine> lines{{"op", {"undo"}}, {"log", {plan.logName}},
                                 NamedIdentity("backup", plan.backupName, plan.backup)};
  for (const std::string& name : plan.oldLogs) {
    plat::FileIdentity id;
    int err = 0;
    if (!plat::GetFileIdentity(facts.Path(name), &id, &err)) {
      if (err != ENOENT) ++result.oldLogsLeft;  // can't be told apart from another file: left alone
      continue;
    }
    facts.oldLogs.emplace_back(name, id);
    lines.push_back(NamedIdentity("oldlog", name, id));
  }
  Journal journal;
  if (!journal.Create(plan.folder, NewTransactionId(), lines, &result.fault) ||
      !journal.Commit({}, &result.fault)) {
    if (journal.state() == Journal::State::Begun) journal.Remove(&result.fault);
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
    journal.Remove(&ignored);
    return result;
  }
  if (!Forward(facts, false, &result.fault, &result.oldLogsLeft)) {
    // Nothing was changed: the backup never took the log's name.
    journal.Remove(&ignored);
    return result;
  }
  journal.Remove(&ignored);
  result.outcome = Outcome::Done;
  return result;
}

UndoRepair RepairUndo(const std::string& folder, const Journal& journal) {
  UndoRepair repair;
  UndoFacts facts{folder, {}, {}, {}, {}};
  for (const JournalLine& line : journal.lines()) {
    if (line.key == "log" && line.fields.size() == 1) {
      facts.logName = line.fields[0];
    } else if (line.key == "backup") {
      ParseNamed(line, &facts.backupName, &facts.backup);
    } else if (line.key == "oldlog") {
      std::string name;
      plat::FileIdentity id;
      if (ParseNamed(line, &name, &id)) facts.oldLogs.emplace_back(name, id);
    }
  }
  if (journal.state() != Journal::State::Committed || facts.logName.empty() || facts.backupName.empty()) {
    repair.outcome = Outcome::TakenBack;  // nothing of it had happened
    return repair;
  }
  plat::FileIdentity backup;
  if (plat::GetFileIdentity(facts.Path(facts.backupName), &backup) && backup.SameFile(facts.backup)) {
    // The backup never took the log's name: the undo had not begun, and the
    // log may have grown since.
    repair.outcome = Outcome::TakenBack;
    return repair;
  }
  int left = 0;
  repair.outcome = Forward(facts, true, &repair.fault, &left) ? Outcome::Done : Outcome::Stuck;
  return repair;
}

}  // namespace commit
