#include "commands/backup_watch.h"

#include "commit/kept_file.h"
#include "messages/companion_mode.h"
#include "resources/ids.h"

void BackupWatch::Add(const std::string& folder, const std::string& backupName, const plat::FileIdentity& source) {
  watched_.push_back(Watched{folder, backupName, source, false});
}

void BackupWatch::Add(const BackupWatch& other) {
  watched_.insert(watched_.end(), other.watched_.begin(), other.watched_.end());
}

int BackupWatch::TellWrittenTo(Messenger& messenger) {
  int told = 0;
  for (Watched& w : watched_) {
    plat::FileIdentity backup;
    if (w.told || !plat::GetFileIdentity(plat::JoinPath(w.folder, w.backupName), &backup) ||
        !backup.SameFile(w.source) || backup.size <= w.source.size) {
      continue;
    }
    // Under its backup name the next split with overwrite would replace it,
    // and the messages only it holds with it.
    std::string keptAs;
    if (!commit::KeepUnderOwnName(w.folder, w.backupName, w.backupName, &keptAs)) keptAs = w.backupName;
    messenger.Box(ids::kMsgOnlyInBackup, keptAs, MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
    w.told = true;
    ++told;
  }
  return told;
}
