#include "engine/folder_names.h"

#include <cerrno>

#include "platform/dir_search.h"
#include "platform/file_ops.h"

namespace {

unsigned char AsciiUpper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(static_cast<unsigned char>(a[i])) != AsciiUpper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

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
    if (SameNameIgnoringCase(held, name)) return true;
  }
  return !folder_.empty() && plat::FileExists(plat::JoinPath(folder_, name));
}
