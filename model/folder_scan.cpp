#include "model/folder_scan.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "model/directory.h"
#include "model/log_names.h"
#include "platform/dir_search.h"
#include "platform/file_ops.h"

namespace {

bool IsSkippedFolder(const std::string& name) {
  if (name == "." || name == "..") return true;
  return name.size() == 2 && (name[0] == 'H' || name[0] == 'h') && (name[1] == 'P' || name[1] == 'p');
}

// The real locations of the folders the walk is inside, so that a link back
// to one of them is not followed round again and again.
using FolderChain = std::vector<std::filesystem::path>;

std::filesystem::path RealLocation(const std::string& path) {
  std::error_code ec;
  std::filesystem::path real = std::filesystem::canonical(path, ec);
  return ec ? std::filesystem::path() : real;
}

bool Scan(const std::string& path, FolderNode* node, const std::string& name, FolderSet& folders,
          FolderChain& chain) {
  bool hasSubfolder = false;
  bool hasLog = false;

  std::filesystem::path here = RealLocation(path);
  bool onChain = !here.empty() && std::find(chain.begin(), chain.end(), here) != chain.end();
  if (!onChain) {
    if (!here.empty()) chain.push_back(here);
    std::vector<plat::FoundItem> items;
    plat::FindFiles(path, "*.*", &items);  // a folder that can't be listed has no items
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
      Scan(plat::JoinPath(path, item.name), child, item.name, folders, chain);
    }
    if (!here.empty()) chain.pop_back();
  }

  if (!hasSubfolder && !hasLog) {
    if (FolderNode* parent = node->parent()) parent->RemoveChild(node);
    return false;
  }
  node->setMapKey(name);
  CDirectory* dir = folders.Create(name, path);
  dir->LoadRoomNames();
  return true;
}

}  // namespace

bool ScanFolder(const std::string& path, FolderNode* node, const std::string& name, FolderSet& folders) {
  FolderChain chain;
  return Scan(path, node, name, folders, chain);
}

std::unique_ptr<FolderNode> BuildFolderTree(const std::string& sharedFolder, FolderSet& folders) {
  auto root = std::make_unique<FolderNode>(sharedFolder);
  if (!ScanFolder(sharedFolder, root.get(), sharedFolder, folders)) root.reset();
  return root;
}
