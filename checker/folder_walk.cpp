#include "checker/folder_walk.h"

#include <vector>

#include "platform/dir_search.h"
#include "platform/file_ops.h"
#include "platform/folder_visits.h"
#include "platform/interrupt.h"

namespace {

bool IsHostPagesFolder(const std::string& name) {
  return name.size() == 2 && (name[0] == 'H' || name[0] == 'h') && (name[1] == 'P' || name[1] == 'p');
}

class Walker {
 public:
  Walker(const std::string& root, WalkObserver* observer) : root_(root), visits_(root), observer_(observer) {}

  void Walk(const std::string& folder) {
    if (plat::InterruptRequested()) return;
    ++summary_.foldersVisited;
    std::vector<plat::FoundItem> items;
    plat::FindFiles(folder, "*.*", &items);  // unlistable: simply empty
    bool hasSubfolder = false;
    // Real subfolders before linked ones: a folder reached both ways is
    // walked under its own name.
    for (const bool links : {false, true}) {
      for (const plat::FoundItem& item : items) {
        if (!item.isDirectory || IsHostPagesFolder(item.name)) continue;
        const std::string sub = plat::JoinPath(folder, item.name);
        if (plat::IsLink(sub) != links) continue;
        hasSubfolder = true;
        if (observer_) observer_->EnteringFolder(item.name);
        // A link that leads out of the shared log folder (to "/", say), or
        // to a folder walked already (an ancestor: for ever), is not
        // followed; it is a subfolder all the same.
        if (!visits_.Enter(sub)) continue;
        Walk(sub);
      }
    }
    if (hasSubfolder || plat::InterruptRequested()) return;
    ReconcileResult result = ReconcileArchiveList(folder, items, root_);
    if (result.outcome == ReconcileOutcome::Rewritten) {
      ++summary_.listsRewritten;
      summary_.linesDropped += result.dropped;
    }
    if (observer_) observer_->Reconciled(folder, result);
  }

  const WalkSummary& summary() const { return summary_; }

 private:
  std::string root_;
  plat::FolderVisits visits_;
  WalkObserver* observer_;
  WalkSummary summary_;
};

}  // namespace

WalkSummary WalkSharedLogFolder(const std::string& root, WalkObserver* observer) {
  Walker walker(root, observer);
  walker.Walk(root);
  return walker.summary();
}
