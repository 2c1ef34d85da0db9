#include "commands/forum_writer.h"

#include "messages/companion_mode.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "model/undo_history.h"
#include "ports/decisions.h"
#include "platform/file_ops.h"
#include "resources/ids.h"
#include "resources/string_table.h"

namespace {

// Another program keeps the forum: its name and process, as its lock file
// tells them.
std::string HolderOf(const plat::ForumLock& lock) {
  return plat::ForumLockHolderText(lock.BusyHolder(), KivString(ids::kStrUnknownForumHolder));
}

}  // namespace

bool HoldForumForWriting(plat::ForumLock& lock, Messenger& messenger, const std::string& forumPath,
                         std::string_view program) {
  int err = 0;
  switch (lock.Acquire(forumPath, program, plat::ForumLockWait(), &err)) {
    case plat::ForumLock::Outcome::Held: return true;
    case plat::ForumLock::Outcome::Busy:
      CompanionMessageBox(messenger.port(), messenger.mode(), ids::kMsgForumBusy, forumPath, HolderOf(lock),
                          MsgStyle{MsgButtons::Ok, MsgIcon::Exclamation});
      return false;
    case plat::ForumLock::Outcome::Failed: messenger.FileError(plat::kForumLockName, err); return false;
  }
  return false;
}

bool ForumWriteLock::Enter() {
  const CDirectory* dir = doc_.CurrentFolder();
  return dir && HoldForumForWriting(lock_, messenger_, dir->path, program_);
}

void LockingHistoryWriter::WriteHistory(CDirectory& dir) {
  if (!dir.HasUndoRecords()) return;
  plat::ForumLock lock;
  for (;;) {
    int err = 0;
    const plat::ForumLock::Outcome taken = lock.Acquire(dir.path, program_, plat::ForumLockWait(), &err);
    if (taken == plat::ForumLock::Outcome::Held) break;
    if (taken == plat::ForumLock::Outcome::Failed) {
      // The history could not be appended there either.
      messenger_.FileError(plat::JoinPath(dir.path, plat::kForumLockName), err);
      return;
    }
    if (!decisions_.RetryHistoryWhileBusy(dir.path, HolderOf(lock))) return;
  }
  AppendUndoHistory(dir);
}
