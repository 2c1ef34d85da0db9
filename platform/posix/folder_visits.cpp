#include "platform/folder_visits.h"

#include <sys/stat.h>

#include "platform/confined_path.h"

namespace plat {

FolderVisits::FolderVisits(const std::string& root) : realRoot_(RealFolder(root)) { Mark(root); }

bool FolderVisits::Mark(const std::string& folder) {
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0) return false;
  return entered_.insert({st.st_dev, st.st_ino}).second;
}

bool FolderVisits::Enter(const std::string& folder) {
  if (!LiesWithin(realRoot_, RealFolder(folder))) return false;
  return Mark(folder);
}

bool IsLink(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

}  // namespace plat
