#include "batch/forum_folders.h"

#include "model/folder_scan.h"
#include "platform/console.h"
#include "platform/file_ops.h"

namespace {

// A node's path is its parent's joined with its text; the root's text is the
// shared folder's own path. (The folder map is keyed by name, and two forum
// folders of one name in different groups would meet there.)
void CollectLeaves(const FolderNode& node, const std::string& path, std::vector<ForumFolder>& forums) {
  if (node.children().empty()) {
    forums.push_back(ForumFolder{plat::BaseName(path), path});
    return;
  }
  for (const auto& child : node.children()) CollectLeaves(*child, plat::JoinPath(path, child->text()), forums);
}

}  // namespace

std::vector<ForumFolder> FindForumFolders(const std::string& sharedPath) {
  std::vector<ForumFolder> forums;
  FolderSet folders;
  const std::unique_ptr<FolderNode> root = BuildFolderTree(sharedPath, folders);
  if (root) CollectLeaves(*root, sharedPath, forums);
  return forums;
}
