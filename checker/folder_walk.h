#pragma once
#include <cstddef>
#include <string>

#include "commands/archive_list.h"

// What the walk tells the one watching it.
class WalkObserver {
 public:
  virtual ~WalkObserver() = default;
  // A subfolder is about to be walked; name is its name alone, not its path.
  virtual void EnteringFolder(const std::string& name) = 0;
  // A folder without subfolders has had its archive list reconciled.
  virtual void Reconciled(const std::string& /*folder*/, const ReconcileResult& /*result*/) {}
};

struct WalkSummary {
  std::size_t foldersVisited = 0;
  std::size_t listsRewritten = 0;
  std::size_t linesDropped = 0;
};

// Walks the shared log folder depth first and reconciles the archive list
// of every folder that has no subfolder of its own: those are the forum
// folders. A subfolder "HP" (any case) holds the host's web pages; it is
// neither walked nor counted, so a forum folder holding one is still a
// forum folder. A folder that can't be listed is empty to the walk. Links
// to folders outside root, or to folders walked already, are not followed.
WalkSummary WalkSharedLogFolder(const std::string& root, WalkObserver* observer);
