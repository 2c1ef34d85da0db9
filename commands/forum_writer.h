#pragma once
#include <string>
#include <string_view>

#include "commands/command_context.h"
#include "model/history_writer.h"
#include "platform/forum_lock.h"

class CKivDoc;
class DecisionPort;
class Messenger;

// One writer per forum at a time: every command that changes a forum folder
// (split, undo, the export, the history) runs while its front end holds the
// forum's lock, so that Kiv, kiv-batch and TORBLEN never write one forum at
// once. Readers (the list, the analysis) need no lock.

// Takes the forum's lock into lock, waiting up to plat::ForumLockWait() for
// another writer to finish. False, with the user told, when another program
// kept it all that time (the message names the forum and the program) or
// when it can't be made (the file-error report names the lock file): the
// command must then write nothing.
bool HoldForumForWriting(plat::ForumLock& lock, Messenger& messenger, const std::string& forumPath,
                         std::string_view program);

// Kiv's gate to its current forum: the forum's lock, taken for one command
// that writes and let go after it.
class ForumWriteLock : public ForumWriteGate {
 public:
  ForumWriteLock(CKivDoc& doc, Messenger& messenger, std::string_view program)
      : doc_(doc), messenger_(messenger), program_(program) {}
  bool Enter() override;
  void Leave() override { lock_.Release(); }

 private:
  CKivDoc& doc_;
  Messenger& messenger_;
  std::string program_;
  plat::ForumLock lock_;
};

// Kiv's history writer: it writes each forum's history, as Kiv lets go of
// the forum (at exit, or when the shared log folder changes), under the
// forum's lock. When another program keeps the forum, the user is asked
// whether to try again; a history the user gives up on is not written,
// rather than written beside another writer.
class LockingHistoryWriter : public HistoryWriter {
 public:
  LockingHistoryWriter(Messenger& messenger, DecisionPort& decisions, std::string_view program)
      : messenger_(messenger), decisions_(decisions), program_(program) {}
  void WriteHistory(CDirectory& dir) override;

 private:
  Messenger& messenger_;
  DecisionPort& decisions_;
  std::string program_;
};
