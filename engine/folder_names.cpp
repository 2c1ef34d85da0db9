#include "engine/folder_names.h"

#include <cerrno>

#include "model/log_names.h"
#include "platform/dir_search.h"
#include "platform/file_ops.h"

FolderNames FolderNames::List(const std::string& folder) {
  FolderNames listed;
  listed.folder_ = folder;
  std::vector<plat::FoundItem> items;
  if (!plat::FindFiles(folder, "*", &items, &listed.listError_) && listed.listError_ == 0) {
    listed.listError_ = EIO;
  }
  listed.names_.reserve(items.size());
  for (plat::FoundItem& item : items) listed.names_.push_back(std::move(item.name));
  return listed;
}

std::vector<std::string> FolderNames::Matching(const std::string& pattern) const {
  std::vector<std::string> found;
  for (const std::string& name : names_) {
    if (plat::MatchesPattern(pattern, name)) found.push_back(name);
  }
  return found;
}

bool FolderNames::Taken(const std::string& name) const {
  for (const std::string& held : names_) {
    if (SameIgnoringAsciiCase(held, name)) return true;
  }
  return !folder_.empty() && plat::FileExists(plat::JoinPath(folder_, name));
}
