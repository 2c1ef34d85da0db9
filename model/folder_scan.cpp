#include "model/folder_scan.h"

#include <utility>
#include <vector>

#include "model/directory.h"
#include "model/log_names.h"
#include "platform/dir_search.h"
#include "platform/file_ops.h"
#include "platform/folder_visits.h"

namespace {

bool IsSkippedFolder(const std::string& name) {
  if (name == "." || name == "..") return true;
  return name.size() == 2 && (name[0] == 'H' || name[0] == 'h') && (name[1] == 'P' || name[1] == 'p');
}

bool Scan(const std::string& path, FolderNode* node, const std::string& name, FolderSet& folders,
          plat::FolderVisits& visits, bool isRoot) {
  bool hasSubfolder = false;
  bool hasLog = false;

  // A link out of the shared log folder (to "/", say) would take the scan
  // over the whole file system, and one to a folder scanned already would
  // show a forum twice or go round for ever: such a folder is not entered.
  if (isRoot || visits.Enter(path)) {
    std::vector<plat::FoundItem> items;
    plat::FindFiles(path, "*.*", &items);  // a folder that can't be listed has no items
    // Linked folders come after the real ones, so that a folder reached
    // both ways is shown under its own name.
    std::vector<std::pair<FolderNode*, std::string>> linked;
    for (const plat::FoundItem& item : items) {
      if (!item.isDirectory) {
        if (CountsAsLogFile(item.name)) {
          hasLog = true;
          break;
        }
        continue;
      }
      if (IsSkippedFolder(item.name)) continue;
      hasSubfolder = true;
      FolderNode* child = node->AddChild(item.name);
      const std::string sub = plat::JoinPath(path, item.name);
      if (plat::IsLink(sub)) {
        linked.emplace_back(child, item.name);
      } else {
        Scan(sub, child, item.name, folders, visits, false);
      }
    }
    for (const auto& [child, childName] : linked) {
      Scan(plat::JoinPath(path, childName), child, childName, folders, visits, false);
    }
  }

  if (!hasSubfolder && !hasLog) {
    if (FolderNode* parent = node->parent()) parent->RemoveChild(node);
    return false;
  }
  node->setMapKey(name);
  CDirectory* dir = folders.FindOrCreate(name, path);
  dir->LoadRoomNames();
  return true;
}

}  // namespace

bool ScanFolder(const std::string& path, FolderNode* node, const std::string& name, FolderSet& folders) {
  plat::FolderVisits visits(path);
  return Scan(path, node, name, folders, visits, true);
}

std::unique_ptr<FolderNode> BuildFolderTree(const std::string& sharedFolder, FolderSet& folders) {
  auto root = std::make_unique<FolderNode>(sharedFolder);
  if (!ScanFolder(sharedFolder, root.get(), sharedFolder, folders)) root.reset();
  return root;
}
