#pragma once
#include <string>
#include <vector>

// One forum folder of a shared log folder.
struct ForumFolder {
  std::string name;  // the folder's own name, as the tree shows it
  std::string path;
};

// The forum folders of a shared log folder as Kiv's folder tree finds them:
// the leaves of the tree the folder scan builds (the shared log folder
// itself when it holds logs and no forum folder), in the tree's order.
// Empty when the folder keeps no forum.
std::vector<ForumFolder> FindForumFolders(const std::string& sharedPath);
