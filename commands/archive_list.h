#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "model/log_names.h"
#include "platform/dir_search.h"
#include "platform/forum_lock.h"

enum class ReconcileOutcome {
  NoList,        // the folder has no archive list
  NotOpened,     // the list could not be opened for reading: left as it was
  ReadFailed,    // reading failed part way: left as it was
  EndsEarly,     // an end-of-text byte with more of the list after it: left as it was
  NotConfined,   // a link out of the shared log folder, or no regular file: left as it was
  NotRewritten,  // the new list could not be written in full: left as it was
  Busy,          // another program kept the forum (holder) all the wait: left as it was
  Rewritten,     // the list now holds the kept lines
  Checked,       // only read (a dry run): droppedLines are what a rewrite would drop
};

struct ReconcileResult {
  ReconcileOutcome outcome = ReconcileOutcome::NoList;
  std::size_t kept = 0;
  std::size_t dropped = 0;
  std::vector<std::string> droppedLines;  // as the list holds them, without line end
  plat::ForumLockHolder holder;           // Busy: who held the forum
};

// Brings the archive list of folder in line with the files in it: a line is
// kept, byte for byte, when its second field names a file or folder there,
// and dropped otherwise (also when it has fewer than two fields). listing is
// the folder's contents as the walk found them; names match without regard
// to ASCII case, as the host's file system matches them.
//
// The kept lines go to a new file beside the list, which replaces the list
// only once it is complete on disk; the list is never left half-written.
// The list is read and rewritten while the forum's lock is held, so that no
// line a program appends meanwhile is lost; when another program keeps the
// forum beyond plat::ForumLockWait(), the list is left as it is.
// A list is only read and rewritten where it lies inside sharedFolder (the
// folder itself when empty) and is a regular file: a link that leads
// elsewhere, or to a device or a FIFO, is left alone.
ReconcileResult ReconcileArchiveList(const std::string& folder, const std::vector<plat::FoundItem>& listing,
                                     const std::string& sharedFolder = std::string());

// What ReconcileArchiveList would drop, for a dry run: the list is only read
// (Checked, with the lines in droppedLines), without taking the forum, and
// nothing is written. listing may name files a run would have made by then.
ReconcileResult CheckArchiveList(const std::string& folder, const std::vector<plat::FoundItem>& listing,
                                 const std::string& sharedFolder = std::string());
