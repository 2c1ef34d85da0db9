// The undo records of a split: one per old log, so that the undo command can
// put the backup back and remove the old logs.
#include <ctime>
#include <string>
#include <vector>

#include "engine/log_file.h"
#include "platform/file_ops.h"

void CLogFile::RecordUndo(int generation, const std::vector<std::string>& headerLines, NamingForm namingForm,
                          const std::string& backupName) {
  // Without a backup there is nothing a record could take the split back to.
  if (plan_.names.size() < 2 || backupName.empty()) return;
  const std::size_t oldLogs = plan_.names.size() - 1;

  // The backup's time as the split left it: the undo trusts the backup only
  // while its time still agrees. A time that can't be read stays 0, which no
  // file agrees with, so the undo then refuses rather than restoring a file
  // it can't vouch for.
  std::time_t backupTime = 0;
  plat::FileStatus backup;
  if (plat::GetFileStatus(plat::JoinPath(folder_, backupName), &backup)) backupTime = backup.mtime;

  for (std::size_t i = 0; i < oldLogs; ++i) {
    CUndo undo;
    undo.generation = generation;
    undo.oldLogName = plan_.names[i];
    undo.backupName = backupName;
    undo.backupTime = backupTime;
    undo.previousLowest = previousLowest_;
    undo.previousHighest = previousHighest_;
    undo.headerLine = i < headerLines.size() ? headerLines[i] : std::string();
    undo.namingForm = namingForm;
    undo.exported = 0;
    entry_->undoList.push_back(std::move(undo));
  }
}
