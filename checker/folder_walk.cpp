#include "checker/folder_walk.h"

#include <filesystem>
#include <vector>

#include "platform/dir_search.h"
#include "platform/file_ops.h"
#include "platform/interrupt.h"

namespace {

bool IsHostPagesFolder(const std::string& name) {
  return name.size() == 2 && (name[0] == 'H' || name[0] == 'h') && (name[1] == 'P' || name[1] == 'p');
}

std::string Identity(const std::string& folder) {
  std::error_code ec;
  std::filesystem::path canonical = std::filesystem::canonical(folder, ec);
  return ec ? folder : canonical.string();
}

class Walker {
 public:
  explicit Walker(WalkObserver* observer) : observer_(observer) {}

  void Walk(const std::string& folder) {
    if (plat::InterruptRequested()) return;
    ++summary_.foldersVisited;
    std::vector<plat::FoundItem> items;
    plat::FindFiles(folder, "*.*", &items);  // unlistable: simply empty
    ancestors_.push_back(Identity(folder));
    bool hasSubfolder = false;
    for (const plat::FoundItem& item : items) {
      if (!item.isDirectory || IsHostPagesFolder(item.name)) continue;
      hasSubfolder = true;
      if (observer_) observer_->EnteringFolder(item.name);
      std::string sub = plat::JoinPath(folder, item.name);
      // A linked folder that leads back to one of its own ancestors would
      // make the walk go round for ever; it is a subfolder all the same.
      if (IsAncestor(Identity(sub))) continue;
      Walk(sub);
    }
    ancestors_.pop_back();
    if (hasSubfolder || plat::InterruptRequested()) return;
    ReconcileResult result = ReconcileArchiveList(folder, items);
    if (result.outcome == ReconcileOutcome::Rewritten) {
      ++summary_.listsRewritten;
      summary_.linesDropped += result.dropped;
    }
    if (observer_) observer_->Reconciled(folder, result);
  }

  const WalkSummary& summary() const { return summary_; }

 private:
  bool IsAncestor(const std::string& identity) const {
    for (const std::string& a : ancestors_) {
      if (a == identity) return true;
    }
    return false;
  }

  WalkObserver* observer_;
  WalkSummary summary_;
  std::vector<std::string> ancestors_;
};

}  // namespace

WalkSummary WalkSharedLogFolder(const std::string& root, WalkObserver* observer) {
  Walker walker(observer);
  walker.Walk(root);
  return walker.summary();
}
